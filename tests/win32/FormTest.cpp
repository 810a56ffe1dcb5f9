// The form bound to real popup windows: layout, back buffer, the game
// object's binding, dirty rectangles and the background, with pixels read
// back from the device contexts.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <thread>
#include <vector>

#include "driver/win32/Locks.h"
#include "game/Stakko.h"
#include "render/Colours.h"
#include "render/Layout.h"
#include "render/Texture.h"
#include "render/win32/Form.h"
#include "render/win32/GdiPainter.h"
#include "saver/Settings.h"
#include "tests/win32/TestWindow.h"

namespace {
HWND MakeTestWindow(int width, int height) {
    return test::MakePopup("StakkoFormTest", width, height);
}

using TPixels = std::vector<uint32_t>; // 0x00RRGGBB, top row first

uint32_t Word(const TColour &c) {
    return (uint32_t{c.R} << 16) | (uint32_t{c.G} << 8) | c.B;
}

// Copies an area of a device context into a 32-bit top-down DIB section and
// returns its pixels; empty if it could not be read.
TPixels Snapshot(HDC source, int left, int top, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    HBITMAP dib = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dib)
        return {};
    HDC dc = CreateCompatibleDC(source);
    HGDIOBJ previous = SelectObject(dc, dib);
    TPixels pixels;
    if (BitBlt(dc, 0, 0, width, height, source, left, top, SRCCOPY)) {
        GdiFlush();
        const uint32_t *words = static_cast<const uint32_t *>(bits);
        for (int i = 0; i < width * height; ++i)
            pixels.push_back(words[i] & 0xffffffu);
    }
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(dib);
    return pixels;
}

void Paint(HDC dc, const TRect &r, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    RECT rect{r.Left, r.Top, r.Right, r.Bottom};
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (!GetObjectA(bitmap, sizeof(info), &info))
        return SIZE{-1, -1};
    return SIZE{info.bmWidth, info.bmHeight};
}

// Whether a GDI handle still names a live object.
bool Alive(HGDIOBJ object) {
    return object && GetObjectType(object) != 0;
}

constexpr uint32_t Red = 0xff0000u;
constexpr uint32_t Black = 0x000000u;

class Form : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CreateSyncObjects());
        Settings = TSettings{};
        Settings.Palette = 0;
        Settings.ShowBkgr = false;
        ResetColours();
    }
    void TearDown() override {
        TheForm.SetWindow(nullptr);
        for (HWND window : Windows)
            DestroyWindow(window);
        test::PumpMessages();
    }

    HWND Open(int width, int height) {
        HWND window = MakeTestWindow(width, height);
        if (window)
            Windows.push_back(window);
        test::PumpMessages();
        return window;
    }

    void Bind(int width, int height) {
        HWND window = Open(width, height);
        ASSERT_NE(window, nullptr);
        TheForm.SetWindow(window);
        ASSERT_NE(TheForm.BackDC, nullptr);
    }

    TStakko Game;
    TForm TheForm{Game};
    std::vector<HWND> Windows;
};

struct BindCase {
    int Width, Height;
    TRect GlassArea, ScoreBox, BestBox, GlassRect;
    int32_t BoxUnit;
};

// clang-format off
const BindCase BindCases[] = {
    {1024, 768, {312, 38, 711, 730}, {792, 209, 942, 259}, {56, 339, 256, 429},
     {316, 52, 707, 715}, 50},
    {640, 480, {195, 24, 444, 456}, {495, 132, 588, 163}, {34, 213, 159, 267},
     {197, 27, 441, 452}, 31},
};
// clang-format on
} // namespace

TEST_F(Form, SetWindowLaysOutAndBindsTheGame) {
    TForm unbound(Game);
    unbound.SetWindow(nullptr); // nothing was ever set: nothing to release
    EXPECT_EQ(unbound.Window, nullptr);
    EXPECT_TRUE(unbound.DirtyRect == TRect{});
    Settings.Palette = 2;
    for (const BindCase &c : BindCases) {
        SCOPED_TRACE(c.Width);
        Bind(c.Width, c.Height);
        EXPECT_TRUE(TheForm.ClientRect == (TRect{0, 0, c.Width, c.Height}));
        EXPECT_EQ(TheForm.ClientWidth, c.Width);
        EXPECT_EQ(TheForm.ClientHeight, c.Height);
        EXPECT_TRUE(TheForm.GlassArea == c.GlassArea);
        EXPECT_TRUE(TheForm.ScoreBox == c.ScoreBox);
        EXPECT_TRUE(TheForm.BestBox == c.BestBox);
        EXPECT_EQ(BoxUnit, c.BoxUnit);

        EXPECT_EQ(Game.ScreenDC, TheForm.ScreenDC);
        EXPECT_EQ(Game.BackDC, TheForm.BackDC);
        EXPECT_NE(Game.ScreenDC, nullptr);
        EXPECT_GT(Game.SavedScreenState, 0);
        EXPECT_GT(Game.SavedBackState, 0);
        EXPECT_EQ(Game.Painter, &GdiPainter());
        EXPECT_EQ(Colours[BackColour], (TColour{0, 186, 155})); // the chosen palette
        LOGBRUSH brush{};
        ASSERT_TRUE(GetObjectA(Game.Brushes[1], sizeof(brush), &brush));
        EXPECT_EQ(brush.lbColor, RGB(0, 162, 140)); // brushes made from it
        EXPECT_TRUE(Game.GlassRect == c.GlassRect);
        EXPECT_EQ(Game.Width, 11);
        EXPECT_EQ(Game.Height, 33);

        // The back buffer is the client's size and selected into BackDC.
        EXPECT_EQ(GetCurrentObject(TheForm.BackDC, OBJ_BITMAP), TheForm.BackBitmap);
        SIZE size = BitmapSize(TheForm.BackBitmap);
        EXPECT_EQ(size.cx, c.Width);
        EXPECT_EQ(size.cy, c.Height);
    }
}

TEST_F(Form, ReleasingGivesEverythingBack) {
    Settings.ShowBkgr = true;
    Bind(320, 240);
    HDC backDC = TheForm.BackDC;
    HBITMAP backBitmap = TheForm.BackBitmap;
    HBITMAP texture = TheForm.Texture;
    ASSERT_TRUE(Alive(texture));

    TheForm.SetWindow(nullptr);
    EXPECT_EQ(TheForm.Window, nullptr);
    EXPECT_EQ(TheForm.ScreenDC, nullptr);
    EXPECT_EQ(TheForm.BackDC, nullptr);
    EXPECT_EQ(TheForm.BackBitmap, nullptr);
    EXPECT_EQ(TheForm.Texture, nullptr);
    EXPECT_FALSE(Alive(backDC));
    EXPECT_FALSE(Alive(backBitmap));
    EXPECT_FALSE(Alive(texture));
    EXPECT_EQ(Game.ScreenDC, nullptr);
    EXPECT_EQ(Game.BackDC, nullptr);
    EXPECT_EQ(Game.SavedScreenState, 0);
    EXPECT_EQ(Game.SavedBackState, 0);

    // Nothing is left to draw into: the game's cells and flushes do nothing.
    Game.ShowCell(0, 0, LookFilled);
    EXPECT_TRUE(Game.DirtyRect == TRect{});
    TheForm.SetWindow(nullptr); // a second release finds nothing
    EXPECT_EQ(TheForm.BackDC, nullptr);
}

// A second window replaces the first: the old back buffer goes, the layout
// and the game's binding follow the new window.
TEST_F(Form, RebindingReleasesTheFirstWindow) {
    Bind(1024, 768);
    HBITMAP first = TheForm.BackBitmap;
    Bind(640, 480);
    EXPECT_FALSE(Alive(first));
    EXPECT_EQ(TheForm.ClientWidth, 640);
    EXPECT_EQ(Game.BackDC, TheForm.BackDC);
    EXPECT_TRUE(Game.GlassRect == (TRect{197, 27, 441, 452}));
}

TEST_F(Form, TinyWindowsSetUpWithTheSmallestGlass) {
    for (SIZE size : {SIZE{1, 1}, SIZE{10, 30}}) {
        SCOPED_TRACE(size.cx);
        Bind(size.cx, size.cy);
        EXPECT_EQ(Game.Width, 11);
        EXPECT_EQ(Game.Height, 27);
        EXPECT_TRUE(Game.GlassRect == TheForm.GlassArea);
        Game.RedrawGlass(); // cells of a pixel or two, or none, and only inside the glass
        const TRect &dirty = Game.DirtyRect, &glass = Game.GlassRect;
        EXPECT_TRUE(dirty.IsEmpty() || UniteRects(dirty, glass) == glass);
        Game.DirtyRect = TRect{};
        TheForm.FillBackground();
        EXPECT_TRUE(TheForm.DirtyRect == (TRect{0, 0, size.cx, size.cy}));
        TheForm.FlushDirtyRect();
        EXPECT_TRUE(TheForm.DirtyRect == TRect{});
    }
}

TEST_F(Form, DirtyRectanglesUnite) {
    TheForm.AddDirtyRect(0, 0, 0, 0);
    EXPECT_TRUE(TheForm.DirtyRect == TRect{});
    TheForm.AddDirtyRect(10, 10, 20, 20);
    EXPECT_TRUE(TheForm.DirtyRect == (TRect{10, 10, 20, 20}));
    TheForm.AddDirtyRect(TRect{30, 5, 40, 15});
    EXPECT_TRUE(TheForm.DirtyRect == (TRect{10, 5, 40, 20}));
    TheForm.AddDirtyRect(0, 0, 0, 0);
    TheForm.AddDirtyRect(50, 50, 50, 60); // empty: no width
    EXPECT_TRUE(TheForm.DirtyRect == (TRect{10, 5, 40, 20}));
}

TEST_F(Form, FlushCopiesExactlyTheDirtyRectangle) {
    Bind(200, 100);
    Paint(TheForm.ScreenDC, TRect{0, 0, 200, 100}, RGB(0, 0, 0));
    Paint(TheForm.BackDC, TRect{0, 0, 200, 100}, RGB(255, 0, 0));
    TheForm.AddDirtyRect(10, 10, 20, 20);
    TheForm.AddDirtyRect(30, 5, 40, 15);
    TheForm.FlushDirtyRect();
    EXPECT_TRUE(TheForm.DirtyRect == TRect{});

    TPixels screen = Snapshot(TheForm.ScreenDC, 0, 0, 200, 100);
    ASSERT_EQ(screen.size(), 200u * 100u);
    int red = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) {
            bool inside = x >= 10 && x < 40 && y >= 5 && y < 20;
            ASSERT_EQ(screen[y * 200 + x], inside ? Red : Black) << x << ", " << y;
            red += inside;
        }
    EXPECT_EQ(red, 30 * 15);

    // Nothing dirty: nothing is copied.
    Paint(TheForm.BackDC, TRect{0, 0, 200, 100}, RGB(0, 255, 0));
    TheForm.FlushDirtyRect();
    EXPECT_TRUE(TheForm.DirtyRect == TRect{});
    EXPECT_EQ(Snapshot(TheForm.ScreenDC, 0, 0, 200, 100), screen);
}

// The publishing sequence: the game's dirty area moves into the form's and
// reaches the window; the game's is emptied. The lock is re-entrant.
TEST_F(Form, PublishMovesTheGameDirtyAreaToTheWindow) {
    Bind(200, 100);
    Paint(TheForm.ScreenDC, TRect{0, 0, 200, 100}, RGB(0, 0, 0));
    Paint(TheForm.BackDC, TRect{0, 0, 200, 100}, RGB(255, 0, 0));
    TheForm.AddDirtyRect(0, 0, 2, 2);
    Game.DirtyRect = TRect{50, 40, 60, 45};
    {
        TLockGuard held(GameLock);
        ASSERT_TRUE(held.Obtained());
        TheForm.Publish();
    }
    EXPECT_TRUE(Game.DirtyRect == TRect{});
    EXPECT_TRUE(TheForm.DirtyRect == TRect{});
    TPixels screen = Snapshot(TheForm.ScreenDC, 0, 0, 200, 100);
    ASSERT_EQ(screen.size(), 200u * 100u);
    // The union (0, 0, 60, 45) went out, and nothing beyond it.
    EXPECT_EQ(screen[0], Red);
    EXPECT_EQ(screen[20 * 200 + 30], Red);
    EXPECT_EQ(screen[44 * 200 + 59], Red);
    EXPECT_EQ(screen[44 * 200 + 60], Black);
    EXPECT_EQ(screen[45 * 200 + 59], Black);
}

// Another thread holds GameLock past the limit: the flush gives up after
// about 5 s, copies nothing and keeps the dirty area for the next flush.
TEST_F(Form, FlushGivesUpWhenTheLockStaysTaken) {
    Bind(200, 100);
    Paint(TheForm.ScreenDC, TRect{0, 0, 200, 100}, RGB(0, 0, 0));
    Paint(TheForm.BackDC, TRect{0, 0, 200, 100}, RGB(255, 0, 0));
    TheForm.AddDirtyRect(10, 10, 20, 20);

    HANDLE taken = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        if (WaitForSingleObject(GameLock, 2000) != WAIT_OBJECT_0)
            return;
        SetEvent(taken);
        WaitForSingleObject(release, 20000);
        ReleaseMutex(GameLock);
    });
    ASSERT_EQ(WaitForSingleObject(taken, 5000), WAIT_OBJECT_0);
    auto start = std::chrono::steady_clock::now();
    TheForm.FlushDirtyRect();
    auto waited = std::chrono::steady_clock::now() - start;
    SetEvent(release);
    holder.join();
    CloseHandle(taken);
    CloseHandle(release);

    EXPECT_GE(waited, std::chrono::milliseconds(4900));
    EXPECT_TRUE(TheForm.DirtyRect == (TRect{10, 10, 20, 20}));
    EXPECT_EQ(Snapshot(TheForm.ScreenDC, 15, 15, 1, 1), TPixels{Black});
    TheForm.FlushDirtyRect(); // free again: the area goes out now
    EXPECT_EQ(Snapshot(TheForm.ScreenDC, 15, 15, 1, 1), TPixels{Red});
}

TEST_F(Form, WithoutTheTextureTheBackgroundIsPlain) {
    Settings.Palette = 1;
    Bind(300, 200);
    EXPECT_EQ(TheForm.Texture, nullptr);
    Paint(TheForm.BackDC, TRect{0, 0, 300, 200}, RGB(0, 0, 0));
    TheForm.FillBackground();
    EXPECT_TRUE(TheForm.DirtyRect == (TRect{0, 0, 300, 200}));
    EXPECT_EQ(TheForm.PanelPen, nullptr);
    EXPECT_EQ(TheForm.PanelBrush, nullptr);
    TPixels back = Snapshot(TheForm.BackDC, 0, 0, 300, 200);
    ASSERT_EQ(back.size(), 300u * 200u);
    uint32_t blue = Word(TColour{20, 193, 255});
    for (size_t i = 0; i < back.size(); ++i)
        ASSERT_EQ(back[i], blue) << "pixel " << i;
}

// The bulk transfer must give exactly what single-pixel writes would:
// Ramp[HeightMap(x, y)] at every one of the texture's pixels.
TEST_F(Form, TextureHoldsTheRampColourOfEveryHeight) {
    Settings.ShowBkgr = true;
    Bind(320, 240);
    ASSERT_NE(TheForm.Texture, nullptr);
    SIZE size = BitmapSize(TheForm.Texture);
    EXPECT_EQ(size.cx, TextureWidth);
    EXPECT_EQ(size.cy, TextureHeight);
    EXPECT_EQ(Ramp, BuildRamp(0));

    HDC dc = CreateCompatibleDC(TheForm.ScreenDC);
    HGDIOBJ previous = SelectObject(dc, TheForm.Texture);
    TPixels texture = Snapshot(dc, 0, 0, TextureWidth, TextureHeight);
    SelectObject(dc, previous);
    DeleteDC(dc);
    ASSERT_EQ(texture.size(), size_t(TextureWidth * TextureHeight));
    int mismatches = 0;
    for (int32_t y = 0; y < TextureHeight; ++y)
        for (int32_t x = 0; x < TextureWidth; ++x)
            if (texture[y * TextureWidth + x] != Word(Ramp[HeightAt(x, y)]) && ++mismatches <= 5)
                ADD_FAILURE() << "pixel " << x << ", " << y;
    EXPECT_EQ(mismatches, 0);
    EXPECT_NE(texture.front(), texture[200 * TextureWidth + 160]); // not a flat fill
}

// A client of exactly the texture's size receives it unstretched; a larger
// one keeps its corners.
TEST_F(Form, TheTextureIsStretchedOverTheWholeBackBuffer) {
    Settings.ShowBkgr = true;
    Bind(TextureWidth, TextureHeight);
    TheForm.FillBackground();
    EXPECT_TRUE(TheForm.DirtyRect == (TRect{0, 0, TextureWidth, TextureHeight}));
    TPixels back = Snapshot(TheForm.BackDC, 0, 0, TextureWidth, TextureHeight);
    ASSERT_EQ(back.size(), size_t(TextureWidth * TextureHeight));
    for (int32_t y = 0; y < TextureHeight; ++y)
        for (int32_t x = 0; x < TextureWidth; ++x)
            ASSERT_EQ(back[y * TextureWidth + x], Word(Ramp[HeightAt(x, y)])) << x << ", " << y;

    TheForm.DirtyRect = TRect{};
    Bind(1024, 768);
    TheForm.FillBackground();
    EXPECT_TRUE(TheForm.DirtyRect == (TRect{0, 0, 1024, 768}));
    EXPECT_EQ(Snapshot(TheForm.BackDC, 0, 0, 1, 1), TPixels{Word(Ramp[HeightAt(0, 0)])});
    EXPECT_EQ(Snapshot(TheForm.BackDC, 1023, 767, 1, 1), TPixels{Word(Ramp[HeightAt(399, 319)])});
}

// No window context or back buffer: the program ends with status 1.
TEST_F(Form, NoWindowContextEndsTheProgram) {
    HWND bogus = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x7ffe));
    EXPECT_EXIT(TheForm.SetWindow(bogus), ::testing::ExitedWithCode(1), "");
}
