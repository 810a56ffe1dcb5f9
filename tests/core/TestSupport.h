#pragma once
// Glass set-up and figure placement shared by the game tests.
#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

#include "game/Stakko.h"

namespace test {

using Cell = std::pair<int32_t, int32_t>; // (column, row)
using Cells = std::vector<Cell>;

inline void MakeGlass(TStakko &s, int32_t width, int32_t height) {
    s.Width = width;
    s.Height = height;
    s.NewGame(0);
}

inline TStakko Glass(int32_t width, int32_t height) {
    TStakko s;
    MakeGlass(s, width, height);
    return s;
}

// A new figure of the kind, moved to the origin (x, y).
inline void PlaceFigure(TStakko &s, int32_t kind, int32_t x, int32_t y) {
    s.NewFigure(kind);
    s.FigX = x;
    s.FigY = y;
}

inline Cells Column(int32_t column, int32_t fromRow, int32_t toRow) {
    Cells cells;
    for (int32_t row = fromRow; row <= toRow; row += 2)
        cells.emplace_back(column, row);
    return cells;
}

inline Cells FigureCells(const TStakko &s) {
    Cells cells;
    for (int i = 0; i < 4; ++i)
        cells.emplace_back(s.FigX + s.CellX[i], s.FigY + s.CellY[i]);
    return cells;
}

inline void Fill(TStakko &s, const Cells &cells) {
    for (const Cell &c : cells)
        s.SetCell(c.first, c.second, 1);
}

// Up line r: even columns at row r, odd columns at r - 1; a down line: r + 1.
inline void FillUpLine(TStakko &s, int32_t r, int32_t oddRow = -1) {
    for (int32_t column = 0; column < s.Width; ++column)
        s.SetCell(column, column % 2 ? r + oddRow : r, 1);
}

// The up lines full but for column 0, above whose gaps a bar (kind 0) has
// its origin at row y.
inline void BarOverGaps(TStakko &s, std::initializer_list<int32_t> rows, int32_t y) {
    for (int32_t r : rows) {
        FillUpLine(s, r);
        s.SetCell(0, r, 0);
    }
    PlaceFigure(s, 0, 0, y);
}

inline void FillAll(TStakko &s) {
    for (int32_t column = 0; column < s.Width; ++column)
        Fill(s, Column(column, column % 2, s.Height - 1));
}

// Column by column from the top.
inline Cells FilledCells(const TStakko &s) {
    Cells cells;
    for (int32_t column = 0; column < s.Width; ++column)
        for (int32_t row = 0; row < s.Height; ++row)
            if (s.GetCell(column, row) == 1)
                cells.emplace_back(column, row);
    return cells;
}

// Kind source that always gives Kind, counting its calls.
struct FixedKind final : TKindSource {
    explicit FixedKind(int32_t kind = 0) : Kind(kind) {}
    int32_t NextKind() override {
        ++Calls;
        return Kind;
    }
    int32_t Kind = 0;
    int Calls = 0;
};

} // namespace test
