#pragma once
#include <functional>
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

// Where a front end keeps the best scores: a file, a page's storage.
class TScoreStore {
public:
    // What is stored: the defaults when nothing or a damaged record is
    // there; false, with the defaults, when it cannot be read.
    virtual bool Read(TBestScores &stored) = 0;
    // The record replaced whole by what `merge` makes of what is stored now,
    // under whatever lock the store needs; false when it could not be read
    // (it is then left as it is) or not be written.
    virtual bool Update(const std::function<TBestScores(const TBestScores &)> &merge) = 0;

protected:
    ~TScoreStore() = default;
};

// One player's share of a store that others write too: what it read at
// its start, and at each save what it brought in since, merged with what
// the others stored meanwhile.
class TScoreShare {
public:
    explicit TScoreShare(TScoreStore &store) : Store(store) {}
    TBestScores Load();
    // Saves `now` unless it is what was last offered: a failed save is not
    // tried again until the scores change, and its scores go with that one.
    // At the end of a run it always writes (a damaged record is replaced).
    void Save(const TBestScores &now, bool atEnd = false);

private:
    TScoreStore &Store;
    TBestScores Accounted; // what the store was known to hold of this player's scores
    TBestScores Offered;   // what was last offered to be saved
};
