#pragma once
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "driver/Timing.h"
#include "game/Stakko.h"

// Each removed line flashes for twenty frames of 50 ms.
constexpr uint32_t FlashMs = 1000;

// What the automatic play of one figure took.
struct TFigurePlay {
    int32_t Kind = 0;        // the figure's kind when it came into play
    TPlacement Plan;         // the search's result
    double SearchMicros = 0; // wall time of the search
    uint32_t PauseMs = 0;    // the pauses after its steps
};

// Plays the figure in play as the game thread's automatic steps do: one
// search, then per step at most one sideways move, at most one turn and one
// fall, until the fall lands the figure (or the game is over). Each pause is
// added to *clock, if given, as the step ends, so that the next figure's kind
// is picked at the time the landing is reached.
TFigurePlay PlayFigure(TStakko &s, uint32_t *clock = nullptr);

struct TPlayOptions {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<int32_t> Kinds; // the figures' kinds in order
    int32_t Games = 0;          // above 0: statistics over this many games
    uint32_t Seed = 0;          // the simulated clock's start
};

// The options of the play command, after the command word. Throws
// TInputError when they are malformed or incomplete.
TPlayOptions ParsePlayOptions(const std::vector<std::string> &args);

// Plays the listed kinds on an empty glass; prints one line per figure, the
// counters and the final glass.
void PlayKinds(const TPlayOptions &options, std::ostream &out);

// Plays games with the game's own kind pick on a simulated clock; prints one
// line per game and a summary, and progress to err on long runs.
void PlayGames(const TPlayOptions &options, std::ostream &out, std::ostream &err);
