// The GDI cell painter on real device contexts: cells are drawn into a DIB
// section and their pixels read back, and no GDI object is left behind.
#include <gtest/gtest.h>
#include <windows.h>

#include <utility>
#include <vector>

#include "game/Stakko.h"
#include "render/CellGeometry.h"
#include "render/Colours.h"
#include "render/win32/GdiPainter.h"

namespace {

constexpr int32_t W = 1024, H = 768;
const TColour Untouched{}, White{255, 255, 255}; // black: a fresh DIB section, and no cell
using Pixel = std::pair<int32_t, int32_t>;

// A memory device context over a 24-bit top-down DIB section.
struct TSurface {
    TSurface() {
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(info.bmiHeader), W, -H, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        Bitmap = CreateDIBSection(Dc, &info, DIB_RGB_COLORS, &Bits, nullptr, 0);
        SelectObject(Dc, Bitmap);
    }
    ~TSurface() { // the DC lets the bitmap go first
        DeleteDC(Dc);
        DeleteObject(Bitmap);
    }
    TColour At(int32_t x, int32_t y) const {
        GdiFlush();
        const uint8_t *p = static_cast<const uint8_t *>(Bits) + (y * W + x) * 3;
        return TColour{p[2], p[1], p[0]};
    }
    std::vector<Pixel> Changed() const {
        std::vector<Pixel> changed;
        for (int32_t y = 0; y < H; ++y)
            for (int32_t x = 0; x < W; ++x)
                if (At(x, y) != Untouched)
                    changed.emplace_back(x, y);
        return changed;
    }
    HDC Dc = CreateCompatibleDC(nullptr);
    HBITMAP Bitmap = nullptr;
    void *Bits = nullptr;
};

// Brushes that can still be made before the handle table is full: Wine's
// GetGuiResources answers 0, and every object left behind makes one fewer fit.
int32_t CreatableObjects() {
    std::vector<HBRUSH> made;
    while (HBRUSH brush = made.size() < 1000000 ? CreateSolidBrush(RGB(1, 2, 3)) : nullptr)
        made.push_back(brush);
    for (HBRUSH brush : made)
        DeleteObject(brush);
    return int32_t(made.size());
}

// The glass of a 1024 x 768 client area in the Brown scheme.
class GdiCellTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Back.Bits && Screen.Bits);
        ChooseColours(0);
        Game.Width = 11;
        Game.Height = 33;
        Game.NewGame();
        Game.GlassRect = TRect{316, 52, 707, 715};
        Game.BackDC = Back.Dc;
        Game.ScreenDC = Screen.Dc;
        Game.Painter = &GdiPainter();
        Game.CreateBrushes();
    }
    TSurface Back, Screen;
    TStakko Game; // released before the surfaces go
};

} // namespace

// Cell (0, 0): box (316, 52, 362, 91), inner face from (320, 55) to (352, 82).
TEST_F(GdiCellTest, FilledAndEmptyCellsPaintTheirParts) {
    const TColour out = Colours[OutlineColour], empty = Colours[CellColour0],
                  face = Colours[CellColour1], upper = Colours[CellColour2],
                  lower = Colours[CellColour3];
    // clang-format off
    const struct { int32_t X, Y; TColour Filled, Empty; } table[] = {
        {336, 68, face, empty}, {324, 68, face, empty}, {348, 68, face, empty},
        {336, 58, face, empty}, {336, 79, face, empty}, {338, 53, upper, empty},
        {355, 66, upper, empty}, {336, 88, lower, empty}, {354, 76, lower, empty},
        {338, 52, out, out}, {338, 91, out, out}, {357, 71, out, empty}, {336, 55, out, empty},
        {317, 53, Untouched, Untouched}, {360, 89, Untouched, Untouched}, // box corners
        {363, 71, Untouched, Untouched}, {338, 92, Untouched, Untouched}, // beside, below
    };
    // clang-format on
    for (uint8_t look : {LookFilled, LookEmpty}) {
        Game.ShowCell(0, 0, look);
        for (const auto &row : table) {
            SCOPED_TRACE(testing::Message() << int(look) << ": " << row.X << "," << row.Y);
            EXPECT_EQ(Back.At(row.X, row.Y), look == LookFilled ? row.Filled : row.Empty);
        }
    }
    // The last cell touches the glass's right and bottom edges and is drawn.
    Game.ShowCell(10, 32, LookFilled);
    EXPECT_EQ(Back.At(684, 693), face);
}

// Flash pixels accumulate inside the hexagon without repainting the cell.
TEST_F(GdiCellTest, FlashSetsAtMostFortyPixelsInsideTheHexagon) {
    const TRect box{350, 71, 396, 110}; // cell (1, 1)
    const THexagon v = HexagonIn(box);
    HRGN hexagon = CreatePolygonRgn(reinterpret_cast<const POINT *>(v.data()), 6, ALTERNATE);
    size_t previous = 0;
    for (int frame = 1; frame <= 3; ++frame) {
        Game.ShowCell(1, 1, LookFlash);
        std::vector<Pixel> changed = Back.Changed();
        EXPECT_GT(changed.size(), previous);
        EXPECT_LE(changed.size(), previous + FlashPixelCount);
        previous = changed.size();
        for (Pixel p : changed) {
            EXPECT_EQ(Back.At(p.first, p.second), Colours[CellColour0]);
            EXPECT_TRUE(PtInRegion(hexagon, p.first, p.second)) << p.first << "," << p.second;
        }
    }
    DeleteObject(hexagon);
    EXPECT_EQ(Game.DirtyRect, box);
    Game.ShowCell(0, 0, LookFilled); // outside the flashed hexagon: a clip left behind hides it
    EXPECT_EQ(Back.At(336, 68), Colours[CellColour1]);
}

TEST_F(GdiCellTest, FlushDirtyCopiesExactlyTheDirtyRectAndKeepsItOnFailure) {
    Game.ShowCell(0, 0, LookFilled);
    Game.ShowCell(1, 1, LookFilled);
    const TRect dirty{316, 52, 396, 110};
    ASSERT_EQ(Game.DirtyRect, dirty);
    // With drawing off nothing paints, but the flush still copies.
    const size_t drawn = Back.Changed().size();
    Game.Drawing = false;
    Game.ShowCell(2, 0, LookFilled);
    Game.DrawFigure();
    Game.EraseFigure();
    Game.RedrawGlass();
    Game.FlashLine(0, -1);
    EXPECT_EQ(Back.Changed().size(), drawn);
    ASSERT_EQ(Game.DirtyRect, dirty);

    HDC gone = CreateCompatibleDC(nullptr);
    DeleteDC(gone);
    Game.BackDC = gone;
    Game.FlushDirty();
    EXPECT_EQ(Game.DirtyRect, dirty) << "a failed copy must be made again";
    EXPECT_TRUE(Screen.Changed().empty());

    Game.BackDC = Back.Dc;
    PatBlt(Screen.Dc, 0, 0, W, H, WHITENESS);
    Game.FlushDirty();
    EXPECT_TRUE(Game.DirtyRect.IsEmpty());
    const RECT copied{dirty.Left, dirty.Top, dirty.Right, dirty.Bottom};
    int32_t wrong = 0;
    for (int32_t y = 0; y < H; ++y)
        for (int32_t x = 0; x < W; ++x)
            wrong += Screen.At(x, y) != (PtInRect(&copied, POINT{x, y}) ? Back.At(x, y) : White);
    EXPECT_EQ(wrong, 0);
}

TEST_F(GdiCellTest, ThousandsOfCellsAndRedrawsLeaveNoObjectBehind) {
    for (uint8_t look = 0; look < 3; ++look)
        Game.ShowCell(0, 0, look); // whatever GDI makes on first use
    Game.FlushDirty();
    const int32_t before = CreatableObjects();
    HPEN probe = CreatePen(PS_SOLID, 1, 0);
    ASSERT_EQ(CreatableObjects(), before - 1) << "the count does not see a leak";
    DeleteObject(probe);

    for (int pass = 0; pass < 4; ++pass)
        for (int32_t row = 0; row < Game.Height; ++row)
            for (int32_t column = row % 2; column < Game.Width; column += 2) {
                for (uint8_t look = 0; look < 4; ++look)
                    Game.ShowCell(column, row, look);
                Game.FlushDirty();
            }
    for (int32_t row = Game.Height / 2; row < Game.Height; ++row)
        for (int32_t column = row % 2; column < Game.Width; column += 2)
            Game.SetCell(column, row, 1);
    for (int i = 0; i < 50; ++i) {
        Game.RedrawGlass();
        Game.FlushDirty();
    }
    for (int i = 0; i < 500; ++i) {
        ChooseColours(i % PaletteCount);
        Game.CreateBrushes(); // replaces, never adds
    }
    EXPECT_EQ(CreatableObjects(), before);
    Game.Painter->Release(Game);
    EXPECT_EQ(CreatableObjects(), before + 4) << "the four brushes were not deleted";
}
