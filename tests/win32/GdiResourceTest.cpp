// The cell painter makes its pen and region for one call and deletes them,
// and replaces or releases its brushes: thousands of cells must not leave a
// single GDI object behind.
//
// Wine's GetGuiResources is a stub that answers 0, so the count is taken
// from what can still be made: the process's GDI handle table is finite
// (65,480 objects under Wine 8), and every object left behind makes one
// brush fewer fit before creation fails. Where GetGuiResources does count
// (Windows), its figure is compared as well.
#include <gtest/gtest.h>

#include <vector>

#include "CellSurface.h"

namespace {

// Brushes that can still be created before the handle table is full.
int32_t CreatableObjects() {
    std::vector<HBRUSH> made;
    made.reserve(70000);
    while (made.size() < 1000000) {
        HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
        if (!brush)
            break;
        made.push_back(brush);
    }
    for (HBRUSH brush : made)
        DeleteObject(brush);
    return int32_t(made.size());
}

DWORD CountedObjects() {
    return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
}

class GdiResourceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Back.Valid());
        ASSERT_TRUE(Screen.Valid());
        test::BindGame(Game, Back, Screen);
        // Anything GDI makes once, on first use, is made before counting.
        for (uint8_t look = 0; look < 3; ++look)
            Game.ShowCell(0, 0, look);
        Game.FlushDirty();
    }
    void TearDown() override { test::UnbindGame(Game); }

    test::TDibSurface Back;
    test::TDibSurface Screen;
    TStakko Game;
};

} // namespace

TEST_F(GdiResourceTest, TheCountSeesALeak) {
    int32_t before = CreatableObjects();
    ASSERT_GT(before, 1000);
    HPEN leaked[3] = {CreatePen(PS_SOLID, 1, 0), CreatePen(PS_SOLID, 1, 0),
                      CreatePen(PS_SOLID, 1, 0)};
    EXPECT_EQ(CreatableObjects(), before - 3);
    for (HPEN pen : leaked)
        DeleteObject(pen);
    EXPECT_EQ(CreatableObjects(), before);
}

TEST_F(GdiResourceTest, ThousandsOfCellsLeaveNoObjectBehind) {
    int32_t before = CreatableObjects();
    DWORD countedBefore = CountedObjects();

    // Every look on every cell of the glass, four times over, with flushes.
    for (int pass = 0; pass < 4; ++pass)
        for (int32_t row = 0; row < Game.Height; ++row)
            for (int32_t column = row % 2; column < Game.Width; column += 2) {
                for (uint8_t look = 0; look < 4; ++look)
                    Game.ShowCell(column, row, look);
                Game.FlushDirty();
            }
    // Full redraws of a half-filled glass.
    for (int32_t row = Game.Height / 2; row < Game.Height; ++row)
        for (int32_t column = row % 2; column < Game.Width; column += 2)
            Game.SetCell(column, row, 1);
    for (int i = 0; i < 50; ++i) {
        Game.RedrawGlass();
        Game.FlushDirty();
    }

    EXPECT_EQ(CreatableObjects(), before);
    if (countedBefore > 0) {
        EXPECT_EQ(CountedObjects(), countedBefore);
    }
}

TEST_F(GdiResourceTest, BrushesAreReplacedAndReleasedWithoutLeaks) {
    int32_t before = CreatableObjects();
    for (int i = 0; i < 500; ++i) {
        ChooseColours(i % PaletteCount);
        Game.CreateBrushes();
    }
    ChooseColours(0);
    EXPECT_EQ(CreatableObjects(), before) << "brushes were replaced, not added";

    Game.Painter->Release(Game);
    EXPECT_EQ(CreatableObjects(), before + 4) << "the four brushes were deleted";
    Game.Painter->Release(Game); // nothing left to delete
    EXPECT_EQ(CreatableObjects(), before + 4);
}
