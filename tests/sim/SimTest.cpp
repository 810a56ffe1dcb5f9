#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "SimCommands.h"
#include "driver/AutoPlan.h"
#include "game/Figures.h"
#include "game/Ticks.h"

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
        {"0 6 0", "rotation 0 shift -6 value 2761 trials 54"},
        {"8 6 0", "rotation 1 shift -5 value 3171 trials 18"},
        {"9 6 0", "rotation 1 shift 0 value 2929 trials 56"},
        {"9 6 0 1", "rotation 0 shift 0 value 2929 trials 56"}}; // turned once already
    for (auto [figure, expected] : cases)
        EXPECT_EQ(RunSim({"best"}, Glass({}, std::string("figure ") + figure)).Out,
                  std::string(expected) + "\n");
}

// The replays: the game object played directly, the driver's way, with the
// saver's clock where kinds are picked from it.
uint32_t Clock = 0;
int32_t LinesSeen = 0;
std::vector<int32_t> Queue;

// Trial landings (drawing off) take no kind; lines flash a second each
// inside the landing, before the next pick.
int32_t NextKind(void *game) {
    const TStakko &s = *static_cast<const TStakko *>(game);
    if (!s.Drawing)
        return 0;
    Clock += 1000u * static_cast<uint32_t>(s.Lines - LinesSeen);
    LinesSeen = s.Lines;
    if (Queue.empty())
        return PickRandomKind();
    int32_t kind = Queue.front();
    Queue.erase(Queue.begin());
    return kind;
}

std::string PlayOne(TStakko &s) {
    int32_t kind = s.Kind, rotation = 0, shift = 0;
    s.FindBestMove(rotation, shift);
    PlayPlanAtOnce(s, rotation, shift, &Clock);
    Clock += 1000u * static_cast<uint32_t>(s.Lines - LinesSeen) + StepTime;
    LinesSeen = s.Lines;
    return "kind " + std::to_string(kind) + " rotation " + std::to_string(rotation) + " shift " +
           std::to_string(shift);
}

void NewGame(TStakko &s, int width, int height, std::vector<int32_t> kinds = {}) {
    Queue = kinds;
    LinesSeen = 0;
    s.SetKindSource(&NextKind, &s);
    s.Width = width;
    s.Height = height;
    s.NewGame();
    s.NewFigure();
}

TEST(Sim, PlayKindsPrintsEachFigureTheCountsAndTheGlassOfAReplay) {
    const struct {
        int Width, Height;
        std::vector<int32_t> Kinds;
    } cases[] = {{11, 31, {1, 4, 0, 8, 9, 2, 3}},
                 {31, 71, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
                 {5, 7, std::vector<int32_t>(30, 0)}}; // ends at the game over
    for (const auto &c : cases) {
        std::string kinds;
        for (int32_t kind : c.Kinds)
            kinds += (kinds.empty() ? "" : ",") + std::to_string(kind);
        SCOPED_TRACE(kinds);
        TRun run = RunSim(Words("play --width " + std::to_string(c.Width) + " --height " +
                                std::to_string(c.Height) + " --kinds " + kinds));
        TStakko s;
        NewGame(s, c.Width, c.Height, c.Kinds);
        std::string expected;
        for (size_t figure = 1; figure <= c.Kinds.size() && !s.GameOver; ++figure)
            expected += "figure " + std::to_string(figure) + " " + PlayOne(s) + "\n";
        TCells filled;
        for (int column = 0; column < c.Width; ++column)
            for (int row = 0; row < c.Height; ++row)
                if (s.GetCell(column, row) == 1)
                    filled.push_back({column, row});
        expected += "lines " + std::to_string(s.Lines) + " score " + std::to_string(s.Score) +
                    " gameover " + std::to_string(s.GameOver) + "\n";
        EXPECT_EQ(run.Out, expected + Glass(filled, "", c.Width, c.Height)) << run.Err;
        EXPECT_EQ(s.GameOver, c.Width == 5);
    }
}

// The simulated clock starts at the seed, so a replay gives the same games.
TEST(Sim, PlayGamesPicksKindsOnTheSaversClock) {
    for (auto [width, height, games, seed] :
         {std::tuple{11, 15, 6, 11u}, {7, 21, 4, 4294967000u}, {13, 19, 3, 32767u}}) {
        TRun run = RunSim(Words("play --width " + std::to_string(width) + " --height " +
                                std::to_string(height) + " --games " + std::to_string(games) +
                                " --seed " + std::to_string(seed)));
        Clock = seed;
        SetTickSource([] { return Clock; });
        TStakko s;
        NewGame(s, width, height);
        std::string expected;
        for (int game = 1; game <= games; ++game) {
            if (game > 1)
                s.NewGame();
            int figures = 0;
            for (LinesSeen = 0; !s.GameOver; ++figures)
                PlayOne(s);
            expected += "game " + std::to_string(game) + " figures " + std::to_string(figures) +
                        " lines " + std::to_string(s.Lines) + " score " + std::to_string(s.Score) +
                        "\n";
        }
        SetTickSource(nullptr);
        EXPECT_EQ(run.Out.substr(0, run.Out.rfind("games ")), expected) << seed;
        EXPECT_EQ(run.Out.rfind("games " + std::to_string(games) + " mean figures "),
                  expected.size());
    }
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
