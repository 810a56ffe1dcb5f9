#include <gtest/gtest.h>

#include <algorithm>

#include "SimTestSupport.h"

namespace {
const std::string Empty5x3 = "5 3\n. . .\n . . \n. . .\n";

struct TBadCase {
    const char *name;
    std::vector<std::string> args;
    std::string input;
    const char *mentions; // a word the message must contain
};

void ExpectRefused(const TBadCase &c) {
    TSimRun run = RunSimWith(c.args, c.input);
    EXPECT_EQ(run.Status, ExitBadInput) << c.name;
    EXPECT_EQ(run.Out, "") << c.name;
    EXPECT_EQ(run.Err.rfind("stakko-sim: ", 0), 0u) << c.name << ": " << run.Err;
    EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1) << c.name << ": " << run.Err;
    EXPECT_EQ(run.Err.back(), '\n') << c.name;
    EXPECT_NE(run.Err.find(c.mentions), std::string::npos)
        << c.name << ": '" << c.mentions << "' not in: " << run.Err;
}
} // namespace

TEST(BadInput, MalformedGlassText) {
    const TBadCase cases[] = {
        {"empty input", {"eval"}, "", "empty input"},
        {"blank header", {"eval"}, "\n", "header"},
        {"one number in the header", {"eval"}, "5\n", "header"},
        {"three numbers in the header", {"eval"}, "5 3 1\n", "header"},
        {"width not a number", {"eval"}, "five 3\n", "not a number"},
        {"height with junk", {"eval"}, "5 3x\n", "not a number"},
        {"width with a fraction", {"eval"}, "5.0 3\n", "not a number"},
        {"even width", {"eval"}, "12 31\n", "width 12 is even"},
        {"even height", {"clear"}, "11 30\n", "height 30 is even"},
        {"width 0", {"eval"}, "0 31\n", "width 0 is out of range"},
        {"negative height", {"eval"}, "11 -1\n", "height -1 is out of range"},
        {"too wide", {"eval"}, "33 31\n", "width 33 is out of range"},
        {"too high", {"best"}, "11 73\n", "height 73 is out of range"},
        {"huge width", {"eval"}, "99999999999999999999 3\n", "out of range"},
        {"rows missing", {"eval"}, "5 3\n. . .\n", "after 1 of 3 rows"},
        {"no rows", {"eval"}, "5 3\n", "after 0 of 3 rows"},
        {"unknown mark on a cell", {"eval"}, "5 3\n. o .\n", "row 0 column 2"},
        {"blank on a cell", {"eval"}, "5 3\n.   .\n", "row 0 column 2"},
        {"mark beyond the last column", {"eval"}, "5 3\n. . . #\n", "beyond the last column"},
        {"control character on a cell", {"eval"}, "5 3\n\x01\n", "\\x01"},
        {"junk after the glass", {"eval"}, Empty5x3 + "hello\n", "not a figure line"},
        {"two figure lines", {"best"}, Empty5x3 + "figure 0 2 0\nfigure 0 2 0\n", "second"},
        {"line too long", {"eval"}, "5 3\n" + std::string(5000, '.') + "\n", "longer than"},
    };
    for (const TBadCase &c : cases)
        ExpectRefused(c);
}

TEST(BadInput, MalformedFigureLine) {
    const TBadCase cases[] = {
        {"best without a figure", {"best"}, Empty5x3, "missing figure line"},
        {"unknown kind", {"best"}, Empty5x3 + "figure 10 2 0\n", "unknown figure kind 10"},
        {"negative kind", {"best"}, Empty5x3 + "figure -1 2 0\n", "unknown figure kind -1"},
        {"kind not a number", {"best"}, Empty5x3 + "figure bar 2 0\n", "not a number"},
        {"origin parities differ", {"best"}, Empty5x3 + "figure 0 2 1\n", "parities differ"},
        {"negative origin parities differ", {"best"}, Empty5x3 + "figure 0 -1 -2\n", "parities"},
        {"row missing", {"best"}, Empty5x3 + "figure 0 2\n", "expected 'figure KIND COL ROW"},
        {"too many values", {"best"}, Empty5x3 + "figure 0 2 0 1 1\n", "expected 'figure"},
        {"column far out", {"best"}, Empty5x3 + "figure 0 1002 0\n", "out of range"},
        {"row far out", {"best"}, Empty5x3 + "figure 0 0 -1002\n", "out of range"},
        {"rotation not a number", {"best"}, Empty5x3 + "figure 0 2 0 left\n", "not a number"},
        {"bad figure line under eval too", {"eval"}, Empty5x3 + "figure 11 2 0\n", "kind 11"},
    };
    for (const TBadCase &c : cases)
        ExpectRefused(c);
}

TEST(BadInput, CommandLine) {
    const TBadCase cases[] = {
        {"no command", {}, "", "missing command"},
        {"unknown command", {"solve"}, "", "unknown command 'solve'"},
        {"argument to eval", {"eval", "file.txt"}, Empty5x3, "unexpected argument"},
        {"play without options", {"play"}, "", "missing option --width"},
        {"height missing", {"play", "--width", "11", "--kinds", "1"}, "", "--height"},
        {"value missing", {"play", "--height", "31", "--kinds", "1", "--width"}, "", "needs a value"},
        {"unknown option", {"play", "--depth", "3"}, "", "unknown option '--depth'"},
        {"option twice", {"play", "--width", "11", "--width", "13"}, "", "given twice"},
        {"width not a number", {"play", "--width", "x", "--height", "31", "--kinds", "1"}, "",
         "not a number"},
        {"even width", {"play", "--width", "10", "--height", "31", "--kinds", "1"}, "", "even"},
        {"too high", {"play", "--width", "11", "--height", "73", "--kinds", "1"}, "",
         "out of range"},
        {"unknown kind", {"play", "--width", "11", "--height", "31", "--kinds", "1,12"}, "",
         "unknown figure kind 12"},
        {"empty kind", {"play", "--width", "11", "--height", "31", "--kinds", "1,,2"}, "",
         "empty kind"},
        {"empty kinds", {"play", "--width", "11", "--height", "31", "--kinds", ""}, "",
         "empty kind"},
        {"kind not a number", {"play", "--width", "11", "--height", "31", "--kinds", "1,a"}, "",
         "not a number"},
        {"neither kinds nor games", {"play", "--width", "11", "--height", "31"}, "", "--kinds"},
        {"kinds with games",
         {"play", "--width", "11", "--height", "31", "--kinds", "1", "--games", "2"}, "",
         "does not go with"},
        {"games without seed", {"play", "--width", "11", "--height", "31", "--games", "2"}, "",
         "missing option --seed"},
        {"seed without games", {"play", "--width", "11", "--height", "31", "--seed", "2"}, "",
         "missing option --games"},
        {"no games",
         {"play", "--width", "11", "--height", "31", "--games", "0", "--seed", "1"}, "",
         "out of range"},
        {"negative seed",
         {"play", "--width", "11", "--height", "31", "--games", "1", "--seed", "-1"}, "",
         "out of range"},
        {"seed beyond 32 bits",
         {"play", "--width", "11", "--height", "31", "--games", "1", "--seed", "4294967296"}, "",
         "out of range"},
    };
    for (const TBadCase &c : cases)
        ExpectRefused(c);
}

TEST(BadInput, LargestSeedIsAccepted) {
    TSimRun run = RunSimWith(
        {"play", "--width", "5", "--height", "5", "--games", "1", "--seed", "4294967295"});
    EXPECT_EQ(run.Status, ExitOk) << run.Err;
}
