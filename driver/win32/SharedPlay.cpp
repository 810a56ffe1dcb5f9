#include "driver/win32/SharedPlay.h"

#include <ctime>

#include "driver/win32/Locks.h"
#include "game/Trace.h"

namespace {
DWORD WINAPI ThreadLoop(LPVOID parameter) {
    TSharedPlay &shared = *static_cast<TSharedPlay *>(parameter);
    for (;;) {
        TLoopResult result;
        result.Wait = StepTime;
        try {
            result = shared.Step();
        } catch (...) {
            Trace("ThreadLoop");
        }
        if (result.Ended)
            break;
        WaitForSingleObject(shared.StopEvent, result.Wait);
    }
    PostMessageA(shared.Window, WM_DESTROY, 0, 0);
    return 0;
}
} // namespace

TNow TSystemClock::Now() {
    return TNow{GetTickCount(), static_cast<int64_t>(std::time(nullptr))};
}

TSharedPlay::TSharedPlay(TPlayLoop &loop)
    : Loop(loop), GameLock(CreateMutexA(nullptr, FALSE, nullptr)),
      AutoLock(CreateMutexA(nullptr, FALSE, nullptr)),
      StopEvent(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

TSharedPlay::~TSharedPlay() {
    for (HANDLE handle : {GameLock, AutoLock, StopEvent})
        if (handle)
            CloseHandle(handle);
}

// The lock stays held from frame to frame; a stop ends each frame's wait
// at once, so the rest is drawn without pause.
TLoopResult TSharedPlay::FlashToTheEnd(TLoopResult result) {
    while (result.Flashing) {
        WaitForSingleObject(StopEvent, result.Wait);
        result = Loop.NextFrame();
    }
    return result;
}

// Asked before GameLock is taken; without AutoLock the step is a manual one.
void TSharedPlay::AskControl(TControlInput &input) {
    TLockGuard lock(AutoLock);
    if (!lock.Obtained()) {
        input.Automatic = false;
        return;
    }
    const uint32_t now = GetTickCount();
    input.Automatic = Loop.Control().IsAutoPlay(now);
    input.HoldLeft = Loop.Control().HoldLeft(now);
}

TLoopResult TSharedPlay::Step() {
    TControlInput input;
    input.StopRequested = StopRequested();
    if (!input.StopRequested)
        AskControl(input);
    TLoopResult result;
    result.Wait = StepTime;
    TLockGuard lock(GameLock);
    if (!lock.Obtained()) {
        Loop.DropCall();
        return result;
    }
    try {
        TLoopResult made = Loop.Step(input);
        TLoopResult drawn = FlashToTheEnd(made);
        made.Wait = drawn.Wait;
        made.Flashing = false;
        result = made;
    } catch (...) {
        Trace("Run");
        Loop.DropCall();
        Loop.DropDrawing();
    }
    return result;
}

bool TSharedPlay::SetWindow(HWND window, const TRect &game) {
    Window = window;
    TLockGuard lock(GameLock);
    if (!lock.Obtained())
        return true;
    Loop.Unbind();
    Canvas.Release();
    if (!window)
        return true;
    if (!Canvas.Open(window))
        return false;
    Loop.Bind(Canvas, Canvas.Client(), game);
    return true;
}

// The switch happens even when GameLock then cannot be had; the move only
// with it.
void TSharedPlay::Key(TKeyAction action) {
    {
        TLockGuard lock(AutoLock);
        if (lock.Obtained())
            Loop.Control().TakeOver(GetTickCount());
    }
    TLockGuard lock(GameLock);
    if (!lock.Obtained())
        return;
    FlashToTheEnd(Loop.Key(action));
}

void TSharedPlay::Repaint() {
    TLockGuard lock(GameLock);
    if (!lock.Obtained())
        return;
    Loop.Repaint();
}

void TSharedPlay::ClockTick() {
    TLockGuard lock(GameLock);
    if (!lock.Obtained())
        return;
    Loop.ClockTick();
}

bool TSharedPlay::OfferScore(TBestScores &best) {
    TLockGuard lock(GameLock);
    if (!lock.Obtained())
        return false;
    best = Loop.OfferScore();
    return true;
}

HANDLE StartGameThread(TSharedPlay &shared) {
    DWORD id = 0;
    return CreateThread(nullptr, 0, ThreadLoop, &shared, 0, &id);
}

bool WaitForGameThread(HANDLE thread, DWORD timeout) {
    if (!thread)
        return true;
    return WaitForSingleObject(thread, timeout) == WAIT_OBJECT_0;
}
