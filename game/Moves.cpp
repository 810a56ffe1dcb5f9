#include <cstdlib>

#include "game/Stakko.h"
#include "game/Trace.h"

void TStakko::NewFigure(int32_t kind) {
    try {
        FigY = 0;
        FigX = static_cast<int32_t>((Width - 0.1) * 0.5);
        if (FigX % 2 != 0)
            ++FigX;
        Kind = kind >= 0 && kind < KindCount ? kind : 0;
        for (int i = 0; i < FigureCells; ++i) {
            CellX[i] = KindOffsets[Kind][i].X;
            CellY[i] = KindOffsets[Kind][i].Y;
        }
    } catch (...) {
        Trace("NewFigure");
    }
}

// The figure's four cells, in order, in one look.
void TStakko::RecordFigure(TChanges *changes, uint8_t look) const {
    if (!changes)
        return;
    for (int i = 0; i < FigureCells; ++i)
        changes->Cell(FigX + CellX[i], FigY + CellY[i], look);
}

// A sideways step is blocked when a target at row 0 or below is filled or
// outside the glass; targets above the top never block.
bool TStakko::FigureStepBlocked(int32_t dx, int32_t dy) const {
    for (int i = 0; i < FigureCells; ++i) {
        int32_t column = FigX + CellX[i] + dx;
        int32_t row = FigY + CellY[i] + dy;
        if (row < 0)
            continue;
        int32_t cell = GetCell(column, row);
        if (cell != EmptyCell && cell != NoCell)
            return true;
    }
    return false;
}

int32_t TStakko::ShiftX(int32_t n, TChanges *changes) {
    try {
        if (GameOver || n == 0)
            return 0;
        int32_t dx = n > 0 ? 1 : -1;
        // |n| as 64 bits: n may be the most negative int.
        int64_t steps = std::llabs(static_cast<int64_t>(n));
        int32_t made = 0;
        while (made < steps && !FigureStepBlocked(dx, 1)) {
            RecordFigure(changes, LookEmpty);
            FigX += dx;
            FigY += 1;
            RecordFigure(changes, LookFilled);
            ++made;
        }
        return made;
    } catch (...) {
        Trace("ShiftX");
        return 0;
    }
}

// The first cell, in order, whose target one cell down is filled or outside
// the glass decides that the figure lands.
bool TStakko::LandingBelow() const {
    for (int i = 0; i < FigureCells; ++i) {
        int32_t row = FigY + CellY[i] + 2;
        if (row < 0)
            continue;
        int32_t cell = GetCell(FigX + CellX[i], row);
        if (cell == FilledCell || cell == OutsideGlass)
            return true;
    }
    return false;
}

void TStakko::LandFigure(TKindSource &kinds, TChanges *changes) {
    for (int i = 0; i < FigureCells; ++i)
        SetCell(FigX + CellX[i], FigY + CellY[i], 1);
    ClearLines(changes);
    if (TopCellFilled())
        GameOver = true;
    else
        NewFigure(kinds.NextKind());
}

// Only ever called with 1; any positive n makes one step, as 1 does.
int32_t TStakko::ShiftY(int32_t n, TKindSource &kinds, TChanges *changes) {
    try {
        if (GameOver || n <= 0)
            return 0;
        if (LandingBelow()) {
            LandFigure(kinds, changes);
            return 0;
        }
        if (TopCellFilled())
            GameOver = true;
        RecordFigure(changes, LookEmpty);
        FigY += 2;
        RecordFigure(changes, LookFilled);
        return 1;
    } catch (...) {
        Trace("ShiftY");
        return 0;
    }
}

int32_t TStakko::Rotate(int32_t n, TChanges *changes) {
    try {
        if (GameOver || n <= -6 || n >= 6)
            return 0;
        for (int32_t kick : KickOffsets) {
            int32_t originX = FigX + kick;
            int32_t originY = FigY + (kick % 2 != 0 ? 1 : 0);
            TOffset turned[FigureCells];
            bool fits = true;
            for (int i = 0; i < FigureCells && fits; ++i) {
                turned[i] = TurnOffset(TOffset{CellX[i], CellY[i]}, n);
                int32_t row = originY + turned[i].Y;
                fits = row < 0 || GetCell(originX + turned[i].X, row) == EmptyCell;
            }
            if (!fits)
                continue;
            RecordFigure(changes, LookEmpty);
            FigX = originX;
            FigY = originY;
            for (int i = 0; i < FigureCells; ++i) {
                CellX[i] = turned[i].X;
                CellY[i] = turned[i].Y;
            }
            RecordFigure(changes, LookFilled);
            return n;
        }
        return 0;
    } catch (...) {
        Trace("Rotate");
        return 0;
    }
}
