// The GDI cell painter on real device contexts: cells are drawn into a DIB
// section and their pixels read back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <set>
#include <utility>

#include "CellSurface.h"
#include "game/Random.h"
#include "render/CellGeometry.h"

using test::Untouched;

namespace {

using Pixel = std::pair<int32_t, int32_t>;

// True if p lies inside the clockwise hexagon, at least margin pixels from
// every edge (a negative margin lets it lie that far outside).
bool InsideHexagon(const THexagon &h, double x, double y, double margin) {
    for (int k = 0; k < 6; ++k) {
        const TPoint &a = h[k], &b = h[(k + 1) % 6];
        double ex = b.X - a.X, ey = b.Y - a.Y;
        double cross = ex * (y - a.Y) - ey * (x - a.X);
        if (cross / std::hypot(ex, ey) < margin)
            return false;
    }
    return true;
}

// The flash pixels of a cell box for a seed, by the generator written out.
std::set<Pixel> ExpectedFlash(uint32_t seed, const TRect &box, int frames) {
    std::set<Pixel> pixels;
    uint32_t state = seed;
    auto next = [&state] {
        state = state * 22695477u + 1u;
        return int32_t((state >> 16) & 0x7fff);
    };
    for (int i = 0; i < FlashPixelCount * frames; ++i) {
        int32_t ry = next() % box.Height();
        int32_t rx = next() % box.Width();
        pixels.emplace(box.Left + rx, box.Top + ry);
    }
    return pixels;
}

std::set<Pixel> ChangedPixels(const test::TDibSurface &surface) {
    std::set<Pixel> changed;
    for (int32_t y = 0; y < surface.Height; ++y)
        for (int32_t x = 0; x < surface.Width; ++x)
            if (surface.At(x, y) != Untouched)
                changed.emplace(x, y);
    return changed;
}

class GdiCellTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Back.Valid());
        ASSERT_TRUE(Screen.Valid());
        test::BindGame(Game, Back, Screen);
        Back.Fill(Untouched);
        Screen.Fill(Untouched);
    }
    void TearDown() override { test::UnbindGame(Game); }

    TColour C(TColourIndex i) const { return Colours[i]; }

    test::TDibSurface Back;
    test::TDibSurface Screen;
    TStakko Game;
};

} // namespace

// Cell (0, 0): box (316, 52, 362, 91), inner face Q from (320, 55) to (352, 82).
TEST_F(GdiCellTest, FilledCellShowsFaceBevelsAndOutline) {
    Game.ShowCell(0, 0, LookFilled);

    for (Pixel p : {Pixel{336, 68}, {324, 68}, {348, 68}, {336, 58}, {336, 79}})
        EXPECT_EQ(Back.At(p.first, p.second), C(CellColour1)) << p.first << "," << p.second;
    EXPECT_EQ(Back.At(338, 53), C(CellColour2)) << "upper bevel, top";
    EXPECT_EQ(Back.At(355, 66), C(CellColour2)) << "upper bevel, right";
    EXPECT_EQ(Back.At(336, 88), C(CellColour3)) << "lower bevel, bottom";
    EXPECT_EQ(Back.At(354, 76), C(CellColour3)) << "lower bevel, right";
    EXPECT_EQ(Back.At(338, 52), C(OutlineColour)) << "top edge";
    EXPECT_EQ(Back.At(338, 91), C(OutlineColour)) << "bottom edge";
    EXPECT_EQ(Back.At(357, 71), C(OutlineColour)) << "line between the bevels";
    EXPECT_EQ(Back.At(336, 55), C(OutlineColour)) << "top of the inner face";
    EXPECT_EQ(Back.At(317, 53), Untouched) << "corner of the box outside the hexagon";
    EXPECT_EQ(Back.At(360, 89), Untouched) << "corner of the box outside the hexagon";
    EXPECT_EQ(Back.At(363, 71), Untouched) << "right of the box";
    EXPECT_EQ(Back.At(338, 92), Untouched) << "below the box";

    // The last cell touches the glass's right and bottom edges and is drawn.
    Game.ShowCell(10, 32, LookFilled);
    TRect last = CellBox(MakeCellGrid(Game), 10, 32);
    EXPECT_EQ(Back.At((last.Left + last.Right) / 2, (last.Top + last.Bottom) / 2 - 2),
              C(CellColour1));
}

TEST_F(GdiCellTest, EmptyCellCoversAFilledOne) {
    Game.ShowCell(0, 0, LookFilled);
    Game.ShowCell(0, 0, LookEmpty);
    for (Pixel p : {Pixel{336, 68}, {338, 53}, {355, 66}, {336, 88}, {354, 76}, {320, 71}})
        EXPECT_EQ(Back.At(p.first, p.second), C(CellColour0)) << p.first << "," << p.second;
    EXPECT_EQ(Back.At(338, 52), C(OutlineColour));
    EXPECT_EQ(Back.At(338, 91), C(OutlineColour));
    EXPECT_EQ(Back.At(317, 53), Untouched);
}

// The pen and brushes are put back, no clip region stays, and the three
// settings are left as the cell set them.
TEST_F(GdiCellTest, DeviceContextIsLeftAsFound) {
    HPEN pen = CreatePen(PS_SOLID, 3, RGB(9, 9, 9));
    HBRUSH brush = CreateSolidBrush(RGB(8, 8, 8));
    HGDIOBJ oldPen = SelectObject(Back.Dc, pen);
    HGDIOBJ oldBrush = SelectObject(Back.Dc, brush);
    SetBkMode(Back.Dc, OPAQUE);
    SetROP2(Back.Dc, R2_BLACK);

    Game.ShowCell(1, 1, LookFlash);
    Game.ShowCell(0, 0, LookFilled);
    Game.ShowCell(2, 0, LookEmpty);

    EXPECT_EQ(GetCurrentObject(Back.Dc, OBJ_PEN), pen);
    EXPECT_EQ(GetCurrentObject(Back.Dc, OBJ_BRUSH), brush);
    EXPECT_EQ(GetBkMode(Back.Dc), TRANSPARENT);
    EXPECT_EQ(GetROP2(Back.Dc), R2_COPYPEN);
    const TColour &outline = C(OutlineColour);
    EXPECT_EQ(GetBkColor(Back.Dc), RGB(outline.R, outline.G, outline.B));
    HRGN probe = CreateRectRgn(0, 0, 1, 1);
    EXPECT_EQ(GetClipRgn(Back.Dc, probe), 0) << "a clip region is still selected";
    DeleteObject(probe);
    // Cell (0, 0) lies outside the flashed hexagon: a clip left behind would hide it.
    EXPECT_EQ(Back.At(336, 68), C(CellColour1));

    SelectObject(Back.Dc, oldPen);
    SelectObject(Back.Dc, oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
}

TEST_F(GdiCellTest, FlashSetsOnlyEmptyColourPixelsInsideTheHexagon) {
    const TRect box{350, 71, 396, 110}; // cell (1, 1)
    const THexagon hexagon = HexagonIn(box);
    const int frames = 3;
    SeedRandom(2024);
    for (int i = 0; i < frames; ++i)
        Game.ShowCell(1, 1, LookFlash);

    std::set<Pixel> expected = ExpectedFlash(2024, box, frames);
    std::set<Pixel> changed = ChangedPixels(Back);
    EXPECT_GT(changed.size(), 0u);
    EXPECT_LE(changed.size(), size_t(FlashPixelCount * frames));
    for (Pixel p : changed) {
        EXPECT_EQ(Back.At(p.first, p.second), C(CellColour0)) << p.first << "," << p.second;
        EXPECT_TRUE(expected.count(p)) << "not a flash pixel: " << p.first << "," << p.second;
        EXPECT_TRUE(InsideHexagon(hexagon, p.first, p.second, -0.5))
            << "outside the hexagon: " << p.first << "," << p.second;
    }
    for (Pixel p : expected) {
        if (InsideHexagon(hexagon, p.first, p.second, 1.0)) {
            EXPECT_TRUE(changed.count(p)) << "missing: " << p.first << "," << p.second;
        }
    }
    EXPECT_EQ(Game.DirtyRect, box);
}

TEST_F(GdiCellTest, FlushDirtyCopiesExactlyTheDirtyRect) {
    Screen.Fill(TColour{7, 7, 7});
    Game.ShowCell(0, 0, LookFilled);
    Game.ShowCell(1, 1, LookFilled);
    const TRect dirty{316, 52, 396, 110};
    ASSERT_EQ(Game.DirtyRect, dirty);

    Game.FlushDirty();
    EXPECT_TRUE(Game.DirtyRect.IsEmpty());
    int wrong = 0;
    for (int32_t y = 0; y < Screen.Height; ++y)
        for (int32_t x = 0; x < Screen.Width; ++x) {
            bool inside = x >= dirty.Left && x < dirty.Right && y >= dirty.Top && y < dirty.Bottom;
            TColour want = inside ? Back.At(x, y) : TColour{7, 7, 7};
            wrong += Screen.At(x, y) != want;
        }
    EXPECT_EQ(wrong, 0);
}

TEST_F(GdiCellTest, FailedCopyKeepsTheDirtyRect) {
    Game.ShowCell(0, 0, LookFilled);
    HDC gone = CreateCompatibleDC(nullptr);
    DeleteDC(gone);
    Game.BackDC = gone;
    Game.FlushDirty();
    EXPECT_EQ(Game.DirtyRect, (TRect{316, 52, 362, 91}));
    EXPECT_EQ(Screen.At(336, 68), Untouched);

    Game.BackDC = Back.Dc;
    Game.FlushDirty();
    EXPECT_TRUE(Game.DirtyRect.IsEmpty());
    EXPECT_EQ(Screen.At(336, 68), C(CellColour1));
}

TEST_F(GdiCellTest, DrawingOffPaintsNothingButFlushStillCopies) {
    Game.SetCell(4, 30, 1);
    Game.Drawing = false;
    std::vector<uint8_t> before = Back.Snapshot();
    Game.ShowCell(0, 0, LookFilled);
    Game.DrawFigure();
    Game.EraseFigure();
    Game.RedrawGlass();
    Game.FlashLine(0, -1);
    EXPECT_TRUE(Back.Snapshot() == before) << "the back buffer changed";
    EXPECT_TRUE(Game.DirtyRect.IsEmpty());

    Back.Fill(TColour{50, 60, 70});
    Game.DirtyRect = TRect{10, 10, 20, 20};
    Game.FlushDirty();
    EXPECT_TRUE(Game.DirtyRect.IsEmpty());
    EXPECT_EQ(Screen.At(15, 15), (TColour{50, 60, 70}));
    EXPECT_EQ(Screen.At(20, 15), Untouched);
}

// A flash of the two bottom rows: pixels only in their cells, shown on the
// window surface by the flushes between the frames.
TEST_F(GdiCellTest, FlashLineFlashesItsTwoRowsOnTheScreen) {
    Game.FlashLine(Game.Height - 1, -1);

    TCellGrid grid = MakeCellGrid(Game);
    auto inRowBoxes = [&](Pixel p, int32_t row) {
        for (int32_t column = row % 2; column < Game.Width; column += 2) {
            TRect b = CellBox(grid, column, row);
            if (p.first >= b.Left && p.first < b.Right && p.second >= b.Top && p.second < b.Bottom)
                return true;
        }
        return false;
    };
    std::set<Pixel> changed = ChangedPixels(Back);
    int inRow31 = 0, inRow32 = 0;
    for (Pixel p : changed) {
        bool in31 = inRowBoxes(p, 31), in32 = inRowBoxes(p, 32);
        EXPECT_TRUE(in31 || in32) << p.first << "," << p.second;
        inRow31 += in31;
        inRow32 += in32;
        EXPECT_EQ(Screen.At(p.first, p.second), C(CellColour0));
    }
    EXPECT_GT(inRow31, 0);
    EXPECT_GT(inRow32, 0);
    EXPECT_TRUE(Game.DirtyRect.IsEmpty());
}

TEST_F(GdiCellTest, NewBrushesFollowTheSchemeAndReplaceTheOldOnes) {
    NativeHandle old[4];
    std::copy(std::begin(Game.Brushes), std::end(Game.Brushes), old);
    ChooseColours(2);
    Game.CreateBrushes();
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(GetObjectType(static_cast<HGDIOBJ>(old[i])), 0u) << "old brush kept: " << i;
        EXPECT_EQ(GetObjectType(static_cast<HGDIOBJ>(Game.Brushes[i])), DWORD(OBJ_BRUSH)) << i;
    }
    Game.ShowCell(0, 0, LookFilled);
    EXPECT_EQ(Back.At(336, 68), (TColour{0, 162, 140}));
    EXPECT_EQ(Back.At(338, 53), (TColour{57, 227, 142}));
    EXPECT_EQ(Back.At(338, 52), (TColour{0, 150, 180}));
    ChooseColours(0);
}

TEST_F(GdiCellTest, ReleaseRestoresSavedStatesAndDeletesBrushes) {
    SetBkMode(Back.Dc, OPAQUE);
    Game.SavedBackState = SaveDC(Back.Dc);
    SetROP2(Screen.Dc, R2_COPYPEN);
    Game.SavedScreenState = SaveDC(Screen.Dc);
    ASSERT_NE(Game.SavedBackState, 0);
    ASSERT_NE(Game.SavedScreenState, 0);
    Game.ShowCell(0, 0, LookFilled); // leaves the back buffer transparent
    SetROP2(Screen.Dc, R2_BLACK);
    NativeHandle brushes[4];
    std::copy(std::begin(Game.Brushes), std::end(Game.Brushes), brushes);

    Game.Painter->Release(Game);
    EXPECT_EQ(GetBkMode(Back.Dc), OPAQUE);
    EXPECT_EQ(GetROP2(Screen.Dc), R2_COPYPEN);
    EXPECT_EQ(Game.SavedBackState, 0);
    EXPECT_EQ(Game.SavedScreenState, 0);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Game.Brushes[i], nullptr);
        EXPECT_EQ(GetObjectType(static_cast<HGDIOBJ>(brushes[i])), 0u) << i;
    }
}
