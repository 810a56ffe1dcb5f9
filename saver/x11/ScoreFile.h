#pragma once
#include <string>

#include "saver/ScoreRecord.h"

// The three best scores in a file of the user's state folder, shared by
// every copy of the hack (XScreenSaver starts one per monitor). The file is
// only ever replaced whole, and each update is made under a lock, so a crash
// leaves the old file and two copies keep each other's scores.
class TScoreFile final : public TScoreStore {
public:
    // $XDG_STATE_HOME/stakko/scores, or ~/.local/state/stakko/scores;
    // empty when neither folder is known.
    static std::string DefaultPath();

    explicit TScoreFile(std::string path) : Path(std::move(path)) {}

    bool Read(TBestScores &stored) override;
    bool Update(const std::function<TBestScores(const TBestScores &)> &merge) override;

private:
    enum class TRead { Missing, Damaged, Read, Unreadable };
    TRead ReadFile(TBestScores &best) const;
    bool WriteWhole(const TBestScores &best) const;

    std::string Path;
};
