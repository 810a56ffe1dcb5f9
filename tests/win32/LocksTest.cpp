// The shared locks, the stop signal and the automatic/manual switch, on real threads.
#include "driver/win32/Locks.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "game/Ticks.h"

namespace {

uint32_t FakeNow = 0;

// Whether a thread other than the caller could take the mutex right now.
bool OtherThreadTakes(HANDLE lock) {
    DWORD result = WAIT_FAILED;
    std::thread([&] {
        result = WaitForSingleObject(lock, 0);
        ReleaseMutex(lock);
    }).join();
    return result == WAIT_OBJECT_0;
}

class LocksTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CreateSyncObjects());
        AutoPlay = true;
        SetTickSource([] { return FakeNow; });
    }
    void TearDown() override {
        SetTickSource(nullptr);
        CloseSyncObjects();
    }
};

TEST_F(LocksTest, PlayerReturnsOnlyAfterMoreThan1500msSinceTheLastKey) {
    for (uint32_t key : {10000u, 0xFFFFFF00u}) { // the second wraps the tick counter
        SCOPED_TRACE(key);
        FakeNow = key - 1000; // an earlier key: only the last one counts
        SetAutoPlay(false);
        FakeNow = key;
        SetAutoPlay(false);
        FakeNow = key + 1500;
        EXPECT_FALSE(IsAutoPlay());
        FakeNow = key + 1501;
        EXPECT_TRUE(IsAutoPlay());
    }
}

TEST_F(LocksTest, OwnerReentersAndAnAbandonedMutexIsTakenAndReleased) {
    DWORD ownerWait = WAIT_FAILED;
    std::thread([&] { ownerWait = WaitForSingleObject(GameLock, 1000); }).join(); // ends owning it
    ASSERT_EQ(ownerWait, WAIT_OBJECT_0);
    {
        TLockGuard outer(GameLock, 1000);
        {
            TLockGuard inner(GameLock, 0);
            EXPECT_TRUE(outer.Obtained() && inner.Obtained());
        }
        EXPECT_FALSE(OtherThreadTakes(GameLock)) << "the inner guard let the outer one's hold go";
    }
    EXPECT_TRUE(OtherThreadTakes(GameLock));
}

// Only a time-out skips a section; a wait that failed took nothing to release.
TEST_F(LocksTest, FailedWaitCountsAsObtainedWithoutARelease) {
    TLockGuard outer(GameLock, 0);
    HANDLE noWait = nullptr; // may release the mutex but not wait on it
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), GameLock, GetCurrentProcess(), &noWait,
                                MUTEX_MODIFY_STATE, FALSE, 0));
    ASSERT_EQ(WaitForSingleObject(noWait, 0), WAIT_FAILED) << "nothing to test";
    EXPECT_TRUE(TLockGuard(noWait, 0).Obtained());
    EXPECT_FALSE(OtherThreadTakes(GameLock)) << "the failed wait released the owner's hold";
    CloseHandle(noWait);
    EXPECT_TRUE(TLockGuard(nullptr, 0).Obtained());
}

// The one slow case: this thread holds both locks past LockTimeout (20 s at most).
TEST_F(LocksTest, SectionsThatWaitPastTheLimitAreSkipped) {
    bool obtained = true, autoAnswer = true;
    std::atomic<int> finished{0};
    DWORD ends[3] = {}, start = GetTickCount();
    auto waiter = [&](int i, auto section) {
        return std::thread([&, i, section] {
            section();
            ends[i] = GetTickCount();
            ++finished;
        });
    };
    std::thread waiters[3];
    {
        TLockGuard game(GameLock, 0), autoLock(AutoLock, 0);
        waiters[0] = waiter(0, [&] { obtained = TLockGuard(GameLock).Obtained(); });
        waiters[1] = waiter(1, [] { SetAutoPlay(false); });
        waiters[2] = waiter(2, [&] { autoAnswer = IsAutoPlay(); });
        while (finished < 3 && GetTickCount() - start < 20000)
            Sleep(10);
    }
    for (std::thread &w : waiters)
        w.join();
    EXPECT_FALSE(obtained);
    EXPECT_TRUE(AutoPlay) << "SetAutoPlay changed the switch without AutoLock";
    EXPECT_FALSE(autoAnswer) << "a step without AutoLock is a manual one";
    for (DWORD end : ends)
        EXPECT_TRUE(end - start >= 4900 && end - start < 15000) << end - start << " ms";
}

TEST_F(LocksTest, StopRequestedIsFalseUntilSetAndThenTrueForEver) {
    EXPECT_FALSE(StopRequested());
    SetEvent(StopEvent);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(StopRequested());
    CloseSyncObjects();
    EXPECT_TRUE(StopRequested()) << "a failed wait means stop";
}

} // namespace
