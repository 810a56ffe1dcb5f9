#include "render/CellGeometry.h"

#include <gtest/gtest.h>

#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "game/Random.h"
#include "game/Stakko.h"
#include "game/Trace.h"
#include "render/CellPainter.h"
#include "render/Colours.h"

// Printers for readable failures.
static std::ostream &operator<<(std::ostream &os, const TPoint &p) {
    return os << "(" << p.X << ", " << p.Y << ")";
}
static std::ostream &operator<<(std::ostream &os, const TRect &r) {
    return os << "(" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << ")";
}

namespace {

// The glass of a 1024 x 768 client area.
const TRect ExampleGlass{316, 52, 707, 715};
constexpr int32_t ExampleWidth = 11;
constexpr int32_t ExampleHeight = 33;

TCellGrid ExampleGrid() {
    return MakeCellGrid(ExampleGlass, ExampleWidth, ExampleHeight);
}

std::vector<TPoint> PointsOf(const TCellPrimitive &p) {
    return std::vector<TPoint>(p.Points.begin(), p.Points.begin() + p.Count);
}

std::vector<TPoint> PointsOf(const THexagon &h) {
    return std::vector<TPoint>(h.begin(), h.end());
}

// The generator written out independently of the game's.
struct ReferenceRandom {
    uint32_t State;
    int32_t Next() {
        State = State * 22695477u + 1u;
        return int32_t((State >> 16) & 0x7fff);
    }
};

const std::vector<TPoint> V = {{327, 52}, {350, 52}, {362, 71}, {350, 91}, {327, 91}, {316, 71}};
const std::vector<TPoint> Q = {{328, 55}, {344, 55}, {352, 68}, {344, 82}, {328, 82}, {320, 68}};

} // namespace

TEST(CellGeometry, WorkedExampleCellSizeBoxAndHexagons) {
    TCellGrid grid = ExampleGrid();
    EXPECT_EQ(grid.CellWidth, 46);
    EXPECT_EQ(grid.CellHeight, 39);

    TRect box = CellBox(grid, 0, 0);
    EXPECT_EQ(box, (TRect{316, 52, 362, 91}));
    EXPECT_EQ(PointsOf(HexagonIn(box)), V);

    TRect inner = InnerBox(box);
    EXPECT_EQ(inner.Left, 320);
    EXPECT_EQ(inner.Top, 55);
    EXPECT_EQ(inner.Width(), 32);
    EXPECT_EQ(inner.Height(), 27);
    EXPECT_EQ(PointsOf(HexagonIn(inner)), Q);

    EXPECT_EQ(CellBox(grid, 1, 1), (TRect{350, 71, 396, 110}));
    EXPECT_EQ(CellBox(grid, 10, 32), (TRect{661, 676, 707, 715}));
}

// The floating factors must agree with a tenth and five sevenths in whole
// numbers for every cell size a glass can have.
TEST(CellGeometry, InnerBoxFactorsAgreeWithIntegerForms) {
    for (int32_t size = 0; size <= 400; ++size) {
        TRect inner = InnerBox(TRect{100, 200, 100 + size, 200 + size});
        ASSERT_EQ(inner.Left, 100 + size / 10) << size;
        ASSERT_EQ(inner.Top, 200 + size / 10) << size;
        ASSERT_EQ(inner.Width(), 5 * size / 7) << size;
        ASSERT_EQ(inner.Height(), 5 * size / 7) << size;
    }
}

TEST(CellGeometry, DegenerateGlassGivesNoCellSize) {
    EXPECT_EQ(MakeCellGrid(ExampleGlass, 11, -1).CellHeight, 0);
    TCellGrid huge = MakeCellGrid(TRect{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, 0, 0);
    EXPECT_EQ(huge.CellWidth, 0);
    EXPECT_EQ(huge.CellHeight, 0);
}

TEST(CellPlan, FilledLookIssuesBevelsFaceAndEdgesInOrder) {
    TCellPicture picture;
    ASSERT_TRUE(PlanCell(ExampleGrid(), 0, 0, LookFilled, picture));
    EXPECT_EQ(picture.Box, (TRect{316, 52, 362, 91}));
    EXPECT_FALSE(picture.ClipToOutline);
    ASSERT_EQ(picture.Primitives.size(), 9u);

    const auto &p = picture.Primitives;
    EXPECT_EQ(p[0].Kind, TCellPrimitive::Polygon);
    EXPECT_EQ(p[0].Brush, 2);
    EXPECT_EQ(PointsOf(p[0]), (std::vector<TPoint>{V[5], V[0], V[1], V[2]}));
    EXPECT_EQ(p[1].Kind, TCellPrimitive::Polygon);
    EXPECT_EQ(p[1].Brush, 3);
    EXPECT_EQ(PointsOf(p[1]), (std::vector<TPoint>{V[2], V[3], V[4], V[5]}));
    EXPECT_EQ(p[2].Kind, TCellPrimitive::Polygon);
    EXPECT_EQ(p[2].Brush, 1);
    EXPECT_EQ(PointsOf(p[2]), Q);
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(p[3 + k].Kind, TCellPrimitive::Line) << k;
        EXPECT_EQ(PointsOf(p[3 + k]), (std::vector<TPoint>{V[k], Q[k]})) << k;
    }
}

TEST(CellPlan, EmptyLookIsOneHexagonWithTheEmptyBrush) {
    TCellPicture picture;
    ASSERT_TRUE(PlanCell(ExampleGrid(), 0, 0, LookEmpty, picture));
    ASSERT_EQ(picture.Primitives.size(), 1u);
    EXPECT_EQ(picture.Primitives[0].Kind, TCellPrimitive::Polygon);
    EXPECT_EQ(picture.Primitives[0].Brush, 0);
    EXPECT_EQ(PointsOf(picture.Primitives[0]), V);
    EXPECT_FALSE(picture.ClipToOutline);
}

TEST(CellPlan, PenAndPixelColoursFollowTheScheme) {
    ChooseColours(1);
    TCellPicture picture;
    ASSERT_TRUE(PlanCell(ExampleGrid(), 2, 4, LookFilled, picture));
    EXPECT_EQ(picture.PenColour, (TColour{100, 164, 204}));
    EXPECT_EQ(picture.PixelColour, (TColour{20, 193, 255}));
    ResetColours();
}

TEST(CellPlan, FlashTakesFortyPixelsFromTheGameGeneratorRowOffsetFirst) {
    SeedRandom(4711);
    TCellPicture picture;
    ASSERT_TRUE(PlanCell(ExampleGrid(), 1, 1, LookFlash, picture));
    EXPECT_TRUE(picture.ClipToOutline);
    EXPECT_EQ(PointsOf(picture.Outline), PointsOf(HexagonIn(TRect{350, 71, 396, 110})));
    ASSERT_EQ(picture.Primitives.size(), size_t(FlashPixelCount));

    ReferenceRandom reference{4711};
    for (const TCellPrimitive &p : picture.Primitives) {
        int32_t ry = reference.Next() % 39;
        int32_t rx = reference.Next() % 46;
        ASSERT_EQ(p.Kind, TCellPrimitive::Pixel);
        ASSERT_EQ(p.Count, 1);
        EXPECT_EQ(p.Points[0], (TPoint{350 + rx, 71 + ry}));
    }
    // Exactly two draws per pixel: the next figure kind sees the same stream.
    EXPECT_EQ(NextRandom(), reference.Next());
}

TEST(CellPlan, FlashOfACellWithoutWidthOrHeightHasNoPixels) {
    for (bool zeroWidth : {true, false}) {
        TCellGrid grid = ExampleGrid();
        (zeroWidth ? grid.CellWidth : grid.CellHeight) = 0;
        SeedRandom(99);
        TCellPicture picture;
        ASSERT_TRUE(PlanCell(grid, 0, 0, LookFlash, picture)) << zeroWidth;
        EXPECT_TRUE(picture.Primitives.empty()) << zeroWidth;
        EXPECT_EQ(NextRandom(), ReferenceRandom{99}.Next()) << "no number drawn";
    }
}

TEST(CellPlan, UnknownLookPlansTheBoxOnly) {
    TCellPicture picture;
    ASSERT_TRUE(PlanCell(ExampleGrid(), 1, 1, 3, picture));
    EXPECT_EQ(picture.Box, (TRect{350, 71, 396, 110}));
    EXPECT_TRUE(picture.Primitives.empty());
}

TEST(CellPlan, RefusesPositionsWithoutACellInsideTheGlass) {
    TCellGrid grid = ExampleGrid();
    TCellPicture picture;
    struct Position {
        int32_t Column, Row;
    };
    for (Position p : {Position{1, 0}, {0, 1}, {-1, 1}, {11, 0}, {11, 1}, {0, 33}, {-2, -2}})
        EXPECT_FALSE(PlanCell(grid, p.Column, p.Row, LookFilled, picture))
            << p.Column << ", " << p.Row;

    // Cells wider than the glass allows: the last column no longer fits.
    TCellGrid wide = grid;
    wide.CellWidth = 50;
    EXPECT_TRUE(PlanCell(wide, 0, 0, LookEmpty, picture));
    EXPECT_FALSE(PlanCell(wide, 10, 32, LookEmpty, picture));
    EXPECT_FALSE(BoxInside(TRect{661, 676, 708, 715}, ExampleGlass));
    EXPECT_FALSE(BoxInside(TRect{315, 52, 361, 91}, ExampleGlass));
    EXPECT_TRUE(BoxInside(TRect{661, 676, 707, 715}, ExampleGlass));

    // An inverted glass has no cell that fits.
    TCellGrid inverted = MakeCellGrid(TRect{707, 715, 316, 52}, 11, 33);
    for (int32_t column = 0; column < 11; ++column)
        EXPECT_FALSE(PlanCell(inverted, column, column, LookEmpty, picture)) << column;
}

// Painting through the game object: the refusals, the dirty area, failures.
namespace {

class RecordingCellPainter : public TCellPainter {
public:
    std::vector<TCellPicture> Issued;
    bool Fail = false;

    void CreateBrushes(TStakko &) override {}
    void Release(TStakko &) override {}
    bool CopyToScreen(TStakko &, const TRect &) override { return true; }

protected:
    void Issue(TStakko &, const TCellPicture &picture) override {
        if (Fail)
            throw std::runtime_error("device lost");
        Issued.push_back(picture);
    }
};

std::vector<std::string> Traces;
void RecordTrace(const char *name) {
    Traces.emplace_back(name);
}

class CellPainterTest : public ::testing::Test {
protected:
    void SetUp() override {
        Game.Width = ExampleWidth;
        Game.Height = ExampleHeight;
        Game.NewGame();
        Game.GlassRect = ExampleGlass;
        Game.Painter = &Painter;
        Game.BackDC = &Painter; // any non-null back buffer
        Game.DirtyRect = TRect{};
        Traces.clear();
        SetTraceHook(&RecordTrace);
    }
    void TearDown() override { SetTraceHook(nullptr); }

    RecordingCellPainter Painter; // outlives the game object
    TStakko Game;
};

} // namespace

TEST_F(CellPainterTest, DirtyRectIsTheUnionOfTheDrawnBoxes) {
    Game.ShowCell(0, 0, LookFilled);
    Game.ShowCell(1, 1, LookFilled);
    EXPECT_EQ(Game.DirtyRect, (TRect{316, 52, 396, 110}));
    EXPECT_EQ(Painter.Issued.size(), 2u);
}

TEST_F(CellPainterTest, RefusedCellsChangeNothing) {
    const TRect before{400, 400, 410, 410};
    Game.DirtyRect = before;
    Game.ShowCell(1, 0, LookFilled);
    Game.ShowCell(0, 1, LookEmpty);
    Game.ShowCell(-1, 1, LookEmpty);
    Game.ShowCell(ExampleWidth, 0, LookEmpty);
    Game.ShowCell(0, ExampleHeight, LookEmpty);
    // The painter refuses on its own too, whoever calls it.
    Painter.PaintCell(Game, 1, 0, LookFilled);
    Painter.PaintCell(Game, ExampleWidth + 1, 1, LookFilled);
    Game.GlassRect = TRect{707, 715, 316, 52}; // inverted: no box fits
    Game.ShowCell(0, 0, LookFilled);
    Game.ShowCell(3, 5, LookFlash);
    EXPECT_EQ(Game.DirtyRect, before);
    EXPECT_TRUE(Painter.Issued.empty());
}

TEST_F(CellPainterTest, RedrawingTheGlassCoversExactlyTheGlassRect) {
    Game.RedrawGlass();
    // 6 even columns of 17 cells and 5 odd columns of 16.
    EXPECT_EQ(Painter.Issued.size(), 182u);
    EXPECT_EQ(Game.DirtyRect, ExampleGlass);
}

TEST_F(CellPainterTest, AnUnknownLookStillGrowsTheDirtyRect) {
    Game.ShowCell(10, 32, 7);
    EXPECT_EQ(Game.DirtyRect, (TRect{661, 676, 707, 715}));
    ASSERT_EQ(Painter.Issued.size(), 1u);
    EXPECT_TRUE(Painter.Issued[0].Primitives.empty());
}

TEST_F(CellPainterTest, AFailureEndsOnlyThatCellAndIsTraced) {
    Painter.Fail = true;
    Game.ShowCell(0, 0, LookFilled);
    EXPECT_EQ(Traces, (std::vector<std::string>{"ShowCell"}));
    EXPECT_EQ(Game.DirtyRect, (TRect{316, 52, 362, 91})) << "the box was united before drawing";

    Painter.Fail = false;
    Game.ShowCell(1, 1, LookEmpty);
    EXPECT_EQ(Painter.Issued.size(), 1u);
    EXPECT_EQ(Traces.size(), 1u);
}
