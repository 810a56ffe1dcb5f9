#pragma once
#include <windows.h>

// The locks' one rule: wait at most LockTimeout; only a time-out skips the
// section (an abandoned mutex or a failed wait count as obtained); release
// on every way out, and only if the wait took the mutex. Both locks are
// re-entrant for the thread that holds them.
constexpr DWORD LockTimeout = 5000;

class TLockGuard {
public:
    explicit TLockGuard(HANDLE lock, DWORD timeout = LockTimeout);
    ~TLockGuard();
    TLockGuard(const TLockGuard &) = delete;
    TLockGuard &operator=(const TLockGuard &) = delete;
    bool Obtained() const { return Held; }

private:
    HANDLE Lock;
    bool Held = false;  // the section may run
    bool Owned = false; // the wait took the mutex and must release it
};

// True once the manual-reset stop event is set, and when the wait on it fails.
bool StopRequested(HANDLE stopEvent);
