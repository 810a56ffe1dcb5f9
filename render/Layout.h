#pragma once
#include <cstdint>

#include "game/GlassFit.h"
#include "game/Rect.h"

// The screen layout for a client area: where the glass, the three value
// boxes and the best-score box go. The glass follows the window's height,
// the information panel scales with its width.

struct TLayout {
    double Scale = 1.0;    // client width / 1024
    int32_t BoxUnit = 50;  // height of a value box; spacing of the right column
    int32_t LineUnit = 30; // line pitch of the best scores and the logo
    TRect GlassArea;
    TRect ScoreBox;
    TRect LinesBox;
    TRect TimeBox;
    TRect BestBox;
    // The glass fitted into its area: its size in cells and its pixel
    // rectangle, centred in the area (the area itself when nothing fits).
    TGlassFit Fit;
    TRect Glass;
};

// The layout for a client rectangle.
TLayout ComputeLayout(const TRect &client);
