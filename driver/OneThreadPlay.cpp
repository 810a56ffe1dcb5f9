#include "driver/OneThreadPlay.h"

namespace {
bool Reached(uint32_t due, uint32_t now) {
    return now - due < 0x80000000u;
}
} // namespace

TOneThreadPlay::TOneThreadPlay(TPlayLoop &loop, TClock &clock)
    : Loop(loop), Clock(clock), StepDue(clock.Now().Ticks),
      ClockDue(clock.Now().Ticks + ClockPeriod) {}

uint32_t TOneThreadPlay::Run() {
    const uint32_t now = Clock.Now().Ticks;
    if (Reached(ClockDue, now)) {
        ClockDue = now + ClockPeriod;
        After(Loop.ClockTick());
    }
    if (Reached(StepDue, Clock.Now().Ticks)) {
        const uint32_t at = Clock.Now().Ticks;
        TControlInput input;
        input.Automatic = Loop.Control().IsAutoPlay(at);
        input.HoldLeft = Loop.Control().HoldLeft(at);
        return After(Loop.Step(input));
    }
    return Sleep(Clock.Now().Ticks);
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

// Every result says when the next step (or flash frame) is due.
uint32_t TOneThreadPlay::After(const TLoopResult &result) {
    const uint32_t now = Clock.Now().Ticks;
    StepDue = now + result.Wait;
    return Sleep(now);
}

uint32_t TOneThreadPlay::Sleep(uint32_t now) const {
    const uint32_t toStep = Reached(StepDue, now) ? 0 : StepDue - now;
    const uint32_t toClock = Reached(ClockDue, now) ? 0 : ClockDue - now;
    return toStep < toClock ? toStep : toClock;
}
