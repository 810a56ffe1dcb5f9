// stakko: the saver as an XScreenSaver hack.
#include <cstdio>
#include <string>
#include <vector>

#include "Version.h"
#include "saver/HackOptions.h"
#include "saver/x11/HackRun.h"

namespace {
constexpr int UsageExit = 2;
}

int main(int argc, char **argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    THackOptions options;
    std::string problem;
    if (!ParseHackOptions(args, options, problem)) {
        std::fprintf(stderr, "stakko: %s\n%s\n", problem.c_str(), HackUsage);
        return UsageExit;
    }
    if (options.Help) {
        std::printf("%s\n", HackUsage);
        return 0;
    }
    if (options.Version) {
        std::printf("stakko %s\n", STAKKO_VERSION_TEXT);
        return 0;
    }
    return RunHack(options);
}
