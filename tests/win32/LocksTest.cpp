// The shared locks, the stop signal and the automatic/manual switch, with
// real Win32 objects and real threads.
#include "driver/win32/Locks.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

#include "game/Ticks.h"

namespace {

std::atomic<uint32_t> FakeNow{0};
uint32_t FakeTicks() {
    return FakeNow.load();
}

bool WaitObtained(DWORD result) {
    return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

// Whether a thread other than the caller could take the mutex right now.
bool OtherThreadTakes(HANDLE lock) {
    bool taken = false;
    std::thread probe([&] {
        taken = WaitObtained(WaitForSingleObject(lock, 0));
        if (taken)
            ReleaseMutex(lock);
    });
    probe.join();
    return taken;
}

// Another thread that owns the given mutexes until told to let them go (or
// until a bound runs out, so that a test with a lock that never times out
// fails instead of hanging).
class TLockHolder {
public:
    explicit TLockHolder(std::vector<HANDLE> locks)
        : Taken(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
          Done(CreateEventA(nullptr, TRUE, FALSE, nullptr)), Thread([this, locks] {
              for (HANDLE lock : locks)
                  WaitForSingleObject(lock, 1000);
              SetEvent(Taken);
              WaitForSingleObject(Done, 20000);
              for (HANDLE lock : locks)
                  ReleaseMutex(lock);
          }) {
        WaitForSingleObject(Taken, 5000);
    }
    ~TLockHolder() {
        Release();
        CloseHandle(Taken);
        CloseHandle(Done);
    }
    void Release() {
        SetEvent(Done);
        if (Thread.joinable())
            Thread.join();
    }

private:
    HANDLE Taken;
    HANDLE Done;
    std::thread Thread;
};

using Clock = std::chrono::steady_clock;

long MillisecondsSince(Clock::time_point start) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

class LocksTest : public ::testing::Test {
protected:
    void SetUp() override {
        CloseSyncObjects();
        ASSERT_TRUE(CreateSyncObjects());
        AutoPlay = true;
        LastKeyTime = 0;
        FakeNow = 0;
        SetTickSource(FakeTicks);
    }
    void TearDown() override {
        SetTickSource(nullptr);
        CloseSyncObjects();
    }
};

TEST_F(LocksTest, PlayerReturnsOnlyAfterMoreThan1500msSinceTheKey) {
    FakeNow = 10000;
    SetAutoPlay(false);
    EXPECT_FALSE(AutoPlay);
    EXPECT_EQ(LastKeyTime, 10000u);

    FakeNow = 11500;
    EXPECT_FALSE(IsAutoPlay());
    FakeNow = 11501;
    EXPECT_TRUE(IsAutoPlay());
    EXPECT_TRUE(AutoPlay);

    // Switching back on by hand keeps the time of the last key.
    FakeNow = 20000;
    SetAutoPlay(false);
    FakeNow = 20100;
    SetAutoPlay(true);
    EXPECT_TRUE(IsAutoPlay());
    EXPECT_EQ(LastKeyTime, 20000u);
}

TEST_F(LocksTest, KeysASecondApartKeepPlayManual) {
    uint32_t key = 5000;
    for (int i = 0; i < 5; ++i, key += 1000) {
        FakeNow = key;
        SetAutoPlay(false);
        FakeNow = key + 999;
        EXPECT_FALSE(IsAutoPlay()) << "key " << i;
    }
    key -= 1000;
    FakeNow = key + 1500;
    EXPECT_FALSE(IsAutoPlay());
    FakeNow = key + 1501;
    EXPECT_TRUE(IsAutoPlay());
}

TEST_F(LocksTest, HoldIsMeasuredAcrossTheTickCounterWrap) {
    FakeNow = 0xFFFFFF00u; // 256 ms before the wrap
    SetAutoPlay(false);
    FakeNow = 0;
    EXPECT_FALSE(IsAutoPlay());
    FakeNow = 1244; // 1500 ms after the key
    EXPECT_FALSE(IsAutoPlay());
    FakeNow = 1245;
    EXPECT_TRUE(IsAutoPlay());
}

TEST_F(LocksTest, OwnerReentersAndEachGuardPairsItsOwnRelease) {
    {
        TLockGuard outer(GameLock, 0);
        ASSERT_TRUE(outer.Obtained());
        {
            TLockGuard inner(GameLock, 0);
            EXPECT_TRUE(inner.Obtained());
            EXPECT_FALSE(OtherThreadTakes(GameLock));
        }
        EXPECT_FALSE(OtherThreadTakes(GameLock)) << "the inner guard let the outer one's hold go";
    }
    EXPECT_TRUE(OtherThreadTakes(GameLock));

    try {
        TLockGuard guard(GameLock, 0);
        ASSERT_TRUE(guard.Obtained());
        throw std::runtime_error("leaves the section");
    } catch (const std::runtime_error &) {
    }
    EXPECT_TRUE(OtherThreadTakes(GameLock));
}

TEST_F(LocksTest, MutexLeftByAnEndedThreadCountsAsObtained) {
    DWORD ownerWait = WAIT_FAILED;
    std::thread([&] { ownerWait = WaitForSingleObject(GameLock, 1000); }).join();
    ASSERT_EQ(ownerWait, WAIT_OBJECT_0);

    {
        TLockGuard guard(GameLock, 1000);
        EXPECT_TRUE(guard.Obtained());
        EXPECT_FALSE(OtherThreadTakes(GameLock));
    }
    EXPECT_TRUE(OtherThreadTakes(GameLock));
}

// The one slow case: both locks held by another thread past LockTimeout.
TEST_F(LocksTest, SectionsThatWaitPastTheLimitAreSkipped) {
    FakeNow = 42000;
    LastKeyTime = 123;
    TLockHolder holder({GameLock, AutoLock});

    bool obtained = true, sectionRan = false, autoAnswer = true;
    long guardWait = 0, setWait = 0, askWait = 0;
    std::thread guardThread([&] {
        auto start = Clock::now();
        TLockGuard guard(GameLock);
        guardWait = MillisecondsSince(start);
        obtained = guard.Obtained();
        if (obtained)
            sectionRan = true;
    });
    std::thread setThread([&] {
        auto start = Clock::now();
        SetAutoPlay(false);
        setWait = MillisecondsSince(start);
    });
    std::thread askThread([&] {
        auto start = Clock::now();
        autoAnswer = IsAutoPlay();
        askWait = MillisecondsSince(start);
    });
    guardThread.join();
    setThread.join();
    askThread.join();

    EXPECT_FALSE(obtained);
    EXPECT_FALSE(sectionRan);
    EXPECT_TRUE(AutoPlay) << "SetAutoPlay changed the switch without AutoLock";
    EXPECT_EQ(LastKeyTime, 123u);
    EXPECT_FALSE(autoAnswer) << "a step without AutoLock is a manual one";
    for (long waited : {guardWait, setWait, askWait}) {
        EXPECT_GE(waited, 4900);
        EXPECT_LT(waited, 15000);
    }

    // The guards that gave up did not disturb the holder.
    EXPECT_FALSE(OtherThreadTakes(GameLock));
    holder.Release();
    EXPECT_TRUE(OtherThreadTakes(GameLock));
    EXPECT_TRUE(OtherThreadTakes(AutoLock));
}

TEST_F(LocksTest, StopRequestedIsFalseUntilSetAndThenTrueForEver) {
    EXPECT_FALSE(StopRequested());
    EXPECT_FALSE(StopRequested());
    SetEvent(StopEvent);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(StopRequested());
    bool seenByOtherThread = false;
    std::thread([&] { seenByOtherThread = StopRequested(); }).join();
    EXPECT_TRUE(seenByOtherThread);
}

TEST_F(LocksTest, FailedWaitOnStopEventCountsAsStop) {
    HANDLE event = StopEvent;
    StopEvent = nullptr;
    EXPECT_TRUE(StopRequested());

    HANDLE closed = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    CloseHandle(closed);
    StopEvent = closed;
    EXPECT_TRUE(StopRequested());
    StopEvent = event;
}

// Only a time-out skips a section: without its mutex the game still plays.
TEST_F(LocksTest, FailedLockWaitCountsAsObtained) {
    HANDLE closed = CreateMutexA(nullptr, FALSE, nullptr);
    CloseHandle(closed);
    EXPECT_TRUE(TLockGuard(closed, 0).Obtained());

    CloseSyncObjects();
    EXPECT_TRUE(TLockGuard(GameLock, 0).Obtained());
    FakeNow = 900;
    SetAutoPlay(false);
    EXPECT_FALSE(AutoPlay);
    EXPECT_EQ(LastKeyTime, 900u);
    FakeNow = 900 + 1501;
    EXPECT_TRUE(IsAutoPlay());
    EXPECT_TRUE(StopRequested());
}

TEST_F(LocksTest, CreateAndCloseAreIdempotent) {
    HANDLE objects[] = {GameLock, AutoLock, StopEvent};
    for (HANDLE object : objects)
        ASSERT_NE(object, nullptr);
    EXPECT_NE(GameLock, AutoLock);

    ASSERT_TRUE(CreateSyncObjects());
    EXPECT_EQ(GameLock, objects[0]);
    EXPECT_EQ(AutoLock, objects[1]);
    EXPECT_EQ(StopEvent, objects[2]);
    // Made free and unset.
    EXPECT_TRUE(OtherThreadTakes(GameLock));
    EXPECT_TRUE(OtherThreadTakes(AutoLock));
    EXPECT_FALSE(StopRequested());

    CloseSyncObjects();
    EXPECT_EQ(GameLock, nullptr);
    EXPECT_EQ(AutoLock, nullptr);
    EXPECT_EQ(StopEvent, nullptr);
    for (HANDLE object : objects)
        EXPECT_EQ(WaitForSingleObject(object, 0), WAIT_FAILED) << "handle left open";
    CloseSyncObjects();

    ASSERT_TRUE(CreateSyncObjects());
    EXPECT_TRUE(OtherThreadTakes(GameLock));
    EXPECT_FALSE(StopRequested());
}

} // namespace
