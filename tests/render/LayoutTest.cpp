#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/Changes.h"
#include "render/CellGeometry.h"
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
        EXPECT_EQ(std::pair(l.BoxUnit, l.LineUnit), std::pair(c.BoxUnit, c.LineUnit));
        EXPECT_EQ((std::vector<TRect>{l.GlassArea, l.ScoreBox, l.LinesBox, l.TimeBox, l.BestBox}),
                  c.Boxes);
        EXPECT_EQ((std::vector<int32_t>{l.Fit.Ok, l.Fit.CellWidth, l.Fit.Width, l.Fit.Height}),
                  (std::vector<int32_t>{1, c.CellWidth, c.Columns, c.Rows}));
        EXPECT_EQ(l.Glass, c.GlassRect);
    }
}

namespace {
const TRect Glass{316, 52, 707, 715}; // of a 1024 x 768 client, 11 x 33
} // namespace

TEST(CellGeometry, WorkedExampleBoxesAndHexagons) {
    TCellGrid grid = MakeCellGrid(Glass, 11, 33);
    EXPECT_EQ(std::pair(grid.CellWidth, grid.CellHeight), std::pair(46, 39));
    TRect box = CellBox(grid, 0, 0);
    EXPECT_EQ(box, (TRect{316, 52, 362, 91}));
    EXPECT_EQ(HexagonIn(box),
              (THexagon{{{327, 52}, {350, 52}, {362, 71}, {350, 91}, {327, 91}, {316, 71}}}));
    EXPECT_EQ(HexagonIn(InnerBox(box)),
              (THexagon{{{328, 55}, {344, 55}, {352, 68}, {344, 82}, {328, 82}, {320, 68}}}));
    EXPECT_EQ(CellBox(grid, 10, 32), (TRect{661, 676, 707, 715}));
    // Flash cells without height or width: no pixel, and no division by zero.
    TCellPicture p;
    grid.CellHeight = 0;
    EXPECT_TRUE(PlanCell(grid, 0, 0, LookFlash, p) && p.Primitives.empty());
    grid.CellHeight = 39, grid.CellWidth = 0;
    EXPECT_TRUE(PlanCell(grid, 0, 0, LookFlash, p) && p.Primitives.empty());
}

// What each look draws, in order: the bevels, the face and six edges; one
// hexagon; forty pixels of the empty cell's colour inside the box.
TEST(CellGeometry, TheThreeLooks) {
    const TCellGrid grid = MakeCellGrid(Glass, 11, 33);
    TCellPicture p;
    ASSERT_TRUE(PlanCell(grid, 2, 4, LookFilled, p));
    std::string plan;
    for (const TCellPrimitive &c : p.Primitives)
        plan +=
            "PLX"[c.Kind] + std::to_string(c.Kind == TCellPrimitive::Polygon ? c.Fill : c.Count);
    EXPECT_EQ(plan, "P9P10P8L2L2L2L2L2L2");
    EXPECT_EQ(p.Pen, OutlineColour);
    EXPECT_FALSE(p.ClipToOutline);
    ASSERT_TRUE(PlanCell(grid, 2, 4, LookEmpty, p));
    ASSERT_EQ(p.Primitives.size(), 1u);
    EXPECT_EQ(p.Primitives[0].Count, 6);
    EXPECT_EQ(p.Primitives[0].Fill, CellColour0);
    ASSERT_TRUE(PlanCell(grid, 2, 4, LookFlash, p));
    EXPECT_TRUE(p.ClipToOutline);
    EXPECT_EQ(p.Primitives.size(), size_t(FlashPixelCount));
    for (const TCellPrimitive &c : p.Primitives)
        EXPECT_TRUE(c.Kind == TCellPrimitive::Pixel && c.Points[0].X >= p.Box.Left &&
                    c.Points[0].X < p.Box.Right && c.Points[0].Y >= p.Box.Top &&
                    c.Points[0].Y < p.Box.Bottom);
    // Positions without a cell inside the glass plan nothing, nor a cell
    // whose box reaches out of it.
    for (auto at : {TPoint{1, 0}, TPoint{0, 1}, TPoint{-1, 1}, TPoint{11, 0}, TPoint{0, 33}})
        EXPECT_FALSE(PlanCell(grid, at.X, at.Y, LookEmpty, p));
    TCellGrid narrower = grid;
    narrower.Glass.Right -= 1;
    EXPECT_FALSE(PlanCell(narrower, 10, 0, LookEmpty, p));
    EXPECT_TRUE(PlanCell(narrower, 9, 1, LookEmpty, p));
}
