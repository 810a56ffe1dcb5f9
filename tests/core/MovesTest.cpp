// ShiftX, ShiftY and Rotate on an 11 x 31 glass.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "TestSupport.h"
#include "game/Stakko.h"

namespace {

class Moves : public ::testing::Test {
protected:
    void SetUp() override {
        kinds.Install(s);
        test::MakeGlass(s, 11, 31);
    }

    void ExpectAt(int32_t x, int32_t y) {
        EXPECT_EQ(s.FigX, x);
        EXPECT_EQ(s.FigY, y);
    }

    static test::Cells Sorted(test::Cells cells) {
        std::sort(cells.begin(), cells.end());
        return cells;
    }

    TStakko s;
    test::FixedKind kinds{7};
};

TEST_F(Moves, ShiftXGoesOneColumnAndOneRowDownPerStep) {
    test::PlaceFigure(s, 0, 8, 10);
    EXPECT_EQ(s.ShiftX(-1), 1);
    ExpectAt(7, 11);
    EXPECT_EQ(s.ShiftX(2), 2);
    ExpectAt(9, 13);
    EXPECT_EQ(s.ShiftX(0), 0);
    ExpectAt(9, 13);
}

TEST_F(Moves, ShiftXStopsBeforeTheFirstBlockedStep) {
    test::PlaceFigure(s, 0, 4, 10);
    s.SetCell(6, 14, 1); // the second step would put cell 1 there
    EXPECT_EQ(s.ShiftX(3), 1);
    ExpectAt(5, 11);

    s.SetCell(6, 14, 0);
    test::PlaceFigure(s, 0, 6, 0);
    EXPECT_EQ(s.ShiftX(-20), 6);
    ExpectAt(0, 6);
    EXPECT_EQ(s.ShiftX(20), 10);
    ExpectAt(10, 16);
}

TEST_F(Moves, ShiftXIgnoresTargetsAboveTheTop) {
    test::PlaceFigure(s, 0, 0, -4);
    // The first step is beside the glass but wholly above row 0; the second
    // would bring cell 1 to row 0 beside the glass.
    EXPECT_EQ(s.ShiftX(-3), 1);
    ExpectAt(-1, -3);
}

TEST_F(Moves, ShiftYFallsOneCell) {
    test::PlaceFigure(s, 2, 4, 10);
    EXPECT_EQ(s.ShiftY(1), 1);
    ExpectAt(4, 12);
    EXPECT_FALSE(s.GameOver);
    EXPECT_TRUE(test::FilledCells(s).empty());
}

TEST_F(Moves, LandingOnTheBottomWritesTheFigureAndPlacesTheNext) {
    test::PlaceFigure(s, 0, 0, 28);
    EXPECT_EQ(s.ShiftY(1), 0);
    EXPECT_EQ(test::FilledCells(s), (test::Cells{{0, 24}, {0, 26}, {0, 28}, {0, 30}}));
    EXPECT_EQ(kinds.Calls, 1);
    EXPECT_EQ(s.Kind, 7);
    ExpectAt(6, 0);
    EXPECT_FALSE(s.GameOver);
}

TEST_F(Moves, LandingOnAFilledCell) {
    test::Fill(s, test::Column(4, 20, 30));
    test::PlaceFigure(s, 0, 4, 16);
    EXPECT_EQ(s.ShiftY(1), 0);
    EXPECT_EQ(test::FilledCells(s), test::Column(4, 12, 30));
    ExpectAt(6, 0);
}

TEST_F(Moves, LandingClearsTheLineItCompletes) {
    test::FillUpLine(s, 30);
    s.SetCell(0, 30, 0);
    test::PlaceFigure(s, 0, 0, 28);
    EXPECT_EQ(s.ShiftY(1), 0);
    EXPECT_EQ(test::FilledCells(s), (test::Cells{{0, 26}, {0, 28}, {0, 30}}));
    EXPECT_EQ(s.Score, 1);
    EXPECT_EQ(s.Lines, 1);
}

// A filled top cell found before a free step ends the game, but the step is
// still made.
TEST_F(Moves, FreeStepStillTestsForTheEndOfTheGame) {
    s.SetCell(0, 0, 1);
    test::PlaceFigure(s, 0, 6, 10);
    EXPECT_EQ(s.ShiftY(1), 1);
    ExpectAt(6, 12);
    EXPECT_TRUE(s.GameOver);
}

TEST_F(Moves, LandingAtTheTopEndsTheGameAndEveryMoveRefuses) {
    test::Fill(s, test::Column(4, 6, 30));
    test::PlaceFigure(s, 0, 4, 2);
    EXPECT_EQ(s.ShiftY(1), 0);
    // Cell 3 was above row 0 and is lost.
    EXPECT_EQ(test::FilledCells(s), test::Column(4, 0, 30));
    EXPECT_TRUE(s.GameOver);
    EXPECT_EQ(kinds.Calls, 0);
    EXPECT_EQ(s.Kind, 0);
    ExpectAt(4, 2);

    uint8_t glass[StoreSize];
    std::memcpy(glass, s.Glass, sizeof glass);
    EXPECT_EQ(s.ShiftX(1), 0);
    EXPECT_EQ(s.ShiftX(-1), 0);
    EXPECT_EQ(s.ShiftY(1), 0);
    EXPECT_EQ(s.Rotate(1), 0);
    ExpectAt(4, 2);
    EXPECT_EQ(test::FigureCells(s), (test::Cells{{4, 2}, {4, 4}, {4, 0}, {4, -2}}));
    EXPECT_EQ(std::memcmp(glass, s.Glass, sizeof glass), 0);

    s.NewGame();
    EXPECT_FALSE(s.GameOver);
    ExpectAt(4, 2);
    EXPECT_EQ(s.ShiftY(1), 1);
}

TEST_F(Moves, BarAtTheLeftWallTurnsWithKickTwo) {
    test::PlaceFigure(s, 0, 0, 10);
    EXPECT_EQ(s.Rotate(1), 1);
    ExpectAt(2, 10);
    EXPECT_EQ(test::FigureCells(s), (test::Cells{{2, 10}, {3, 11}, {1, 9}, {0, 8}}));
}

TEST_F(Moves, OddKickAlsoMovesTheOriginHalfACellDown) {
    test::PlaceFigure(s, 0, 10, 10);
    EXPECT_EQ(s.Rotate(1), 1); // kicks 0 and +1 leave the glass; -1 fits
    ExpectAt(9, 11);
}

TEST_F(Moves, TurnMayReachAboveTheTop) {
    test::PlaceFigure(s, 0, 6, 0);
    EXPECT_EQ(s.Rotate(1), 1);
    ExpectAt(6, 0);
    EXPECT_EQ(test::FigureCells(s), (test::Cells{{6, 0}, {7, 1}, {5, -1}, {4, -2}}));
}

TEST_F(Moves, StarLooksTheSameAfterTwoTurns) {
    test::PlaceFigure(s, 8, 5, 11);
    test::Cells before = test::FigureCells(s);
    EXPECT_EQ(s.Rotate(2), 2);
    EXPECT_NE(test::FigureCells(s), before);
    EXPECT_EQ(Sorted(test::FigureCells(s)), Sorted(before));
}

TEST_F(Moves, SixTurnsRestoreEveryKind) {
    for (int32_t kind = 0; kind < 10; ++kind) {
        test::PlaceFigure(s, kind, 5, 15);
        test::Cells before = test::FigureCells(s);
        for (int turn = 0; turn < 6; ++turn)
            ASSERT_EQ(s.Rotate(1), 1) << "kind " << kind << " turn " << turn;
        EXPECT_EQ(test::FigureCells(s), before) << "kind " << kind;
        ASSERT_EQ(s.Rotate(3), 3);
        EXPECT_NE(test::FigureCells(s), before) << "kind " << kind;
        ASSERT_EQ(s.Rotate(3), 3);
        EXPECT_EQ(test::FigureCells(s), before) << "kind " << kind;
    }
}

TEST_F(Moves, RotateRefusesSixOrMoreSteps) {
    test::PlaceFigure(s, 4, 5, 15);
    for (int32_t n : {6, -6, 7, -100}) {
        EXPECT_EQ(s.Rotate(n), 0) << n;
        ExpectAt(5, 15);
        EXPECT_EQ(test::FigureCells(s), (test::Cells{{5, 15}, {6, 16}, {4, 16}, {3, 15}}));
    }
}

TEST_F(Moves, RotateRefusesWhenNoKickFits) {
    test::FillAll(s);
    test::PlaceFigure(s, 0, 5, 11);
    for (const test::Cell &c : test::FigureCells(s))
        s.SetCell(c.first, c.second, 0);
    for (int32_t n = 1; n < 6; ++n) {
        EXPECT_EQ(s.Rotate(n), 0) << n;
        EXPECT_EQ(test::FigureCells(s), (test::Cells{{5, 11}, {5, 13}, {5, 9}, {5, 7}}));
    }
}

} // namespace
