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
} // namespace

bool ParseFrameOptions(const std::vector<std::string> &args, TFrameOptions &options) {
    if (args.size() < 3)
        return false;
    if (!ParseNumber(args[0], 1, MaxFrameSide, options.Width) ||
        !ParseNumber(args[1], 1, MaxFrameSide, options.Height) || args[2].empty() ||
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
