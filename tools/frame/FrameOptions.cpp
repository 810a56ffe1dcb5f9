#include "FrameOptions.h"

#include <cerrno>
#include <cstdlib>

const char *const FrameUsage = "usage: stakko-frame WIDTH HEIGHT OUT.bmp [--palette N] "
                               "[--preview] [--noinfo] [--plain] [--demo] [--seed TICKS]";

namespace {
// A whole decimal number within the bounds; no sign of trailing text.
bool ParseNumber(const std::string &text, long low, long high, int32_t &value) {
    if (text.empty())
        return false;
    char *end = nullptr;
    errno = 0;
    long parsed = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || parsed < low || parsed > high)
        return false;
    value = static_cast<int32_t>(parsed);
    return true;
}

// A side of the picture, 1 to MaxFrameSide.
bool ParseSide(const std::string &text, const char *name, int32_t &side, std::string &problem) {
    if (ParseNumber(text, 1, MaxFrameSide, side))
        return true;
    // Digits, not all zeros, refused: a number above the limit, however long.
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos ||
        text.find_first_not_of('0') == std::string::npos)
        return false;
    const std::string max = std::to_string(MaxFrameSide);
    const int64_t megabytes = int64_t{MaxFrameSide} * MaxFrameSide * 4 / (1024 * 1024);
    problem = std::string(name) + " " + text + " is above " + max +
              ": the picture is drawn in a device-dependent bitmap of the screen's depth (" + max +
              " x " + max + " at 32 bits is " + std::to_string(megabytes) +
              " MB), and larger ones are refused by older GDIs or fail for lack of memory";
    return false;
}
} // namespace

bool ParseFrameOptions(const std::vector<std::string> &args, TFrameOptions &options,
                       std::string &problem) {
    if (args.size() < 3)
        return false;
    if (!ParseSide(args[0], "width", options.Width, problem) ||
        !ParseSide(args[1], "height", options.Height, problem) || args[2].empty() ||
        args[2][0] == '-')
        return false;
    options.Output = args[2];
    for (std::size_t i = 3; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (arg == "--palette") {
            // Any number is a palette value; 0 to 3 are the schemes.
            if (++i >= args.size() || !ParseNumber(args[i], -1000, 1000, options.Palette))
                return false;
        } else if (arg == "--preview") {
            options.Preview = true;
        } else if (arg == "--noinfo") {
            options.NoInfo = true;
        } else if (arg == "--plain") {
            options.Plain = true;
        } else if (arg == "--demo") {
            options.Demo = true;
        } else if (arg == "--seed") {
            int32_t seed = 0;
            if (++i >= args.size() || !ParseNumber(args[i], 0, 2147483647L, seed))
                return false;
            options.Seeded = true;
            options.Seed = static_cast<uint32_t>(seed);
        } else {
            return false;
        }
    }
    return true;
}
