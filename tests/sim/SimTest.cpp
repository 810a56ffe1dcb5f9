// The simulator's protocol, run in-process; the values it prints are the
// game's own, tested with the game.
#include <gtest/gtest.h>

#include <sstream>

#include "SimCommands.h"

namespace {

struct TRun {
    int Status;
    std::string Out, Err;
};

TRun RunSim(const std::string &words, const std::string &input = "") {
    std::istringstream in(input), split(words);
    std::vector<std::string> args;
    for (std::string word; split >> word;)
        args.push_back(word);
    std::ostringstream out, err;
    int status = ::RunSim(args, in, out, err);
    return {status, out.str(), err.str()};
}

// A 5 x 5 glass: '#' filled, '.' empty, a blank where no cell is.
const std::string Glass = "5 5\n. . .\n . . \n. # .\n # # \n# # #\n";

TEST(Sim, EachCommandPrintsItsResult) {
    EXPECT_EQ(RunSim("eval", Glass + "figure 0 2 0\n").Out, "value 92\n");
    EXPECT_EQ(RunSim("clear", Glass).Out,
              "removed 1 score 1 lines 1\n5 5\n. . .\n . . \n. . .\n . . \n. # .\n");
    EXPECT_EQ(RunSim("best", Glass + "figure 1 2 0\n").Out,
              "rotation 1 shift -1 value 29 trials 12\n");
    EXPECT_EQ(RunSim("best", Glass + "figure 1 2 0 1\n").Out, // turned once already
              "rotation 0 shift -1 value 29 trials 11\n");
    EXPECT_EQ(RunSim("play --width 5 --height 7 --kinds 0,0,0,0,0,0,0,0").Out,
              "figure 1 kind 0 rotation 1 shift -1\n"
              "figure 2 kind 0 rotation 1 shift -1\n"
              "figure 3 kind 0 rotation 1 shift 1\n"
              "lines 1 score 1 gameover 1\n"
              "5 7\n. . .\n # . \n. . .\n # . \n# # .\n # . \n. # .\n");
    // Kinds picked on the saver's clock from the seed (across the tick wrap).
    TRun games = RunSim("play --width 7 --height 21 --games 2 --seed 4294967000");
    EXPECT_EQ(games.Out.substr(0, games.Out.find(" search mean ")),
              "game 1 figures 8 lines 0 score 0\n"
              "game 2 figures 8 lines 2 score 2\n"
              "games 2 mean figures 8.0 lines 1.0 score 1.0");
}

// The version is the CMake project's, handed to this test apart from the
// header that the program reads.
TEST(Sim, HelpAndVersionGoToStandardOutput) {
    TRun version = RunSim("--version");
    EXPECT_EQ(std::pair(version.Status, version.Err), std::pair(ExitOk, std::string()));
    EXPECT_EQ(version.Out, "stakko-sim " STAKKO_PROJECT_VERSION "\n");
    TRun help = RunSim("--help");
    EXPECT_EQ(std::pair(help.Status, help.Err), std::pair(ExitOk, std::string()));
    EXPECT_EQ(help.Out.rfind("usage: stakko-sim ", 0), 0u) << help.Out;
    EXPECT_NE(help.Out.find("--version"), std::string::npos) << help.Out;
}

// Refused: exit status 2, nothing on standard output, one line naming the problem.
TEST(Sim, BadInputIsRefusedWithOneLine) {
    const std::string Empty = "5 3\n. . .\n . . \n. . .\n", Play = "play --width 11 --height 31 ";
    const struct {
        std::string Args, Input, Mentions;
    } cases[] = {
        // clang-format off
        {"", "", "missing command"}, {"eval file.txt", Empty, "unexpected argument"},
        {"play", "", "missing option --width"}, {Play + "--width 13 --kinds 1", "", "given twice"},
        {"play --width 10 --height 31 --kinds 1", "", "even"},
        {Play + "--kinds 1,12", "", "unknown figure kind 12"}, {Play, "", "--kinds"},
        {Play + "--kinds 1 --games 2", "", "does not go with"},
        {Play + "--games 2", "", "missing option --seed"},
        {Play + "--games 1 --seed 4294967296", "", "out of range"},
        {"eval", "", "empty input"}, {"eval", "5 3 1\n", "header"},
        {"eval", "12 31\n", "width 12 is even"}, {"eval", "33 31\n", "width 33 is out of range"},
        {"eval", "5 3\n. . .\n", "after 1 of 3 rows"}, {"eval", "5 3\n. o .\n", "row 0 column 2"},
        {"eval", "5 3\n\x01\n", "\\x01"},
        {"eval", "5 3\n" + std::string(5000, '.') + "\n", "longer than"},
        {"eval", Empty + "hello\n", "not a figure line"}, {"best", Empty, "missing figure line"},
        {"best", Empty + "figure 10 2 0\n", "unknown figure kind 10"},
        {"best", Empty + "figure 0 2 1\n", "parities differ"},
        {"best", Empty + "figure 0 2 0\nfigure 0 2 0\n", "second"},
        // clang-format on
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Mentions);
        TRun run = RunSim(c.Args, c.Input);
        EXPECT_EQ(std::pair(run.Status, run.Out), std::pair(ExitBadInput, std::string()));
        EXPECT_EQ(run.Err.rfind("stakko-sim: ", 0), 0u) << run.Err;
        EXPECT_EQ(run.Err.find('\n'), run.Err.size() - 1) << run.Err;
        EXPECT_NE(run.Err.find(c.Mentions), std::string::npos) << run.Err;
    }
}

} // namespace
