#include "driver/win32/SharedPlay.h"

#include <ctime>

#include "driver/win32/Locks.h"
#include "game/Trace.h"

namespace {
TNow Now() {
    return TNow{GetTickCount(), static_cast<int64_t>(std::time(nullptr))};
}

// A flash's frames wait on the stop signal, so a stop cuts them short.
class TStopPacer final : public TPacer {
public:
    explicit TStopPacer(HANDLE stopEvent) : StopEvent(stopEvent) {}
    uint32_t Ticks() override { return GetTickCount(); }
    void Wait(uint32_t ms) override { WaitForSingleObject(StopEvent, ms); }

private:
    HANDLE StopEvent;
};

DWORD WINAPI ThreadLoop(LPVOID parameter) {
    TSharedPlay &shared = *static_cast<TSharedPlay *>(parameter);
    for (;;) {
        TStepResult result;
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

TSharedPlay::TSharedPlay(TPlaySession &session, TGdiRenderer &renderer)
    : Session(session), Renderer(renderer), GameLock(CreateMutexA(nullptr, FALSE, nullptr)),
      AutoLock(CreateMutexA(nullptr, FALSE, nullptr)),
      StopEvent(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

TSharedPlay::~TSharedPlay() {
    for (HANDLE handle : {GameLock, AutoLock, StopEvent})
        if (handle)
            CloseHandle(handle);
}

void TSharedPlay::DrawChanges() {
    TScene scene{Session.Game(), Session.Best(), Session.ClockSeconds(), Session.StartTime()};
    TStopPacer pacer(StopEvent);
    Renderer.Picture.Draw(Session.Changes(), scene, pacer);
}

// Asked before GameLock is taken; without AutoLock the step is a manual one.
void TSharedPlay::AskControl(TStepInput &input) {
    TLockGuard lock(AutoLock);
    if (!lock.Obtained()) {
        input.Automatic = false;
        return;
    }
    const uint32_t now = GetTickCount();
    input.Automatic = Session.Control.IsAutoPlay(now);
    input.HoldLeft = Session.Control.HoldLeft(now);
}

TStepResult TSharedPlay::Step() {
    TStepInput input;
    input.StopRequested = StopRequested();
    if (!input.StopRequested)
        AskControl(input);
    TStepResult result;
    result.Wait = StepTime;
    TLockGuard lock(GameLock);
    if (!lock.Obtained()) {
        Session.DropCall();
        return result;
    }
    // Read under the lock: the window thread may have held it a while.
    input.Now = Now();
    input.ScreenBound = Renderer.Picture.Bound();
    try {
        result = Session.Step(input);
        DrawChanges();
    } catch (...) {
        Trace("Run");
        Session.DropCall();
        result = TStepResult{};
        result.Wait = StepTime;
    }
    return result;
}

void TSharedPlay::SetWindow(HWND window, const TRect &game) {
    Window = window;
    TLockGuard lock(GameLock);
    if (!lock.Obtained())
        return;
    Renderer.SetWindow(window, game);
    if (window)
        Session.FitGlass(Renderer.Picture.Layout().Fit, GetTickCount());
}

// The switch happens even when GameLock then cannot be had; the move only
// with it.
void TSharedPlay::Key(TKeyAction action) {
    {
        TLockGuard lock(AutoLock);
        if (lock.Obtained())
            Session.Control.TakeOver(GetTickCount());
    }
    TLockGuard lock(GameLock);
    if (!lock.Obtained())
        return;
    Session.Key(action, GetTickCount());
    DrawChanges();
}

void TSharedPlay::Repaint() {
    TLockGuard lock(GameLock);
    if (!lock.Obtained())
        return;
    Session.Repaint(Now().Seconds);
    DrawChanges();
}

void TSharedPlay::ClockTick() {
    TLockGuard lock(GameLock);
    if (!lock.Obtained())
        return;
    Session.ClockTick(Now().Seconds);
    DrawChanges();
}

bool TSharedPlay::OfferScore(TBestScores &best) {
    TLockGuard lock(GameLock);
    if (!lock.Obtained())
        return false;
    best = Session.OfferScore();
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
