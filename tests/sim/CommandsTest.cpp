#include <gtest/gtest.h>

#include "SimTestSupport.h"

// Glasses of 11 x 31 unless stated otherwise.
namespace {
std::string Glass(const TCells &filled, const std::string &lastLine = "") {
    return GlassText(11, 31, filled, lastLine);
}
} // namespace

TEST(EvalCommand, ValuesOfKnownGlasses) {
    TCells upLine30Short = UpLine(30);
    upLine30Short.pop_back(); // all but column 10
    const struct {
        const char *name;
        TCells filled;
        int value;
    } cases[] = {
        {"empty", {}, 4061},
        {"only (0, 30)", {{0, 30}}, 3958},
        {"only (0, 28)", {{0, 28}}, 3258},
        {"(3, 27) and (3, 29)", {{3, 27}, {3, 29}}, 3163},
        {"only (3, 27)", {{3, 27}}, 2936},
        {"up line 30 but column 10", upLine30Short, 2494},
    };
    for (const auto &c : cases) {
        TSimRun run = RunSimWith({"eval"}, Glass(c.filled));
        EXPECT_EQ(run.Status, ExitOk) << c.name << ": " << run.Err;
        EXPECT_EQ(run.Out, "value " + std::to_string(c.value) + "\n") << c.name;
        EXPECT_EQ(run.Err, "") << c.name;
    }
}

TEST(EvalCommand, IgnoresAFigureLine) {
    TSimRun run = RunSimWith({"eval"}, Glass({{0, 30}}, "figure 0 6 0"));
    EXPECT_EQ(run.Status, ExitOk) << run.Err;
    EXPECT_EQ(run.Out, "value 3958\n");
}

TEST(ClearCommand, SettlesTheGlassAndCounts) {
    TCells column4;
    for (int row = 2; row <= 28; row += 2)
        column4.push_back({4, row});
    TCells column4Moved;
    for (int row = 4; row <= 30; row += 2)
        column4Moved.push_back({4, row});
    TCells stray = {{0, 30}, {2, 24}, {7, 21}};
    const struct {
        const char *name;
        TCells before;
        int removed, score;
        TCells after;
    } cases[] = {
        {"one up line, the cell above falls in", Joined({UpLine(30), {{0, 28}}}), 1, 1,
         {{0, 30}}},
        {"two up lines in one sweep", Joined({UpLine(30), UpLine(28)}), 2, 3, {}},
        {"line, then a loose cell falls to the bottom",
         Joined({{{0, 30}}, UpLine(28), {{5, 25}}}), 1, 1, {{0, 30}, {5, 29}}},
        {"grounded down line", DownLine(28), 1, 1, {}},
        {"column over a removed line moves down, top row empties",
         Joined({column4, UpLine(30)}), 1, 1, column4Moved},
        {"loose cells fall without a line", stray, 0, 0, {{0, 30}, {2, 30}, {7, 29}}},
        {"nothing to do", {{0, 30}, {1, 29}}, 0, 0, {{0, 30}, {1, 29}}},
        // The up line's removal makes the down line full; both score together.
        {"an up and a down line in one call", Joined({UpLine(30), DownLine(26), {{3, 21}}}), 2,
         3, {{3, 29}}},
    };
    for (const auto &c : cases) {
        TSimRun run = RunSimWith({"clear"}, Glass(c.before));
        EXPECT_EQ(run.Status, ExitOk) << c.name << ": " << run.Err;
        std::string counts = "removed " + std::to_string(c.removed) + " score " +
                             std::to_string(c.score) + " lines " + std::to_string(c.removed) +
                             "\n";
        EXPECT_EQ(run.Out, counts + Glass(c.after)) << c.name;
    }
}

TEST(BestCommand, PlacementsOnAnEmptyGlass) {
    const struct {
        const char *figure;
        const char *expected;
    } cases[] = {
        {"figure 0 6 0", "rotation 0 shift -6 value 2761 trials 54\n"},
        {"figure 1 6 0", "rotation 0 shift 0 value 2998 trials 58\n"},
        {"figure 4 6 0", "rotation 0 shift 3 value 3313 trials 54\n"},
        {"figure 5 6 0", "rotation 0 shift -4 value 3313 trials 54\n"},
        {"figure 8 6 0", "rotation 1 shift -5 value 3171 trials 18\n"},
        {"figure 9 6 0", "rotation 1 shift 0 value 2929 trials 56\n"},
        // Rotations count from the figure's present orientation.
        {"figure 9 6 0 1", "rotation 0 shift 0 value 2929 trials 56\n"},
    };
    for (const auto &c : cases) {
        TSimRun run = RunSimWith({"best"}, Glass({}, c.figure));
        EXPECT_EQ(run.Status, ExitOk) << c.figure << ": " << run.Err;
        EXPECT_EQ(run.Out, c.expected) << c.figure;
    }
}

TEST(BestCommand, SearchesTheGlassAsRead) {
    // A well at column 0 two cells deep beside a flat floor: the bar goes in.
    TCells floor;
    for (int column = 1; column < 11; ++column)
        for (int r = 30; r >= 26; r -= 2)
            floor.push_back({column, column % 2 ? r - 1 : r});
    TSimRun run = RunSimWith({"best"}, Glass(floor, "figure 0 6 0"));
    EXPECT_EQ(run.Status, ExitOk) << run.Err;
    EXPECT_EQ(run.Out.rfind("rotation 0 shift -6 ", 0), 0u) << run.Out;
}

TEST(BestCommand, FigureFarAboveTheGlassStillEnds) {
    // Sliding far beyond the walls above the glass is allowed; the search
    // must still come back in reasonable time at the bounds of the origin.
    TSimRun run = RunSimWith({"best"}, Glass({}, "figure 0 -1000 -1000"));
    EXPECT_EQ(run.Status, ExitOk) << run.Err;
    EXPECT_EQ(run.Out.rfind("rotation ", 0), 0u) << run.Out;
}
