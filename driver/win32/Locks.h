#pragma once
#include <windows.h>

#include <cstdint>

#include "driver/Timing.h"

// What the window thread and the game thread share: two re-entrant locks,
// the stop signal, and the switch between automatic and manual play.

extern HANDLE GameLock;  // the game object, all drawing, the form's DirtyRect, Score3
extern HANDLE AutoLock;  // AutoPlay and LastKeyTime
extern HANDLE StopEvent; // manual reset; once set, never reset

extern bool AutoPlay;         // true at start
extern uint32_t LastKeyTime;  // tick count of the last manual-control key

// Creates GameLock, AutoLock and StopEvent in that order, each only if it
// does not exist yet; false if any of them could not be made.
bool CreateSyncObjects();
// Closes the three objects (each only if it exists) and nulls the handles.
void CloseSyncObjects();

// One lock section: waits at most the timeout, and only a time-out skips the
// section (an abandoned mutex or a failed wait count as obtained); releases
// on every way out, and only if the wait took the mutex.
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

// True once StopEvent is set, and when the wait on it fails.
bool StopRequested();

// Only ManualKey calls it, with false: the game turns manual from now.
void SetAutoPlay(bool on);

// Before every step: false while the keys have not rested for more than
// ManualHoldTime, and when AutoLock cannot be had.
bool IsAutoPlay();
