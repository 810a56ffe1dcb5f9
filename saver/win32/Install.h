#pragma once

// "/reg": makes the program at programPath the desktop's current screen
// saver (registry on the NT family, system.ini on the older one), switches
// the screen saver on and tells the running programs. Every failure ends it
// quietly.
void InstallAsScreenSaver(const char *programPath);
