// The game model and the automatic player.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <future>
#include <string>
#include <thread>

#include "TestSupport.h"
#include "game/GlassFit.h"
#include "game/Random.h"
#include "game/Trace.h"
#include "player/Player.h"

namespace {

TEST(Random, FollowsTheRecurrenceWithAStatePerThread) {
    // Seed 1 gives the state 0x015A4E36, so 0x15A = 346; seed 95 gives
    // 0x808305AC, whose bit 31 is not part of the result.
    for (auto [seed, draws] : {std::pair{1u, std::vector{346, 130, 10982}},
                               {0u, {0, 346}},
                               {95u, {131}},
                               {12345u, {15301, 24996}}}) {
        SeedRandom(seed);
        for (int expected : draws)
            EXPECT_EQ(NextRandom(), expected) << "seed " << seed;
    }
    SeedRandom(1);
    std::thread([] { SeedRandom(12345); }).join();
    EXPECT_EQ(NextRandom(), 346);
}

class Moves : public ::testing::Test {
protected:
    void SetUp() override { test::MakeGlass(s, 11, 31); }
    void ExpectAt(int32_t x, int32_t y) {
        EXPECT_EQ((test::Cell{s.FigX, s.FigY}), (test::Cell{x, y}));
    }

    TStakko s;
    test::FixedKind kinds{7};
};

// What a move changed: per cell its look (e empty, f filled) and place.
std::string CellsOf(const TChanges &changes) {
    std::string cells;
    for (const TChange &c : changes.All())
        if (c.Kind == TChange::Cell)
            cells += "ef"[c.Look] + std::to_string(c.Column) + "," + std::to_string(c.Row) + " ";
    return cells;
}

// A sideways step also goes half a cell down; above row 0 the walls do not
// count. A turn tries kicks 0, +1, -1, +2, -2; an odd kick goes half a cell down.
TEST_F(Moves, ShiftXAndRotateWithSideKicks) {
    const struct {
        int32_t Kind, X, Y, Turns, Shift, Done, ToX, ToY;
        test::Cells After;                       // when given
    } cases[] = {{0, 4, 10, 0, 3, 1, 5, 11, {}}, // the second step meets (6, 14)
                 {0, 4, 10, 0, -20, 4, 0, 14, {}},
                 {0, 0, -4, 0, -3, 1, -1, -3, {}},
                 {0, 0, 10, 1, 0, 1, 2, 10, {{2, 10}, {3, 11}, {1, 9}, {0, 8}}},
                 {0, 10, 10, 1, 0, 1, 9, 11, {{9, 11}, {10, 12}, {8, 10}, {7, 9}}},
                 {0, 6, 0, 1, 0, 1, 6, 0, {{6, 0}, {7, 1}, {5, -1}, {4, -2}}},
                 {4, 5, 15, 6, 0, 0, 5, 15, {{5, 15}, {6, 16}, {4, 16}, {3, 15}}},
                 {4, 5, 15, -6, 0, 0, 5, 15, {{5, 15}, {6, 16}, {4, 16}, {3, 15}}}};
    s.SetCell(6, 14, 1);
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.X) + "," + std::to_string(c.Y) + " by " +
                     std::to_string(c.Turns ? c.Turns : c.Shift));
        test::PlaceFigure(s, c.Kind, c.X, c.Y);
        EXPECT_EQ(c.Turns ? s.Rotate(c.Turns) : s.ShiftX(c.Shift), c.Done);
        ExpectAt(c.ToX, c.ToY);
        EXPECT_EQ(c.After.empty() ? c.After : test::FigureCells(s), c.After);
    }
    for (int32_t kind = 0; kind < 10; ++kind) {
        test::PlaceFigure(s, kind, 5, 21);
        test::Cells before = test::FigureCells(s);
        EXPECT_EQ(s.Rotate(5) + s.Rotate(1), 6);
        EXPECT_EQ(test::FigureCells(s), before) << "kind " << kind;
    }
    // Each step erases the four cells and draws them again where they went.
    test::PlaceFigure(s, 4, 5, 15);
    TChanges changes;
    EXPECT_EQ(s.ShiftX(1, &changes) + s.Rotate(1, &changes), 2);
    EXPECT_EQ(CellsOf(changes), "e5,15 e6,16 e4,16 e3,15 f6,16 f7,17 f5,17 f4,16 "
                                "e6,16 e7,17 e5,17 e4,16 f6,16 f7,15 f6,18 f5,19 ");
    changes.Clear();
    test::PlaceFigure(s, 0, 0, 10);
    EXPECT_EQ(s.ShiftX(-1, &changes), 0);
    EXPECT_EQ(CellsOf(changes), ""); // a blocked step changes nothing
    test::FillAll(s);                // no kick fits
    test::PlaceFigure(s, 0, 5, 11);
    for (const test::Cell &c : test::FigureCells(s))
        s.SetCell(c.first, c.second, 0);
    for (int32_t n = 1; n < 6; ++n)
        EXPECT_EQ(s.Rotate(n), 0) << n;
    ExpectAt(5, 11);
}

TEST_F(Moves, LandingWritesClearsPlacesTheNextAndEndsTheGameAtTheTop) {
    test::BarOverGaps(s, {30}, 26);
    EXPECT_EQ(s.ShiftY(1, kinds), 1);
    EXPECT_EQ(s.ShiftY(1, kinds), 0);
    EXPECT_EQ(test::FilledCells(s), (test::Cells{{0, 26}, {0, 28}, {0, 30}}));
    EXPECT_EQ((std::vector<int32_t>{s.Score, s.Lines, kinds.Calls, s.Kind, s.FigX, s.FigY}),
              (std::vector<int32_t>{1, 1, 1, 7, 6, 0}));
    // Landing with a cell at the top: cell 3, above row 0, is lost.
    test::Fill(s, test::Column(4, 6, 30));
    test::PlaceFigure(s, 0, 4, 2);
    EXPECT_EQ(s.ShiftY(1, kinds), 0);
    EXPECT_TRUE(s.GameOver);
    EXPECT_EQ(kinds.Calls, 1); // no next figure after the last landing
    uint8_t glass[StoreSize];
    std::memcpy(glass, s.Glass, sizeof glass);
    EXPECT_EQ(s.ShiftX(1) + s.ShiftX(-1) + s.ShiftY(1, kinds) + s.Rotate(1), 0);
    EXPECT_EQ(test::FigureCells(s), (test::Cells{{4, 2}, {4, 4}, {4, 0}, {4, -2}}));
    EXPECT_EQ(std::memcmp(glass, s.Glass, sizeof glass), 0);
    s.NewGame(77);
    EXPECT_EQ((std::vector<int64_t>{s.Score, s.Lines, s.GameOver, s.GameStartTime}),
              (std::vector<int64_t>{0, 0, 0, 77}));
    EXPECT_EQ(s.ShiftY(1, kinds), 1);
    s.SetCell(0, 0, 1); // ends the game even on a free step, which is made
    EXPECT_EQ(s.ShiftY(1, kinds), 1);
    ExpectAt(4, 6);
    EXPECT_TRUE(s.GameOver);
}

// A caller may set a size beyond the store: what lies past it is outside the
// glass, and writes there are dropped. Rectangles without area unite as empty.
TEST(Board, PositionsBeyondTheStoreAreOutsideTheGlass) {
    struct {
        TStakko s;
        uint8_t after[4096];
    } g{};
    g.s.Width = 41;
    g.s.Height = 81;
    for (auto [column, row] : {std::pair{35, 1}, {1, 75}}) {
        g.s.SetCell(column, row, 1);
        EXPECT_EQ(g.s.GetCell(column, row), OutsideGlass) << column << "," << row;
    }
    EXPECT_EQ(std::count(g.after, g.after + sizeof g.after, 0), int(sizeof g.after));
    EXPECT_EQ(UniteRects(TRect{5, 5, 5, 9}, TRect{1, 2, 3, 4}), (TRect{1, 2, 3, 4}));
}

// The spawn column for each odd width, row 0; a kind out of range is 0.
TEST(NewFigure, AtTheEvenMiddleColumnOfTheTop) {
    TStakko s;
    // clang-format off
    for (auto [width, column] : {std::pair{11, 6}, {13, 6}, {15, 8}, {17, 8}, {19, 10}, {21, 10},
                                 {23, 12}, {25, 12}, {27, 14}, {29, 14}, {31, 16}, {0, 0}}) {
        // clang-format on
        s.Width = width;
        s.FigY = 5;
        s.NewFigure(3);
        EXPECT_EQ((std::vector<int32_t>{s.FigX, s.FigY, s.Kind}),
                  (std::vector<int32_t>{column, 0, 3}))
            << width;
    }
    for (int32_t kind : {-1, 10, 99})
        EXPECT_EQ((s.NewFigure(kind), s.Kind), 0) << kind;
}

// The examples of the fit (w x h -> s, columns, rows); too small an area
// gets 11 x 27. The layouts' glass areas, centring included, are the layout
// tests' part.
TEST(FitGlass, LargestCellGivingElevenColumnsAndThirtyOneRows) {
    const struct {
        int32_t W, H;
        bool Ok;
        int32_t S, Columns, Rows;
    } cases[] = {{152, 112, true, 9, 21, 31},    {640, 480, true, 35, 23, 31},
                 {1024, 768, true, 56, 23, 31},  {1000, 1050, true, 72, 17, 31},
                 {2000, 1100, true, 72, 31, 33}, {16, 200, false, 0, 11, 27},
                 {17, 15, false, 0, 11, 27}};
    for (const auto &c : cases) {
        TGlassFit fit = FitGlass(c.W, c.H);
        EXPECT_EQ((std::vector<int32_t>{fit.Ok, fit.CellWidth, fit.Width, fit.Height}),
                  (std::vector<int32_t>{c.Ok, c.S, c.Columns, c.Rows}))
            << c.W << " x " << c.H;
    }
}

TEST(ClearLines, SettlesTheGlassAndScores) {
    const struct {
        const char *Name;
        std::vector<int32_t> Up, Down;
        test::Cells Before;
        int32_t Removed;
        test::Cells After; // column by column from the top
    } cases[] = {
        {"up line with a cell above it", {30}, {}, {{0, 28}}, 1, {{0, 30}}},
        {"two up lines in one sweep", {30, 28}, {}, {}, 2, {}},
        // (5, 25) comes down over the removed line, is then loose and falls.
        {"cell moved down then falls", {28}, {}, {{0, 30}, {5, 25}}, 1, {{0, 30}, {5, 29}}},
        {"down line on odd bottom cells", {}, {28}, {}, 1, {}},
        {"column over it moves down", {30}, {}, test::Column(4, 2, 28), 1, test::Column(4, 4, 30)},
        // The down line comes down onto row 28 when the up line goes.
        {"up and down lines count together", {30}, {26}, {}, 2, {}},
        {"four lines", {24, 26, 28, 30}, {}, {{3, 21}}, 4, {{3, 29}}},
        {"loose cell falls to the bottom", {}, {}, {{5, 5}}, 0, {{5, 29}}},
        {"loose pair falls together", {}, {}, {{4, 10}, {5, 11}}, 0, {{4, 28}, {5, 29}}},
        {"nothing to clear", {}, {}, {{0, 30}, {1, 27}, {1, 29}}, 0, {{0, 30}, {1, 27}, {1, 29}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        TStakko s = test::Glass(11, 31);
        s.Score = 10;
        s.Lines = 4;
        for (int32_t r : c.Up)
            test::FillUpLine(s, r);
        for (int32_t r : c.Down)
            test::FillUpLine(s, r, +1);
        test::Fill(s, c.Before);
        EXPECT_EQ(s.ClearLines(), c.Removed);
        EXPECT_EQ(test::FilledCells(s), c.After);
        EXPECT_EQ(s.Score, c.Removed > 0 ? 10 + 2 * c.Removed - 1 : 10);
        EXPECT_EQ(s.Lines, 4 + c.Removed);
    }
}

// What the picture is told, in order: each full line flashes before it goes,
// each settled glass is shown as it was then.
TEST(ClearLines, RecordsFlashesThenTheGlassAfterEachChange) {
    TStakko s = test::Glass(11, 31);
    test::FillUpLine(s, 30);
    test::FillUpLine(s, 26, +1); // comes down to a full down line 28
    s.SetCell(5, 23, 1);         // loose: it falls in the second pass
    TChanges changes;
    EXPECT_EQ(s.ClearLines(&changes), 2);
    std::string kinds;
    for (const TChange &c : changes.All())
        kinds += "CGFSNSK"[c.Kind] + (c.Kind == TChange::Flash ? std::to_string(c.Row) : "");
    // The loose cell one cell down; the up line's flash and removal, which
    // brings the down line down to 28, full: its flash and removal. The
    // cell came down with them; a second pass finds nothing.
    EXPECT_EQ(kinds, "GSF30GSF28GS");
    EXPECT_EQ(changes.Snapshot(0).Cells[StoreIndex(0, 30)], 1); // before the line went
    EXPECT_EQ(test::FilledCells(s), (test::Cells{{5, 29}}));
}

// Full columns from every top cell down: taking a line away and moving the
// cells above it down may change nothing, which must not count as a removal
// (else the sweep never ends). A hang ends the whole program as a failure.
TEST(ClearLines, FullGlassesEnd) {
    const struct {
        int32_t Width, Height, Removed;
        bool GapAtTop;
        test::Cells After;
    } cases[] = {
        // Up line 2 loses the odd top cell; down line 2 then moves that gap down.
        {3, 5, 2, false, {}},
        {3, 5, 2, true, {{1, 1}, {1, 3}, {2, 0}, {2, 2}, {2, 4}}},
        // Down line 28 goes 14 times, each moving the gap one cell down.
        {11, 31, 15, false, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.Width) + (c.GapAtTop ? " with a gap" : ""));
        TStakko s = test::Glass(c.Width, c.Height);
        test::FillAll(s);
        if (c.GapAtTop)
            s.SetCell(0, 0, 0);
        auto result = std::async(std::launch::async, [&s] { return s.ClearLines(); });
        if (result.wait_for(std::chrono::seconds(10)) != std::future_status::ready)
            std::_Exit((std::fputs("ClearLines did not return within 10 s\n", stderr), 1));
        EXPECT_EQ(result.get(), c.Removed);
        test::Cells after = c.After; // empty: the even columns full
        for (int32_t column = 0; c.After.empty() && column < c.Width; column += 2) {
            test::Cells full = test::Column(column, 0, c.Height - 1);
            after.insert(after.end(), full.begin(), full.end());
        }
        EXPECT_EQ(test::FilledCells(s), after);
        EXPECT_EQ(std::pair(s.Score, s.Lines), std::pair(2 * c.Removed - 1, c.Removed));
    }
}

TEST(ValueGlass, WeighsHeightSpaceHolesAndRoughness) {
    const struct {
        const char *Name;
        test::Cells Filled;
        int32_t Value;
    } cases[] = {
        {"empty", {}, 4061},
        {"bottom cell of column 0", {{0, 30}}, 3958},
        {"cell above an empty bottom cell", {{0, 28}}, 3258},
        {"odd column pair", {{3, 27}, {3, 29}}, 3163},
        {"odd column cell over a hole", {{3, 27}}, 2936},
        {"up line 30 but column 10",
         {{0, 30}, {1, 29}, {2, 30}, {3, 29}, {4, 30}, {5, 29}, {6, 30}, {7, 29}, {8, 30}, {9, 29}},
         2494}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        TStakko s = test::Glass(11, 31);
        test::Fill(s, c.Filled);
        EXPECT_EQ(ValueGlass(s), c.Value);
    }
    static std::vector<std::string> traces;
    TStakko s = test::Glass(11, 0);
    SetTraceHook([](const char *name) { traces.emplace_back(name); });
    EXPECT_EQ(ValueGlass(s), 0);
    SetTraceHook(nullptr);
    EXPECT_EQ(traces, std::vector<std::string>{"ValueGlass"});
}

TEST(Search, BestPlacementOnAnEmptyGlass) {
    const struct {
        int32_t Kind, Trials, Rotation, Shift, Value;
    } cases[] = {{0, 54, 0, -6, 2761}, {1, 58, 0, 0, 2998},  {4, 54, 0, 3, 3313},
                 {5, 54, 0, -4, 3313}, {8, 18, 1, -5, 3171}, {9, 56, 1, 0, 2929}};
    for (const auto &c : cases) {
        SCOPED_TRACE("kind " + std::to_string(c.Kind));
        TStakko s = test::Glass(11, 31);
        s.NewFigure(c.Kind);
        TPlacement best = SearchPlacement(s);
        int32_t rotation = -9, shift = -9;
        FindBestMove(s, rotation, shift);
        EXPECT_EQ((std::vector<int32_t>{best.Trials, best.Rotation, best.Shift, best.Value}),
                  (std::vector<int32_t>{c.Trials, c.Rotation, c.Shift, c.Value}));
        EXPECT_EQ((test::Cell{rotation, shift}), (test::Cell{c.Rotation, c.Shift}));
    }
}

// With the game over every move refuses: one trial per rotation count, of
// shift 0, scoring the glass as it is.
TEST(Search, AnEndedGameGivesOneTrialPerRotation) {
    TStakko s = test::Glass(11, 31);
    test::Fill(s, test::Column(10, 2, 30));
    s.NewFigure(2);
    s.GameOver = true;
    TPlacement best = SearchPlacement(s);
    EXPECT_EQ((std::vector<int32_t>{best.Trials, best.Rotation, best.Shift, best.Value}),
              (std::vector<int32_t>{6, 0, 0, ValueGlass(s)}));
}

} // namespace
