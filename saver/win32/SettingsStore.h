#pragma once

// The settings record in the user's profile (win.ini), section ProductName.

// Reads every key but Path into Settings; a missing key gives its default.
void LoadSettings();
// Lets the game's score replace a smaller Score3 (under GameLock), then
// writes the ten keys in order and flushes the profile.
void SaveSettings();
