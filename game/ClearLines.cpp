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
// is filled and not yet labelled. Done with a stack of its own rather than
// by recursion; a cell is labelled when it is pushed, so each is pushed once.
int32_t TStakko::MarkGroup(TGroupMarks &marks, int32_t column, int32_t row, int32_t label) const {
    int32_t *mark = marks.Label;
    if (!FilledAt(column, row) || mark[StoreIndex(column, row)] >= 0)
        return 0;
    int32_t pending[StoreSize];
    int32_t top = 0;
    int32_t count = 0;
    mark[StoreIndex(column, row)] = label;
    pending[top++] = StoreIndex(column, row);
    while (top > 0) {
        int32_t index = pending[--top];
        ++count;
        int32_t c = index / MaxHeight, r = index % MaxHeight;
        for (const TNeighbour &n : Neighbours) {
            int32_t nc = c + n.Column, nr = r + n.Row;
            if (FilledAt(nc, nr) && mark[StoreIndex(nc, nr)] < 0) {
                mark[StoreIndex(nc, nr)] = label;
                pending[top++] = StoreIndex(nc, nr);
            }
        }
    }
    return count;
}

// Grounded groups get label 0; the rest stay unlabelled (-1).
void TStakko::LabelGroups(TGroupMarks &marks) const {
    std::fill_n(marks.Label, StoreSize, -1);
    for (int32_t column = 0; column < Width; ++column)
        MarkGroup(marks, column, BottomRow(column, Height), 0);
}

// Moves every loose group down by one cell, working from the bottom up.
// Returns whether there was any loose group.
bool TStakko::DropLooseGroups(TChanges *changes) {
    TGroupMarks marks;
    LabelGroups(marks);
    int32_t label = 1;
    for (int32_t row = Height - 3; row >= 0; --row)
        for (int32_t column = 0; column < Width; ++column)
            // Most positions are empty or labelled: test before the call.
            if (FilledAt(column, row) && marks.Label[StoreIndex(column, row)] < 0 &&
                MarkGroup(marks, column, row, label) > 0)
                ++label;
    if (label == 1)
        return false;
    for (int32_t row = Height - 3; row >= 0; --row)
        for (int32_t column = 0; column < Width; ++column)
            if (SameParity(column, row) && marks.Label[StoreIndex(column, row)] > 0 &&
                GetCell(column, row) == FilledCell) {
                SetCell(column, row, 0);
                SetCell(column, row + 2, 1);
            }
    if (changes) {
        changes->Glass(Width, Height, Glass);
        changes->Show();
    }
    return true;
}

bool TStakko::LineFull(int32_t r, int32_t oddRowOffset) const {
    for (int32_t column = 0; column < Width; ++column)
        if (!FilledAt(column, column % 2 ? r + oddRowOffset : r))
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
        if (!LineFull(r, oddRowOffset)) {
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
                             int32_t step, TChanges *changes) const {
    if (!changes)
        return;
    for (int32_t r = firstRow; r >= lowestRow; r -= 2)
        if (LineFull(r, oddRowOffset))
            changes->Flash(r, step);
}

int32_t TStakko::ClearLines(TChanges *changes) {
    try {
        int32_t removed = 0;
        for (int pass = 0; pass < MaxPasses; ++pass) {
            bool changed = DropLooseGroups(changes);
            const struct {
                int32_t FirstRow, LowestRow, OddRowOffset, FlashStep;
            } kinds[] = {{Height - 1, 2, UpLine, -1}, {Height - 3, 0, DownLine, +1}};
            for (const auto &kind : kinds) {
                FlashFullLines(kind.FirstRow, kind.LowestRow, kind.OddRowOffset, kind.FlashStep,
                               changes);
                int32_t lines = RemoveFullLines(kind.FirstRow, kind.LowestRow, kind.OddRowOffset);
                removed += lines;
                if (lines > 0) {
                    if (changes) {
                        changes->Glass(Width, Height, Glass);
                        changes->Show();
                    }
                    changed = true;
                }
            }
            if (!changed)
                break;
        }
        if (removed > 0) {
            Score += 2 * removed - 1;
            Lines += removed;
        }
        return removed;
    } catch (...) {
        Trace("Clear Lines");
        return 0;
    }
}
