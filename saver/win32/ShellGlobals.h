#pragma once
#include <windows.h>

#include <cstdint>

// The shell's process-wide values, written on the main thread before the
// game thread exists.
extern HINSTANCE Instance;
extern HWND HostWindow;            // preview host, or change-password owner
extern int32_t MouseMoveCountdown; // moves left before a full-screen run asks to end
extern char ProgramPath[256];      // element 0 of the argument vector: the module's file name

// The product name: the window class and the profile section.
extern const char ProductName[];

// Fills ProgramPath from the running module (at most 255 characters).
void ReadProgramPath();
