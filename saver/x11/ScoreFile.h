#pragma once
#include <string>

#include "game/BestScores.h"

// The three best scores in a file of the user's state folder, shared by
// every copy of the hack (XScreenSaver starts one per monitor). A file is
// only ever replaced whole, and its merge with what this copy brought in is
// made under a lock, so a crash leaves the old file and two copies keep
// each other's scores.
class TScoreFile {
public:
    // $XDG_STATE_HOME/stakko/scores, or ~/.local/state/stakko/scores;
    // empty when neither folder is known.
    static std::string DefaultPath();

    explicit TScoreFile(std::string path) : Path(std::move(path)) {}

    // The scores in the file; the defaults when it is missing, damaged or
    // cannot be read.
    TBestScores Load();
    // Merges what this copy brought in since it loaded or last saved; false
    // when the file could not be written (play goes on; nothing is retried)
    // or could not be read (it is then left as it is).
    bool Save(const TBestScores &now);

    const std::string &FilePath() const { return Path; }

private:
    enum class TRead { Missing, Damaged, Read, Unreadable };
    TRead Read(TBestScores &best) const;
    bool WriteWhole(const TBestScores &best) const;

    std::string Path;
    TBestScores Accounted; // what the file was known to have of this copy's scores
};
