// The form and its information panel on real windows, pixels read back.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <thread>
#include <vector>

#include "driver/win32/Locks.h"
#include "game/Stakko.h"
#include "render/Panel.h"
#include "render/Texture.h"
#include "render/win32/Form.h"
#include "saver/Settings.h"
#include "tests/win32/TestWindow.h"

namespace {
const auto Ref = [](const TColour &c) { return RGB(c.R, c.G, c.B); };
const COLORREF Red = RGB(255, 0, 0), Blue = RGB(0, 0, 255);

void Paint(HDC dc, const TRect &r, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    RECT rect{r.Left, r.Top, r.Right, r.Bottom};
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

// The pixels of r that have the colour or, with same false, lack it.
int Count(HDC dc, const TRect &r, COLORREF colour, bool same = true) {
    int count = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            count += (GetPixel(dc, x, y) == colour) == same;
    return count;
}

class Form : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CreateSyncObjects());
        Settings = TSettings{};
        Settings.Palette = 0;
        Settings.ShowBkgr = false;
        RunMode = Saver;
    }
    void TearDown() override {
        TheForm.SetWindow(nullptr);
        for (HWND window : Windows)
            DestroyWindow(window);
        test::PumpMessages();
    }
    void Bind(int width, int height) {
        Windows.push_back(test::MakePopup("StakkoFormTest", width, height));
        ASSERT_NE(Windows.back(), nullptr);
        test::PumpMessages();
        TheForm.SetWindow(Windows.back());
        ASSERT_NE(TheForm.BackDC, nullptr);
    }
    HDC ScreenInBack() {
        BitBlt(TheForm.BackDC, 0, 0, TheForm.ClientWidth, TheForm.ClientHeight, TheForm.ScreenDC, 0,
               0, SRCCOPY);
        return TheForm.BackDC;
    }
    // Expects the box's frame bands in their colours; returns the frame's area.
    int ExpectFramed(const TRect &box) {
        for (const TPanelFill &fill : PanelFills(box))
            for (int32_t i = 0; fill.Colour != BackColour && i < fill.Count; ++i)
                EXPECT_EQ(Count(TheForm.BackDC, fill.Rects[i], Ref(Colours[fill.Colour])),
                          fill.Rects[i].Width() * fill.Rects[i].Height())
                    << "box at " << box.Left << "," << box.Top;
        const TRect r = PanelDirtyRect(box); // the frame is 2 pixels around it
        return (r.Width() + 4) * (r.Height() + 4) - r.Width() * r.Height();
    }

    TStakko Game;
    TForm TheForm{Game};
    std::vector<HWND> Windows;
};
} // namespace

TEST_F(Form, SetWindowBindsTheGameAndReleasesEverything) {
    TForm unbound(Game);
    unbound.SetWindow(nullptr); // nothing was ever set: nothing to release
    unbound.ClearScreen();
    EXPECT_TRUE(unbound.Window == nullptr && unbound.DirtyRect.IsEmpty());
    Settings.Palette = 2;
    Settings.ShowBkgr = true;
    Bind(640, 480);
    Bind(1024, 768); // replaces the first window
    EXPECT_TRUE(Game.ScreenDC == TheForm.ScreenDC && Game.BackDC == TheForm.BackDC);
    EXPECT_TRUE(Game.SavedScreenState > 0 && Game.SavedBackState > 0);
    EXPECT_TRUE(Game.GlassRect == (TRect{316, 52, 707, 715}));
    EXPECT_EQ(Colours[BackColour], (TColour{0, 186, 155})); // the chosen palette
    BITMAP back{};
    ASSERT_TRUE(GetObjectA(TheForm.BackBitmap, sizeof back, &back));
    EXPECT_TRUE(back.bmWidth == 1024 && back.bmHeight == 768);
    EXPECT_EQ(GetCurrentObject(TheForm.BackDC, OBJ_BITMAP), TheForm.BackBitmap);

    const HGDIOBJ held[] = {TheForm.BackDC, TheForm.BackBitmap, TheForm.Texture};
    TheForm.SetWindow(nullptr);
    for (HGDIOBJ object : held)
        EXPECT_EQ(GetObjectType(object), 0u) << "still alive";
    EXPECT_TRUE(!TheForm.Window && !TheForm.ScreenDC && !TheForm.BackDC && !TheForm.Texture);
    EXPECT_TRUE(!Game.ScreenDC && !Game.BackDC && !Game.SavedScreenState && !Game.SavedBackState);
}

TEST_F(Form, TinyWindowsSetUpWithTheSmallestGlass) {
    for (SIZE size : {SIZE{1, 1}, SIZE{10, 30}}) {
        SCOPED_TRACE(size.cx);
        Bind(size.cx, size.cy);
        EXPECT_TRUE(Game.Width == 11 && Game.Height == 27 && Game.GlassRect == TheForm.GlassArea);
        TheForm.ClearScreen();
        EXPECT_TRUE(TheForm.DirtyRect.IsEmpty() && Game.DirtyRect.IsEmpty());
    }
}

TEST_F(Form, DirtyRectanglesUniteAndOnlyTheyAreCopied) {
    Bind(200, 100);
    Paint(TheForm.ScreenDC, TRect{0, 0, 200, 100}, RGB(0, 0, 0));
    Paint(TheForm.BackDC, TRect{0, 0, 200, 100}, Red);
    TheForm.AddDirtyRect(0, 0, 0, 0);
    EXPECT_TRUE(TheForm.DirtyRect.IsEmpty());
    TheForm.AddDirtyRect(10, 10, 20, 20);
    EXPECT_TRUE(TheForm.DirtyRect == (TRect{10, 10, 20, 20}));
    TheForm.AddDirtyRect(TRect{30, 5, 40, 15});
    TheForm.AddDirtyRect(0, 0, 0, 0);
    EXPECT_TRUE(TheForm.DirtyRect == (TRect{10, 5, 40, 20}));
    TheForm.FlushDirtyRect();
    EXPECT_TRUE(TheForm.DirtyRect.IsEmpty());
    EXPECT_EQ(Count(ScreenInBack(), TRect{10, 5, 40, 20}, Red), 30 * 15);
    Paint(TheForm.BackDC, TRect{0, 0, 200, 100}, Blue);
    TheForm.FlushDirtyRect(); // nothing dirty: nothing copied
    EXPECT_EQ(Count(ScreenInBack(), TRect{0, 0, 200, 100}, Red), 30 * 15);

    // Publishing unites the game's dirty area into the form's and flushes the union.
    Paint(TheForm.BackDC, TRect{0, 0, 200, 100}, Blue);
    TheForm.AddDirtyRect(0, 0, 2, 2);
    Game.DirtyRect = TRect{50, 40, 60, 45};
    TLockGuard held(GameLock); // as the driver holds it; the flush takes it again
    TheForm.Publish();
    EXPECT_TRUE(Game.DirtyRect.IsEmpty() && TheForm.DirtyRect.IsEmpty());
    EXPECT_EQ(Count(ScreenInBack(), TRect{0, 0, 200, 100}, Blue), 60 * 45);
}

// Another thread holds GameLock past the limit: the flush gives up after
// about 5 s and keeps the dirty area for the next flush.
TEST_F(Form, FlushGivesUpWhenTheLockStaysTaken) {
    Bind(200, 100);
    Paint(TheForm.ScreenDC, TRect{0, 0, 200, 100}, RGB(0, 0, 0));
    Paint(TheForm.BackDC, TRect{0, 0, 200, 100}, Red);
    TheForm.AddDirtyRect(10, 10, 20, 20);
    HANDLE taken = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        TLockGuard held(GameLock);
        SetEvent(taken);
        WaitForSingleObject(release, 20000);
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
    EXPECT_EQ(GetPixel(TheForm.ScreenDC, 15, 15), RGB(0, 0, 0));
    TheForm.FlushDirtyRect(); // free again: the area goes out now
    EXPECT_EQ(GetPixel(TheForm.ScreenDC, 15, 15), Red);
}

TEST_F(Form, NoWindowContextEndsTheProgram) {
    HWND bogus = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x7ffe));
    EXPECT_EXIT(TheForm.SetWindow(bogus), ::testing::ExitedWithCode(1), "");
}

TEST_F(Form, FullSizeTextureAndRedraw) {
    Settings.ShowBkgr = true;
    Game.Score = 1234;
    Bind(1024, 768);
    ASSERT_NE(TheForm.Texture, nullptr);
    EXPECT_EQ(Ramp, BuildRamp(0));
    HDC texture = CreateCompatibleDC(TheForm.ScreenDC);
    HGDIOBJ previous = SelectObject(texture, TheForm.Texture);
    int mismatches = 0;
    for (int32_t y = 0; y < TextureHeight; ++y)
        for (int32_t x = 0; x < TextureWidth; ++x)
            mismatches += GetPixel(texture, x, y) != Ref(Ramp[HeightAt(x, y)]);
    SelectObject(texture, previous);
    DeleteDC(texture);
    EXPECT_EQ(mismatches, 0);

    TheForm.ClearScreen();
    EXPECT_TRUE(TheForm.DirtyRect.IsEmpty() && Game.DirtyRect.IsEmpty()) << "all flushed";
    HDC dc = TheForm.BackDC;
    const COLORREF back = Ref(Colours[BackColour]);
    // The texture is stretched over the whole window.
    EXPECT_EQ(GetPixel(dc, 0, 0), Ref(Ramp[HeightAt(0, 0)]));
    EXPECT_EQ(GetPixel(dc, 1023, 767), Ref(Ramp[HeightAt(399, 319)]));
    // The glass panel (310, 36, 714, 733) is filled where the cells, outlines
    // included, do not reach.
    for (TRect r : {TRect{310, 36, 714, 52}, TRect{310, 716, 714, 733}, TRect{310, 36, 316, 733},
                    TRect{708, 36, 714, 733}})
        EXPECT_EQ(Count(dc, r, back, false), 0) << r.Left << "," << r.Top;
    for (TRect box : {TRect{312, 38, 712, 731}, TheForm.ScoreBox, TheForm.LinesBox, TheForm.TimeBox,
                      TheForm.BestBox})
        ExpectFramed(box);
    // Just outside the frame (308, 34, 716, 735) the texture shows.
    for (POINT p : {POINT{307, 400}, POINT{716, 400}, POINT{500, 33}, POINT{500, 735}}) {
        COLORREF c = GetPixel(dc, p.x, p.y);
        EXPECT_TRUE(c != Ref(Colours[ShadowColour]) && c != Ref(Colours[LightColour]) && c != back)
            << p.x << "," << p.y;
    }
    EXPECT_GT(Count(dc, TRect{792, 218, 942, 250}, Ref(Colours[ValueColour])), 20); // "1234"
    TheForm.ShowTime();
    EXPECT_TRUE(TheForm.DirtyRect == (TRect{790, 507, 944, 561})) << "the time box only";
}

// Preview with ShowInfo on leaves empty frames; ShowInfo off leaves the glass alone.
TEST_F(Form, PreviewAndShowInfoOffLeaveOut) {
    for (bool preview : {true, false}) {
        SCOPED_TRACE(preview);
        RunMode = preview ? Preview : Saver;
        Settings.ShowInfo = preview;
        Settings.Score1 = 999;
        Game.Score = 888;
        Bind(1024, 768);
        EXPECT_EQ(TheForm.Texture, nullptr) << "ShowBkgr off: a plain background";
        TheForm.ClearScreen();
        ExpectFramed(TRect{312, 38, 712, 731});
        int frames = 0;
        for (TRect box : {TheForm.ScoreBox, TheForm.LinesBox, TheForm.TimeBox, TheForm.BestBox})
            frames += preview ? ExpectFramed(box) : 0;
        const COLORREF back = Ref(Colours[BackColour]);
        EXPECT_EQ(Count(TheForm.BackDC, TRect{0, 0, 308, 768}, back, false) +
                      Count(TheForm.BackDC, TRect{716, 0, 1024, 768}, back, false),
                  frames)
            << "no text, no other box";
        TheForm.ShowTime();
        TheForm.ShowScore();
        TheForm.ShowBestScores();
        EXPECT_EQ(TheForm.DirtyRect.IsEmpty(), !preview);
    }
}
