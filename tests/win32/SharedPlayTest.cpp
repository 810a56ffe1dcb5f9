// What the two threads share, on real threads, mutexes and windows: the
// game thread's end, the stop signal, and the lock rules.
#include "driver/win32/SharedPlay.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "tests/win32/TestSupport.h"

namespace {

// Whether a thread other than the caller could take the mutex right now.
bool OtherThreadTakes(HANDLE lock) {
    DWORD result = WAIT_FAILED;
    std::thread([&] {
        result = WaitForSingleObject(lock, 0);
        ReleaseMutex(lock);
    }).join();
    return result == WAIT_OBJECT_0;
}

bool DestroyPosted(HWND window) {
    MSG msg;
    return PeekMessageA(&msg, window, WM_DESTROY, WM_DESTROY, PM_REMOVE) != 0;
}

class SharedPlay : public ::testing::Test {
protected:
    void SetUp() override {
        window = test::MakePopup("StakkoSharedTest", 320, 240);
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(shared.Made());
        shared.SetWindow(window);
    }
    void TearDown() override {
        shared.SetWindow(nullptr);
        DestroyWindow(window);
        test::PumpMessages();
    }
    // Stops the thread; how long it took to end, or 99999 if it did not.
    DWORD StopAndJoin(HANDLE thread) {
        DWORD start = GetTickCount();
        shared.Stop();
        bool ended = WaitForGameThread(thread, 10000);
        DWORD took = GetTickCount() - start;
        CloseHandle(thread);
        return ended ? took : 99999;
    }

    TSystemClock clock;
    TPlayLoop loop{TSessionOptions{}, TLook{}, clock.Now(), clock};
    const TPlaySession &session = loop.Session();
    TSharedPlay shared{loop};
    HWND window = nullptr;
};

// A stop during play ends the step's wait at once; the closing section
// runs, the thread tells the window and ends.
TEST_F(SharedPlay, AStopEndsTheGameThreadAndTellsTheWindow) {
    HANDLE thread = StartGameThread(shared);
    ASSERT_NE(thread, nullptr);
    Sleep(1200); // the first picture, StepTime, then play
    EXPECT_GT(session.Game().FigY, 0) << "the figure falls";
    EXPECT_LT(StopAndJoin(thread), 1000u);
    EXPECT_TRUE(DestroyPosted(window));
}

TEST_F(SharedPlay, AStopBeforeTheStartEndsTheThreadWithoutAStep) {
    shared.Stop();
    const int32_t y = session.Game().FigY;
    HANDLE thread = StartGameThread(shared);
    EXPECT_LT(StopAndJoin(thread), 300u);
    EXPECT_TRUE(DestroyPosted(window));
    EXPECT_EQ(session.Game().FigY, y);
    EXPECT_TRUE(shared.StopRequested());
}

// A key turns the game manual: the next step makes no plan, and the move
// is made at once.
TEST_F(SharedPlay, AKeyTakesOverFromTheAutomaticPlayer) {
    shared.Step(); // the first picture
    shared.Step(); // the opening
    const int32_t x = session.Game().FigX;
    shared.Key(TKeyAction::Left);
    EXPECT_EQ(session.Game().FigX, x - 1);
    EXPECT_FALSE(shared.Step().Step.Planned);
    TBestScores best;
    EXPECT_TRUE(shared.OfferScore(best));
}

TEST_F(SharedPlay, LocksAreReentrantAndAnAbandonedMutexIsTaken) {
    DWORD ownerWait = WAIT_FAILED;
    std::thread([&] { ownerWait = WaitForSingleObject(shared.GameLock, 1000); }).join();
    ASSERT_EQ(ownerWait, WAIT_OBJECT_0); // the thread ended owning it
    {
        TLockGuard outer(shared.GameLock, 1000);
        {
            TLockGuard inner(shared.GameLock, 0);
            EXPECT_TRUE(outer.Obtained() && inner.Obtained());
        }
        EXPECT_FALSE(OtherThreadTakes(shared.GameLock)) << "the inner guard let the hold go";
    }
    EXPECT_TRUE(OtherThreadTakes(shared.GameLock));
}

// Only a time-out skips a section; a wait that failed took nothing to release.
TEST_F(SharedPlay, AFailedWaitCountsAsObtainedWithoutARelease) {
    TLockGuard outer(shared.GameLock, 0);
    HANDLE noWait = nullptr; // may release the mutex but not wait on it
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), shared.GameLock, GetCurrentProcess(), &noWait,
                                MUTEX_MODIFY_STATE, FALSE, 0));
    ASSERT_EQ(WaitForSingleObject(noWait, 0), WAIT_FAILED) << "nothing to test";
    EXPECT_TRUE(TLockGuard(noWait, 0).Obtained());
    EXPECT_FALSE(OtherThreadTakes(shared.GameLock)) << "the failed wait released the owner's hold";
    CloseHandle(noWait);
    EXPECT_TRUE(TLockGuard(nullptr, 0).Obtained());
    EXPECT_TRUE(StopRequested(nullptr)) << "a failed wait on the stop signal means stop";
}

// The one slow case: this thread holds both locks past the limit (20 s at
// most). The game thread's step is dropped and it plays on later; a key
// neither turns the game manual nor moves; the clock, a paint and the
// save at the end skip.
TEST_F(SharedPlay, SectionsThatWaitPastTheLimitAreSkipped) {
    shared.Step(); // the first picture
    shared.Step(); // the opening
    const int32_t x = session.Game().FigX, y = session.Game().FigY;
    TLoopResult step; // a wait of 0
    bool offered = true;
    TBestScores best;
    std::atomic<int> finished{0};
    DWORD ends[5] = {}, start = GetTickCount();
    auto waiter = [&](int i, auto section) {
        return std::thread([&, i, section] {
            section();
            ends[i] = GetTickCount();
            ++finished;
        });
    };
    std::thread waiters[5];
    {
        TLockGuard game(shared.GameLock, 0), autoLock(shared.AutoLock, 0);
        waiters[0] = waiter(0, [&] { step = shared.Step(); });
        waiters[1] = waiter(1, [&] { shared.Key(TKeyAction::Left); });
        waiters[2] = waiter(2, [&] { shared.ClockTick(); });
        waiters[3] = waiter(3, [&] { shared.Repaint(); });
        waiters[4] = waiter(4, [&] { offered = shared.OfferScore(best); });
        while (finished < 5 && GetTickCount() - start < 20000)
            Sleep(10);
    }
    for (std::thread &w : waiters)
        w.join();
    for (DWORD end : ends)
        EXPECT_TRUE(end - start >= 4900 && end - start < 15000) << end - start << " ms";
    EXPECT_EQ(step.Wait, StepTime);
    EXPECT_FALSE(offered) << "the end of the run would save without the game's score";
    EXPECT_TRUE(session.Game().FigX == x && session.Game().FigY == y) << "nothing moved";
    EXPECT_EQ(shared.Step().Wait, 0u) << "the next step opens a new call";
    EXPECT_TRUE(shared.Step().Step.Planned) << "the key did not turn the game manual";
}

} // namespace
