#pragma once
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

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
