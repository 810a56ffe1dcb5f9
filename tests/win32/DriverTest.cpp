// The game driver with the process's own game object and form bound to a
// real popup window: Run on this thread or on a thread of its own, manual
// keys, the game thread's loop. The tick counter is a fake one the tests
// move by hand, and every pause Run makes is recorded.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "driver/win32/GameObjects.h"
#include "driver/win32/GameThread.h"
#include "driver/win32/Locks.h"
#include "driver/win32/ManualKey.h"
#include "driver/win32/PlayRoutine.h"
#include "game/Stakko.h"
#include "game/Ticks.h"
#include "render/Colours.h"
#include "saver/Settings.h"
#include "tests/core/TestSupport.h"
#include "tests/win32/TestWindow.h"

namespace {
HWND MakeTestWindow(int width, int height) {
    return test::MakePopup("StakkoDriverTest", width, height);
}

using Clock = std::chrono::steady_clock;

long MillisecondsSince(Clock::time_point start) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

// Polls a condition every few milliseconds until it holds or the bound runs
// out; whether it held.
bool Eventually(const std::function<bool()> &condition, long boundMs = 3000) {
    Clock::time_point start = Clock::now();
    while (!condition()) {
        if (MillisecondsSince(start) > boundMs)
            return false;
        Sleep(2);
    }
    return true;
}

// The fake tick counter; every read is counted, so a test can tell that the
// game thread has taken further steps since it moved the clock.
std::atomic<uint32_t> FakeNow{0};
std::atomic<int> TickReads{0};
uint32_t FakeTicks() {
    ++TickReads;
    return FakeNow.load();
}

// Waits until the game thread has read the clock `more` times again: its
// figure loop is running and has seen the clock as it is now.
bool WaitForTickReads(int more) {
    const int target = TickReads.load() + more;
    return Eventually([&] { return TickReads.load() >= target; });
}

// The pause recorder. A test may have the first pause signal an event and
// then hold the game thread, outside GameLock, until the test lets it go.
std::mutex PauseMutex;
std::vector<uint32_t> Pauses;
HANDLE FirstPauseSeen = nullptr; // set at the first pause
HANDLE FirstPauseGo = nullptr;   // the first pause goes on once this is set

void RecordPause(uint32_t ms) {
    bool first;
    {
        std::lock_guard<std::mutex> lock(PauseMutex);
        Pauses.push_back(ms);
        first = Pauses.size() == 1;
    }
    if (!first)
        return;
    SetEvent(FirstPauseSeen);
    WaitForSingleObject(FirstPauseGo, 10000);
}

std::vector<uint32_t> RecordedPauses() {
    std::lock_guard<std::mutex> lock(PauseMutex);
    return Pauses;
}

// The figure in play.
struct TFigure {
    int32_t Kind, FigX, FigY;
    int32_t CellX[4], CellY[4];
    bool operator==(const TFigure &o) const {
        return Kind == o.Kind && FigX == o.FigX && FigY == o.FigY &&
               std::memcmp(CellX, o.CellX, sizeof CellX) == 0 &&
               std::memcmp(CellY, o.CellY, sizeof CellY) == 0;
    }
    bool operator!=(const TFigure &o) const { return !(*this == o); }
};

std::ostream &operator<<(std::ostream &out, const TFigure &f) {
    out << "kind " << f.Kind << " at (" << f.FigX << ", " << f.FigY << ") cells";
    for (int i = 0; i < 4; ++i)
        out << " (" << f.CellX[i] << ", " << f.CellY[i] << ")";
    return out;
}

TFigure FigureOf(const TStakko &s) {
    TFigure f{s.Kind, s.FigX, s.FigY, {}, {}};
    std::memcpy(f.CellX, s.CellX, sizeof f.CellX);
    std::memcpy(f.CellY, s.CellY, sizeof f.CellY);
    return f;
}

// Reads the game object's state from this thread while another may play.
template <typename T> T Locked(const std::function<T()> &read) {
    TLockGuard lock(GameLock);
    return read();
}

int32_t LockedFigY() {
    return Locked<int32_t>([] { return Stakko.FigY; });
}

// A second game object, drawing nothing, in the same state as the first.
void CopyGame(const TStakko &from, TStakko &to) {
    to.Width = from.Width;
    to.Height = from.Height;
    std::memcpy(to.Glass, from.Glass, sizeof to.Glass);
    to.Kind = from.Kind;
    to.FigX = from.FigX;
    to.FigY = from.FigY;
    std::memcpy(to.CellX, from.CellX, sizeof to.CellX);
    std::memcpy(to.CellY, from.CellY, sizeof to.CellY);
    to.Score = from.Score;
    to.Lines = from.Lines;
    to.GameOver = from.GameOver;
    to.Drawing = true;
}

// Carries a plan out with the game's own moves, in a step's order: one
// sideways move while due, one turn while due, one fall. The number of the
// step whose fall landed the figure, or 0 if it never landed.
int PlayPlan(TStakko &s, const TPlacement &plan) {
    const int shifts = std::abs(plan.Shift);
    for (int step = 1; step <= 500; ++step) {
        if (step <= shifts)
            s.ShiftX(plan.Shift > 0 ? 1 : -1);
        if (step <= plan.Rotation)
            s.Rotate(1);
        if (s.ShiftY(1) == 0)
            return step;
    }
    return 0;
}

// The pauses after the first steps - 1 steps of a plan: |d| of 150 ms, the
// rest 50 ms. The landing step has none.
std::vector<uint32_t> PlanPauses(int steps, int32_t shift) {
    std::vector<uint32_t> pauses;
    for (int i = 0; i + 1 < steps; ++i)
        pauses.push_back(i < std::abs(shift) ? 150u : 50u);
    return pauses;
}

bool SameGlass(const TStakko &a, const TStakko &b) {
    return std::memcmp(a.Glass, b.Glass, sizeof a.Glass) == 0;
}

// Run(Form) on a thread of its own, as the game thread calls it.
class TRunThread {
public:
    TRunThread() : Done(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
        Thread = std::thread([this] {
            ::Run(Form);
            SetEvent(Done);
        });
    }
    ~TRunThread() {
        // A call still under way is asked to stop; one that does not end in
        // time is left behind rather than hanging the test program.
        if (WaitForSingleObject(Done, 0) != WAIT_OBJECT_0) {
            SetEvent(StopEvent);
            SetEvent(FirstPauseGo);
        }
        if (WaitForSingleObject(Done, 10000) == WAIT_OBJECT_0)
            Thread.join();
        else
            Thread.detach();
        CloseHandle(Done);
    }
    bool Ended(DWORD timeoutMs) { return WaitForSingleObject(Done, timeoutMs) == WAIT_OBJECT_0; }

private:
    HANDLE Done;
    std::thread Thread;
};

// Paints into a device context; reads one pixel back as 0xRRGGBB.
void Paint(HDC dc, const TRect &r, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    RECT rect{r.Left, r.Top, r.Right, r.Bottom};
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

uint32_t PixelAt(HDC dc, int x, int y) {
    COLORREF c = GetPixel(dc, x, y);
    return (uint32_t{GetRValue(c)} << 16) | (uint32_t{GetGValue(c)} << 8) | GetBValue(c);
}

uint32_t Word(const TColour &c) {
    return (uint32_t{c.R} << 16) | (uint32_t{c.G} << 8) | c.B;
}

// A colour no palette uses, painted over a box to see whether it is redrawn.
constexpr COLORREF Marker = RGB(1, 254, 3);
constexpr uint32_t MarkerWord = 0x01fe03u;

// Inside the score box, clear of its centred number.
uint32_t ScoreBoxCorner(HDC dc) {
    return PixelAt(dc, Form.ScoreBox.Left + 2, Form.ScoreBox.Top + 2);
}

// WM_DESTROY messages waiting for the window, taken out of the queue.
int TakeDestroyMessages(HWND window) {
    int count = 0;
    MSG msg;
    while (PeekMessageA(&msg, window, WM_DESTROY, WM_DESTROY, PM_REMOVE)) {
        EXPECT_EQ(msg.wParam, 0u);
        EXPECT_EQ(msg.lParam, 0);
        ++count;
    }
    return count;
}

constexpr uint32_t T0 =
    0xFFFFFF00u; // the fake clock at the start of a test: 256 ms before it wraps

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
        {
            std::lock_guard<std::mutex> lock(PauseMutex);
            Pauses.clear();
        }
        FirstPauseSeen = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        FirstPauseGo = CreateEventA(nullptr, TRUE, TRUE, nullptr); // no hold unless asked
        SetPauseObserver(RecordPause);

        Kinds.Kind = 2;
        Stakko.SetKindSource(&test::FixedKind::Pick, &Kinds);
        Window = MakeTestWindow(640, 480);
        ASSERT_NE(Window, nullptr);
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
        SetEvent(FirstPauseGo);
        SetPauseObserver(nullptr);
        SetTickSource(nullptr);
        Form.SetWindow(nullptr);
        Stakko.SetKindSource(nullptr, nullptr);
        SaverWindow = nullptr;
        DestroyWindow(Window);
        test::PumpMessages();
        CloseHandle(FirstPauseSeen);
        CloseHandle(FirstPauseGo);
    }

    // The first pause will hold the game thread until ReleaseFirstPause.
    void HoldFirstPause() { ResetEvent(FirstPauseGo); }
    void ReleaseFirstPause() { SetEvent(FirstPauseGo); }
    bool FirstPauseReached() { return WaitForSingleObject(FirstPauseSeen, 10000) == WAIT_OBJECT_0; }

    void MarkScoreBox() { Paint(Form.BackDC, Form.ScoreBox, Marker); }

    test::FixedKind Kinds;
    HWND Window = nullptr;
};

TEST_F(Driver, TheFirstCallOnlyDrawsTheScreenWithTheScoreAtZero) {
    Form.ScreenReady = false;
    Stakko.Score = 42;
    const TFigure figure = FigureOf(Stakko);
    Paint(Form.BackDC, Form.ClientRect, Marker);
    Paint(Form.ScreenDC, Form.ClientRect, Marker);

    ::Run(Form);

    EXPECT_EQ(Stakko.Score, 0);
    EXPECT_TRUE(Form.ScreenReady);
    EXPECT_FALSE(Form.Running);
    EXPECT_EQ(FigureOf(Stakko), figure);
    EXPECT_EQ(Kinds.Calls, 0);
    EXPECT_TRUE(RecordedPauses().empty());
    // The whole picture was drawn and reached the window: the score box's
    // fill where the marker was.
    const uint32_t fill = Word(Colours[BackColour]);
    EXPECT_EQ(ScoreBoxCorner(Form.BackDC), fill);
    EXPECT_EQ(ScoreBoxCorner(Form.ScreenDC), fill);
    EXPECT_NE(PixelAt(Form.ScreenDC, Form.ClientWidth - 1, Form.ClientHeight - 1), MarkerWord);
}

TEST_F(Driver, AFigurePlayedByRunLandsWhereItsPlanSendsItAtThePlansPace) {
    const TFigure figure = FigureOf(Stakko);
    const int picksBeforeSearch = Kinds.Calls;
    const TPlacement plan = Stakko.SearchPlacement();
    const int picksPerSearch = Kinds.Calls - picksBeforeSearch; // its trial landings
    ASSERT_EQ(FigureOf(Stakko), figure);                        // the search put the object back
    ASSERT_NE(plan.Shift, 0) << "the set-up should need sideways moves";
    ASSERT_NE(plan.Rotation, 0) << "the set-up should need turns";

    TStakko expected;
    test::FixedKind expectedKinds{Kinds.Kind};
    expected.SetKindSource(&test::FixedKind::Pick, &expectedKinds);
    CopyGame(Stakko, expected);
    const int steps = PlayPlan(expected, plan);
    ASSERT_GT(steps, std::abs(plan.Shift));
    MarkScoreBox();
    const int picksBeforeRun = Kinds.Calls;

    ::Run(Form);

    // One search for the whole figure, then the next figure's kind.
    EXPECT_EQ(Kinds.Calls - picksBeforeRun, picksPerSearch + 1);
    EXPECT_TRUE(SameGlass(Stakko, expected));
    EXPECT_EQ(test::FilledCells(Stakko), test::FilledCells(expected));
    EXPECT_EQ(FigureOf(Stakko), FigureOf(expected)); // the next figure, at the top
    EXPECT_EQ(Stakko.FigY, 0);
    EXPECT_EQ(RecordedPauses(), PlanPauses(steps, plan.Shift));
    EXPECT_FALSE(Form.Running);
    // The closing section drew the score.
    EXPECT_EQ(ScoreBoxCorner(Form.BackDC), Word(Colours[BackColour]));
}

TEST_F(Driver, AFigureThatCannotFallEndsTheLoopInItsFirstStepWithoutAPause) {
    // A vertical bar standing on the floor, every cell around it filled
    // except column 0, which keeps any line from being full: it can neither
    // move, nor turn, nor fall.
    const int32_t h = Stakko.Height;
    test::PlaceFigure(Stakko, 0, Stakko.FigX, h - 3);
    const test::Cells bar = test::FigureCells(Stakko);
    for (int32_t column = 1; column < Stakko.Width; ++column)
        for (int32_t row = h - 12; row < h; ++row)
            if ((row - column) % 2 == 0)
                Stakko.SetCell(column, row, 1);
    for (const test::Cell &c : bar)
        Stakko.SetCell(c.first, c.second, 0);
    MarkScoreBox();

    ::Run(Form);

    EXPECT_TRUE(RecordedPauses().empty());
    EXPECT_FALSE(Form.Running);
    for (const test::Cell &c : bar)
        EXPECT_EQ(Stakko.GetCell(c.first, c.second), 1) << c.first << ", " << c.second;
    EXPECT_EQ(Stakko.FigY, 0);
    EXPECT_EQ(Stakko.Score, 0);
    EXPECT_FALSE(Stakko.GameOver);
    EXPECT_EQ(ScoreBoxCorner(Form.BackDC), Word(Colours[BackColour]));
}

TEST_F(Driver, AfterAGameOverOnlyAGreaterScoreReplacesScore3AndANewGameKeepsTheFigure) {
    // The best scores are 300, 200, 150; after the call they are shown, and
    // so kept, in descending order.
    struct TCase {
        int32_t Score;
        int32_t Best[3];
    };
    const TCase cases[] = {{151, {300, 200, 151}},
                           {150, {300, 200, 150}},
                           {149, {300, 200, 150}},
                           {400, {400, 300, 200}}};
    for (const TCase &c : cases) {
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
        // Manual play with the clock standing still: the figure loop that
        // follows the new game moves nothing until the stop.
        SetAutoPlay(false);
        {
            TRunThread run;
            ASSERT_TRUE(WaitForTickReads(6));
            SetEvent(StopEvent);
            ASSERT_TRUE(run.Ended(2000));
        }
        EXPECT_EQ(Settings.Score1, c.Best[0]);
        EXPECT_EQ(Settings.Score2, c.Best[1]);
        EXPECT_EQ(Settings.Score3, c.Best[2]);
        EXPECT_FALSE(Stakko.GameOver);
        EXPECT_EQ(Stakko.Score, 0);
        EXPECT_EQ(Stakko.Lines, 0);
        EXPECT_TRUE(test::FilledCells(Stakko).empty());
        EXPECT_EQ(FigureOf(Stakko), figure);
        EXPECT_EQ(Kinds.Calls, 0);
        EXPECT_FALSE(Form.Running);
    }
}

TEST_F(Driver, AStopDuringAPauseEndsThePauseTheLoopAndTheCall) {
    HoldFirstPause();
    TRunThread run;
    ASSERT_TRUE(FirstPauseReached());
    const TFigure atPause = FigureOf(Stakko); // the game thread waits outside GameLock
    SetEvent(StopEvent);
    const Clock::time_point stopped = Clock::now();
    ReleaseFirstPause();

    ASSERT_TRUE(run.Ended(2000));
    EXPECT_LT(MillisecondsSince(stopped), 500);
    EXPECT_EQ(RecordedPauses().size(), 1u);
    EXPECT_EQ(FigureOf(Stakko), atPause); // no step after the stop
    EXPECT_TRUE(test::FilledCells(Stakko).empty());
    EXPECT_FALSE(Form.Running);
}

TEST_F(Driver, APauseLastsItsTimeUnlessAStopComesFirst) {
    Clock::time_point start = Clock::now();
    Pause(Form, 120);
    EXPECT_GE(MillisecondsSince(start), 110);

    std::thread stopper([] {
        Sleep(50);
        SetEvent(StopEvent);
    });
    start = Clock::now();
    Pause(Form, 5000);
    const long paused = MillisecondsSince(start);
    stopper.join();
    EXPECT_LT(paused, 1000);

    start = Clock::now();
    Pause(Form, 5000); // the stop stays set
    EXPECT_LT(MillisecondsSince(start), 500);
}

TEST_F(Driver, ALockHeldPastTheLimitDropsTheRestOfTheCallAndTheNextCallPlaysOn) {
    MarkScoreBox();
    HANDLE holderReady = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE holderGo = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::atomic<bool> holderTook{false};
    // Another thread takes GameLock while the game thread pauses after its
    // first step, and keeps it past the limit.
    std::thread holder([&] {
        if (WaitForSingleObject(FirstPauseSeen, 10000) != WAIT_OBJECT_0)
            return;
        DWORD taken = WaitForSingleObject(GameLock, 2000);
        holderTook = taken == WAIT_OBJECT_0;
        SetEvent(holderReady);
        WaitForSingleObject(holderGo, 15000);
        if (holderTook)
            ReleaseMutex(GameLock);
    });
    HoldFirstPause();
    Clock::time_point held;
    {
        TRunThread run;
        ASSERT_TRUE(FirstPauseReached());
        EXPECT_EQ(WaitForSingleObject(holderReady, 5000), WAIT_OBJECT_0);
        EXPECT_TRUE(holderTook) << "the pause must be made without GameLock";
        const TFigure atPause = FigureOf(Stakko);
        held = Clock::now();
        ReleaseFirstPause();

        EXPECT_TRUE(run.Ended(9000));
        const long waited = MillisecondsSince(held);
        EXPECT_GE(waited, 4500);
        EXPECT_LT(waited, 8000);
        EXPECT_FALSE(Form.Running);
        EXPECT_EQ(FigureOf(Stakko), atPause);
        EXPECT_TRUE(test::FilledCells(Stakko).empty());
        EXPECT_EQ(RecordedPauses().size(), 1u);
        EXPECT_EQ(ScoreBoxCorner(Form.BackDC), MarkerWord); // no closing section
        SetEvent(holderGo);
    }
    holder.join();
    CloseHandle(holderReady);
    CloseHandle(holderGo);

    ::Run(Form);

    EXPECT_EQ(test::FilledCells(Stakko).size(), 4u); // the figure played on and landed
    EXPECT_EQ(Stakko.FigY, 0);
    EXPECT_EQ(ScoreBoxCorner(Form.BackDC), Word(Colours[BackColour]));
    EXPECT_FALSE(Form.Running);
}

TEST_F(Driver, UnderManualControlTheFigureFallsOneCellPerMoreThan500ms) {
    SetAutoPlay(false); // a key at T0
    TRunThread run;     // its figure loop begins at T0
    ASSERT_TRUE(WaitForTickReads(6));
    const int32_t y = LockedFigY();

    FakeNow = T0 + 500;
    ASSERT_TRUE(WaitForTickReads(6));
    EXPECT_EQ(LockedFigY(), y);

    FakeNow = T0 + 501;
    EXPECT_TRUE(Eventually([&] { return LockedFigY() != y; }));
    ASSERT_TRUE(WaitForTickReads(6));
    EXPECT_EQ(LockedFigY(), y + 2);

    FakeNow = T0 + 1001; // 500 since that fall
    ASSERT_TRUE(WaitForTickReads(6));
    EXPECT_EQ(LockedFigY(), y + 2);

    FakeNow = T0 + 1002;
    EXPECT_TRUE(Eventually([&] { return LockedFigY() != y + 2; }));
    ASSERT_TRUE(WaitForTickReads(6));
    EXPECT_EQ(LockedFigY(), y + 4);

    SetEvent(StopEvent);
    EXPECT_TRUE(run.Ended(2000));
    EXPECT_TRUE(RecordedPauses().empty()); // no automatic step
    EXPECT_FALSE(Form.Running);
}

TEST_F(Driver, AfterAManualPhaseTheFirstAutomaticStepPlansFromWhereTheFigureIs) {
    HoldFirstPause();
    TRunThread run; // an automatic first step, then it pauses
    ASSERT_TRUE(FirstPauseReached());
    const TFigure afterFirstStep = FigureOf(Stakko);

    const uint32_t key = T0 + 100;
    FakeNow = key;
    ManualKey(Form, VK_LEFT);
    ASSERT_NE(FigureOf(Stakko), afterFirstStep) << "the key should move the figure";
    ReleaseFirstPause();

    // A manual fall brings the last fall close enough to the key that the
    // return of the automatic player cannot be taken for another fall.
    const int32_t y = LockedFigY();
    FakeNow = key + 1200;
    ASSERT_TRUE(Eventually([&] { return LockedFigY() != y; }));

    TPlacement plan;
    TStakko expected;
    test::FixedKind expectedKinds{Kinds.Kind};
    expected.SetKindSource(&test::FixedKind::Pick, &expectedKinds);
    {
        TLockGuard lock(GameLock);
        ASSERT_TRUE(lock.Obtained());
        FakeNow = key + 1501;
        plan = Stakko.SearchPlacement();
        CopyGame(Stakko, expected);
    }
    const int steps = PlayPlan(expected, plan);
    ASSERT_GT(steps, 0);

    ASSERT_TRUE(run.Ended(10000));
    EXPECT_TRUE(SameGlass(Stakko, expected));
    EXPECT_EQ(test::FilledCells(Stakko), test::FilledCells(expected));
    EXPECT_EQ(FigureOf(Stakko), FigureOf(expected));
    std::vector<uint32_t> pauses = RecordedPauses();
    ASSERT_FALSE(pauses.empty());
    pauses.erase(pauses.begin()); // the first plan's one step
    EXPECT_EQ(pauses, PlanPauses(steps, plan.Shift));
}

TEST_F(Driver, EachGameKeyMakesItsOwnMoveOnceAndTurnsTheGameManual) {
    struct TCase {
        UINT Key;
        std::function<void(TStakko &)> Move;
    };
    const TCase cases[] = {
        {VK_LEFT, [](TStakko &s) { s.ShiftX(-1); }},
        {VK_RIGHT, [](TStakko &s) { s.ShiftX(1); }},
        {VK_UP, [](TStakko &s) { s.Rotate(1); }},
        {VK_DOWN, [](TStakko &s) { s.ShiftY(1); }},
    };
    // Start lower, so that every move has room and differs from the others.
    for (int i = 0; i < 4; ++i)
        Stakko.ShiftY(1);
    uint32_t now = T0;
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.Key);
        TStakko expected;
        CopyGame(Stakko, expected);
        c.Move(expected);
        AutoPlay = true;
        FakeNow = now += 10;
        ManualKey(Form, c.Key);
        EXPECT_EQ(FigureOf(Stakko), FigureOf(expected));
        EXPECT_FALSE(AutoPlay);
        EXPECT_EQ(LastKeyTime, now);
    }
}

TEST_F(Driver, SpaceDropsTheFigureAndTheNextComesIntoPlay) {
    TStakko expected;
    test::FixedKind expectedKinds{Kinds.Kind};
    expected.SetKindSource(&test::FixedKind::Pick, &expectedKinds);
    CopyGame(Stakko, expected);
    while (expected.ShiftY(1) != 0) {
    }

    ManualKey(Form, VK_SPACE);

    EXPECT_EQ(test::FilledCells(Stakko).size(), 4u);
    EXPECT_TRUE(SameGlass(Stakko, expected));
    EXPECT_EQ(Kinds.Calls, 1);
    EXPECT_EQ(Stakko.FigY, 0);
    EXPECT_FALSE(AutoPlay);
}

TEST_F(Driver, TheScoreBoxIsRedrawnAfterAKeyOnlyWhenTheScoreChanged) {
    // A drop that clears no line leaves the score box alone.
    MarkScoreBox();
    ManualKey(Form, VK_SPACE);
    EXPECT_EQ(Stakko.Score, 0);
    EXPECT_EQ(ScoreBoxCorner(Form.BackDC), MarkerWord);

    // A vertical bar dropped into the one gap of the bottom line clears it.
    Stakko.NewGame();
    test::PlaceFigure(Stakko, 0, Stakko.FigX, 0);
    test::FillUpLine(Stakko, Stakko.Height - 1);
    Stakko.SetCell(Stakko.FigX, Stakko.Height - 1, 0);
    MarkScoreBox();
    ManualKey(Form, VK_SPACE);
    EXPECT_EQ(Stakko.Score, 1);
    EXPECT_EQ(Stakko.Lines, 1);
    EXPECT_EQ(ScoreBoxCorner(Form.BackDC), Word(Colours[BackColour]));
}

TEST_F(Driver, KeysAfterTheGameEndedMoveNothingButStillTurnTheGameManual) {
    for (int i = 0; i < 3; ++i)
        Stakko.ShiftY(1);
    Stakko.GameOver = true;
    const TFigure figure = FigureOf(Stakko);
    uint32_t now = T0;
    for (UINT key : {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_SPACE}) {
        SCOPED_TRACE(key);
        AutoPlay = true;
        FakeNow = now += 10;
        ManualKey(Form, key);
        EXPECT_EQ(FigureOf(Stakko), figure);
        EXPECT_TRUE(test::FilledCells(Stakko).empty());
        EXPECT_FALSE(AutoPlay);
        EXPECT_EQ(LastKeyTime, now);
    }
    EXPECT_EQ(Kinds.Calls, 0);
    EXPECT_TRUE(Stakko.GameOver);
}

TEST_F(Driver, TheGameThreadTellsTheWindowAndEndsOnceTheStopIsSet) {
    // Already set when the thread starts: Run does nothing at all.
    Form.ScreenReady = false;
    SetEvent(StopEvent);
    const Clock::time_point start = Clock::now();
    HANDLE thread = CreateThread(nullptr, 0, ThreadLoop, nullptr, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(WaitForSingleObject(thread, 3000), WAIT_OBJECT_0);
    EXPECT_LT(MillisecondsSince(start), 400); // no StepTime wait
    DWORD code = 1;
    EXPECT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, 0u);
    CloseHandle(thread);
    EXPECT_EQ(TakeDestroyMessages(Window), 1);
    EXPECT_FALSE(Form.ScreenReady);

    // Set while it runs: it draws the screen first, then ends at the stop.
    ResetEvent(StopEvent);
    thread = StartGameThread();
    ASSERT_NE(thread, nullptr);
    EXPECT_FALSE(WaitForGameThread(thread, 50));
    EXPECT_TRUE(Eventually([] { return Locked<bool>([] { return Form.ScreenReady; }); }));
    EXPECT_EQ(TakeDestroyMessages(Window), 0);
    SetEvent(StopEvent);
    const Clock::time_point stopped = Clock::now();
    EXPECT_TRUE(WaitForGameThread(thread, 3000));
    EXPECT_LT(MillisecondsSince(stopped), 500);
    code = 1;
    EXPECT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, 0u);
    CloseHandle(thread);
    EXPECT_EQ(TakeDestroyMessages(Window), 1);
    EXPECT_FALSE(Form.Running);

    EXPECT_TRUE(WaitForGameThread(nullptr, 0)); // no thread to wait for
}

} // namespace
