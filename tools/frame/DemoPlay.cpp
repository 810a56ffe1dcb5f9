#include "DemoPlay.h"

#include "driver/Timing.h"
#include "game/Stakko.h"
#include "game/Ticks.h"
#include "saver/Settings.h"

namespace {
// A landing needs at most one step per row; more means something is wrong.
constexpr int32_t StepLimit = 1000;
constexpr int32_t ShownFigures = 10;
constexpr int32_t ExtraFigureLimit = 500;

// The game picks each kind from the tick count, so a play without pauses
// would get the same kind again and again. The clock moves on by the pauses
// the game thread would have taken.
uint32_t DemoNow = 0;
uint32_t DemoTicks() {
    return DemoNow;
}

class TDemoClock {
public:
    TDemoClock() {
        DemoNow = CurrentTicks();
        SetTickSource(&DemoTicks);
    }
    ~TDemoClock() { SetTickSource(nullptr); }
    TDemoClock(const TDemoClock &) = delete;
    TDemoClock &operator=(const TDemoClock &) = delete;
};

void StartOverIfEnded(TStakko &game) {
    if (!game.GameOver)
        return;
    if (game.Score > Settings.Score3)
        Settings.Score3 = game.Score;
    game.NewGame();
}

void PlayFigure(TStakko &game) {
    int32_t rotation = 0, shift = 0;
    game.FindBestMove(rotation, shift);
    const int32_t shifts = shift < 0 ? -shift : shift;
    for (int32_t step = 1; step <= StepLimit; ++step) {
        if (step <= shifts)
            game.ShiftX(shift > 0 ? 1 : -1);
        if (step <= rotation)
            game.Rotate(1);
        if (game.ShiftY(1) == 0)
            break;
        DemoNow += step <= shifts ? ShiftStepPause : FallStepPause;
    }
    DemoNow += StepTime;
}
} // namespace

void PlayDemo(TStakko &game, int32_t figures) {
    // Without contexts nothing is painted and line removals do not flash.
    void *screen = game.ScreenDC;
    void *back = game.BackDC;
    game.ScreenDC = nullptr;
    game.BackDC = nullptr;
    TDemoClock clock;
    // Past the count, play on until the game in play has some figures in
    // the glass, so that the picture does not show a fresh, empty game.
    int32_t inGame = 0;
    for (int32_t figure = 0; figure < figures + ExtraFigureLimit; ++figure) {
        if (game.GameOver)
            inGame = 0;
        StartOverIfEnded(game);
        PlayFigure(game);
        ++inGame;
        if (figure + 1 >= figures && inGame >= ShownFigures && !game.GameOver)
            break;
    }
    game.ScreenDC = screen;
    game.BackDC = back;
}
