#pragma once
#include "game/Rect.h"

// Where the full-screen window goes and where the game lies within it. The
// window covers every monitor, so none keeps showing the desktop; the game
// keeps to the primary monitor, laid out there exactly as on a machine with
// that monitor alone. The rest of the window shows the background.
struct TScreenArrangement {
    TRect Window; // in screen coordinates
    TRect Game;   // in the window's client coordinates
};

// From the virtual screen's rectangle (empty where the system knows none)
// and the primary monitor's, both in screen coordinates.
TScreenArrangement ArrangeScreen(const TRect &virtualScreen, const TRect &primary);
