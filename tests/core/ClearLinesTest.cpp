// Falling groups, full lines and scoring.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <ostream>

#include "TestSupport.h"
#include "game/Stakko.h"

namespace {

struct ClearCase {
    const char *Name;
    void (*Setup)(TStakko &);
    int32_t Removed;
    test::Cells After; // filled cells afterwards, column by column from the top
};

void PrintTo(const ClearCase &c, std::ostream *os) {
    *os << c.Name;
}

const ClearCase ClearCases[] = {
    {"UpLineWithCellAboveIt",
     [](TStakko &s) {
         test::FillUpLine(s, 30);
         s.SetCell(0, 28, 1);
     },
     1,
     {{0, 30}}},
    {"TwoUpLinesInOneSweep",
     [](TStakko &s) {
         test::FillUpLine(s, 30);
         test::FillUpLine(s, 28);
     },
     2,
     {}},
    // (5, 25) comes down over the removed line, is then loose and falls.
    {"CellMovedDownThenFalls",
     [](TStakko &s) {
         s.SetCell(0, 30, 1);
         test::FillUpLine(s, 28);
         s.SetCell(5, 25, 1);
     },
     1,
     {{0, 30}, {5, 29}}},
    {"DownLineOnOddBottomCells", [](TStakko &s) { test::FillDownLine(s, 28); }, 1, {}},
    // The top cell takes the empty row 0.
    {"ColumnAboveTheLineMovesDown",
     [](TStakko &s) {
         test::Fill(s, test::Column(4, 2, 28));
         test::FillUpLine(s, 30);
     },
     1, test::Column(4, 4, 30)},
    // The down line comes down onto row 28 when the up line goes.
    {"UpAndDownLinesCountTogether",
     [](TStakko &s) {
         test::FillUpLine(s, 30);
         test::FillDownLine(s, 26);
     },
     2,
     {}},
    {"FourLines",
     [](TStakko &s) {
         for (int32_t r = 24; r <= 30; r += 2)
             test::FillUpLine(s, r);
         s.SetCell(3, 21, 1);
     },
     4,
     {{3, 29}}},
    {"LooseCellFallsToTheBottom", [](TStakko &s) { s.SetCell(5, 5, 1); }, 0, {{5, 29}}},
    {"LoosePairFallsTogether",
     [](TStakko &s) {
         test::Fill(s, {{4, 10}, {5, 11}});
     },
     0,
     {{4, 28}, {5, 29}}},
    {"NothingToClear",
     [](TStakko &s) {
         test::Fill(s, {{0, 30}, {1, 29}, {1, 27}, {10, 30}});
         test::Fill(s, test::Column(8, 20, 30));
     },
     0,
     {{0, 30}, {1, 27}, {1, 29}, {8, 20}, {8, 22}, {8, 24}, {8, 26}, {8, 28}, {8, 30}, {10, 30}}},
};

class ClearLinesTest : public ::testing::TestWithParam<ClearCase> {};

// With drawing off the glass ends the same, but nothing is scored.
TEST_P(ClearLinesTest, SettlesTheGlassAndScores) {
    const ClearCase &c = GetParam();
    for (bool drawing : {true, false}) {
        SCOPED_TRACE(drawing ? "drawing on" : "drawing off");
        TStakko s;
        test::MakeGlass(s, 11, 31);
        s.Score = 10;
        s.Lines = 4;
        s.Drawing = drawing;
        c.Setup(s);
        EXPECT_EQ(s.ClearLines(), c.Removed);
        EXPECT_EQ(test::FilledCells(s), c.After);
        bool scored = drawing && c.Removed > 0;
        EXPECT_EQ(s.Score, scored ? 10 + 2 * c.Removed - 1 : 10);
        EXPECT_EQ(s.Lines, scored ? 4 + c.Removed : 4);
    }
}

INSTANTIATE_TEST_SUITE_P(Glasses, ClearLinesTest, ::testing::ValuesIn(ClearCases),
                         [](const ::testing::TestParamInfo<ClearCase> &info) {
                             return std::string(info.param.Name);
                         });

TEST(ClearLines, SettledGlassPaintsNothing) {
    test::RecordingPainter painter;
    TStakko s;
    painter.Bind(s);
    test::MakeGlass(s, 11, 31);
    test::Fill(s, {{0, 30}, {1, 29}, {2, 28}, {2, 30}});
    EXPECT_EQ(s.ClearLines(), 0);
    EXPECT_EQ(painter.Painted, 0);
    s.Painter = nullptr;
}

// Runs ClearLines on another thread and gives up on the whole program if it
// does not return, so that a hang shows as a failure instead of a stall.
int32_t ClearLinesWithin(TStakko &s, std::chrono::seconds limit) {
    auto result = std::async(std::launch::async, [&s] { return s.ClearLines(); });
    if (result.wait_for(limit) != std::future_status::ready) {
        std::fprintf(stderr, "ClearLines did not return within %d s\n",
                     static_cast<int>(limit.count()));
        std::fflush(stderr);
        std::_Exit(1);
    }
    return result.get();
}

// A glass filled from every column's top cell down to a full line: taking the
// line away and moving the cells above it down changes nothing, which must
// not count as a removal. Only removals that change the glass count.
TEST(ClearLines, FullSmallGlassEnds) {
    TStakko s;
    test::MakeGlass(s, 3, 5);
    test::FillAll(s);
    // Up line 2 loses the odd top cell; down line 2 then moves that gap down.
    EXPECT_EQ(ClearLinesWithin(s, std::chrono::seconds(10)), 2);
    test::Cells expected = test::Column(0, 0, 4);
    test::Cells right = test::Column(2, 0, 4);
    expected.insert(expected.end(), right.begin(), right.end());
    EXPECT_EQ(test::FilledCells(s), expected);
    EXPECT_EQ(s.Score, 3);
    EXPECT_EQ(s.Lines, 2);
}

TEST(ClearLines, FullGlassEnds) {
    TStakko s;
    test::MakeGlass(s, 11, 31);
    test::FillAll(s);
    // Up line 2 empties row 1; down line 28 then goes 14 times, each time
    // moving that gap one cell further down the odd columns.
    EXPECT_EQ(ClearLinesWithin(s, std::chrono::seconds(10)), 15);
    test::Cells expected;
    for (int32_t column = 0; column < 11; column += 2) {
        test::Cells cells = test::Column(column, 0, 30);
        expected.insert(expected.end(), cells.begin(), cells.end());
    }
    EXPECT_EQ(test::FilledCells(s), expected);
}

// A gap above the line makes every removal real: each moves the gap one
// cell down until the line is no longer full.
TEST(ClearLines, FullGlassWithAGapAboveTheLineEnds) {
    TStakko s;
    test::MakeGlass(s, 3, 5);
    test::FillAll(s);
    s.SetCell(0, 0, 0);
    EXPECT_EQ(ClearLinesWithin(s, std::chrono::seconds(10)), 2);
    test::Cells expected = test::Column(1, 1, 3);
    test::Cells right = test::Column(2, 0, 4);
    expected.insert(expected.end(), right.begin(), right.end());
    EXPECT_EQ(test::FilledCells(s), expected);
}

} // namespace
