#pragma once
#include <cstdint>

#include "game/Rect.h"

// The screen layout for a client area: where the glass, the three value
// boxes and the best-score box go. The glass follows the window's height,
// the information panel scales with its width.

struct TLayout {
    double Scale = 1.0;   // client width / 1024
    int32_t BoxUnit = 50; // height of a value box; spacing of the right column
    int32_t LineUnit = 30; // line pitch of the best scores and the logo
    TRect GlassArea;
    TRect ScoreBox;
    TRect LinesBox;
    TRect TimeBox;
    TRect BestBox;
};

// The layout for the client rectangle; the globals below are not touched.
TLayout ComputeLayout(const TRect &client);

// The layout globals, recomputed by every SetWindow.
extern double Scale;
extern int32_t BoxUnit;
extern int32_t LineUnit;

// Makes the layout's Scale, BoxUnit and LineUnit the process-wide ones.
void ApplyLayoutUnits(const TLayout &layout);
