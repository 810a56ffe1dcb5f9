#pragma once
#include <string>

#include "game/BestScores.h"

// The three best scores as a small text, the way a front end without a
// profile keeps them ("Score1=30", "Score2=20", "Score3=10", a line each),
// and the merge that lets several players share one record without losing
// each other's scores.

std::string ScoreText(const TBestScores &best);

// False for anything but the three lines in order, each a decimal number
// that a 32-bit int holds.
bool ParseScoreText(const std::string &text, TBestScores &best);

// What `stored` holds now (perhaps written by another player meanwhile)
// with the scores this player brought in since it last read or wrote the
// record: those of `now` that `before` lacked. Each enters as a game's score
// does, by replacing a smaller third score; the result is in order.
TBestScores MergeScores(const TBestScores &stored, const TBestScores &before,
                        const TBestScores &now);
