#include "driver/win32/PlayRoutine.h"

#include <atomic>

#include "driver/AutoPlan.h"
#include "driver/win32/Locks.h"
#include "game/Stakko.h"
#include "game/Ticks.h"
#include "game/Trace.h"
#include "render/win32/Form.h"
#include "saver/Settings.h"

namespace {
std::atomic<PauseObserver> Observer{nullptr};

// After a game over: the best score, a new game, the whole screen. False
// when the section could not run (lock time-out, no device contexts).
bool OpenCall(TForm &form) {
    TStakko &game = form.Game;
    TLockGuard lock(GameLock);
    if (!lock.Obtained() || !form.ScreenDC || !form.BackDC)
        return false;
    if (game.GameOver) {
        OfferScore3(game.Score);
        game.NewGame();
        form.ClearScreen();
    }
    return true;
}

// The first call only draws the screen, with the score at 0.
bool DrawFirstScreen(TForm &form) {
    TLockGuard lock(GameLock);
    if (!lock.Obtained())
        return false;
    form.Game.Score = 0;
    form.ClearScreen();
    form.ScreenReady = true;
    return true;
}

enum class TStep {
    Moved,   // the figure moved, or nothing was due
    Fell,    // a manual step made its due fall
    Landed,  // the figure could not fall
    Skipped, // GameLock was not obtained
};

// Sideways, turn, fall, each published; the plan is made anew at the first
// automatic step after a manual one (or of the figure).
TStep AutomaticStep(TForm &form, TAutoPlan &plan, bool newPlan) {
    TStakko &game = form.Game;
    TLockGuard lock(GameLock);
    if (!lock.Obtained())
        return TStep::Skipped;
    if (newPlan) {
        int32_t rotation = 0, shift = 0;
        game.FindBestMove(rotation, shift);
        plan.Start(rotation, shift);
    }
    if (int32_t dx = plan.TakeShift())
        game.ShiftX(dx);
    form.Publish();
    if (plan.TakeTurn())
        game.Rotate(1);
    form.Publish();
    if (game.ShiftY(1) == 0)
        return TStep::Landed;
    form.Publish();
    return TStep::Moved;
}

// Under manual control the figure falls one cell whenever more than
// StepTime has passed since its last such fall.
TStep ManualStep(TForm &form, uint32_t &lastFall) {
    TStakko &game = form.Game;
    TLockGuard lock(GameLock);
    if (!lock.Obtained())
        return TStep::Skipped;
    uint32_t now = CurrentTicks();
    bool fallDue = now - lastFall > StepTime;
    if (fallDue) {
        lastFall = now;
        if (game.ShiftY(1) == 0)
            return TStep::Landed;
    }
    form.Publish();
    return fallDue ? TStep::Fell : TStep::Moved;
}

// The figure loop; false when a lock time-out drops the rest of the call.
bool PlayFigure(TForm &form) {
    TAutoPlan plan;
    bool previousAutomatic = false;
    uint32_t lastFall = CurrentTicks();
    while (!StopRequested()) {
        bool automatic = IsAutoPlay();
        TStep step =
            automatic ? AutomaticStep(form, plan, !previousAutomatic) : ManualStep(form, lastFall);
        if (step == TStep::Skipped)
            return false;
        if (step == TStep::Landed)
            return true;
        if (automatic)
            Pause(form, plan.TakePause());
        else if (step == TStep::Moved)
            WaitForSingleObject(StopEvent, ManualStepWait);
        previousAutomatic = automatic;
    }
    return true;
}

void CloseCall(TForm &form) {
    TLockGuard lock(GameLock);
    if (!lock.Obtained())
        return;
    form.ShowScore();
    form.Publish();
}

void RunCall(TForm &form) {
    form.Game.Drawing = true;
    if (!OpenCall(form))
        return;
    if (!form.ScreenReady) {
        if (!DrawFirstScreen(form))
            return;
    } else if (!PlayFigure(form)) {
        return;
    }
    CloseCall(form);
}
} // namespace

void Run(TForm &form) {
    if (form.Running || StopRequested())
        return;
    form.Running = true;
    try {
        RunCall(form);
    } catch (...) {
        Trace("Run");
    }
    form.Running = false;
}

// A timed wait on the stop signal ends at the time or at once on a stop,
// without keeping a processor busy.
void Pause(TForm &, uint32_t ms) {
    if (PauseObserver observer = Observer.load())
        observer(ms);
    WaitForSingleObject(StopEvent, ms);
}

void SetPauseObserver(PauseObserver observer) {
    Observer.store(observer);
}
