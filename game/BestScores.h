#pragma once
#include <cstdint>
#include <utility>

// The three best scores, kept with the settings.
struct TBestScores {
    int32_t Score1 = 0;
    int32_t Score2 = 0;
    int32_t Score3 = 0;

    bool operator==(const TBestScores &o) const {
        return Score1 == o.Score1 && Score2 == o.Score2 && Score3 == o.Score3;
    }
    bool operator!=(const TBestScores &o) const { return !(*this == o); }

    // A game's score enters only by replacing a smaller third score.
    void OfferScore3(int32_t score) {
        if (score > Score3)
            Score3 = score;
    }

    // Descending order in place: the second and the first, the third and the
    // second, the second and the first again, each swapped only if the lower
    // rank holds the greater score.
    void Sort() {
        if (Score2 > Score1)
            std::swap(Score2, Score1);
        if (Score3 > Score2)
            std::swap(Score3, Score2);
        if (Score2 > Score1)
            std::swap(Score2, Score1);
    }
};
