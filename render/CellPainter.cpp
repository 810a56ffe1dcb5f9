#include "render/CellPainter.h"

#include "game/Stakko.h"
#include "game/Trace.h"

void TCellPainter::PaintCell(TStakko &stakko, int32_t column, int32_t row, uint8_t look) {
    try {
        TCellPicture picture;
        if (!PlanCell(MakeCellGrid(stakko), column, row, look, picture))
            return;
        stakko.DirtyRect = UniteRects(stakko.DirtyRect, picture.Box);
        Issue(stakko, picture);
    } catch (...) {
        Trace("ShowCell");
    }
}
