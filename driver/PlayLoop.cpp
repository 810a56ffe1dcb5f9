#include "driver/PlayLoop.h"

namespace {
// Keys that come during one flash beyond these are dropped.
constexpr size_t DeferredLimit = 32;
} // namespace

TPlayLoop::TPlayLoop(const TSessionOptions &options, const TLook &look, TNow start, TClock &clock,
                     TKindSource *kinds)
    : Clock(clock), Play(options, start, kinds), Renderer(look), StepDue(start.Ticks) {
    Deferred.reserve(DeferredLimit);
}

void TPlayLoop::Bind(TCanvas &canvas, const TRect &client, const TRect &game) {
    const TNow now = Clock.Now();
    if (Drawing && StepDrawing)
        StepDue = now.Ticks + StepWait;
    Drawing = false;
    Deferred.clear();
    Renderer.Bind(canvas, client, game);
    Play.FitGlass(Renderer.Layout().Fit, now);
}

void TPlayLoop::Unbind() {
    Drawing = false;
    Deferred.clear();
    Renderer.Unbind();
}

TLoopResult TPlayLoop::Step(const TControlInput &input) {
    if (Drawing)
        return DrawOn();
    TStepInput step;
    step.Now = Clock.Now();
    step.Automatic = input.Automatic;
    step.HoldLeft = input.HoldLeft;
    step.StopRequested = input.StopRequested;
    step.ScreenBound = Renderer.Bound();
    const TStepResult made = Play.Step(step);
    TLoopResult result = DrawCall(true, made.Wait);
    result.Stepped = true;
    result.Step = made;
    result.Ended = made.Ended;
    return result;
}

TLoopResult TPlayLoop::Key(TKeyAction action) {
    if (Drawing) {
        Defer(TDeferred{TDeferred::Key, action});
        return FrameWait(Clock.Now().Ticks);
    }
    Play.Key(action, Clock.Now().Ticks);
    return DrawCall(false, 0);
}

TLoopResult TPlayLoop::Repaint() {
    if (Drawing) {
        Renderer.ShowAll(); // what a redraw would show, with the flash's pixels
        return FrameWait(Clock.Now().Ticks);
    }
    Play.Repaint(Clock.Now().Seconds);
    return DrawCall(false, 0);
}

TLoopResult TPlayLoop::ClockTick() {
    if (Drawing) {
        bool kept = false;
        for (const TDeferred &call : Deferred)
            kept = kept || call.Kind == TDeferred::Clock;
        if (!kept)
            Defer(TDeferred{TDeferred::Clock, TKeyAction::NoMove});
        return FrameWait(Clock.Now().Ticks);
    }
    Play.ClockTick(Clock.Now().Seconds);
    return DrawCall(false, 0);
}

TLoopResult TPlayLoop::NextFrame() {
    return Drawing ? DrawOn() : Idle(Clock.Now().Ticks);
}

void TPlayLoop::DropCall() {
    Play.DropCall();
}

void TPlayLoop::DropDrawing() {
    Drawing = false;
    Deferred.clear();
}

TLoopResult TPlayLoop::DrawCall(bool fromStep, uint32_t stepWait) {
    Cursor = TDrawCursor{};
    Drawing = true;
    StepDrawing = fromStep;
    StepWait = stepWait;
    return DrawOn();
}

// Draws on from the cursor: up to the next flash frame, whose time begins
// just before it is drawn, or to the end, after which a step's own wait
// begins and what waited for the flash is done.
TLoopResult TPlayLoop::DrawOn() {
    const TScene scene = Scene();
    if (!Renderer.DrawUntilFlash(Play.Changes(), scene, Cursor)) {
        FrameStart = Clock.Now().Ticks;
        Renderer.DrawFlashFrame(Play.Changes(), scene, Cursor);
        return FrameWait(Clock.Now().Ticks);
    }
    const uint32_t drawn = Clock.Now().Ticks;
    Drawing = false;
    if (StepDrawing)
        StepDue = drawn + StepWait;
    return RunDeferred(Idle(drawn));
}

// A flash frame is on the screen: the next is due FlashFrameMs after it began.
TLoopResult TPlayLoop::FrameWait(uint32_t now) const {
    TLoopResult result;
    result.Flashing = true;
    result.Wait = TicksUntil(FrameStart + FlashFrameMs, now);
    result.At = now;
    return result;
}

TLoopResult TPlayLoop::Idle(uint32_t now) const {
    TLoopResult result;
    result.Wait = TicksUntil(StepDue, now);
    result.At = now;
    return result;
}

void TPlayLoop::Defer(TDeferred call) {
    if (Deferred.size() < DeferredLimit)
        Deferred.push_back(call);
}

// In the order they came; one that starts a flash of its own keeps the rest
// waiting for that one.
TLoopResult TPlayLoop::RunDeferred(TLoopResult result) {
    while (!Deferred.empty()) {
        const TDeferred call = Deferred.front();
        Deferred.erase(Deferred.begin());
        result = call.Kind == TDeferred::Key ? Key(call.Action) : ClockTick();
        if (result.Flashing)
            break;
    }
    return result;
}

TScene TPlayLoop::Scene() const {
    return TScene{Play.Game(), Play.Best(), Play.ClockSeconds(), Play.StartTime()};
}
