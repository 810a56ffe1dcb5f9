#pragma once
#include "game/GlassPainter.h"
#include "render/CellGeometry.h"

// The platform-independent half of painting a cell: plan it, refuse what
// does not lie inside the glass, grow the game object's DirtyRect by its
// box, then let the platform issue the planned primitives. A failure while
// a cell is planned or issued ends that cell only; it goes to the trace hook.
class TCellPainter : public TGlassPainter {
public:
    void PaintCell(TStakko &stakko, int32_t column, int32_t row, uint8_t look) final;

protected:
    // Draws the planned primitives into the game object's BackDC.
    virtual void Issue(TStakko &stakko, const TCellPicture &picture) = 0;
};
