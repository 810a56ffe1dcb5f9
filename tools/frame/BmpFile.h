#pragma once
#include <windows.h>

#include <string>

// Writes the device context's area (0, 0, width, height) as a 24-bit BMP.
// False if the copy or the file fails.
bool WriteBmp(HDC source, int width, int height, const std::string &path);
