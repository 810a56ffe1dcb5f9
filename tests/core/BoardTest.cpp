// The cell store, NewGame, and fitting the glass into a pixel area.
#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <ostream>

#include "TestSupport.h"
#include "game/GlassFit.h"
#include "game/Stakko.h"

namespace {

TEST(Board, GetCellAnswersOutsideNoCellAndStoredValue) {
    TStakko s;
    test::MakeGlass(s, 11, 31);
    EXPECT_EQ(s.GetCell(-1, 0), -1);
    EXPECT_EQ(s.GetCell(0, -1), -1);
    EXPECT_EQ(s.GetCell(11, 0), -1);
    EXPECT_EQ(s.GetCell(0, 31), -1);
    EXPECT_EQ(s.GetCell(0, 1), 254);
    EXPECT_EQ(s.GetCell(1, 0), 254);
    EXPECT_EQ(s.GetCell(1, 1), 0);
    s.SetCell(1, 1, 1);
    EXPECT_EQ(s.GetCell(1, 1), 1);
    // A position without a cell reads 254 whatever its byte holds.
    s.Glass[StoreIndex(2, 3)] = 1;
    EXPECT_EQ(s.GetCell(2, 3), 254);
}

TEST(Board, SetCellStoresByParityAndSignedByte) {
    TStakko s;
    test::MakeGlass(s, 11, 31);
    s.SetCell(0, 1, 1);
    EXPECT_EQ(s.Glass[StoreIndex(0, 1)], 254);
    s.SetCell(2, 2, 1);
    s.SetCell(2, 2, -1);
    EXPECT_EQ(s.Glass[StoreIndex(2, 2)], 0);
    s.SetCell(2, 2, 7);
    EXPECT_EQ(s.Glass[StoreIndex(2, 2)], 1);
    s.SetCell(2, 2, 254); // -2 as a signed byte
    EXPECT_EQ(s.Glass[StoreIndex(2, 2)], 0);
    s.SetCell(2, 2, 0x101); // only the low byte counts
    EXPECT_EQ(s.Glass[StoreIndex(2, 2)], 1);

    uint8_t before[StoreSize];
    std::copy(s.Glass, s.Glass + StoreSize, before);
    s.SetCell(31, 0, 1);
    s.SetCell(0, -1, 1);
    s.SetCell(-1, 0, 1);
    s.SetCell(0, 71, 1);
    EXPECT_TRUE(std::equal(before, before + StoreSize, s.Glass));
}

TEST(Board, CellBeyondTheGlassIsKeptUntilTheGlassGrows) {
    TStakko s;
    test::MakeGlass(s, 11, 31);
    s.SetCell(30, 70, 1);
    s.SetCell(12, 40, 1);
    EXPECT_EQ(s.GetCell(30, 70), -1);
    EXPECT_EQ(s.GetCell(12, 40), -1);
    s.Width = 31;
    s.Height = 71;
    EXPECT_EQ(s.GetCell(30, 70), 1);
    EXPECT_EQ(s.GetCell(12, 40), 1);
}

TEST(Board, EvenColumnsHaveOneCellMoreThanOddColumns) {
    TStakko s;
    test::MakeGlass(s, 11, 31);
    for (int32_t column = 0; column < 11; ++column) {
        int cells = 0;
        for (int32_t row = 0; row < 31; ++row)
            cells += s.GetCell(column, row) == 0;
        EXPECT_EQ(cells, column % 2 ? 15 : 16) << "column " << column;
    }
}

TEST(Board, NewGameEmptiesTheGlassOnlyAndKeepsTheFigure) {
    TStakko s;
    s.Width = 11;
    s.Height = 31;
    std::fill(s.Glass, s.Glass + StoreSize, uint8_t{1});
    test::PlaceFigure(s, 3, 4, 12);
    s.Score = 9;
    s.Lines = 5;
    s.GameOver = true;
    s.NewGame();
    for (int32_t column = 0; column < 11; ++column)
        for (int32_t row = 0; row < 31; ++row)
            ASSERT_EQ(s.Glass[StoreIndex(column, row)], (column + row) % 2 ? 254 : 0)
                << column << "," << row;
    EXPECT_EQ(s.Glass[StoreIndex(11, 1)], 1); // beyond Width: untouched
    EXPECT_EQ(s.Glass[StoreIndex(0, 31)], 1); // beyond Height: untouched
    EXPECT_EQ(s.Score, 0);
    EXPECT_EQ(s.Lines, 0);
    EXPECT_FALSE(s.GameOver);
    EXPECT_EQ(test::FigureCells(s), (test::Cells{{4, 12}, {4, 10}, {4, 14}, {3, 11}}));
}

TEST(Board, NewGameWithWidthZeroStillResetsCountersAndClock) {
    TStakko s;
    s.Width = 0;
    s.Height = 31;
    s.SetCell(0, 0, 1);
    s.Score = 12;
    s.Lines = 7;
    s.GameOver = true;
    GameStartTime = 0;
    int64_t before = static_cast<int64_t>(std::time(nullptr));
    s.NewGame();
    EXPECT_EQ(s.Glass[StoreIndex(0, 0)], 1);
    EXPECT_EQ(s.Score, 0);
    EXPECT_EQ(s.Lines, 0);
    EXPECT_FALSE(s.GameOver);
    EXPECT_GE(GameStartTime, before);
    EXPECT_LE(GameStartTime, static_cast<int64_t>(std::time(nullptr)));
}

struct FitCase {
    int32_t W, H;
    int32_t S, Hs, Width, Height;
};

void PrintTo(const FitCase &c, std::ostream *os) {
    *os << c.W << " x " << c.H;
}

class FitGlassTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitGlassTest, LargestCellSizeGivingElevenByThirtyOne) {
    const FitCase &c = GetParam();
    TGlassFit fit = FitGlass(c.W, c.H);
    ASSERT_TRUE(fit.Ok);
    EXPECT_EQ(fit.CellWidth, c.S);
    EXPECT_EQ(fit.CellHeight, c.Hs);
    EXPECT_EQ(fit.Width, c.Width);
    EXPECT_EQ(fit.Height, c.Height);
}

INSTANTIATE_TEST_SUITE_P(
    Areas, FitGlassTest,
    ::testing::Values(FitCase{152, 112, 9, 7, 21, 31}, FitCase{640, 480, 35, 30, 23, 31},
                      FitCase{1024, 768, 56, 48, 23, 31},
                      // first attempt 18 x 32, made odd
                      FitCase{1000, 1050, 72, 62, 17, 31}, FitCase{2000, 1100, 72, 62, 31, 33},
                      FitCase{2000, 3000, 72, 62, 31, 71}, FitCase{399, 692, 46, 39, 11, 33},
                      FitCase{59, 102, 6, 5, 11, 39}, FitCase{17, 16, 2, 1, 11, 31}));

class FitGlassFallbackTest : public ::testing::TestWithParam<std::pair<int32_t, int32_t>> {};

// Too small for 11 x 31 at any cell size: the glass keeps the whole area,
// gets 11 x 27, and the figure is not placed again.
TEST_P(FitGlassFallbackTest, FallsBackToElevenByTwentySeven) {
    TRect area{5, 7, 5 + GetParam().first, 7 + GetParam().second};
    EXPECT_FALSE(FitGlass(area.Width(), area.Height()).Ok);

    TStakko s;
    test::FixedKind kinds{4};
    kinds.Install(s);
    test::PlaceFigure(s, 2, 3, 9);
    test::TraceRecorder traces;
    s.SetBoundsRect(area);
    EXPECT_EQ(s.Width, 11);
    EXPECT_EQ(s.Height, 27);
    EXPECT_EQ(s.GlassRect, area);
    EXPECT_EQ(kinds.Calls, 0);
    EXPECT_EQ(s.Kind, 2);
    EXPECT_EQ(s.FigX, 3);
    EXPECT_EQ(s.FigY, 9);
    EXPECT_EQ(traces.Traces().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Areas, FitGlassFallbackTest,
                         ::testing::Values(std::make_pair(16, 200), std::make_pair(10, 30),
                                           std::make_pair(16, 16), std::make_pair(17, 15),
                                           std::make_pair(0, 0)));

struct BoundsCase {
    TRect Area;
    int32_t Height;
    TRect Glass;
};

void PrintTo(const BoundsCase &c, std::ostream *os) {
    *os << c.Area.Left << "," << c.Area.Top << "," << c.Area.Right << "," << c.Area.Bottom;
}

class SetBoundsRectTest : public ::testing::TestWithParam<BoundsCase> {};

// The glass areas of the screen layouts 1024x768, 800x600, 640x480,
// 1600x1200 and 152x112: all end 11 columns wide, centred in the area.
TEST_P(SetBoundsRectTest, CentresTheGlassAndPlacesANewFigure) {
    const BoundsCase &c = GetParam();
    TStakko s;
    test::FixedKind kinds{5};
    kinds.Install(s);
    test::PlaceFigure(s, 0, 3, 9);
    s.SetBoundsRect(c.Area);
    EXPECT_EQ(s.Width, 11);
    EXPECT_EQ(s.Height, c.Height);
    EXPECT_EQ(s.GlassRect, c.Glass);
    EXPECT_EQ(kinds.Calls, 1);
    EXPECT_EQ(s.Kind, 5);
    EXPECT_EQ(s.FigX, 6);
    EXPECT_EQ(s.FigY, 0);
}

INSTANTIATE_TEST_SUITE_P(Layouts, SetBoundsRectTest,
                         ::testing::Values(BoundsCase{{312, 38, 711, 730}, 33, {316, 52, 707, 715}},
                                           BoundsCase{{244, 30, 555, 570}, 33, {246, 36, 552, 563}},
                                           BoundsCase{{195, 24, 444, 456}, 33, {197, 27, 441, 452}},
                                           BoundsCase{
                                               {488, 60, 1111, 1140}, 33, {493, 73, 1105, 1127}},
                                           BoundsCase{{46, 5, 105, 107}, 39, {50, 6, 101, 106}}));

} // namespace
