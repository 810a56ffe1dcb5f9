// The renderer on real windows and device contexts: what reaches the back
// buffer and the window, pixel by pixel, and that no GDI object is left behind.
#include "render/win32/GdiCanvas.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "game/Random.h"
#include "render/Panel.h"
#include "render/Renderer.h"
#include "tests/core/TestSupport.h"
#include "tests/win32/TestSupport.h"

namespace {
const TColour Black{0, 0, 0}, White{255, 255, 255};

TColour At(HDC dc, int32_t x, int32_t y) {
    COLORREF c = GetPixel(dc, x, y);
    return TColour{GetRValue(c), GetGValue(c), GetBValue(c)};
}

void Paint(HDC dc, const TRect &r, const TColour &colour) {
    HBRUSH brush = CreateSolidBrush(RGB(colour.R, colour.G, colour.B));
    RECT rect{r.Left, r.Top, r.Right, r.Bottom};
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

// The pixels of r that have the colour or, with same false, lack it.
int Count(HDC dc, const TRect &r, const TColour &colour, bool same = true) {
    int count = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            count += (At(dc, x, y) == colour) == same;
    return count;
}

// The pixels of r, rows from the top, read in one transfer.
std::vector<uint32_t> Pixels(HDC dc, const TRect &r) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = r.Width();
    info.bmiHeader.biHeight = -r.Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    HBITMAP dib = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC copy = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(copy, dib);
    BitBlt(copy, 0, 0, r.Width(), r.Height(), dc, r.Left, r.Top, SRCCOPY);
    GdiFlush();
    const uint32_t *words = static_cast<const uint32_t *>(bits);
    std::vector<uint32_t> pixels(words, words ? words + r.Width() * r.Height() : words);
    SelectObject(copy, previous);
    DeleteDC(copy);
    DeleteObject(dib);
    return pixels;
}

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

// A renderer bound to a GDI canvas, as the saver binds them.
struct TGdiPicture {
    explicit TGdiPicture(const TLook &look) : Picture(look) {}
    ~TGdiPicture() { SetWindow(nullptr); }
    void SetWindow(HWND window, const TRect &game = TRect{}) {
        Picture.Unbind();
        Canvas.Release();
        if (window && Canvas.Open(window))
            Picture.Bind(Canvas, Canvas.Client(), game);
    }
    TRenderer Picture;
    TGdiCanvas Canvas;
};

class GdiRenderer : public ::testing::Test {
protected:
    void TearDown() override {
        renderer.reset();
        for (HWND window : windows)
            DestroyWindow(window);
        test::PumpMessages();
    }
    // A renderer of the look bound to a new popup, and an empty glass fitted
    // to it as the session fits it.
    void Bind(int width, int height, TLook look = TLook{0, false}, TRect gameArea = TRect{}) {
        windows.push_back(test::MakePopup("StakkoRendererTest", width, height));
        ASSERT_NE(windows.back(), nullptr);
        test::PumpMessages();
        renderer = std::make_unique<TGdiPicture>(look);
        renderer->SetWindow(windows.back(), gameArea);
        ASSERT_NE(Back(), nullptr);
        test::MakeGlass(game, Picture().Layout().Fit.Width, Picture().Layout().Fit.Height);
    }
    TRenderer &Picture() { return renderer->Picture; }
    HDC Back() { return renderer->Canvas.BackDC(); }
    HDC Screen() { return renderer->Canvas.ScreenDC(); }
    const TColourTable &Colours() { return Picture().Colours(); }
    TScene Scene() { return TScene{game, TBestScores{}, 0, 0}; }

    std::unique_ptr<TGdiPicture> renderer;
    std::vector<HWND> windows;
    TStakko game;
};

} // namespace

TEST_F(GdiRenderer, NoWindowContextOpensNothing) {
    HWND bogus = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x7ffe));
    TGdiCanvas canvas;
    EXPECT_FALSE(canvas.Open(bogus));
    EXPECT_TRUE(!canvas.ScreenDC() && !canvas.BackDC() && !canvas.Window());
}

// Cell (0, 0) of a 1024 x 768 picture: box (316, 52, 362, 91), inner face
// from (320, 55) to (352, 82).
TEST_F(GdiRenderer, FilledAndEmptyCellsPaintTheirParts) {
    Bind(1024, 768);
    Paint(Back(), TRect{0, 0, 1024, 768}, Black);
    const TColour out = Colours()[OutlineColour], empty = Colours()[CellColour0],
                  face = Colours()[CellColour1], upper = Colours()[CellColour2],
                  lower = Colours()[CellColour3];
    // clang-format off
    const struct { int32_t X, Y; TColour Filled, Empty; } table[] = {
        {336, 68, face, empty}, {324, 68, face, empty}, {348, 68, face, empty},
        {336, 58, face, empty}, {336, 79, face, empty}, {338, 53, upper, empty},
        {355, 66, upper, empty}, {336, 88, lower, empty}, {354, 76, lower, empty},
        {338, 52, out, out}, {338, 91, out, out}, {357, 71, out, empty}, {336, 55, out, empty},
        {317, 53, Black, Black}, {360, 89, Black, Black}, // box corners
        {363, 71, Black, Black}, {338, 92, Black, Black}, // beside, below
    };
    // clang-format on
    for (uint8_t look : {LookFilled, LookEmpty}) {
        Picture().ShowCell(game, 0, 0, look);
        for (const auto &row : table) {
            SCOPED_TRACE(testing::Message() << int(look) << ": " << row.X << "," << row.Y);
            EXPECT_EQ(At(Back(), row.X, row.Y), look == LookFilled ? row.Filled : row.Empty);
        }
    }
    // The last cell touches the glass's right and bottom edges and is drawn.
    Picture().ShowCell(game, 10, 32, LookFilled);
    EXPECT_EQ(At(Back(), 684, 693), face);
}

// Flash pixels gather inside the hexagon without repainting the cell, and
// no clip region is left behind.
TEST_F(GdiRenderer, FlashSetsAtMostFortyPixelsInsideTheHexagon) {
    Bind(1024, 768);
    const TRect box{350, 71, 396, 110}; // cell (1, 1)
    Paint(Back(), box, Black);
    const THexagon v = HexagonIn(box);
    POINT points[6];
    for (int k = 0; k < 6; ++k)
        points[k] = POINT{v[k].X, v[k].Y};
    HRGN hexagon = CreatePolygonRgn(points, 6, ALTERNATE);
    int previous = 0;
    for (int frame = 1; frame <= 3; ++frame) {
        Picture().ShowCell(game, 1, 1, LookFlash);
        int changed = Count(Back(), box, Black, false);
        EXPECT_GT(changed, previous);
        EXPECT_LE(changed, previous + FlashPixelCount);
        previous = changed;
        for (int y = box.Top; y < box.Bottom; ++y)
            for (int x = box.Left; x < box.Right; ++x)
                if (At(Back(), x, y) != Black) {
                    EXPECT_EQ(At(Back(), x, y), Colours()[CellColour0]);
                    EXPECT_TRUE(PtInRegion(hexagon, x, y)) << x << "," << y;
                }
    }
    DeleteObject(hexagon);
    EXPECT_EQ(Picture().DirtyRect(), box);
    Picture().ShowCell(game, 0, 0, LookFilled); // outside the flashed hexagon
    EXPECT_EQ(At(Back(), 336, 68), Colours()[CellColour1]);
}

TEST_F(GdiRenderer, AShowCopiesExactlyTheDirtyArea) {
    Bind(1024, 768);
    Picture().ShowCell(game, 0, 0, LookFilled);
    Picture().ShowCell(game, 1, 1, LookFilled);
    const TRect dirty{316, 52, 396, 110}; // the renderer tests' union
    Paint(Screen(), TRect{300, 40, 420, 130}, White);
    Picture().Flush();
    EXPECT_TRUE(Pixels(Screen(), dirty) == Pixels(Back(), dirty));
    EXPECT_EQ(Count(Screen(), TRect{300, 40, 420, 130}, White), 120 * 90 - 80 * 58) << "outside";
}

// Unbinding releases the device contexts, the back buffer and the texture.
TEST_F(GdiRenderer, ThousandsOfCellsRedrawsAndBindingsLeaveNoObjectBehind) {
    Bind(1024, 768, TLook{1, true});
    for (uint8_t look = 0; look < 3; ++look)
        Picture().ShowCell(game, 0, 0, look); // whatever GDI makes on first use
    Picture().ClearScreen(Scene());
    const int32_t before = CreatableObjects();
    HPEN probe = CreatePen(PS_SOLID, 1, 0);
    ASSERT_EQ(CreatableObjects(), before - 1) << "the count does not see a leak";
    DeleteObject(probe);

    for (int pass = 0; pass < 4; ++pass)
        for (int32_t row = 0; row < game.Height; ++row)
            for (int32_t column = row % 2; column < game.Width; column += 2) {
                for (uint8_t look = 0; look < 4; ++look)
                    Picture().ShowCell(game, column, row, look);
                Picture().Flush();
            }
    for (int32_t row = game.Height / 2; row < game.Height; ++row)
        for (int32_t column = row % 2; column < game.Width; column += 2)
            game.SetCell(column, row, 1);
    TChanges changes;
    changes.Glass(game.Width, game.Height, game.Glass);
    changes.Flash(32, -1);
    changes.Show();
    for (int i = 0; i < 20; ++i) {
        for (TDrawCursor cursor; !Picture().Draw(changes, Scene(), cursor);) {
        } // the changes to the end, flashes and all
        Picture().ClearScreen(Scene());
    }
    EXPECT_EQ(CreatableObjects(), before);
    for (int i = 0; i < 30; ++i)
        renderer->SetWindow(windows.back()); // replaces, never adds
    EXPECT_EQ(CreatableObjects(), before);
    const HGDIOBJ held[] = {Back(), GetCurrentObject(Back(), OBJ_BITMAP),
                            renderer->Canvas.TextureBitmap()};
    renderer->SetWindow(nullptr);
    EXPECT_GE(CreatableObjects(), before + 4) << "the four brushes were not deleted";
    for (HGDIOBJ object : held)
        EXPECT_EQ(GetObjectType(object), 0u) << "still alive";
    EXPECT_TRUE(!renderer->Canvas.Window() && !Screen() && !Back() && !Picture().Bound());
}

// Every texture pixel is its height's ramp colour; a full redraw stretches
// it over the window, frames the boxes and fills the glass panel (that the
// window shows it is the multi-monitor test's part).
TEST_F(GdiRenderer, FullSizeTextureAndRedraw) {
    Bind(1024, 768, TLook{0, true});
    game.Score = 1234;
    const TTexture &texture = Picture().Texture();
    EXPECT_EQ(texture.Ramp(), BuildRamp(0));
    HDC source = CreateCompatibleDC(Screen());
    HGDIOBJ previous = SelectObject(source, renderer->Canvas.TextureBitmap());
    int mismatches = 0;
    for (int32_t y = 0; y < TextureHeight; ++y)
        for (int32_t x = 0; x < TextureWidth; ++x)
            mismatches += At(source, x, y) != texture.Ramp()[texture.HeightAt(x, y)];
    SelectObject(source, previous);
    DeleteDC(source);
    EXPECT_EQ(mismatches, 0);

    Picture().ClearScreen(Scene());
    EXPECT_TRUE(Picture().DirtyRect().IsEmpty()) << "all copied";
    HDC dc = Back();
    const TColour back = Colours()[BackColour];
    EXPECT_EQ(At(dc, 0, 0), texture.Ramp()[texture.HeightAt(0, 0)]);
    EXPECT_EQ(At(dc, 1023, 767), texture.Ramp()[texture.HeightAt(399, 319)]);
    // The glass panel (310, 36, 714, 733) is filled where the cells,
    // outlines included, do not reach.
    for (TRect r : {TRect{310, 36, 714, 52}, TRect{310, 716, 714, 733}, TRect{310, 36, 316, 733},
                    TRect{708, 36, 714, 733}})
        EXPECT_EQ(Count(dc, r, back, false), 0) << r.Left << "," << r.Top;
    const TLayout &l = Picture().Layout();
    // Each box's frame bands in their colours.
    for (TRect box : {TRect{312, 38, 712, 731}, l.ScoreBox, l.LinesBox, l.TimeBox, l.BestBox})
        for (const TPanelFill &fill : PanelFills(box))
            for (int32_t i = 0; fill.Colour != BackColour && i < fill.Count; ++i)
                EXPECT_EQ(Count(dc, fill.Rects[i], Colours()[fill.Colour]),
                          fill.Rects[i].Width() * fill.Rects[i].Height())
                    << "box at " << box.Left << "," << box.Top;
    // Just outside the frame (308, 34, 716, 735) the texture shows.
    for (POINT p : {POINT{307, 400}, POINT{716, 400}, POINT{500, 33}, POINT{500, 735}}) {
        TColour c = At(dc, p.x, p.y);
        EXPECT_TRUE(c != Colours()[ShadowColour] && c != Colours()[LightColour] && c != back)
            << p.x << "," << p.y;
    }
    EXPECT_GT(Count(dc, TRect{792, 218, 942, 250}, Colours()[ValueColour]), 20); // "1234"
}

// Two monitors, the primary one on the right of a taller one: the game's
// part of the window has the very pixels of a window of that size alone;
// the rest is the background, and it reaches the window.
TEST_F(GdiRenderer, AGameOnOneMonitorOfSeveralHasThePixelsOfThatMonitorAlone) {
    const TRect primary{1280, 200, 2304, 968}, visible{0, 0, 1024, 768};
    for (bool texture : {true, false}) {
        SCOPED_TRACE(texture ? "texture" : "plain");
        SeedRandom(7);
        Bind(1024, 768, TLook{1, texture});
        game.Score = 1234;
        Picture().ClearScreen(Scene());
        const std::vector<uint32_t> alone = Pixels(Back(), TRect{0, 0, 1024, 768});
        ASSERT_EQ(alone.size(), 1024u * 768u);
        SeedRandom(7);
        Bind(2304, 968, TLook{1, texture}, primary);
        game.Score = 1234;
        Picture().ClearScreen(Scene());
        ASSERT_EQ(Picture().GameArea(), primary);
        EXPECT_TRUE(Pixels(Back(), primary) == alone);

        const TTexture &stretched = Picture().Texture();
        const TColour corner =
            texture ? stretched.Ramp()[stretched.HeightAt(0, 0)] : Colours()[BackColour];
        EXPECT_EQ(At(Back(), 0, 0), corner);
        EXPECT_EQ(texture ? 0 : Count(Back(), TRect{0, 0, 1280, 200}, corner, false), 0);
        // What the screen shows of the window.
        EXPECT_TRUE(Pixels(Screen(), visible) == Pixels(Back(), visible));
    }
}

// The full screen falls back to the primary monitor when this says no.
TEST(BackBuffer, ASizeNoBitmapCanHoldIsRefused) {
    EXPECT_TRUE(CanMakeBackBuffer(2304, 968));
    EXPECT_FALSE(CanMakeBackBuffer(1 << 30, 1 << 30));
}
