#include "driver/PlaySession.h"

#include "game/Random.h"
#include "game/Trace.h"

// ---- The plan ----

void TPlaySession::TAutoPlan::Start(int32_t rotation, int32_t shift) {
    Rotation = rotation;
    Shift = shift;
    ShiftCount = shift < 0 ? -static_cast<int64_t>(shift) : shift;
    ShiftStep = 1;
    RotationStep = 1;
    PaceCounter = 0;
}

int32_t TPlaySession::TAutoPlan::TakeShift() {
    bool due = ShiftStep <= ShiftCount;
    ++ShiftStep;
    return due ? (Shift > 0 ? 1 : -1) : 0;
}

bool TPlaySession::TAutoPlan::TakeTurn() {
    bool due = RotationStep <= Rotation;
    ++RotationStep;
    return due;
}

uint32_t TPlaySession::TAutoPlan::TakePause() {
    bool shifting = PaceCounter < ShiftCount;
    ++PaceCounter;
    return shifting ? ShiftStepPause : FallStepPause;
}

// ---- Kinds ----

// Every pick reseeds the game's generator from the tick count, so the time
// of the pick is the kind: that of the drawing, whose flashes come first.
int32_t TPlaySession::TTimedKinds::NextKind() {
    return PickRandomKind(Session.CallTicks + Session.FlashedSoFar());
}

uint32_t TPlaySession::FlashedSoFar() const {
    int32_t lines = Play.Lines - LinesAtCall; // a new game within the call counts none
    return lines > 0 ? Options.FlashTime * static_cast<uint32_t>(lines) : 0;
}

// ---- The session ----

TPlaySession::TPlaySession(const TSessionOptions &options, TNow now, TKindSource *kinds)
    : Options(options), Scores(options.Best), CustomKinds(kinds), Seconds(now.Seconds) {
    SeedRandom(now.Ticks % 32767u);
    Play.NewGame(now.Seconds);
    // Always the random pick: the generator's state then is the one the
    // renderer's texture is drawn from. FitGlass places the figure to play.
    Play.NewFigure(PickRandomKind(now.Ticks));
}

void TPlaySession::Begin(uint32_t ticks) {
    Changed.Clear();
    CallTicks = ticks;
    LinesAtCall = Play.Lines;
}

void TPlaySession::FitGlass(const TGlassFit &fit, TNow now) {
    Begin(now.Ticks);
    if (!fit.Ok)
        Trace("SetBoundsRect");
    const int32_t width = fit.Ok ? fit.Width : FallbackWidth;
    const int32_t height = fit.Ok ? fit.Height : FallbackHeight;
    if (width == Play.Width && height == Play.Height)
        return;
    if (Play.Width != 0) {
        // The cells of one glass mean nothing in another.
        Scores.OfferScore3(Play.Score);
        Play.NewGame(now.Seconds);
        InFigure = false;
    }
    Play.Width = width;
    Play.Height = height;
    if (fit.Ok)
        Play.NewFigure(Kinds().NextKind());
}

TStepResult TPlaySession::Step(const TStepInput &input) {
    Begin(input.Now.Ticks);
    Seconds = input.Now.Seconds;
    TStepResult result;
    if (InFigure)
        FigureStep(input, result);
    else
        StartCall(input, result);
    result.Busy = FlashedSoFar();
    return result;
}

void TPlaySession::DropCall() {
    InFigure = false;
}

// The opening of a call: after a game over the best score, a new game and
// the whole picture; the first call only draws the picture and ends.
void TPlaySession::StartCall(const TStepInput &input, TStepResult &result) {
    if (input.StopRequested) {
        result.Ended = true;
        return;
    }
    if (!input.ScreenBound) {
        result.Wait = StepTime; // nothing moves where nothing can be drawn
        return;
    }
    if (Play.GameOver) {
        Scores.OfferScore3(Play.Score);
        Play.NewGame(input.Now.Seconds);
        Screen();
    }
    if (!ScreenReady) {
        Play.Score = 0;
        Screen();
        ScreenReady = true;
        EndCall(result);
        return;
    }
    InFigure = true;
    PreviousAutomatic = false;
    LastFall = input.Now.Ticks;
}

void TPlaySession::FigureStep(const TStepInput &input, TStepResult &result) {
    if (input.StopRequested) {
        EndCall(result);
        return;
    }
    if (input.Automatic)
        AutomaticStep(result);
    else
        ManualStep(input, result);
    PreviousAutomatic = input.Automatic;
}

// Sideways, turn, fall, each shown; the plan is made anew at the first
// automatic step of a figure or after a manual one.
void TPlaySession::AutomaticStep(TStepResult &result) {
    if (!PreviousAutomatic) {
        result.Plan = SearchPlacement(Play);
        result.Planned = true;
        Plan.Start(result.Plan.Rotation, result.Plan.Shift);
    }
    if (int32_t dx = Plan.TakeShift())
        Play.ShiftX(dx, &Changed);
    Changed.Show();
    if (Plan.TakeTurn())
        Play.Rotate(1, &Changed);
    Changed.Show();
    if (Play.ShiftY(1, Kinds(), &Changed) == 0) {
        result.Landed = true;
        EndCall(result);
        return;
    }
    Changed.Show();
    result.Wait = Plan.TakePause();
}

// Under manual control the figure falls one cell whenever more than
// StepTime has passed since its last such fall; the keys do the rest. The
// step waits for the next fall, or for the automatic player's return if that
// comes first: nothing else changes meanwhile but by a key or a stop.
void TPlaySession::ManualStep(const TStepInput &input, TStepResult &result) {
    const uint32_t now = input.Now.Ticks;
    if (now - LastFall > StepTime) {
        LastFall = now;
        if (Play.ShiftY(1, Kinds(), &Changed) == 0) {
            result.Landed = true;
            EndCall(result);
            return;
        }
    }
    Changed.Show();
    const uint32_t nextFall = StepTime + 1 - (now - LastFall);
    result.Wait = input.HoldLeft > 0 && input.HoldLeft < nextFall ? input.HoldLeft : nextFall;
}

// The closing of a call: the score and line count, then StepTime to the next.
void TPlaySession::EndCall(TStepResult &result) {
    Changed.Counters();
    Changed.Show();
    InFigure = false;
    result.Wait = StepTime;
}

void TPlaySession::Screen() {
    if (Options.ShowInfo)
        Scores.Sort();
    Changed.Screen();
}

void TPlaySession::Key(TKeyAction action, uint32_t now) {
    Begin(now);
    Changed.Show();
    const int32_t score = Play.Score;
    switch (action) {
    case TKeyAction::Left:
        Play.ShiftX(-1, &Changed);
        break;
    case TKeyAction::Right:
        Play.ShiftX(1, &Changed);
        break;
    case TKeyAction::Turn:
        Play.Rotate(1, &Changed);
        break;
    case TKeyAction::Down:
        Play.ShiftY(1, Kinds(), &Changed);
        break;
    case TKeyAction::Drop:
        // Each cell of the fall reaches the screen; the last call lands it.
        while (Play.ShiftY(1, Kinds(), &Changed) != 0)
            Changed.Show();
        break;
    case TKeyAction::NoMove:
        break;
    }
    if (Play.Score != score)
        Changed.Counters();
    Changed.Show();
}

void TPlaySession::Repaint(int64_t seconds) {
    Begin(CallTicks);
    Seconds = seconds;
    Screen();
}

void TPlaySession::ClockTick(int64_t seconds) {
    Begin(CallTicks);
    Seconds = seconds;
    Changed.Clock();
    Changed.Show();
}

const TBestScores &TPlaySession::OfferScore() {
    Scores.OfferScore3(Play.Score);
    return Scores;
}

// ---- Stepped play ----

TSteppedPlay::TSteppedPlay(TPlaySession &session, TNow start) : Now(start), Session(session) {
    TStepInput input;
    input.Now = Now;
    Session.Step(input);
}

TStepResult TSteppedPlay::Next() {
    TStepInput input;
    input.Now = Now;
    TStepResult result = Session.Step(input);
    Now.Ticks += result.Busy + result.Wait;
    return result;
}
