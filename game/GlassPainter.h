#pragma once
#include <cstdint>

#include "game/Rect.h"

class TStakko;

// The seam through which the game object's drawing reaches a display. The
// Windows renderer implements it over GDI; with none installed (the native
// build, or before a window is bound) nothing is painted or copied. The game
// object has already applied its own guards (Drawing on, a back buffer, a
// lattice cell inside the glass) before it calls PaintCell.
class TGlassPainter {
public:
    virtual ~TGlassPainter() = default;

    // Makes the four cell brushes into the game object's Brushes, deleting
    // any it held.
    virtual void CreateBrushes(TStakko &stakko) = 0;

    // At destruction: restores saved device-context states, deletes brushes.
    virtual void Release(TStakko &stakko) = 0;

    // Paints one cell into BackDC in the given look (0 empty, 1 filled,
    // 2 flash) and unites its box into the game object's DirtyRect.
    virtual void PaintCell(TStakko &stakko, int32_t column, int32_t row, uint8_t look) = 0;

    // Copies area from BackDC to ScreenDC at the same place; true on success.
    virtual bool CopyToScreen(TStakko &stakko, const TRect &area) = 0;
};
