#pragma once
#include <cstdint>

#include "driver/PlayLoop.h"

// A front end that does everything on one thread (an X11 hack, a web page):
// the play's steps, the user's keys, the clock's tick once a second and the
// repaints. Each call does what is due and returns how long the thread may
// sleep before Run is due again; after a long sleep (a hidden page) one
// step and one tick are made, never a burst of the ones missed.
class TOneThreadPlay {
public:
    static constexpr uint32_t ClockPeriod = 1000;

    TOneThreadPlay(TPlayLoop &loop, TClock &clock);

    uint32_t Run();
    // A manual-control key: the user steers from now, then the key's move.
    uint32_t Key(TKeyAction action);
    uint32_t Repaint();
    // Bound anew (a window of another size); a repaint follows.
    uint32_t Bind(TCanvas &canvas, const TRect &client);

private:
    uint32_t After(const TLoopResult &result);
    uint32_t Sleep(uint32_t now) const;

    TPlayLoop &Loop;
    TClock &Clock;
    uint32_t StepDue;
    uint32_t ClockDue;
};
