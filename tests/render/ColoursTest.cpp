#include <gtest/gtest.h>

#include "render/Colours.h"

namespace {
struct ColoursTest : ::testing::Test {
    void TearDown() override { ResetColours(); }
};
} // namespace

TEST_F(ColoursTest, InitialContentsHoldUntilAPaletteIsChosen) {
    EXPECT_EQ(Colours[LogoColour], (TColour{26, 60, 148}));
    EXPECT_EQ(Colours[LinkColour], (TColour{179, 99, 39}));
    EXPECT_EQ(Colours[BackColour], (TColour{255, 193, 114}));
}

TEST_F(ColoursTest, EachSchemeSetsItsOwnColours) {
    ChooseColours(1);
    EXPECT_EQ(Colours[BackColour], (TColour{20, 193, 255}));
    EXPECT_EQ(Colours[OutlineColour], (TColour{100, 164, 204}));
    EXPECT_EQ(Colours[CellColour2], (TColour{200, 250, 255}));
    ChooseColours(2);
    EXPECT_EQ(Colours[LogoColour], (TColour{0, 108, 50}));
    EXPECT_EQ(Colours[CellColour3], (TColour{5, 104, 55}));
    ChooseColours(0);
    EXPECT_EQ(Colours[ShadowColour], (TColour{0, 0, 0}));
    EXPECT_EQ(Colours[CellColour1], (TColour{162, 81, 1}));
}

TEST_F(ColoursTest, BlackBackgroundDiffersFromBrownOnlyInTheShadow) {
    ChooseColours(0);
    TColourTable brown = Colours;
    ChooseColours(3);
    for (int i = 0; i < ColourCount; ++i) {
        if (i == ShadowColour)
            EXPECT_EQ(Colours[i], (TColour{80, 80, 80}));
        else
            EXPECT_EQ(Colours[i], brown[i]) << "entry " << i;
    }
}

TEST_F(ColoursTest, EmptyCellHasThePanelColourInEveryScheme) {
    for (int palette = 0; palette < PaletteCount; ++palette) {
        ChooseColours(palette);
        EXPECT_EQ(Colours[CellColour0], Colours[BackColour]) << "palette " << palette;
    }
}

TEST_F(ColoursTest, AnUnknownPaletteKeepsTheTable) {
    ChooseColours(2);
    TColourTable green = Colours;
    for (int palette : {5, -1, 4, 1000}) {
        ChooseColours(palette);
        EXPECT_EQ(Colours, green) << "palette " << palette;
    }
}
