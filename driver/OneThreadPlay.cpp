#include "driver/OneThreadPlay.h"

namespace {
bool Reached(uint32_t due, uint32_t now) {
    return TicksUntil(due, now) == 0;
}
} // namespace

TOneThreadPlay::TOneThreadPlay(TPlayLoop &loop, TClock &clock)
    : Loop(loop), Clock(clock), StepDue(clock.Now().Ticks),
      ClockDue(clock.Now().Ticks + ClockPeriod) {}

uint32_t TOneThreadPlay::Run() {
    uint32_t now = Clock.Now().Ticks;
    if (Reached(ClockDue, now)) {
        ClockDue = now + ClockPeriod;
        const TLoopResult tick = Loop.ClockTick();
        After(tick);
        now = tick.At; // the step, if due, is counted from the tick's end
    }
    if (!Reached(StepDue, now))
        return Sleep(now);
    TControlInput input;
    input.Automatic = Loop.Control().IsAutoPlay(now);
    input.HoldLeft = Loop.Control().HoldLeft(now);
    return After(Loop.Step(input));
}

uint32_t TOneThreadPlay::Key(TKeyAction action) {
    Loop.Control().TakeOver(Clock.Now().Ticks);
    return After(Loop.Key(action));
}

uint32_t TOneThreadPlay::Repaint() {
    return After(Loop.Repaint());
}

uint32_t TOneThreadPlay::Bind(TCanvas &canvas, const TRect &client) {
    Loop.Bind(canvas, client);
    return Repaint();
}

// Every result says when the next step (or flash frame) is due, counted
// from the tick count it was made at.
uint32_t TOneThreadPlay::After(const TLoopResult &result) {
    StepDue = result.At + result.Wait;
    return Sleep(result.At);
}

uint32_t TOneThreadPlay::Sleep(uint32_t now) const {
    const uint32_t toStep = TicksUntil(StepDue, now);
    const uint32_t toClock = TicksUntil(ClockDue, now);
    return toStep < toClock ? toStep : toClock;
}
