// The game model and the automatic player.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <future>
#include <string>
#include <thread>

#include "TestSupport.h"
#include "game/Random.h"
#include "game/Trace.h"

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
    void SetUp() override {
        kinds.Install(s);
        test::MakeGlass(s, 11, 31);
    }
    void ExpectAt(int32_t x, int32_t y) {
        EXPECT_EQ((test::Cell{s.FigX, s.FigY}), (test::Cell{x, y}));
    }

    TStakko s;
    test::FixedKind kinds{7};
};

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
        if (!c.After.empty()) {
            EXPECT_EQ(test::FigureCells(s), c.After);
        }
    }
    for (int32_t kind = 0; kind < 10; ++kind) {
        test::PlaceFigure(s, kind, 5, 21);
        test::Cells before = test::FigureCells(s);
        EXPECT_EQ(s.Rotate(5) + s.Rotate(1), 6);
        EXPECT_EQ(test::FigureCells(s), before) << "kind " << kind;
    }
    test::FillAll(s); // no kick fits
    test::PlaceFigure(s, 0, 5, 11);
    for (const test::Cell &c : test::FigureCells(s))
        s.SetCell(c.first, c.second, 0);
    for (int32_t n = 1; n < 6; ++n)
        EXPECT_EQ(s.Rotate(n), 0) << n;
    ExpectAt(5, 11);
}

TEST_F(Moves, LandingWritesClearsPlacesTheNextAndEndsTheGameAtTheTop) {
    test::FillUpLine(s, 30);
    s.SetCell(0, 30, 0);
    test::PlaceFigure(s, 0, 0, 26);
    EXPECT_EQ(s.ShiftY(1), 1);
    EXPECT_EQ(s.ShiftY(1), 0);
    EXPECT_EQ(test::FilledCells(s), (test::Cells{{0, 26}, {0, 28}, {0, 30}}));
    EXPECT_EQ(s.Score, 1);
    EXPECT_EQ(s.Lines, 1);
    for (kinds.Kind = 0; kinds.Kind < 10; ++kinds.Kind) {
        s.NewFigure(); // at the even middle column, in the kind's own shape
        test::Cells cells = test::FigureCells(s);
        test::PlaceFigure(s, kinds.Kind, 6, 0);
        EXPECT_EQ(cells, test::FigureCells(s)) << "kind " << kinds.Kind;
    }
    // Landing with a cell at the top: cell 3, above row 0, is lost.
    test::Fill(s, test::Column(4, 6, 30));
    test::PlaceFigure(s, 0, 4, 2);
    EXPECT_EQ(s.ShiftY(1), 0);
    EXPECT_TRUE(s.GameOver);
    EXPECT_EQ(kinds.Calls, 11);
    uint8_t glass[StoreSize];
    std::memcpy(glass, s.Glass, sizeof glass);
    EXPECT_EQ(s.ShiftX(1) + s.ShiftX(-1) + s.ShiftY(1) + s.Rotate(1), 0);
    EXPECT_EQ(test::FigureCells(s), (test::Cells{{4, 2}, {4, 4}, {4, 0}, {4, -2}}));
    EXPECT_EQ(std::memcmp(glass, s.Glass, sizeof glass), 0);
    s.NewGame();
    EXPECT_EQ(s.ShiftY(1), 1);
    s.SetCell(0, 0, 1); // ends the game even on a free step, which is made
    EXPECT_EQ(s.ShiftY(1), 1);
    ExpectAt(4, 6);
    EXPECT_TRUE(s.GameOver);
}

// The glass areas of the layouts 1024x768, 800x600, 640x480, 1600x1200 and
// 152x112 end 11 columns wide and centred; an area too small for 11 x 31 is
// kept whole at 11 x 27 and the figure is left where it was.
TEST(SetBoundsRect, CentresTheGlassAndPlacesANewFigure) {
    const struct {
        TRect Area;
        int32_t Height;
        TRect Glass;
    } cases[] = {{{312, 38, 711, 730}, 33, {316, 52, 707, 715}},
                 {{244, 30, 555, 570}, 33, {246, 36, 552, 563}},
                 {{195, 24, 444, 456}, 33, {197, 27, 441, 452}},
                 {{488, 60, 1111, 1140}, 33, {493, 73, 1105, 1127}},
                 {{46, 5, 105, 107}, 39, {50, 6, 101, 106}},
                 {{5, 7, 21, 207}, 27, {5, 7, 21, 207}},
                 {{5, 7, 22, 22}, 27, {5, 7, 22, 22}}};
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.Area.Right) + "," + std::to_string(c.Area.Bottom));
        TStakko s;
        test::FixedKind kinds{5};
        kinds.Install(s);
        test::PlaceFigure(s, 0, 3, 9);
        s.SetBoundsRect(c.Area);
        std::vector<int32_t> expected{11, 27, 0, 0, 3, 9}; // too small: left as it was
        if (c.Height != 27)
            expected = {11, c.Height, 1, 5, 6, 0};
        EXPECT_EQ((std::vector<int32_t>{s.Width, s.Height, kinds.Calls, s.Kind, s.FigX, s.FigY}),
                  expected);
        EXPECT_EQ(s.GlassRect, c.Glass);
    }
}

// With drawing off the glass ends the same, but nothing is scored.
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
        {"column over the line moves down",
         {30},
         {},
         test::Column(4, 2, 28),
         1,
         test::Column(4, 4, 30)},
        // The down line comes down onto row 28 when the up line goes.
        {"up and down lines count together", {30}, {26}, {}, 2, {}},
        {"four lines", {24, 26, 28, 30}, {}, {{3, 21}}, 4, {{3, 29}}},
        {"loose cell falls to the bottom", {}, {}, {{5, 5}}, 0, {{5, 29}}},
        {"loose pair falls together", {}, {}, {{4, 10}, {5, 11}}, 0, {{4, 28}, {5, 29}}},
        {"nothing to clear", {}, {}, {{0, 30}, {1, 27}, {1, 29}}, 0, {{0, 30}, {1, 27}, {1, 29}}},
    };
    for (const auto &c : cases) {
        for (bool drawing : {true, false}) {
            SCOPED_TRACE(std::string(c.Name) + (drawing ? "" : ", drawing off"));
            TStakko s;
            test::MakeGlass(s, 11, 31);
            s.Score = 10;
            s.Lines = 4;
            s.Drawing = drawing;
            for (int32_t r : c.Up)
                test::FillUpLine(s, r);
            for (int32_t r : c.Down)
                test::FillUpLine(s, r, +1);
            test::Fill(s, c.Before);
            EXPECT_EQ(s.ClearLines(), c.Removed);
            EXPECT_EQ(test::FilledCells(s), c.After);
            bool scored = drawing && c.Removed > 0;
            EXPECT_EQ(s.Score, scored ? 10 + 2 * c.Removed - 1 : 10);
            EXPECT_EQ(s.Lines, scored ? 4 + c.Removed : 4);
        }
    }
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
        TStakko s;
        test::MakeGlass(s, c.Width, c.Height);
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
        EXPECT_EQ(s.Score, 2 * c.Removed - 1);
        EXPECT_EQ(s.Lines, c.Removed);
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
        TStakko s;
        test::MakeGlass(s, 11, 31);
        test::Fill(s, c.Filled);
        uint8_t before[StoreSize];
        std::memcpy(before, s.Glass, sizeof before);
        EXPECT_EQ(s.ValueGlass(), c.Value);
        EXPECT_EQ(std::memcmp(before, s.Glass, sizeof before), 0);
    }
    static std::vector<std::string> traces;
    TStakko s;
    test::MakeGlass(s, 11, 0);
    SetTraceHook([](const char *name) { traces.emplace_back(name); });
    EXPECT_EQ(s.ValueGlass(), 0);
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
        TStakko s;
        test::FixedKind kinds{c.Kind};
        kinds.Install(s);
        test::MakeGlass(s, 11, 31);
        s.NewFigure();
        TPlacement best = s.SearchPlacement();
        EXPECT_EQ(best.Trials, c.Trials);
        EXPECT_EQ(best.Rotation, c.Rotation);
        EXPECT_EQ(best.Shift, c.Shift);
        EXPECT_EQ(best.Value, c.Value);
        int32_t rotation = -9, shift = -9;
        s.FindBestMove(rotation, shift);
        EXPECT_EQ(rotation, c.Rotation);
        EXPECT_EQ(shift, c.Shift);
    }
}

// Trials land figures, clear lines and reach the top, yet the object is
// left as it was, unscored, with drawing on.
TEST(Search, LeavesTheObjectAsItWas) {
    TStakko s;
    test::FixedKind kinds{3};
    kinds.Install(s);
    test::MakeGlass(s, 11, 31);
    test::FillUpLine(s, 30);
    s.SetCell(0, 30, 0);                    // the bar slid to the left wall completes it
    test::Fill(s, test::Column(10, 2, 28)); // a landing on it reaches the top
    test::PlaceFigure(s, 0, 6, 0);
    s.Score = 17;
    std::vector<uint8_t> glass(s.Glass, s.Glass + StoreSize);
    EXPECT_GT(s.SearchPlacement().Trials, 0);
    EXPECT_EQ(std::vector<uint8_t>(s.Glass, s.Glass + StoreSize), glass);
    EXPECT_EQ(test::FigureCells(s), (test::Cells{{6, 0}, {6, 2}, {6, -2}, {6, -4}}));
    EXPECT_EQ((std::vector<int32_t>{s.Kind, s.Score, s.Lines, s.GameOver}),
              (std::vector<int32_t>{0, 17, 0, 0}));
    EXPECT_TRUE(s.Drawing);
}

} // namespace
