#include <ctime>

#include "game/Figures.h"
#include "game/GlassPainter.h"
#include "game/Random.h"
#include "game/Stakko.h"
#include "game/Ticks.h"

int64_t GameStartTime = 0;

TStakko::TStakko() {
    SeedRandom(CurrentTicks() % 32767u);
    CreateBrushes();
    NewGame();
    GameOver = false;
    NewFigure();
    Drawing = true;
}

TStakko::~TStakko() {
    if (Painter)
        Painter->Release(*this);
}

int32_t TStakko::GetCell(int32_t column, int32_t row) const {
    if (column < 0 || row < 0 || column >= Width || row >= Height)
        return OutsideGlass;
    // Width and Height never exceed the store, but a caller may set them.
    if (column >= MaxWidth || row >= MaxHeight)
        return OutsideGlass;
    if (!SameParity(column, row))
        return NoCell;
    return Glass[StoreIndex(column, row)];
}

void TStakko::SetCell(int32_t column, int32_t row, int32_t value) {
    if (column < 0 || row < 0 || column >= MaxWidth || row >= MaxHeight)
        return;
    uint8_t &cell = Glass[StoreIndex(column, row)];
    if (!SameParity(column, row))
        cell = NoCell;
    else
        cell = static_cast<int8_t>(value) > 0 ? FilledCell : EmptyCell;
}

void TStakko::NewGame() {
    for (int32_t column = 0; column < Width; ++column)
        for (int32_t row = 0; row < Height; ++row)
            SetCell(column, row, 0);
    Score = 0;
    Lines = 0;
    GameStartTime = static_cast<int64_t>(std::time(nullptr));
    GameOver = false;
}

bool TStakko::TopCellFilled() const {
    for (int32_t column = 0; column < Width; ++column)
        if (FilledAt(column, TopRow(column)))
            return true;
    return false;
}

void TStakko::SetKindSource(KindSource source, void *context) {
    KindPicker = source;
    KindContext = context;
}

int32_t TStakko::NextKind() {
    int32_t kind = KindPicker ? KindPicker(KindContext) : PickRandomKind();
    return kind >= 0 && kind < KindCount ? kind : 0;
}
