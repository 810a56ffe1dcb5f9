// The game driver with the process's game object and form on a real popup:
// Run here or on a thread of its own, manual keys, the game thread's loop.
// The tick counter is a fake the tests move; every pause Run makes is kept.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <thread>
#include <tuple>
#include <vector>

#include "driver/win32/GameObjects.h"
#include "driver/win32/GameThread.h"
#include "driver/win32/Locks.h"
#include "driver/win32/ManualKey.h"
#include "driver/win32/PlayRoutine.h"
#include "game/Ticks.h"
#include "render/Colours.h"
#include "saver/Settings.h"
#include "tests/core/TestSupport.h"
#include "tests/win32/TestWindow.h"

namespace {
using Clock = std::chrono::steady_clock;
long MsSince(Clock::time_point start) {
    return long(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
}

bool Eventually(const std::function<bool()> &condition, long boundMs = 3000) {
    for (const Clock::time_point start = Clock::now(); !condition(); Sleep(2))
        if (MsSince(start) > boundMs)
            return false;
    return true;
}

constexpr uint32_t T0 = 0xFFFFFF00u; // 256 ms before the tick counter wraps
std::atomic<uint32_t> FakeNow{T0};
std::atomic<int> TickReads{0};
uint32_t FakeTicks() {
    ++TickReads;
    return FakeNow;
}
// The game thread has read the clock again: its loop has seen the clock as it is now.
bool WaitForTickReads() {
    const int target = TickReads + 6;
    return Eventually([&] { return TickReads >= target; });
}

// Only the game thread records; the first pause sets PauseSeen, then waits
// for PauseGo outside GameLock.
std::vector<uint32_t> Pauses;
HANDLE PauseSeen, PauseGo;
void RecordPause(uint32_t ms) {
    Pauses.push_back(ms);
    if (Pauses.size() == 1 && SetEvent(PauseSeen))
        WaitForSingleObject(PauseGo, 10000);
}
bool PauseReached() {
    return WaitForSingleObject(PauseSeen, 10000) == WAIT_OBJECT_0;
}

using TFigure = std::tuple<int32_t, int32_t, int32_t, test::Cells>; // kind, FigX, FigY, cells
TFigure FigureOf(const TStakko &s) {
    return TFigure{s.Kind, s.FigX, s.FigY, test::FigureCells(s)};
}
int32_t LockedFigY() {
    TLockGuard lock(GameLock);
    return Stakko.FigY;
}

// A copy of the game object's play state that draws nothing.
struct TTwin {
    TStakko Game;
    test::FixedKind Kinds;
    TTwin(const TStakko &from, int32_t kind) : Kinds{kind} {
        Game.SetKindSource(&test::FixedKind::Pick, &Kinds);
        Game.Width = from.Width;
        Game.Height = from.Height;
        Game.Kind = from.Kind;
        Game.FigX = from.FigX;
        Game.FigY = from.FigY;
        std::memcpy(Game.Glass, from.Glass, sizeof Game.Glass);
        std::memcpy(Game.CellX, from.CellX, sizeof Game.CellX);
        std::memcpy(Game.CellY, from.CellY, sizeof Game.CellY);
        Game.Drawing = true;
    }
};
void ExpectSameGame(const TStakko &expected) {
    EXPECT_EQ(std::memcmp(Stakko.Glass, expected.Glass, sizeof Stakko.Glass), 0);
    EXPECT_EQ(test::FilledCells(Stakko), test::FilledCells(expected));
    EXPECT_EQ(FigureOf(Stakko), FigureOf(expected));
}

// A plan played with the game's own moves in a step's order (shift, turn,
// fall): the number of the step that landed, or 0.
int PlayPlan(TStakko &s, const TPlacement &plan) {
    for (int step = 1; step <= 500; ++step) {
        if (step <= std::abs(plan.Shift))
            s.ShiftX(plan.Shift > 0 ? 1 : -1);
        if (step <= plan.Rotation)
            s.Rotate(1);
        if (s.ShiftY(1) == 0)
            return step;
    }
    return 0;
}
// 150 ms after each of the |shift| first steps, then 50; none after landing.
std::vector<uint32_t> PlanPauses(int steps, int32_t shift) {
    std::vector<uint32_t> pauses;
    for (int i = 0; i + 1 < steps; ++i)
        pauses.push_back(i < std::abs(shift) ? 150u : 50u);
    return pauses;
}

constexpr COLORREF Marker = RGB(1, 254, 3); // in no palette
void Paint(HDC dc, const TRect &r) {
    HBRUSH brush = CreateSolidBrush(Marker);
    RECT rect{r.Left, r.Top, r.Right, r.Bottom};
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}
COLORREF Fill() {
    return RGB(Colours[BackColour].R, Colours[BackColour].G, Colours[BackColour].B);
}
COLORREF ScoreBoxCorner(HDC dc = Form.BackDC) { // inside the box, clear of the number
    return GetPixel(dc, Form.ScoreBox.Left + 2, Form.ScoreBox.Top + 2);
}

DWORD WINAPI RunOnce(LPVOID) {
    ::Run(Form);
    return 0;
}

class Driver : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CreateSyncObjects());
        ResetEvent(StopEvent);
        RunMode = Saver;
        Settings = TSettings{};
        Settings.ShowBkgr = false;
        AutoPlay = true;
        LastKeyTime = 0;
        FakeNow = T0;
        SetTickSource(FakeTicks);
        Pauses.clear();
        PauseSeen = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        PauseGo = CreateEventA(nullptr, TRUE, TRUE, nullptr); // no hold unless reset
        SetPauseObserver(RecordPause);
        Stakko.SetKindSource(&test::FixedKind::Pick, &Kinds);
        ASSERT_NE(Window = test::MakePopup("StakkoDriverTest", 640, 480), nullptr);
        SaverWindow = Window;
        Form.SetWindow(Window);
        ASSERT_NE(Form.BackDC, nullptr);
        Form.ScreenReady = true; // the first call's drawing is done
        Form.Running = false;
        Stakko.NewGame();
        Stakko.NewFigure();
        Stakko.DirtyRect = TRect{};
        Kinds.Calls = 0;
        test::PumpMessages();
    }

    void TearDown() override {
        if (RunThread && !RunEnded(0)) { // stop a call that outlived its test
            SetEvent(StopEvent);
            SetEvent(PauseGo);
            EXPECT_TRUE(RunEnded(10000));
        }
        EXPECT_FALSE(Form.Running);
        if (RunThread)
            CloseHandle(RunThread);
        SetPauseObserver(nullptr);
        SetTickSource(nullptr);
        Form.SetWindow(nullptr);
        Stakko.SetKindSource(nullptr, nullptr);
        SaverWindow = nullptr;
        DestroyWindow(Window);
        test::PumpMessages();
        CloseHandle(PauseSeen);
        CloseHandle(PauseGo);
    }

    // Run(Form) on a thread of its own, as the game thread calls it.
    void StartRun() {
        if (RunThread)
            CloseHandle(RunThread);
        RunThread = CreateThread(nullptr, 0, RunOnce, nullptr, 0, nullptr);
    }
    bool RunEnded(DWORD ms) { return WaitForSingleObject(RunThread, ms) == WAIT_OBJECT_0; }

    // The WM_DESTROY messages queued for the window, taken out.
    int TakeDestroyMessages() {
        MSG msg;
        int count = 0;
        for (; PeekMessageA(&msg, Window, WM_DESTROY, WM_DESTROY, PM_REMOVE); ++count)
            EXPECT_TRUE(msg.wParam == 0 && msg.lParam == 0);
        return count;
    }

    test::FixedKind Kinds{2};
    HWND Window = nullptr;
    HANDLE RunThread = nullptr;
};

TEST_F(Driver, TheFirstCallOnlyDrawsTheScreenWithTheScoreAtZero) {
    Form.ScreenReady = false;
    Stakko.Score = 42;
    const TFigure figure = FigureOf(Stakko);
    Paint(Form.BackDC, Form.ClientRect);
    Paint(Form.ScreenDC, Form.ClientRect);

    ::Run(Form);

    EXPECT_EQ(Stakko.Score, 0);
    EXPECT_TRUE(Form.ScreenReady);
    EXPECT_EQ(FigureOf(Stakko), figure);
    EXPECT_EQ(Kinds.Calls, 0);
    EXPECT_TRUE(Pauses.empty());
    // The whole picture was drawn and reached the window.
    EXPECT_EQ(ScoreBoxCorner(Form.BackDC), Fill());
    EXPECT_EQ(ScoreBoxCorner(Form.ScreenDC), Fill());
    EXPECT_NE(GetPixel(Form.ScreenDC, Form.ClientWidth - 1, Form.ClientHeight - 1), Marker);
}

TEST_F(Driver, AFigurePlayedByRunLandsWhereItsPlanSendsItAtThePlansPace) {
    const TFigure figure = FigureOf(Stakko);
    const TPlacement plan = Stakko.SearchPlacement();
    const int picksPerSearch = Kinds.Calls; // its trial landings
    ASSERT_EQ(FigureOf(Stakko), figure);    // the search put the object back
    ASSERT_NE(plan.Shift, 0) << "the set-up should need sideways moves";
    ASSERT_NE(plan.Rotation, 0) << "the set-up should need turns";
    TTwin expected(Stakko, Kinds.Kind);
    const int steps = PlayPlan(expected.Game, plan);
    ASSERT_GT(steps, std::abs(plan.Shift));
    Paint(Form.BackDC, Form.ScoreBox);
    Kinds.Calls = 0;

    ::Run(Form);

    EXPECT_EQ(Kinds.Calls, picksPerSearch + 1); // one search per figure, then the next kind
    ExpectSameGame(expected.Game);
    EXPECT_EQ(Pauses, PlanPauses(steps, plan.Shift));
    EXPECT_EQ(ScoreBoxCorner(), Fill()); // the closing section drew the score
}

TEST_F(Driver, AFigureThatCannotFallEndsTheLoopInItsFirstStepWithoutAPause) {
    // A vertical bar on the floor, walled in on every side but column 0
    // (so no line is full): it can neither move, nor turn, nor fall.
    const int32_t h = Stakko.Height;
    test::PlaceFigure(Stakko, 0, Stakko.FigX, h - 3);
    const test::Cells bar = test::FigureCells(Stakko);
    for (int32_t column = 1; column < Stakko.Width; ++column)
        for (int32_t row = h - 12; row < h; ++row)
            if ((row - column) % 2 == 0)
                Stakko.SetCell(column, row, 1);
    for (const test::Cell &c : bar)
        Stakko.SetCell(c.first, c.second, 0);
    Paint(Form.BackDC, Form.ScoreBox);

    ::Run(Form);

    EXPECT_TRUE(Pauses.empty());
    for (const test::Cell &c : bar)
        EXPECT_EQ(Stakko.GetCell(c.first, c.second), 1) << c.first << ", " << c.second;
    EXPECT_EQ(Stakko.FigY, 0);
    EXPECT_EQ(Stakko.Score, 0);
    EXPECT_FALSE(Stakko.GameOver);
    EXPECT_EQ(ScoreBoxCorner(), Fill());
}

TEST_F(Driver, AfterAGameOverOnlyAGreaterScoreReplacesScore3AndANewGameKeepsTheFigure) {
    // Best scores 300, 200, 150, kept in descending order.
    const struct {
        int32_t Score;
        std::vector<int32_t> Best;
    } cases[] = {{151, {300, 200, 151}},
                 {150, {300, 200, 150}},
                 {149, {300, 200, 150}},
                 {400, {400, 300, 200}}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Score);
        ResetEvent(StopEvent);
        Settings.Score1 = 300;
        Settings.Score2 = 200;
        Settings.Score3 = 150;
        test::FillUpLine(Stakko, Stakko.Height - 1);
        Stakko.SetCell(0, Stakko.Height - 1, 0);
        Stakko.GameOver = true;
        Stakko.Score = c.Score;
        Stakko.Lines = 9;
        const TFigure figure = FigureOf(Stakko);
        SetAutoPlay(false); // with the clock standing still, nothing moves until the stop
        StartRun();
        ASSERT_TRUE(WaitForTickReads());
        SetEvent(StopEvent);
        ASSERT_TRUE(RunEnded(2000));
        EXPECT_EQ(std::vector<int32_t>({Settings.Score1, Settings.Score2, Settings.Score3}),
                  c.Best);
        EXPECT_FALSE(Stakko.GameOver);
        EXPECT_EQ(Stakko.Score, 0);
        EXPECT_EQ(Stakko.Lines, 0);
        EXPECT_TRUE(test::FilledCells(Stakko).empty());
        EXPECT_EQ(FigureOf(Stakko), figure);
        EXPECT_EQ(Kinds.Calls, 0);
    }
}

TEST_F(Driver, AStopDuringAPauseEndsThePauseTheLoopAndTheCall) {
    ResetEvent(PauseGo);
    Paint(Form.BackDC, Form.ScoreBox);
    StartRun();
    ASSERT_TRUE(PauseReached());
    const TFigure atPause = FigureOf(Stakko);
    SetEvent(StopEvent);
    Clock::time_point start = Clock::now();
    SetEvent(PauseGo);
    ASSERT_TRUE(RunEnded(2000));
    EXPECT_LT(MsSince(start), 500);
    EXPECT_EQ(Pauses.size(), 1u);
    EXPECT_EQ(FigureOf(Stakko), atPause); // no step after the stop
    EXPECT_TRUE(test::FilledCells(Stakko).empty());
    EXPECT_EQ(ScoreBoxCorner(), Fill()); // the closing section ran

    // A stop that comes while the pause waits.
    ResetEvent(StopEvent);
    std::thread stopper([] {
        Sleep(50);
        SetEvent(StopEvent);
    });
    start = Clock::now();
    Pause(Form, 5000);
    EXPECT_LT(MsSince(start), 1000);
    stopper.join();
}

TEST_F(Driver, ALockHeldPastTheLimitDropsTheRestOfTheCallAndTheNextCallPlaysOn) {
    Paint(Form.BackDC, Form.ScoreBox);
    ResetEvent(PauseGo);
    StartRun();
    ASSERT_TRUE(PauseReached());
    // This thread takes GameLock while the game thread pauses after its first step.
    const bool took = WaitForSingleObject(GameLock, 2000) == WAIT_OBJECT_0;
    EXPECT_TRUE(took) << "the pause must be made without GameLock";
    const TFigure atPause = FigureOf(Stakko);
    const Clock::time_point held = Clock::now();
    SetEvent(PauseGo);
    EXPECT_TRUE(RunEnded(9000));
    const long waited = MsSince(held);
    if (took)
        ReleaseMutex(GameLock);
    EXPECT_GE(waited, 4500);
    EXPECT_LT(waited, 8000);
    EXPECT_EQ(FigureOf(Stakko), atPause);
    EXPECT_TRUE(test::FilledCells(Stakko).empty());
    EXPECT_EQ(Pauses.size(), 1u);
    EXPECT_EQ(ScoreBoxCorner(), Marker); // no closing section

    ::Run(Form);

    EXPECT_EQ(test::FilledCells(Stakko).size(), 4u); // the figure played on and landed
    EXPECT_EQ(Stakko.FigY, 0);
    EXPECT_EQ(ScoreBoxCorner(), Fill());
}

TEST_F(Driver, UnderManualControlTheFigureFallsOneCellPerMoreThan500ms) {
    SetAutoPlay(false); // a key at T0
    StartRun();         // its figure loop begins at T0
    ASSERT_TRUE(WaitForTickReads());
    const int32_t y = LockedFigY();
    // The clock, and the row the figure is on once the game thread has seen it.
    const struct {
        uint32_t Now;
        int32_t Row;
    } rows[] = {{T0 + 500, y}, {T0 + 501, y + 2}, {T0 + 1001, y + 2}, {T0 + 1002, y + 4}};
    for (const auto &r : rows) {
        SCOPED_TRACE(r.Now - T0);
        const int32_t before = LockedFigY();
        FakeNow = r.Now;
        EXPECT_TRUE(r.Row == before || Eventually([&] { return LockedFigY() != before; }));
        ASSERT_TRUE(WaitForTickReads());
        EXPECT_EQ(LockedFigY(), r.Row);
    }
    SetEvent(StopEvent);
    EXPECT_TRUE(RunEnded(2000));
    EXPECT_TRUE(Pauses.empty()); // no automatic step
}

TEST_F(Driver, AfterAManualPhaseTheFirstAutomaticStepPlansFromWhereTheFigureIs) {
    ResetEvent(PauseGo);
    StartRun(); // an automatic first step, then it pauses
    ASSERT_TRUE(PauseReached());
    const TFigure afterFirstStep = FigureOf(Stakko);
    const uint32_t key = T0 + 100;
    FakeNow = key;
    ManualKey(Form, VK_LEFT);
    ASSERT_NE(FigureOf(Stakko), afterFirstStep) << "the key should move the figure";
    SetEvent(PauseGo);
    // A manual fall near the key, so that the automatic player's return
    // cannot be taken for another fall.
    const int32_t y = LockedFigY();
    FakeNow = key + 1200;
    ASSERT_TRUE(Eventually([&] { return LockedFigY() != y; }));
    TPlacement plan;
    std::unique_ptr<TTwin> expected;
    {
        TLockGuard lock(GameLock);
        ASSERT_TRUE(lock.Obtained());
        FakeNow = key + 1501;
        plan = Stakko.SearchPlacement();
        expected.reset(new TTwin(Stakko, Kinds.Kind));
    }
    const int steps = PlayPlan(expected->Game, plan);
    ASSERT_GT(steps, 0);

    ASSERT_TRUE(RunEnded(10000));
    ExpectSameGame(expected->Game);
    ASSERT_FALSE(Pauses.empty());
    Pauses.erase(Pauses.begin()); // the first plan's one step
    EXPECT_EQ(Pauses, PlanPauses(steps, plan.Shift));
}

TEST_F(Driver, EachGameKeyMakesItsMoveAndTurnsTheGameManualAndSpaceDrops) {
    const struct {
        UINT Key;
        void (*Move)(TStakko &);
    } cases[] = {{VK_LEFT, [](TStakko &s) { s.ShiftX(-1); }},
                 {VK_RIGHT, [](TStakko &s) { s.ShiftX(1); }},
                 {VK_UP, [](TStakko &s) { s.Rotate(1); }},
                 {VK_DOWN, [](TStakko &s) { s.ShiftY(1); }},
                 {VK_SPACE, [](TStakko &s) {
                      while (s.ShiftY(1) != 0) {
                      }
                  }}};
    for (int i = 0; i < 4; ++i) // room for every move
        Stakko.ShiftY(1);
    Paint(Form.BackDC, Form.ScoreBox);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Key);
        TTwin expected(Stakko, Kinds.Kind);
        c.Move(expected.Game);
        AutoPlay = true;
        FakeNow = FakeNow + 10;
        ManualKey(Form, c.Key);
        ExpectSameGame(expected.Game);
        EXPECT_FALSE(AutoPlay);
        EXPECT_EQ(LastKeyTime, FakeNow.load());
    }
    EXPECT_EQ(test::FilledCells(Stakko).size(), 4u); // the drop landed
    EXPECT_EQ(Kinds.Calls, 1);
    EXPECT_EQ(Stakko.Score, 0);
    EXPECT_EQ(ScoreBoxCorner(), Marker); // the score did not change: no redraw
}

TEST_F(Driver, TheScoreBoxIsRedrawnAfterAKeyThatChangedTheScore) {
    // A vertical bar dropped into the one gap of the bottom line clears it.
    test::PlaceFigure(Stakko, 0, Stakko.FigX, 0);
    test::FillUpLine(Stakko, Stakko.Height - 1);
    Stakko.SetCell(Stakko.FigX, Stakko.Height - 1, 0);
    Paint(Form.BackDC, Form.ScoreBox);
    ManualKey(Form, VK_SPACE);
    EXPECT_EQ(Stakko.Score, 1);
    EXPECT_EQ(Stakko.Lines, 1);
    EXPECT_EQ(ScoreBoxCorner(), Fill());
}

TEST_F(Driver, TheGameThreadTellsTheWindowAndEndsOnceTheStopIsSet) {
    const auto endsWell = [&](HANDLE thread, const Clock::time_point &since, long boundMs) {
        EXPECT_TRUE(WaitForGameThread(thread, 3000));
        EXPECT_LT(MsSince(since), boundMs);
        DWORD code = 1;
        EXPECT_TRUE(GetExitCodeThread(thread, &code) && code == 0);
        CloseHandle(thread);
        EXPECT_EQ(TakeDestroyMessages(), 1);
    };
    // Set before the thread starts: Run does nothing, and no StepTime wait.
    Form.ScreenReady = false;
    SetEvent(StopEvent);
    const Clock::time_point start = Clock::now();
    HANDLE thread = CreateThread(nullptr, 0, ThreadLoop, nullptr, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    endsWell(thread, start, 400);
    EXPECT_FALSE(Form.ScreenReady);

    // Set while it runs: it draws the screen, then ends at the stop.
    ResetEvent(StopEvent);
    ASSERT_NE(thread = StartGameThread(), nullptr);
    EXPECT_FALSE(WaitForGameThread(thread, 50));
    EXPECT_TRUE(Eventually([] {
        TLockGuard lock(GameLock);
        return Form.ScreenReady;
    }));
    EXPECT_EQ(TakeDestroyMessages(), 0);
    SetEvent(StopEvent);
    endsWell(thread, Clock::now(), 500);
    EXPECT_TRUE(WaitForGameThread(nullptr, 0)); // no thread to wait for
}

} // namespace
