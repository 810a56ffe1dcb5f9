#include "driver/win32/Locks.h"

// Only a time-out skips the section. Any other outcome, a failed wait
// included, lets it run, so a saver whose mutex could not be made still
// plays; only a wait that took the mutex (or one left behind by an ended
// thread) is paired with a release.
TLockGuard::TLockGuard(HANDLE lock, DWORD timeout) : Lock(lock) {
    DWORD result = WaitForSingleObject(lock, timeout);
    Held = result != WAIT_TIMEOUT;
    Owned = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

TLockGuard::~TLockGuard() {
    if (Owned)
        ReleaseMutex(Lock);
}

bool StopRequested(HANDLE stopEvent) {
    return WaitForSingleObject(stopEvent, 0) != WAIT_TIMEOUT;
}
