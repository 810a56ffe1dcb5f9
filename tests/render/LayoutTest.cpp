#include <gtest/gtest.h>

#include "game/GlassFit.h"
#include "game/Stakko.h"
#include "render/Layout.h"

// Shown by failing checks; internal, as other test files may print rectangles too.
static std::ostream &operator<<(std::ostream &out, const TRect &r) {
    return out << "(" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << ")";
}

namespace {
// One row of the worked layouts: client size, the five layout rectangles,
// then the glass that SetBoundsRect fits into the glass area.
struct LayoutCase {
    int32_t Width, Height;
    TRect GlassArea, ScoreBox, LinesBox, TimeBox, BestBox;
    int32_t CellWidth, Columns, Rows;
    TRect GlassRect;
};

// clang-format off
const LayoutCase WorkedLayouts[] = {
    {1024, 768, {312, 38, 711, 730}, {792, 209, 942, 259}, {792, 359, 942, 409},
     {792, 509, 942, 559}, {56, 339, 256, 429}, 46, 11, 33, {316, 52, 707, 715}},
    {800, 600, {244, 30, 555, 570}, {618, 164, 735, 203}, {618, 281, 735, 319},
     {618, 398, 735, 437}, {43, 266, 200, 334}, 36, 11, 33, {246, 36, 552, 563}},
    {640, 480, {195, 24, 444, 456}, {495, 132, 588, 163}, {495, 225, 588, 255},
     {495, 318, 588, 349}, {34, 213, 159, 267}, 29, 11, 33, {197, 27, 441, 452}},
    {1600, 1200, {488, 60, 1111, 1140}, {1237, 327, 1472, 405}, {1237, 561, 1472, 639},
     {1237, 795, 1472, 873}, {87, 531, 400, 669}, 72, 11, 33, {493, 73, 1105, 1127}},
    {152, 112, {46, 5, 105, 107}, {116, 32, 139, 39}, {116, 53, 139, 59},
     {116, 74, 139, 81}, {8, 50, 37, 62}, 6, 11, 39, {50, 6, 101, 106}},
};
// clang-format on

TRect Client(int32_t width, int32_t height) { return TRect{0, 0, width, height}; }
} // namespace

class WorkedLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(WorkedLayout, BoxesMatchTheTable) {
    const LayoutCase &c = GetParam();
    TLayout layout = ComputeLayout(Client(c.Width, c.Height));
    EXPECT_EQ(layout.GlassArea, c.GlassArea);
    EXPECT_EQ(layout.ScoreBox, c.ScoreBox);
    EXPECT_EQ(layout.LinesBox, c.LinesBox);
    EXPECT_EQ(layout.TimeBox, c.TimeBox);
    EXPECT_EQ(layout.BestBox, c.BestBox);
}

TEST_P(WorkedLayout, GlassFitsIntoItsArea) {
    const LayoutCase &c = GetParam();
    TLayout layout = ComputeLayout(Client(c.Width, c.Height));
    TStakko game;
    game.SetBoundsRect(layout.GlassArea);
    EXPECT_EQ(FitGlass(layout.GlassArea.Width(), layout.GlassArea.Height()).CellWidth, c.CellWidth);
    EXPECT_EQ(game.Width, c.Columns);
    EXPECT_EQ(game.Height, c.Rows);
    EXPECT_EQ(game.GlassRect, c.GlassRect);
}

INSTANTIATE_TEST_SUITE_P(Clients, WorkedLayout, ::testing::ValuesIn(WorkedLayouts),
                         [](const ::testing::TestParamInfo<LayoutCase> &info) {
                             return std::to_string(info.param.Width) + "x" +
                                    std::to_string(info.param.Height);
                         });

TEST(LayoutUnits, ShrinkWithTheWidthByTruncation) {
    TLayout full = ComputeLayout(Client(1024, 768));
    EXPECT_DOUBLE_EQ(full.Scale, 1.0);
    EXPECT_EQ(full.BoxUnit, 50);
    EXPECT_EQ(full.LineUnit, 30);
    TLayout vga = ComputeLayout(Client(640, 480));
    EXPECT_EQ(vga.BoxUnit, 31);
    EXPECT_EQ(vga.LineUnit, 18);
    TLayout preview = ComputeLayout(Client(152, 112));
    EXPECT_EQ(preview.BoxUnit, 7);
    EXPECT_EQ(preview.LineUnit, 4);
    // An odd unit: the lines box is a pixel lower than the other two.
    TLayout svga = ComputeLayout(Client(800, 600));
    EXPECT_DOUBLE_EQ(svga.Scale, 0.78125);
    EXPECT_EQ(svga.BoxUnit, 39);
    EXPECT_EQ(svga.LineUnit, 23);
    EXPECT_EQ(svga.LinesBox.Height(), 38);
    EXPECT_EQ(svga.ScoreBox.Height(), 39);
}

// The layout follows the client rectangle, not only its size.
TEST(Layout, FollowsAnOffsetClientRectangle) {
    TLayout moved = ComputeLayout(TRect{100, 50, 1124, 818});
    EXPECT_EQ(moved.GlassArea, (TRect{412, 88, 811, 780}));
    EXPECT_EQ(moved.LinesBox, (TRect{892, 409, 1042, 459}));
    EXPECT_EQ(moved.BestBox, (TRect{156, 389, 356, 479}));
}

TEST(Layout, TinyClientsFallBackToTheSmallestGlass) {
    for (TRect client : {Client(1, 1), Client(10, 30), Client(0, 0)}) {
        TLayout layout = ComputeLayout(client);
        TStakko game;
        game.SetBoundsRect(layout.GlassArea);
        EXPECT_EQ(game.Width, 11) << client;
        EXPECT_EQ(game.Height, 27) << client;
        EXPECT_EQ(game.GlassRect, layout.GlassArea) << client;
    }
}
