#include "saver/ScoreRecord.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <vector>

namespace {
const char *const Keys[3] = {"Score1=", "Score2=", "Score3="};

int32_t &Slot(TBestScores &best, int i) {
    return i == 0 ? best.Score1 : i == 1 ? best.Score2 : best.Score3;
}

bool ReadScore(const std::string &line, const char *key, int32_t &score) {
    const std::string prefix(key);
    if (line.compare(0, prefix.size(), prefix) != 0 || line.size() == prefix.size())
        return false;
    const std::string digits = line.substr(prefix.size());
    if (digits[0] != '-' && (digits[0] < '0' || digits[0] > '9'))
        return false;
    errno = 0;
    char *end = nullptr;
    const long long value = std::strtoll(digits.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || value < INT32_MIN || value > INT32_MAX)
        return false;
    score = static_cast<int32_t>(value);
    return true;
}
} // namespace

std::string ScoreText(const TBestScores &best) {
    const int32_t scores[3] = {best.Score1, best.Score2, best.Score3};
    std::string text;
    for (int i = 0; i < 3; ++i)
        text += Keys[i] + std::to_string(scores[i]) + "\n";
    return text;
}

bool ParseScoreText(const std::string &text, TBestScores &best) {
    TBestScores read;
    size_t at = 0;
    for (int i = 0; i < 3; ++i) {
        const size_t end = text.find('\n', at);
        if (end == std::string::npos ||
            !ReadScore(text.substr(at, end - at), Keys[i], Slot(read, i)))
            return false;
        at = end + 1;
    }
    if (at != text.size())
        return false;
    best = read;
    return true;
}

TBestScores MergeScores(const TBestScores &stored, const TBestScores &before,
                        const TBestScores &now) {
    std::vector<int32_t> had{before.Score1, before.Score2, before.Score3};
    std::vector<int32_t> have{now.Score1, now.Score2, now.Score3};
    std::sort(had.begin(), had.end());
    std::sort(have.begin(), have.end());
    std::vector<int32_t> brought;
    std::set_difference(have.begin(), have.end(), had.begin(), had.end(),
                        std::back_inserter(brought));
    TBestScores merged = stored;
    merged.Sort();
    for (int32_t score : brought) {
        merged.OfferScore3(score);
        merged.Sort();
    }
    return merged;
}

TBestScores TScoreShare::Load() {
    TBestScores stored;
    Store.Read(stored);
    Accounted = Offered = stored;
    return stored;
}

void TScoreShare::Save(const TBestScores &now, bool atEnd) {
    if (now == Offered && !atEnd)
        return;
    Offered = now;
    if (Store.Update(
            [&](const TBestScores &stored) { return MergeScores(stored, Accounted, now); }))
        Accounted = now;
}
