#pragma once
#include <cstdint>

#include "game/Rect.h"

// The arithmetic that sizes the glass for a pixel area: the largest cell
// size (from 72 pixels down) that gives at least 11 columns and 31 rows.

constexpr int32_t MinFitColumns = 11;
constexpr int32_t MinFitRows = 31;
constexpr int32_t FallbackWidth = 11; // used when no cell size works
constexpr int32_t FallbackHeight = 27;

struct TGlassFit {
    bool Ok = false;        // false: use the fall-back and keep the area
    int32_t CellWidth = 0;  // s
    int32_t CellHeight = 0; // hs = trunc(s × √3 / 2)
    int32_t Width = FallbackWidth;
    int32_t Height = FallbackHeight;
};

TGlassFit FitGlass(int32_t areaWidth, int32_t areaHeight);

// The fitted glass's pixel rectangle, centred in area.
TRect CentreGlass(const TRect &area, const TGlassFit &fit);
