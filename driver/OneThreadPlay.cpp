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
        After(Loop.ClockTick(), now);
    }
    if (!Reached(StepDue, now))
        return Sleep(now);
    TControlInput input;
    input.Automatic = Loop.Control().IsAutoPlay(now);
    input.HoldLeft = Loop.Control().HoldLeft(now);
    return After(Loop.Step(input), now);
}

uint32_t TOneThreadPlay::Key(TKeyAction action) {
    uint32_t now = Clock.Now().Ticks;
    Loop.Control().TakeOver(now);
    return After(Loop.Key(action), now);
}

uint32_t TOneThreadPlay::Repaint() {
    uint32_t now = 0;
    return After(Loop.Repaint(), now);
}

uint32_t TOneThreadPlay::Bind(TCanvas &canvas, const TRect &client) {
    Loop.Bind(canvas, client);
    return Repaint();
}

// Every result says when the next step (or flash frame) is due, counted
// from the tick count it was made at, which is now from then on.
uint32_t TOneThreadPlay::After(const TLoopResult &result, uint32_t &now) {
    now = result.At;
    StepDue = now + result.Wait;
    return Sleep(now);
}

uint32_t TOneThreadPlay::Sleep(uint32_t now) const {
    const uint32_t toStep = TicksUntil(StepDue, now);
    const uint32_t toClock = TicksUntil(ClockDue, now);
    return toStep < toClock ? toStep : toClock;
}
