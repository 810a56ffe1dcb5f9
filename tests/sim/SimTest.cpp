#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "SimCommands.h"

namespace {

using TCells = std::vector<std::pair<int, int>>; // (column, row) of filled cells

struct TRun {
    int Status;
    std::string Out, Err;
};

TRun RunSim(const std::vector<std::string> &args, const std::string &input = "") {
    std::istringstream in(input);
    std::ostringstream out, err;
    int status = ::RunSim(args, in, out, err);
    return {status, out.str(), err.str()};
}

std::vector<std::string> Words(const std::string &line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

// Every row written whole, '.' an empty cell, '#' a filled one.
std::string Glass(const TCells &filled, const std::string &last = "", int width = 11,
                  int height = 31) {
    std::string text = std::to_string(width) + " " + std::to_string(height) + "\n";
    for (int row = 0; row < height; ++row) {
        std::string line(width, ' ');
        for (int column = row % 2; column < width; column += 2)
            line[column] =
                std::count(filled.begin(), filled.end(), std::pair{column, row}) ? '#' : '.';
        text += line + "\n";
    }
    return last.empty() ? text : text + last + "\n";
}

// Up line r: even columns at row r, odd ones at r - 1 (a down line: r + 1).
TCells Line(int r, int oddRow = -1, TCells cells = {}) {
    for (int column = 0; column < 11; ++column)
        cells.push_back({column, column % 2 ? r + oddRow : r});
    return cells;
}

TEST(Sim, EvalValuesTheGlassIgnoringAFigureLine) {
    TCells notColumn10 = Line(30);
    notColumn10.pop_back();
    for (auto [filled, value] :
         {std::pair{TCells{}, 4061}, {{{0, 30}}, 3958}, {notColumn10, 2494}}) {
        EXPECT_EQ(RunSim({"eval"}, Glass(filled)).Out, "value " + std::to_string(value) + "\n");
        EXPECT_EQ(RunSim({"eval"}, Glass(filled, "figure 0 6 0")).Out,
                  "value " + std::to_string(value) + "\n");
    }
}

TEST(Sim, ClearPrintsTheCountsAndTheSettledGlass) {
    const struct {
        TCells Before;
        const char *Counts;
        TCells After;
    } cases[] = {
        {Line(30, -1, {{0, 28}}), "removed 1 score 1 lines 1", {{0, 30}}},
        {Line(30, -1, Line(28)), "removed 2 score 3 lines 2", {}},
        {Line(30, -1, Line(26, +1, {{3, 21}})), "removed 2 score 3 lines 2", {{3, 29}}},
        {{{0, 30}, {2, 24}, {7, 21}}, "removed 0 score 0 lines 0", {{0, 30}, {2, 30}, {7, 29}}}};
    for (const auto &c : cases) {
        TRun run = RunSim({"clear"}, Glass(c.Before));
        EXPECT_EQ(run.Status, ExitOk) << run.Err;
        EXPECT_EQ(run.Out, std::string(c.Counts) + "\n" + Glass(c.After));
    }
}

TEST(Sim, BestFindsThePlacementOnAnEmptyGlass) {
    const std::pair<const char *, const char *> cases[] = {
        {"9 6 0", "rotation 1 shift 0 value 2929 trials 56"},
        {"9 6 0 1", "rotation 0 shift 0 value 2929 trials 56"}}; // turned once already
    for (auto [figure, expected] : cases)
        EXPECT_EQ(RunSim({"best"}, Glass({}, std::string("figure ") + figure)).Out,
                  std::string(expected) + "\n");
}

// Replays give the same games: the listed kinds, each figure's plan, the
// counts and the last glass; with --games, kinds picked on the saver's
// clock from the seed on (here across the tick counter's wrap).
TEST(Sim, PlayReplaysTheSameGames) {
    EXPECT_EQ(RunSim(Words("play --width 5 --height 7 --kinds 0,0,0,0,0,0,0,0")).Out,
              "figure 1 kind 0 rotation 1 shift -1\n"
              "figure 2 kind 0 rotation 1 shift -1\n"
              "figure 3 kind 0 rotation 1 shift 1\n"
              "lines 1 score 1 gameover 1\n" +
                  Glass({{1, 1}, {1, 3}, {0, 4}, {2, 4}, {1, 5}, {2, 6}}, "", 5, 7));
    TRun games = RunSim(Words("play --width 7 --height 21 --games 2 --seed 4294967000"));
    EXPECT_EQ(games.Out.substr(0, games.Out.find(" search mean ")),
              "game 1 figures 8 lines 0 score 0\n"
              "game 2 figures 8 lines 2 score 2\n"
              "games 2 mean figures 8.0 lines 1.0 score 1.0");
}

// Refused: exit status 2, nothing on standard output, one line naming the problem.
TEST(Sim, BadInputIsRefusedWithOneLine) {
    const std::string Empty = "5 3\n. . .\n . . \n. . .\n", Play = "play --width 11 --height 31 ";
    const struct {
        std::string Args, Input, Mentions;
    } cases[] = {{"", "", "missing command"},
                 {"eval file.txt", Empty, "unexpected argument"},
                 {"play", "", "missing option --width"},
                 {Play + "--width 13 --kinds 1", "", "given twice"},
                 {"play --width 10 --height 31 --kinds 1", "", "even"},
                 {Play + "--kinds 1,12", "", "unknown figure kind 12"},
                 {Play, "", "--kinds"},
                 {Play + "--kinds 1 --games 2", "", "does not go with"},
                 {Play + "--games 2", "", "missing option --seed"},
                 {Play + "--games 1 --seed 4294967296", "", "out of range"},
                 {"eval", "", "empty input"},
                 {"eval", "5 3 1\n", "header"},
                 {"eval", "12 31\n", "width 12 is even"},
                 {"eval", "33 31\n", "width 33 is out of range"},
                 {"eval", "5 3\n. . .\n", "after 1 of 3 rows"},
                 {"eval", "5 3\n. o .\n", "row 0 column 2"},
                 {"eval", "5 3\n\x01\n", "\\x01"},
                 {"eval", "5 3\n" + std::string(5000, '.') + "\n", "longer than"},
                 {"eval", Empty + "hello\n", "not a figure line"},
                 {"best", Empty, "missing figure line"},
                 {"best", Empty + "figure 10 2 0\n", "unknown figure kind 10"},
                 {"best", Empty + "figure 0 2 1\n", "parities differ"},
                 {"best", Empty + "figure 0 2 0\nfigure 0 2 0\n", "second"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Mentions);
        TRun run = RunSim(Words(c.Args), c.Input);
        EXPECT_EQ(run.Status, ExitBadInput);
        EXPECT_EQ(run.Out, "");
        EXPECT_EQ(run.Err.rfind("stakko-sim: ", 0), 0u) << run.Err;
        EXPECT_EQ(run.Err.find('\n'), run.Err.size() - 1) << run.Err;
        EXPECT_NE(run.Err.find(c.Mentions), std::string::npos) << run.Err;
    }
}

} // namespace
