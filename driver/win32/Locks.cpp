#include "driver/win32/Locks.h"

#include "game/Ticks.h"

HANDLE GameLock = nullptr;
HANDLE AutoLock = nullptr;
HANDLE StopEvent = nullptr;

bool AutoPlay = true;
uint32_t LastKeyTime = 0;

namespace {

// Makes the object only where none exists yet, so that a second call
// neither leaks nor replaces handles that the threads already use.
bool EnsureCreated(HANDLE &handle, HANDLE (*create)()) {
    if (!handle)
        handle = create();
    return handle != nullptr;
}

HANDLE NewMutex() {
    return CreateMutexA(nullptr, FALSE, nullptr);
}

HANDLE NewManualResetEvent() {
    return CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

void CloseAndForget(HANDLE &handle) {
    if (handle)
        CloseHandle(handle);
    handle = nullptr;
}

// A mutex left behind by an ended thread is ours all the same.
bool WaitOwns(DWORD result) { return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED; }

} // namespace

bool CreateSyncObjects() {
    bool gameLock = EnsureCreated(GameLock, NewMutex);
    bool autoLock = EnsureCreated(AutoLock, NewMutex);
    bool stopEvent = EnsureCreated(StopEvent, NewManualResetEvent);
    return gameLock && autoLock && stopEvent;
}

void CloseSyncObjects() {
    CloseAndForget(GameLock);
    CloseAndForget(AutoLock);
    CloseAndForget(StopEvent);
}

// Only a time-out skips the section. Any other outcome, a failed wait
// included, lets it run, so a saver whose mutex could not be made still
// plays; only a wait that took the mutex is paired with a release.
TLockGuard::TLockGuard(HANDLE lock, DWORD timeout) : Lock(lock) {
    DWORD result = WaitForSingleObject(lock, timeout);
    Held = result != WAIT_TIMEOUT;
    Owned = WaitOwns(result);
}

TLockGuard::~TLockGuard() {
    if (Owned)
        ReleaseMutex(Lock);
}

bool StopRequested() {
    return WaitForSingleObject(StopEvent, 0) != WAIT_TIMEOUT;
}

void SetAutoPlay(bool on) {
    TLockGuard guard(AutoLock);
    if (!guard.Obtained())
        return;
    AutoPlay = on;
    if (!on)
        LastKeyTime = CurrentTicks();
}

bool IsAutoPlay() {
    TLockGuard guard(AutoLock);
    if (!guard.Obtained())
        return false;
    if (!AutoPlay && ManualHoldOver(CurrentTicks(), LastKeyTime))
        AutoPlay = true;
    return AutoPlay;
}
