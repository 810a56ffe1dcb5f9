#include <algorithm>
#include <cstring>

#include "game/Stakko.h"
#include "game/Trace.h"

namespace {
constexpr int MaxPasses = 101;
// Where the odd-column cells of a line sit against its even row r.
constexpr int32_t UpLine = -1;
constexpr int32_t DownLine = +1;

struct TNeighbour {
    int32_t Column, Row;
};
// Lower right, below, lower left, upper left, above, upper right.
constexpr TNeighbour Neighbours[] = {{1, 1}, {0, 2}, {-1, 1}, {-1, -1}, {0, -2}, {1, -1}};
} // namespace

// Labels the group of filled cells connected to (column, row), if that cell
// is filled and not yet labelled; returns how many cells it labelled. Done
// with a stack of its own rather than by recursion.
int32_t TStakko::MarkGroup(int32_t column, int32_t row, int32_t label) {
    if (!FilledAt(column, row) || Marks[StoreIndex(column, row)] >= 0)
        return 0;
    // A cell is labelled when it is pushed, so each is pushed at most once.
    int32_t pending[StoreSize];
    int32_t top = 0;
    int32_t count = 0;
    Marks[StoreIndex(column, row)] = label;
    pending[top++] = StoreIndex(column, row);
    while (top > 0) {
        int32_t index = pending[--top];
        ++count;
        int32_t c = index / MaxHeight, r = index % MaxHeight;
        for (const TNeighbour &n : Neighbours) {
            int32_t nc = c + n.Column, nr = r + n.Row;
            if (FilledAt(nc, nr) && Marks[StoreIndex(nc, nr)] < 0) {
                Marks[StoreIndex(nc, nr)] = label;
                pending[top++] = StoreIndex(nc, nr);
            }
        }
    }
    return count;
}

// Grounded groups get label 0, each loose group a label of its own from 1.
void TStakko::LabelGroups() {
    std::fill_n(Marks, StoreSize, -1); // not yet reached
    for (int32_t column = 0; column < Width; ++column)
        MarkGroup(column, BottomRow(column, Height), 0);
}

// Moves every loose group down by one cell, working from the bottom up.
// Returns whether there was any loose group.
bool TStakko::DropLooseGroups() {
    LabelGroups();
    int32_t label = 1;
    for (int32_t row = Height - 3; row >= 0; --row)
        for (int32_t column = 0; column < Width; ++column)
            // Most positions are empty or labelled: test before the call.
            if (FilledAt(column, row) && Marks[StoreIndex(column, row)] < 0 &&
                MarkGroup(column, row, label) > 0)
                ++label;
    if (label == 1)
        return false;
    for (int32_t row = Height - 3; row >= 0; --row)
        for (int32_t column = 0; column < Width; ++column)
            if (SameParity(column, row) && Marks[StoreIndex(column, row)] > 0 &&
                GetCell(column, row) == FilledCell) {
                SetCell(column, row, 0);
                SetCell(column, row + 2, 1);
            }
    RedrawGlass();
    FlushDirty();
    return true;
}

bool TStakko::UpLineFull(int32_t r) const {
    for (int32_t column = 0; column < Width; ++column)
        if (!FilledAt(column, column % 2 ? r + UpLine : r))
            return false;
    return true;
}

bool TStakko::DownLineFull(int32_t r) const {
    for (int32_t column = 0; column < Width; ++column)
        if (!FilledAt(column, column % 2 ? r + DownLine : r))
            return false;
    return true;
}

// Empties line r, then moves every column's cells above it down by one
// cell. A column's top cell keeps its value unless it was on the line.
void TStakko::RemoveLine(int32_t r, int32_t oddRowOffset) {
    for (int32_t column = 0; column < Width; ++column)
        SetCell(column, column % 2 ? r + oddRowOffset : r, 0);
    for (int32_t column = 0; column < Width; ++column) {
        int32_t p = column % 2 ? r + oddRowOffset : r;
        for (int32_t q = p; q >= TopRow(column) + 2; q -= 2)
            SetCell(column, q, GetCell(column, q - 2));
    }
}

// Removes full lines of one kind from firstRow up to lowestRow, testing the
// same r again after each removal. A removal that leaves the glass exactly
// as it was (every column filled from its top cell down to the line) would
// be found full again for ever; it is not counted and r moves on.
int32_t TStakko::RemoveFullLines(int32_t firstRow, int32_t lowestRow, int32_t oddRowOffset) {
    int32_t removed = 0;
    int32_t r = firstRow;
    while (r >= lowestRow) {
        bool full = oddRowOffset == UpLine ? UpLineFull(r) : DownLineFull(r);
        if (!full) {
            r -= 2;
            continue;
        }
        uint8_t before[StoreSize];
        std::memcpy(before, Glass, sizeof before);
        RemoveLine(r, oddRowOffset);
        if (std::memcmp(before, Glass, sizeof before) == 0) {
            r -= 2;
            continue;
        }
        ++removed;
    }
    return removed;
}

void TStakko::FlashFullLines(int32_t firstRow, int32_t lowestRow, int32_t oddRowOffset,
                             int32_t step) {
    if (!Drawing)
        return;
    for (int32_t r = firstRow; r >= lowestRow; r -= 2) {
        bool full = oddRowOffset == UpLine ? UpLineFull(r) : DownLineFull(r);
        if (full)
            FlashLine(r, step);
    }
}

int32_t TStakko::ClearLines() {
    try {
        int32_t removed = 0;
        for (int pass = 0; pass < MaxPasses; ++pass) {
            bool changed = DropLooseGroups();

            FlashFullLines(Height - 1, 2, UpLine, -1);
            int32_t up = RemoveFullLines(Height - 1, 2, UpLine);
            removed += up;
            if (up > 0) {
                RedrawGlass();
                FlushDirty();
                changed = true;
            }

            FlashFullLines(Height - 3, 0, DownLine, +1);
            int32_t down = RemoveFullLines(Height - 3, 0, DownLine);
            removed += down;
            if (down > 0) {
                RedrawGlass();
                FlushDirty();
                changed = true;
            }

            if (!changed)
                break;
        }
        if (removed > 0 && Drawing) {
            Score += 2 * removed - 1;
            Lines += removed;
        }
        return removed;
    } catch (...) {
        Trace("Clear Lines");
        return 0;
    }
}
