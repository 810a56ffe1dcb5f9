#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <sstream>

#include "GlassText.h"
#include "SimTestSupport.h"
#include "game/Figures.h"
#include "game/Ticks.h"

namespace {
std::vector<std::string> LinesOf(const std::string &text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

bool AllDigits(const std::string &text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// Checks a line word by word against a pattern: "N" stands for an unsigned
// integer, "I" for a signed one, "D" for a number with one decimal; any other
// word must be there as it is. Gives the numbers in order.
std::optional<std::vector<double>> Fields(const std::string &line, const std::string &pattern) {
    std::vector<std::string> words, expected;
    std::istringstream lineWords(line), patternWords(pattern);
    for (std::string word; std::getline(lineWords, word, ' ');)
        words.push_back(word);
    for (std::string word; patternWords >> word;)
        expected.push_back(word);
    if (words.size() != expected.size())
        return std::nullopt;
    std::vector<double> numbers;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string &w = words[i];
        bool ok = true;
        if (expected[i] == "N")
            ok = AllDigits(w);
        else if (expected[i] == "I")
            ok = AllDigits(w[0] == '-' ? w.substr(1) : w);
        else if (expected[i] == "D")
            ok = w.size() >= 3 && w[w.size() - 2] == '.' && AllDigits(w.substr(0, w.size() - 2)) &&
                 AllDigits(w.substr(w.size() - 1));
        else
            ok = w == expected[i];
        if (!ok)
            return std::nullopt;
        if (expected[i] == "N" || expected[i] == "I" || expected[i] == "D")
            numbers.push_back(std::stod(w));
    }
    return numbers;
}

std::vector<int> KindsOf(const std::string &list) {
    std::vector<int> kinds;
    std::istringstream in(list);
    for (std::string item; std::getline(in, item, ',');)
        kinds.push_back(std::stoi(item));
    return kinds;
}

// The kinds in order for the figures that come into play; the search's
// trial landings happen with drawing off and take none.
struct TQueue {
    const TStakko *Game = nullptr;
    std::vector<int> Kinds;
    std::size_t Next = 0;
};

int32_t QueuedKind(void *context) {
    TQueue &q = *static_cast<TQueue *>(context);
    if (!q.Game->Drawing)
        return 0;
    return q.Next < q.Kinds.size() ? q.Kinds[q.Next++] : 0;
}

struct TReplay {
    std::unique_ptr<TStakko> Game = std::make_unique<TStakko>();
    std::vector<std::string> FigureLines;
};

// The same play done directly on the game object.
TReplay Replay(int width, int height, const std::vector<int> &kinds) {
    TReplay replay;
    TStakko &s = *replay.Game;
    TQueue queue{&s, kinds};
    s.SetKindSource(&QueuedKind, &queue);
    s.Width = width;
    s.Height = height;
    s.NewGame();
    s.NewFigure();
    for (std::size_t figure = 1; figure <= kinds.size() && !s.GameOver; ++figure) {
        int kind = s.Kind;
        int32_t rotation = -1, shift = -1;
        s.FindBestMove(rotation, shift);
        replay.FigureLines.push_back("figure " + std::to_string(figure) + " kind " +
                                     std::to_string(kind) + " rotation " +
                                     std::to_string(rotation) + " shift " + std::to_string(shift));
        for (int step = 1;; ++step) {
            if (step <= std::abs(shift))
                s.ShiftX(shift > 0 ? 1 : -1);
            if (step <= rotation)
                s.Rotate(1);
            if (s.ShiftY(1) == 0)
                break;
        }
    }
    s.SetKindSource(nullptr, nullptr);
    return replay;
}
} // namespace

TEST(PlayKinds, PrintsEachFigureAndMatchesAReplay) {
    const struct {
        int width, height;
        std::string kinds;
        bool gameOver;
        int minLines;
    } cases[] = {
        {11, 31, "1,4,0,8,9,2,3", false, 1},
        {11, 31, "5", false, 0},
        {31, 71, "0,1,2,3,4,5,6,7,8,9,9,8,7,6,5,4,3,2,1,0", false, 0},
        {1, 1, "0,0", true, 0},
        {5, 7, "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0", true, 0},
    };
    for (const auto &c : cases) {
        std::string name = std::to_string(c.width) + "x" + std::to_string(c.height) + " " + c.kinds;
        std::vector<int> kinds = KindsOf(c.kinds);
        TSimRun run = RunSimWith({"play", "--width", std::to_string(c.width), "--height",
                                  std::to_string(c.height), "--kinds", c.kinds});
        ASSERT_EQ(run.Status, ExitOk) << name << ": " << run.Err;
        EXPECT_EQ(run.Err, "") << name;
        std::vector<std::string> lines = LinesOf(run.Out);
        TReplay replay = Replay(c.width, c.height, kinds);
        const std::size_t figures = replay.FigureLines.size();
        ASSERT_EQ(lines.size(), figures + 2 + c.height) << name;

        for (std::size_t i = 0; i < figures; ++i) {
            auto f = Fields(lines[i], "figure N kind N rotation N shift I");
            ASSERT_TRUE(f) << name << ": " << lines[i];
            EXPECT_EQ((*f)[0], i + 1) << name;
            EXPECT_EQ((*f)[1], kinds[i]) << name;
            EXPECT_LT((*f)[2], 6) << name;
            EXPECT_EQ(lines[i], replay.FigureLines[i]) << name;
        }
        if (!c.gameOver)
            EXPECT_EQ(figures, kinds.size()) << name << ": one figure per listed kind";
        else
            EXPECT_LT(figures, kinds.size()) << name << ": play stops at the game over";

        auto counts = Fields(lines[figures], "lines N score N gameover N");
        ASSERT_TRUE(counts) << name << ": " << lines[figures];
        const TStakko &played = *replay.Game;
        EXPECT_EQ((*counts)[0], played.Lines) << name;
        EXPECT_EQ((*counts)[1], played.Score) << name;
        EXPECT_EQ((*counts)[2], c.gameOver ? 1 : 0) << name;
        EXPECT_EQ(played.GameOver, c.gameOver) << name;
        EXPECT_GE(played.Lines, c.minLines) << name;

        // The final glass, read back, holds the replay's cells.
        std::string glass;
        for (std::size_t i = figures + 1; i < lines.size(); ++i)
            glass += lines[i] + "\n";
        TStakko printed;
        std::istringstream in(glass);
        ASSERT_NO_THROW(ReadGlassText(in, printed)) << name;
        ASSERT_EQ(printed.Width, c.width);
        ASSERT_EQ(printed.Height, c.height);
        for (int column = 0; column < c.width; ++column)
            for (int row = 0; row < c.height; ++row)
                ASSERT_EQ(printed.GetCell(column, row), played.GetCell(column, row))
                    << name << " at (" << column << ", " << row << ")";
    }
}

TEST(PlayGames, OneLinePerGameAndASummaryThatAgrees) {
    const std::vector<std::string> args = {"play",    "--width", "11", "--height", "11",
                                           "--games", "4",       "--seed", "7"};
    TSimRun first = RunSimWith(args);
    ASSERT_EQ(first.Status, ExitOk) << first.Err;
    EXPECT_EQ(first.Err, "");
    std::vector<std::string> lines = LinesOf(first.Out);
    ASSERT_EQ(lines.size(), 5u) << first.Out;

    double figures = 0, lineCount = 0, score = 0;
    for (int game = 1; game <= 4; ++game) {
        auto f = Fields(lines[game - 1], "game N figures N lines N score N");
        ASSERT_TRUE(f) << lines[game - 1];
        EXPECT_EQ((*f)[0], game);
        EXPECT_GT((*f)[1], 0);
        figures += (*f)[1];
        lineCount += (*f)[2];
        score += (*f)[3];
    }
    auto summary =
        Fields(lines[4], "games N mean figures D lines D score D search mean D us max D us");
    ASSERT_TRUE(summary) << lines[4];
    EXPECT_EQ((*summary)[0], 4);
    EXPECT_NEAR((*summary)[1], figures / 4, 0.05);
    EXPECT_NEAR((*summary)[2], lineCount / 4, 0.05);
    EXPECT_NEAR((*summary)[3], score / 4, 0.05);
    EXPECT_LE((*summary)[4], (*summary)[5]);

    // The simulated clock makes the games the same on every run.
    TSimRun second = RunSimWith(args);
    std::vector<std::string> again = LinesOf(second.Out);
    ASSERT_EQ(again.size(), lines.size());
    for (int game = 0; game < 4; ++game)
        EXPECT_EQ(again[game], lines[game]);
}

TEST(PlayGames, SeedChoosesTheKinds) {
    // Over many games two seeds a little apart give different games.
    auto games = [](const char *seed) {
        TSimRun run = RunSimWith(
            {"play", "--width", "11", "--height", "11", "--games", "20", "--seed", seed});
        EXPECT_EQ(run.Status, ExitOk) << run.Err;
        return run.Out.substr(0, run.Out.rfind("games "));
    };
    EXPECT_NE(games("1"), games("2"));
}

TEST(PlayGames, GivesTheTickCounterBack) {
    RunSimWith({"play", "--width", "5", "--height", "5", "--games", "1", "--seed", "123"});
    uint32_t drift = CurrentTicks() - MonotonicTicks();
    EXPECT_LT(drift + 1000u, 2000u) << "the simulated clock is still installed";
}

namespace {
// The saver's clock as the game thread would see it during play.
uint32_t ReplayNow = 0;
uint32_t ReplayTicks() { return ReplayNow; }

struct TFlashingPick {
    const TStakko *Game = nullptr;
    int32_t LinesSeen = 0;
};

// A landing's lines flash a second each inside the landing, before the next
// figure is picked.
int32_t PickAfterFlashes(void *context) {
    TFlashingPick &pick = *static_cast<TFlashingPick *>(context);
    if (!pick.Game->Drawing)
        return 0;
    ReplayNow += 1000u * static_cast<uint32_t>(pick.Game->Lines - pick.LinesSeen);
    pick.LinesSeen = pick.Game->Lines;
    return PickRandomKind();
}

std::vector<std::string> ReplayGames(int width, int height, int games, uint32_t seed) {
    std::vector<std::string> lines;
    ReplayNow = seed;
    SetTickSource(&ReplayTicks);
    auto game = std::make_unique<TStakko>();
    TStakko &s = *game;
    TFlashingPick pick{&s};
    s.SetKindSource(&PickAfterFlashes, &pick);
    s.Width = width;
    s.Height = height;
    s.NewGame();
    s.NewFigure();
    for (int g = 1; g <= games; ++g) {
        if (g > 1) {
            s.NewGame();
            pick.LinesSeen = 0;
        }
        int figures = 0;
        while (!s.GameOver) {
            int32_t rotation = 0, shift = 0;
            s.FindBestMove(rotation, shift);
            for (int step = 1;; ++step) {
                if (step <= std::abs(shift))
                    s.ShiftX(shift > 0 ? 1 : -1);
                if (step <= rotation)
                    s.Rotate(1);
                if (s.ShiftY(1) == 0)
                    break;
                ReplayNow += step <= std::abs(shift) ? 150 : 50;
            }
            ReplayNow += 1000u * static_cast<uint32_t>(s.Lines - pick.LinesSeen);
            pick.LinesSeen = s.Lines;
            ReplayNow += 500;
            ++figures;
        }
        lines.push_back("game " + std::to_string(g) + " figures " + std::to_string(figures) +
                        " lines " + std::to_string(s.Lines) + " score " + std::to_string(s.Score));
    }
    SetTickSource(nullptr);
    return lines;
}
} // namespace

TEST(PlayGames, KindsArePickedOnTheSaversClock) {
    const struct {
        int width, height, games;
        uint32_t seed;
    } cases[] = {{11, 15, 6, 11}, {7, 21, 4, 4294967000u}, {13, 19, 3, 32767}};
    for (const auto &c : cases) {
        TSimRun run = RunSimWith({"play", "--width", std::to_string(c.width), "--height",
                                  std::to_string(c.height), "--games", std::to_string(c.games),
                                  "--seed", std::to_string(c.seed)});
        ASSERT_EQ(run.Status, ExitOk) << run.Err;
        std::vector<std::string> lines = LinesOf(run.Out);
        lines.pop_back(); // the summary
        EXPECT_EQ(lines, ReplayGames(c.width, c.height, c.games, c.seed))
            << c.width << "x" << c.height << " seed " << c.seed;
    }
}
