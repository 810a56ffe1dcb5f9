#include "saver/x11/ScoreFile.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {
constexpr size_t LargestFile = 4096; // a scores file is some 40 bytes
constexpr int LockTries = 100;       // 20 ms apart: two seconds at most
constexpr mode_t FolderMode = 0700;

std::string Folder(const std::string &path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

// Every missing folder of the path, as mkdir -p makes them.
bool MakeFolders(const std::string &folder) {
    for (size_t at = 1; at <= folder.size(); ++at)
        if (at == folder.size() || folder[at] == '/') {
            const std::string part = folder.substr(0, at);
            if (mkdir(part.c_str(), FolderMode) != 0 && errno != EEXIST)
                return false;
        }
    return true;
}

// An exclusive lock on the folder's lock file, held while it lives.
class TFileLock {
public:
    explicit TFileLock(const std::string &path) {
        Fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        for (int tries = 0; Fd >= 0 && !Held && tries < LockTries; ++tries) {
            Held = flock(Fd, LOCK_EX | LOCK_NB) == 0;
            if (!Held) {
                const timespec pause{0, 20 * 1000 * 1000};
                nanosleep(&pause, nullptr);
            }
        }
    }
    ~TFileLock() {
        if (Fd >= 0)
            close(Fd); // lets the lock go
    }
    bool Held = false;

private:
    int Fd = -1;
};
} // namespace

std::string TScoreFile::DefaultPath() {
    const char *state = std::getenv("XDG_STATE_HOME");
    if (state && state[0] == '/') // a relative value is to be ignored
        return std::string(state) + "/stakko/scores";
    const char *home = std::getenv("HOME");
    if (!home || home[0] != '/') {
        const passwd *user = getpwuid(getuid());
        home = user ? user->pw_dir : nullptr;
    }
    if (!home || home[0] != '/')
        return std::string();
    return std::string(home) + "/.local/state/stakko/scores";
}

TScoreFile::TRead TScoreFile::ReadFile(TBestScores &best) const {
    best = TBestScores{};
    if (Path.empty())
        return TRead::Missing;
    const int fd = open(Path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? TRead::Missing : TRead::Unreadable;
    char buffer[LargestFile + 1];
    size_t length = 0;
    ssize_t got = 0;
    while (length < sizeof buffer && (got = read(fd, buffer + length, sizeof buffer - length)) > 0)
        length += size_t(got);
    close(fd);
    if (got < 0)
        return TRead::Unreadable;
    TBestScores read;
    if (length > LargestFile || !ParseScoreText(std::string(buffer, length), read))
        return TRead::Damaged;
    best = read;
    return TRead::Read;
}

bool TScoreFile::Read(TBestScores &stored) {
    return ReadFile(stored) != TRead::Unreadable;
}

// A new file beside the old one, on the disk before it takes the old one's
// name.
bool TScoreFile::WriteWhole(const TBestScores &best) const {
    const std::string temporary = Path + ".new-" + std::to_string(getpid());
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const std::string text = ScoreText(best);
    const bool written =
        write(fd, text.data(), text.size()) == ssize_t(text.size()) && fsync(fd) == 0;
    const bool closed = close(fd) == 0;
    if (!written || !closed || rename(temporary.c_str(), Path.c_str()) != 0) {
        unlink(temporary.c_str());
        return false;
    }
    return true;
}

bool TScoreFile::Update(const std::function<TBestScores(const TBestScores &)> &merge) {
    if (Path.empty() || !MakeFolders(Folder(Path)))
        return false;
    TFileLock lock(Path + ".lock");
    if (!lock.Held)
        return false;
    TBestScores stored;
    if (ReadFile(stored) == TRead::Unreadable)
        return false;
    return WriteWhole(merge(stored));
}
