#pragma once
// Helpers shared by the core tests: glass set-up, figure placement, and
// recorders for the injectable trace hook, tick source and painter.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "game/GlassPainter.h"
#include "game/Stakko.h"
#include "game/Ticks.h"
#include "game/Trace.h"

namespace test {

using Cell = std::pair<int32_t, int32_t>; // (column, row)
using Cells = std::vector<Cell>;

// Offsets of cells 0 to 3 of a new figure, by kind: written out here so that
// the game's own table is checked against them, not against itself.
constexpr int32_t Shapes[10][4][2] = {
    {{0, 0}, {0, 2}, {0, -2}, {0, -4}},    {{0, 0}, {1, -1}, {0, -2}, {-1, -1}},
    {{0, 0}, {0, -2}, {0, 2}, {1, -1}},    {{0, 0}, {0, -2}, {0, 2}, {-1, -1}},
    {{0, 0}, {1, 1}, {-1, 1}, {-2, 0}},    {{0, 0}, {1, -1}, {-1, -1}, {-2, 0}},
    {{-2, 0}, {-1, -1}, {0, -2}, {1, -1}}, {{-1, -1}, {0, -2}, {1, -1}, {2, 0}},
    {{0, 0}, {0, 2}, {1, -1}, {-1, -1}},   {{0, 2}, {-1, 1}, {-1, -1}, {0, -2}},
};

// An empty glass of the given size.
inline void MakeGlass(TStakko &s, int32_t width, int32_t height) {
    s.Width = width;
    s.Height = height;
    s.NewGame();
}

inline void PlaceFigure(TStakko &s, int32_t kind, int32_t x, int32_t y) {
    s.Kind = kind;
    s.FigX = x;
    s.FigY = y;
    for (int i = 0; i < 4; ++i) {
        s.CellX[i] = Shapes[kind][i][0];
        s.CellY[i] = Shapes[kind][i][1];
    }
}

// The cells of one column from row fromRow down to row toRow.
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

// Up line r: even columns at row r, odd columns at r - 1; a down line has
// its odd-column cells at r + 1.
inline void FillUpLine(TStakko &s, int32_t r) {
    for (int32_t column = 0; column < s.Width; ++column)
        s.SetCell(column, column % 2 ? r - 1 : r, 1);
}

inline void FillDownLine(TStakko &s, int32_t r) {
    for (int32_t column = 0; column < s.Width; ++column)
        s.SetCell(column, column % 2 ? r + 1 : r, 1);
}

inline void FillAll(TStakko &s) {
    for (int32_t column = 0; column < s.Width; ++column)
        for (int32_t row = column % 2; row < s.Height; row += 2)
            s.SetCell(column, row, 1);
}

// Filled cells of the glass, column by column from the top.
inline Cells FilledCells(const TStakko &s) {
    Cells cells;
    for (int32_t column = 0; column < s.Width; ++column)
        for (int32_t row = 0; row < s.Height; ++row)
            if (s.GetCell(column, row) == 1)
                cells.emplace_back(column, row);
    return cells;
}

// Kind source that always gives *context, counting its calls.
struct FixedKind {
    int32_t Kind = 0;
    int Calls = 0;
    static int32_t Pick(void *context) {
        auto *self = static_cast<FixedKind *>(context);
        ++self->Calls;
        return self->Kind;
    }
    void Install(TStakko &s) { s.SetKindSource(&FixedKind::Pick, this); }
};

// Records every trace for the life of the object.
class TraceRecorder {
public:
    TraceRecorder() {
        Names().clear();
        SetTraceHook(&Record);
    }
    ~TraceRecorder() { SetTraceHook(nullptr); }
    const std::vector<std::string> &Traces() const { return Names(); }

private:
    static std::vector<std::string> &Names() {
        static std::vector<std::string> names;
        return names;
    }
    static void Record(const char *name) { Names().emplace_back(name); }
};

// Makes the tick counter answer a value the test sets.
class FakeTicks {
public:
    explicit FakeTicks(uint32_t now) {
        Now() = now;
        SetTickSource(&Read);
    }
    ~FakeTicks() { SetTickSource(nullptr); }
    void Set(uint32_t now) { Now() = now; }

private:
    static uint32_t &Now() {
        static uint32_t now = 0;
        return now;
    }
    static uint32_t Read() { return Now(); }
};

// Counts painted cells and copies. Bound with a stand-in back buffer so that
// only the Drawing switch decides whether anything is painted.
class RecordingPainter : public TGlassPainter {
public:
    int Painted = 0;
    int Copies = 0;

    void Bind(TStakko &s) {
        s.Painter = this;
        s.BackDC = this;
    }
    void CreateBrushes(TStakko &) override {}
    void Release(TStakko &) override {}
    void PaintCell(TStakko &, int32_t, int32_t, uint8_t) override { ++Painted; }
    bool CopyToScreen(TStakko &, const TRect &) override {
        ++Copies;
        return true;
    }
};

} // namespace test
