#pragma once
#include "saver/Settings.h"

// The settings record in the user's profile (win.ini), section ProductName.
extern const char ProductName[];

// Every key but Path; a missing key gives its default.
TSettings LoadSettings();
// The ten keys in order, Path the program's own file, then the profile
// flushed.
void SaveSettings(const TSettings &settings, const char *programPath);
