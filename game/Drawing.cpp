#include <cstdlib>

#include "game/GlassPainter.h"
#include "game/Stakko.h"
#include "game/Ticks.h"

namespace {
constexpr int FlashFrames = 20;
constexpr uint32_t FlashFrameMs = 50;
} // namespace

void TStakko::ShowCell(int32_t column, int32_t row, uint8_t look) {
    if (!CanPaint() || !Painter)
        return;
    if (column < 0 || column >= Width || row < 0 || row >= Height)
        return;
    if (!SameParity(column, row))
        return;
    Painter->PaintCell(*this, column, row, look);
}

void TStakko::DrawFigure() {
    if (!CanPaint())
        return;
    for (int i = 0; i < 4; ++i)
        ShowCell(FigX + CellX[i], FigY + CellY[i], LookFilled);
}

void TStakko::EraseFigure() {
    if (!CanPaint())
        return;
    for (int i = 0; i < 4; ++i)
        ShowCell(FigX + CellX[i], FigY + CellY[i], LookEmpty);
}

// Paints every cell by its stored value; the falling figure is painted
// again by its next move.
void TStakko::RedrawGlass() {
    if (!CanPaint())
        return;
    for (int32_t row = 0; row < Height; ++row)
        for (int32_t column = 0; column < Width; ++column) {
            int32_t cell = GetCell(column, row);
            if (cell == FilledCell)
                ShowCell(column, row, LookFilled);
            else if (cell == EmptyCell)
                ShowCell(column, row, LookEmpty);
        }
}

// Twenty frames of random pixels over rows row and row + step, at least
// 50 ms each. The rest of each frame is slept, not polled, so the game
// thread does not keep a processor busy for the second a flash takes.
void TStakko::FlashLine(int32_t row, int32_t step) {
    if (!CanPaint())
        return;
    for (int frame = 0; frame < FlashFrames; ++frame) {
        uint32_t start = CurrentTicks();
        for (int32_t d = row; std::abs(d - row) <= std::abs(step) && d < Height; d += step) {
            for (int32_t column = 0; column < Width; ++column)
                ShowCell(column, d, LookFlash);
            if (step == 0)
                break;
        }
        FlushDirty();
        uint32_t elapsed = CurrentTicks() - start;
        if (elapsed < FlashFrameMs)
            SleepMilliseconds(FlashFrameMs - elapsed);
    }
}

void TStakko::FlushDirty() {
    if (!ScreenDC || !Painter)
        return;
    if (Painter->CopyToScreen(*this, DirtyRect))
        DirtyRect = TRect{};
}

void TStakko::CreateBrushes() {
    if (Painter)
        Painter->CreateBrushes(*this);
}
