// The information panel drawn into a real back buffer: a 1024 x 768 popup,
// the form bound to it, pixels read back with GetPixel.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <functional>
#include <thread>

#include "driver/win32/Locks.h"
#include "game/Stakko.h"
#include "render/Colours.h"
#include "render/Panel.h"
#include "render/win32/Form.h"
#include "saver/Settings.h"
#include "tests/win32/TestWindow.h"

namespace {
HWND MakeTestWindow(int width, int height) {
    return test::MakePopup("StakkoInfoPanelTest", width, height, false);
}

constexpr int ClientW = 1024;
constexpr int ClientH = 768;

// The worked example's boxes for 1024 x 768.
const TRect ScoreBox1024{792, 209, 942, 259};
const TRect LinesBox1024{792, 359, 942, 409};
const TRect TimeBox1024{792, 509, 942, 559};
const TRect BestBox1024{56, 339, 256, 429};
const TRect GlassReach{308, 34, 716, 735};

COLORREF Ref(TColourIndex i) {
    return RGB(Colours[i].R, Colours[i].G, Colours[i].B);
}

// Counts the pixels of r for which the test holds.
int CountPixels(HDC dc, const TRect &r, const std::function<bool(COLORREF)> &test) {
    int count = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            if (test(GetPixel(dc, x, y)))
                ++count;
    return count;
}

int CountColour(HDC dc, const TRect &r, COLORREF c) {
    return CountPixels(dc, r, [c](COLORREF p) { return p == c; });
}

int CountOther(HDC dc, const TRect &r, COLORREF c) {
    return CountPixels(dc, r, [c](COLORREF p) { return p != c; });
}

int Area(const TRect &r) {
    return r.Width() * r.Height();
}

// The smallest rectangle around the pixels of colour c inside r; empty if none.
TRect BoundsOf(HDC dc, const TRect &r, COLORREF c) {
    TRect bounds;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            if (GetPixel(dc, x, y) == c)
                bounds = UniteRects(bounds, TRect{x, y, x + 1, y + 1});
    return bounds;
}

class InfoPanel : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CreateSyncObjects());
        Settings = TSettings{};
        Settings.Palette = 0;
        Settings.ShowBkgr = false;
        Settings.ShowInfo = true;
        Settings.Time = ClockRunTime;
        RunMode = Saver;
        StartTime = static_cast<int64_t>(time(nullptr));
        Window = MakeTestWindow(ClientW, ClientH);
        ASSERT_NE(Window, nullptr);
    }
    void TearDown() override {
        Form.SetWindow(nullptr);
        if (Window)
            DestroyWindow(Window);
    }

    void Bind() {
        Form.SetWindow(Window);
        ASSERT_NE(Form.BackDC, nullptr);
        ASSERT_EQ(Form.ScoreBox, ScoreBox1024);
    }

    // Paints the whole back buffer one colour, to see what an operation covers.
    void PaintBackBuffer(COLORREF c) {
        HBRUSH brush = CreateSolidBrush(c);
        RECT all{0, 0, ClientW, ClientH};
        FillRect(Form.BackDC, &all, brush);
        DeleteObject(brush);
    }

    // The framed box's bands in their colours, and its grown fill.
    void ExpectFramed(const TRect &box) {
        HDC dc = Form.BackDC;
        for (const TPanelFill &fill : PanelFills(box))
            for (int32_t i = 0; i < fill.Count; ++i) {
                const TRect &band = fill.Rects[i];
                if (fill.Colour == BackColour)
                    continue; // the fill may hold text
                EXPECT_EQ(CountColour(dc, band, Ref(fill.Colour)), Area(band))
                    << "band " << band.Left << "," << band.Top << " of box " << box.Left << ","
                    << box.Top;
            }
    }

    TStakko Game;
    TForm Form{Game};
    HWND Window = nullptr;
};
} // namespace

TEST_F(InfoPanel, GlassPanelFillAndFrameOverTheTexture) {
    Settings.ShowBkgr = true;
    Bind();
    Form.ClearScreen();
    HDC dc = Form.BackDC;
    const COLORREF back = Ref(BackColour);
    // The fill is BackColour wherever the glass cells do not reach; their
    // outlines include the pixel on the glass's right and bottom edge.
    const TRect cells{316, 52, 708, 716};
    EXPECT_EQ(CountOther(dc, TRect{310, 36, 714, cells.Top}, back), 0);
    EXPECT_EQ(CountOther(dc, TRect{310, cells.Bottom, 714, 733}, back), 0);
    EXPECT_EQ(CountOther(dc, TRect{310, 36, cells.Left, 733}, back), 0);
    EXPECT_EQ(CountOther(dc, TRect{cells.Right, 36, 714, 733}, back), 0);
    ExpectFramed(TRect{312, 38, 712, 731});
    // Dark above and left, light below and right, two pixels each.
    EXPECT_EQ(GetPixel(dc, 308, 34), Ref(ShadowColour));
    EXPECT_EQ(GetPixel(dc, 309, 734), Ref(ShadowColour));
    EXPECT_EQ(GetPixel(dc, 715, 35), Ref(ShadowColour));
    EXPECT_EQ(GetPixel(dc, 715, 734), Ref(LightColour));
    EXPECT_EQ(GetPixel(dc, 714, 400), Ref(LightColour));
    EXPECT_EQ(GetPixel(dc, 500, 733), Ref(LightColour));
    // Just outside the frame the texture shows: neither band colour.
    for (POINT p : {POINT{307, 400}, POINT{716, 400}, POINT{500, 33}, POINT{500, 735}}) {
        COLORREF c = GetPixel(dc, p.x, p.y);
        EXPECT_NE(c, Ref(ShadowColour)) << p.x << "," << p.y;
        EXPECT_NE(c, Ref(LightColour)) << p.x << "," << p.y;
        EXPECT_NE(c, back) << p.x << "," << p.y;
    }
    // The whole picture went to the window.
    EXPECT_TRUE(Form.DirtyRect.IsEmpty());
    EXPECT_TRUE(Game.DirtyRect.IsEmpty());
}

TEST_F(InfoPanel, SaverModeFramesEveryBoxAndWritesTheValues) {
    Game.Score = 1234;
    Bind();
    Form.ClearScreen();
    HDC dc = Form.BackDC;
    for (const TRect &box : {ScoreBox1024, LinesBox1024, TimeBox1024, BestBox1024})
        ExpectFramed(box);
    const COLORREF value = Ref(ValueColour);
    const TRect scoreText{792, 218, 942, 250};
    EXPECT_GT(CountColour(dc, scoreText, value), 20);
    // Centred in the box: the ink's middle lies near the box's middle.
    TRect ink = BoundsOf(dc, PanelDirtyRect(ScoreBox1024), value);
    EXPECT_NEAR((ink.Left + ink.Right) / 2.0, 867, 6);
    EXPECT_GE(ink.Top, scoreText.Top);
    EXPECT_LE(ink.Bottom, scoreText.Bottom);
    EXPECT_GT(ink.Width(), 20);                                       // four digits, not one
    EXPECT_GT(CountColour(dc, TRect{792, 368, 942, 400}, value), 5);  // lines: "0"
    EXPECT_GT(CountColour(dc, TRect{792, 518, 942, 550}, value), 20); // "00:00:00"
}

TEST_F(InfoPanel, LeftColumnTextsStayInTheirBands) {
    Bind();
    Form.ClearScreen();
    HDC dc = Form.BackDC;
    const COLORREF back = Ref(BackColour);
    // Logo words, one per band of two lines, centred on the left column.
    const TRect bands[3] = {{0, 159, 312, 219}, {0, 219, 312, 279}, {0, 279, 312, 339}};
    for (const TRect &band : bands) {
        TRect ink = BoundsOf(dc, band, Ref(LogoColour));
        ASSERT_FALSE(ink.IsEmpty()) << band.Top;
        EXPECT_NEAR((ink.Left + ink.Right) / 2.0, 156, 8) << band.Top;
        EXPECT_LT(ink.Top, band.Top + 15) << "text at the top of its band";
    }
    // The web address under the best scores, centred the same way.
    TRect link = BoundsOf(dc, TRect{0, 459, 312, 489}, Ref(LinkColour));
    ASSERT_FALSE(link.IsEmpty());
    EXPECT_NEAR((link.Left + link.Right) / 2.0, 156, 8);
    // Nothing else in the left column: above the logo, between the box and
    // the address, below the address.
    EXPECT_EQ(CountOther(dc, TRect{0, 0, 306, 159}, back), 0);
    EXPECT_EQ(CountOther(dc, TRect{0, 433, 306, 459}, back), 0);
    EXPECT_EQ(CountOther(dc, TRect{0, 489, 306, ClientH}, back), 0);
    // Best scores: one line per LineUnit, from the box's left edge.
    for (int i = 0; i < 3; ++i) {
        TRect row{56, 339 + 30 * i, 256, 369 + 30 * i};
        TRect ink = BoundsOf(dc, row, Ref(ValueColour));
        ASSERT_FALSE(ink.IsEmpty()) << i;
        EXPECT_LT(ink.Left, 56 + 40) << i;
    }
}

TEST_F(InfoPanel, LabelsSitHalfABoxAboveTheirBoxes) {
    Bind();
    Form.ClearScreen();
    HDC dc = Form.BackDC;
    for (int top : {184, 334, 484}) {
        TRect ink = BoundsOf(dc, TRect{760, top - 20, 1000, top + 25}, Ref(LogoColour));
        ASSERT_FALSE(ink.IsEmpty()) << top;
        EXPECT_GE(ink.Left, 792) << top;
        EXPECT_LT(ink.Left, 792 + 8) << top;
        EXPECT_GE(ink.Top, top) << top;
        EXPECT_LE(ink.Bottom, top + 24) << top;
    }
}

TEST_F(InfoPanel, BestScoresAreSortedAndLeftSorted) {
    Settings.Score1 = 10;
    Settings.Score2 = 30;
    Settings.Score3 = 20;
    Bind();
    Form.ClearScreen();
    EXPECT_EQ(Settings.Score1, 30);
    EXPECT_EQ(Settings.Score2, 20);
    EXPECT_EQ(Settings.Score3, 10);
}

TEST_F(InfoPanel, PreviewDrawsEmptyFramesAndNoText) {
    RunMode = Preview;
    Game.Score = 888;
    Settings.Score1 = 999;
    Bind();
    Form.ClearScreen();
    HDC dc = Form.BackDC;
    const COLORREF back = Ref(BackColour);
    for (const TRect &box : {ScoreBox1024, LinesBox1024, TimeBox1024, BestBox1024}) {
        ExpectFramed(box);
        EXPECT_EQ(CountOther(dc, PanelDirtyRect(box), back), 0) << box.Left << "," << box.Top;
    }
    // No logo, address or labels: the left column and the label rows are plain.
    EXPECT_EQ(CountOther(dc, TRect{0, 0, 306, 335}, back), 0);
    EXPECT_EQ(CountOther(dc, TRect{0, 433, 306, ClientH}, back), 0);
    EXPECT_EQ(CountOther(dc, TRect{720, 170, 1024, 205}, back), 0);
}

TEST_F(InfoPanel, ShowInfoOffLeavesOnlyTheFramedGlass) {
    for (TRunMode mode : {Saver, Preview}) {
        RunMode = mode;
        Settings.ShowInfo = false;
        Bind();
        Form.ClearScreen();
        HDC dc = Form.BackDC;
        ExpectFramed(TRect{312, 38, 712, 731});
        // Outside the glass frame every pixel is the plain background.
        const COLORREF back = Ref(BackColour);
        EXPECT_EQ(CountOther(dc, TRect{0, 0, GlassReach.Left, ClientH}, back), 0) << mode;
        EXPECT_EQ(CountOther(dc, TRect{GlassReach.Right, 0, ClientW, ClientH}, back), 0) << mode;
        Form.SetWindow(nullptr);
    }
}

TEST_F(InfoPanel, ShowTimeRepaintsOnlyTheTimeBox) {
    Bind();
    const COLORREF marker = RGB(255, 0, 255);
    PaintBackBuffer(marker);
    Form.DirtyRect = TRect{};
    Form.ShowTime();
    HDC dc = Form.BackDC;
    ExpectFramed(TimeBox1024);
    EXPECT_GT(CountColour(dc, TRect{792, 518, 942, 550}, Ref(ValueColour)), 20);
    const TRect reach{786, 503, 948, 565};
    EXPECT_EQ(CountOther(dc, TRect{0, 0, ClientW, reach.Top}, marker), 0);
    EXPECT_EQ(CountOther(dc, TRect{0, reach.Bottom, ClientW, ClientH}, marker), 0);
    EXPECT_EQ(CountOther(dc, TRect{0, reach.Top, reach.Left, reach.Bottom}, marker), 0);
    // Only the box grown by 2 is reported, and nothing is flushed.
    EXPECT_EQ(Form.DirtyRect, (TRect{790, 507, 944, 561}));
}

TEST_F(InfoPanel, SingleItemsDoNothingWithShowInfoOff) {
    Bind();
    const COLORREF marker = RGB(255, 0, 255);
    PaintBackBuffer(marker);
    Form.DirtyRect = TRect{};
    Settings.ShowInfo = false;
    Form.ShowTime();
    Form.ShowScore();
    Form.ShowBestScores();
    Form.ShowNumber(5, ScoreBox1024);
    Form.DrawPanel(LinesBox1024);
    EXPECT_EQ(CountOther(Form.BackDC, TRect{700, 150, 1024, 600}, marker), 0);
    EXPECT_EQ(CountOther(Form.BackDC, TRect{40, 320, 280, 450}, marker), 0);
    EXPECT_TRUE(Form.DirtyRect.IsEmpty());
}

TEST_F(InfoPanel, WithoutAWindowNothingIsDrawnOrMarked) {
    Form.ClearScreen();
    Form.ShowScore();
    Form.ShowTime();
    Form.ShowBestScores();
    Form.DrawPanel(ScoreBox1024);
    EXPECT_TRUE(Form.DirtyRect.IsEmpty());
}

TEST_F(InfoPanel, ClearScreenWaitsForTheGameLock) {
    Bind();
    const COLORREF marker = RGB(255, 0, 255);
    PaintBackBuffer(marker);
    HANDLE taken = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        WaitForSingleObject(GameLock, 1000);
        SetEvent(taken);
        Sleep(300);
        ReleaseMutex(GameLock);
    });
    WaitForSingleObject(taken, 5000);
    auto start = std::chrono::steady_clock::now();
    Form.ClearScreen();
    auto waited = std::chrono::steady_clock::now() - start;
    holder.join();
    CloseHandle(taken);
    EXPECT_GE(waited, std::chrono::milliseconds(250));
    EXPECT_LT(waited, std::chrono::milliseconds(4000));
    EXPECT_EQ(GetPixel(Form.BackDC, 310, 36), Ref(BackColour)); // drawn once the lock came
}
