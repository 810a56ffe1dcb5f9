#include "DemoPlay.h"

#include "driver/AutoPlan.h"
#include "driver/Timing.h"
#include "game/Stakko.h"
#include "game/Ticks.h"
#include "saver/Settings.h"

namespace {
constexpr int32_t ShownFigures = 10;
constexpr int32_t ExtraFigureLimit = 500;

void StartOverIfEnded(TStakko &game) {
    if (!game.GameOver)
        return;
    OfferScore3(game.Score);
    game.NewGame();
}

// The game picks each kind from the tick count, so a play without pauses
// would get the same kind again and again: the clock moves on by the pauses
// the game thread would have taken.
void PlayFigure(TStakko &game, uint32_t &now) {
    int32_t rotation = 0, shift = 0;
    game.FindBestMove(rotation, shift);
    PlayPlanAtOnce(game, rotation, shift, &now);
    now += StepTime;
}
} // namespace

void PlayDemo(TStakko &game, int32_t figures) {
    // Without contexts nothing is painted and line removals do not flash.
    void *screen = game.ScreenDC;
    void *back = game.BackDC;
    game.ScreenDC = nullptr;
    game.BackDC = nullptr;
    TSteppedClock clock(CurrentTicks());
    // Past the count, play on until the game in play has some figures in
    // the glass, so that the picture does not show a fresh, empty game.
    int32_t inGame = 0;
    for (int32_t figure = 0; figure < figures + ExtraFigureLimit; ++figure) {
        if (game.GameOver)
            inGame = 0;
        StartOverIfEnded(game);
        PlayFigure(game, clock.Now);
        ++inGame;
        if (figure + 1 >= figures && inGame >= ShownFigures && !game.GameOver)
            break;
    }
    game.ScreenDC = screen;
    game.BackDC = back;
}
