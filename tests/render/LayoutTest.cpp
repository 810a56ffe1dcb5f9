#include <gtest/gtest.h>

#include <vector>

#include "game/GlassFit.h"
#include "game/Stakko.h"
#include "render/CellGeometry.h"
#include "render/CellPainter.h"
#include "render/Layout.h"

namespace {
// Client size, units, glass area, score, lines, time and best-score boxes,
// then the cell width, columns, rows and rectangle of the fitted glass.
struct LayoutCase {
    int32_t Width, Height, BoxUnit, LineUnit;
    std::vector<TRect> Boxes;
    int32_t CellWidth, Columns, Rows;
    TRect GlassRect;
};

// clang-format off
const LayoutCase WorkedLayouts[] = {
    {1024, 768, 50, 30, {{312, 38, 711, 730}, {792, 209, 942, 259}, {792, 359, 942, 409},
     {792, 509, 942, 559}, {56, 339, 256, 429}}, 46, 11, 33, {316, 52, 707, 715}},
    {800, 600, 39, 23, {{244, 30, 555, 570}, {618, 164, 735, 203}, {618, 281, 735, 319},
     {618, 398, 735, 437}, {43, 266, 200, 334}}, 36, 11, 33, {246, 36, 552, 563}},
    {640, 480, 31, 18, {{195, 24, 444, 456}, {495, 132, 588, 163}, {495, 225, 588, 255},
     {495, 318, 588, 349}, {34, 213, 159, 267}}, 29, 11, 33, {197, 27, 441, 452}},
    {1600, 1200, 78, 46, {{488, 60, 1111, 1140}, {1237, 327, 1472, 405}, {1237, 561, 1472, 639},
     {1237, 795, 1472, 873}, {87, 531, 400, 669}}, 72, 11, 33, {493, 73, 1105, 1127}},
    {152, 112, 7, 4, {{46, 5, 105, 107}, {116, 32, 139, 39}, {116, 53, 139, 59},
     {116, 74, 139, 81}, {8, 50, 37, 62}}, 6, 11, 39, {50, 6, 101, 106}},
};
// clang-format on
} // namespace

TEST(Layout, WorkedExamplesAndTheGlassFittedIntoThem) {
    for (const LayoutCase &c : WorkedLayouts) {
        SCOPED_TRACE(c.Width);
        TLayout l = ComputeLayout(TRect{0, 0, c.Width, c.Height});
        EXPECT_EQ(l.BoxUnit, c.BoxUnit);
        EXPECT_EQ(l.LineUnit, c.LineUnit);
        EXPECT_EQ((std::vector<TRect>{l.GlassArea, l.ScoreBox, l.LinesBox, l.TimeBox, l.BestBox}),
                  c.Boxes);
        TStakko game;
        game.SetBoundsRect(l.GlassArea);
        EXPECT_EQ(FitGlass(l.GlassArea.Width(), l.GlassArea.Height()).CellWidth, c.CellWidth);
        EXPECT_EQ(game.Width, c.Columns);
        EXPECT_EQ(game.Height, c.Rows);
        EXPECT_EQ(game.GlassRect, c.GlassRect);
    }
}

namespace {
const TRect Glass{316, 52, 707, 715}; // of a 1024 x 768 client, 11 x 33

// Counts what the game object asks to draw; no back buffer is touched.
struct CountingPainter : TCellPainter {
    int Issued = 0;
    void CreateBrushes(TStakko &) override {}
    void Release(TStakko &) override {}
    bool CopyToScreen(TStakko &, const TRect &) override { return true; }
    void Issue(TStakko &, const TCellPicture &) override { ++Issued; }
};
} // namespace

TEST(CellGeometry, WorkedExampleBoxesAndHexagons) {
    TCellGrid grid = MakeCellGrid(Glass, 11, 33);
    EXPECT_EQ(grid.CellWidth, 46);
    EXPECT_EQ(grid.CellHeight, 39);
    TRect box = CellBox(grid, 0, 0);
    EXPECT_EQ(box, (TRect{316, 52, 362, 91}));
    EXPECT_EQ(HexagonIn(box),
              (THexagon{{{327, 52}, {350, 52}, {362, 71}, {350, 91}, {327, 91}, {316, 71}}}));
    EXPECT_EQ(HexagonIn(InnerBox(box)),
              (THexagon{{{328, 55}, {344, 55}, {352, 68}, {344, 82}, {328, 82}, {320, 68}}}));
    EXPECT_EQ(CellBox(grid, 1, 1), (TRect{350, 71, 396, 110}));
    EXPECT_EQ(CellBox(grid, 10, 32), (TRect{661, 676, 707, 715}));
    // Flash cells without height or width: no pixel, and no division by zero.
    TCellPicture p;
    grid.CellHeight = 0;
    EXPECT_TRUE(PlanCell(grid, 0, 0, LookFlash, p) && p.Primitives.empty());
    grid.CellHeight = 39, grid.CellWidth = 0;
    EXPECT_TRUE(PlanCell(grid, 0, 0, LookFlash, p) && p.Primitives.empty());
}

TEST(CellPainter, DirtyRectIsTheUnionOfTheDrawnBoxes) {
    CountingPainter painter; // outlives the game object
    TStakko game;
    game.Width = 11, game.Height = 33;
    game.NewGame();
    game.GlassRect = Glass;
    game.Painter = &painter;
    game.BackDC = &painter; // any non-null back buffer
    game.DirtyRect = TRect{};
    game.ShowCell(0, 0, LookFilled);
    game.ShowCell(1, 1, LookFilled);
    EXPECT_EQ(game.DirtyRect, (TRect{316, 52, 396, 110}));
    // Positions without a cell inside the glass change nothing.
    for (auto at : {TPoint{1, 0}, TPoint{0, 1}, TPoint{-1, 1}, TPoint{11, 0}, TPoint{0, 33}})
        game.ShowCell(at.X, at.Y, LookEmpty);
    EXPECT_EQ(game.DirtyRect, (TRect{316, 52, 396, 110}));
    EXPECT_EQ(painter.Issued, 2);
    game.RedrawGlass(); // 6 columns of 17 cells, 5 of 16
    EXPECT_EQ(painter.Issued, 2 + 182);
    EXPECT_EQ(game.DirtyRect, Glass);
}
