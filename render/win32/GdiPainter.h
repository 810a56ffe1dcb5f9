#pragma once
#include "game/GlassPainter.h"

// The game object's drawing over GDI: hexagonal cells into the back buffer
// and copies of dirty areas to the window. One instance serves the process.
TGlassPainter &GdiPainter();
