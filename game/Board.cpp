#include "game/Stakko.h"

int32_t TStakko::GetCell(int32_t column, int32_t row) const {
    return StoredCell(Glass, Width, Height, column, row);
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

void TStakko::NewGame(int64_t startTime) {
    for (int32_t column = 0; column < Width; ++column)
        for (int32_t row = 0; row < Height; ++row)
            SetCell(column, row, 0);
    Score = 0;
    Lines = 0;
    GameStartTime = startTime;
    GameOver = false;
}

bool TStakko::TopCellFilled() const {
    for (int32_t column = 0; column < Width; ++column)
        if (FilledAt(column, TopRow(column)))
            return true;
    return false;
}
