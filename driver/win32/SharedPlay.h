#pragma once
#include <windows.h>

#include <cstdint>

#include "driver/PlayLoop.h"
#include "driver/win32/Locks.h"
#include "render/win32/GdiCanvas.h"

// The platform's clock: GetTickCount and the calendar time.
class TSystemClock final : public TClock {
public:
    TNow Now() override;
};

// What the window thread and the game thread share: the play loop and the
// GDI canvas it draws through, GameLock over both, AutoLock over the
// session's control switch, and the stop signal (manual reset; once set,
// never reset). The two locks are never held together.
class TSharedPlay {
public:
    explicit TSharedPlay(TPlayLoop &loop);
    ~TSharedPlay(); // closes the three objects
    TSharedPlay(const TSharedPlay &) = delete;
    TSharedPlay &operator=(const TSharedPlay &) = delete;

    // False when one of the three objects could not be made.
    bool Made() const { return GameLock && AutoLock && StopEvent; }

    // Window thread: the run's window; the canvas opened on it and the loop
    // bound, the game in the part `game` of its client (empty: all of it).
    // False when no canvas can be had for the window; null only lets go.
    bool SetWindow(HWND window, const TRect &game = TRect{});
    // A manual-control key: the user steers from now, then the key's move.
    void Key(TKeyAction action);
    // A paint request, and the clock's tick.
    void Repaint();
    void ClockTick();
    // At the end of the run: the best scores with the game's score offered;
    // false when GameLock could not be had.
    bool OfferScore(TBestScores &best);

    void Stop() { SetEvent(StopEvent); }
    bool StopRequested() const { return ::StopRequested(StopEvent); }

    // Game thread: one step under GameLock, drawn, a flash to its end; its
    // wait, or StepTime when the lock could not be had. Ended: the thread is
    // to end.
    TLoopResult Step();

    TPlayLoop &Loop;
    TGdiCanvas Canvas;
    HANDLE GameLock = nullptr;
    HANDLE AutoLock = nullptr;
    HANDLE StopEvent = nullptr;
    HWND Window = nullptr; // SetWindow's; told with WM_DESTROY when the game thread ends

private:
    void AskControl(TControlInput &input);
    TLoopResult FlashToTheEnd(TLoopResult result);
};

// The game thread: steps, each followed by its wait on the stop signal,
// until the play ends; then WM_DESTROY is posted to the shared window.
// Its handle, or null on failure.
HANDLE StartGameThread(TSharedPlay &shared);

// At the end of a run mode: waits at most timeout for the game thread to
// end. Only then may the shared objects go; a thread still running keeps
// them (the process ends right after).
bool WaitForGameThread(HANDLE thread, DWORD timeout);
