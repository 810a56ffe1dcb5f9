// The automatic player: ValueGlass, the placement search, and self-play.
#include <gtest/gtest.h>

#include <cstring>
#include <ostream>

#include "TestSupport.h"
#include "game/Stakko.h"

namespace {

struct ValueCase {
    const char *Name;
    void (*Setup)(TStakko &);
    int32_t Value;
};

void PrintTo(const ValueCase &c, std::ostream *os) {
    *os << c.Name;
}

const ValueCase ValueCases[] = {
    {"Empty", [](TStakko &) {}, 4061},
    {"BottomCellOfColumnZero", [](TStakko &s) { s.SetCell(0, 30, 1); }, 3958},
    {"CellAboveAnEmptyBottomCell", [](TStakko &s) { s.SetCell(0, 28, 1); }, 3258},
    {"OddColumnPair",
     [](TStakko &s) {
         test::Fill(s, {{3, 27}, {3, 29}});
     },
     3163},
    {"OddColumnCellOverAHole", [](TStakko &s) { s.SetCell(3, 27, 1); }, 2936},
    {"UpLineBarOneCell",
     [](TStakko &s) {
         test::FillUpLine(s, 30);
         s.SetCell(10, 30, 0);
     },
     2494},
};

class ValueGlassTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(ValueGlassTest, WeighsHeightSpaceHolesAndRoughness) {
    TStakko s;
    test::MakeGlass(s, 11, 31);
    GetParam().Setup(s);
    uint8_t before[StoreSize];
    std::memcpy(before, s.Glass, sizeof before);
    EXPECT_EQ(s.ValueGlass(), GetParam().Value);
    EXPECT_EQ(std::memcmp(before, s.Glass, sizeof before), 0);
}

INSTANTIATE_TEST_SUITE_P(Glasses, ValueGlassTest, ::testing::ValuesIn(ValueCases),
                         [](const ::testing::TestParamInfo<ValueCase> &info) {
                             return std::string(info.param.Name);
                         });

TEST(ValueGlass, GlassWithoutRowsTracesAndScoresZero) {
    TStakko s;
    s.Width = 11;
    s.Height = 0;
    test::TraceRecorder traces;
    EXPECT_EQ(s.ValueGlass(), 0);
    EXPECT_EQ(traces.Traces(), std::vector<std::string>{"ValueGlass"});
}

struct SearchCase {
    int32_t Kind, Trials, Rotation, Shift, Value;
};

void PrintTo(const SearchCase &c, std::ostream *os) {
    *os << "kind " << c.Kind;
}

class SearchTest : public ::testing::TestWithParam<SearchCase> {};

TEST_P(SearchTest, BestPlacementOnAnEmptyGlass) {
    const SearchCase &c = GetParam();
    TStakko s;
    test::FixedKind kinds{c.Kind};
    kinds.Install(s);
    test::MakeGlass(s, 11, 31);
    s.NewFigure();
    TPlacement best = s.SearchPlacement();
    EXPECT_EQ(best.Trials, c.Trials);
    EXPECT_EQ(best.Rotation, c.Rotation);
    EXPECT_EQ(best.Shift, c.Shift);
    EXPECT_EQ(best.Value, c.Value);

    int32_t rotation = -9, shift = -9;
    s.FindBestMove(rotation, shift);
    EXPECT_EQ(rotation, c.Rotation);
    EXPECT_EQ(shift, c.Shift);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, SearchTest,
    ::testing::Values(SearchCase{0, 54, 0, -6, 2761}, SearchCase{1, 58, 0, 0, 2998},
                      SearchCase{4, 54, 0, 3, 3313}, SearchCase{5, 54, 0, -4, 3313},
                      SearchCase{8, 18, 1, -5, 3171}, SearchCase{9, 56, 1, 0, 2929}));

struct Snapshot {
    uint8_t Glass[StoreSize];
    int32_t CellX[12], CellY[12];
    int32_t FigX, FigY, Kind, Score, Lines;
    bool GameOver;

    explicit Snapshot(const TStakko &s)
        : FigX(s.FigX), FigY(s.FigY), Kind(s.Kind), Score(s.Score), Lines(s.Lines),
          GameOver(s.GameOver) {
        std::memcpy(Glass, s.Glass, sizeof Glass);
        std::memcpy(CellX, s.CellX, sizeof CellX);
        std::memcpy(CellY, s.CellY, sizeof CellY);
    }
    void ExpectSame(const TStakko &s) const {
        EXPECT_EQ(std::memcmp(Glass, s.Glass, sizeof Glass), 0);
        EXPECT_EQ(std::memcmp(CellX, s.CellX, sizeof CellX), 0);
        EXPECT_EQ(std::memcmp(CellY, s.CellY, sizeof CellY), 0);
        EXPECT_EQ(s.FigX, FigX);
        EXPECT_EQ(s.FigY, FigY);
        EXPECT_EQ(s.Kind, Kind);
        EXPECT_EQ(s.GameOver, GameOver);
        EXPECT_EQ(s.Score, Score);
        EXPECT_EQ(s.Lines, Lines);
    }
};

// Trials land figures, clear lines and reach the top, yet the object is
// left as it was, unscored and unpainted, with drawing on.
TEST(Search, LeavesTheObjectAsItWas) {
    test::RecordingPainter painter;
    TStakko s;
    painter.Bind(s);
    test::FixedKind kinds{3};
    kinds.Install(s);
    test::MakeGlass(s, 11, 31);
    test::FillUpLine(s, 30);
    s.SetCell(0, 30, 0);                    // the bar slid to the left wall completes it
    test::Fill(s, test::Column(10, 2, 28)); // a landing on it reaches the top
    test::PlaceFigure(s, 0, 6, 0);
    s.CellX[7] = 123; // slots beyond the four in use are kept too
    s.Score = 17;
    s.Lines = 6;
    Snapshot before(s);

    TPlacement best = s.SearchPlacement();
    EXPECT_GT(best.Trials, 0);
    before.ExpectSame(s);
    EXPECT_TRUE(s.Drawing);
    EXPECT_EQ(painter.Painted, 0);
    s.Painter = nullptr;
}

TEST(Search, AfterTheEndOfTheGameEachRotationCountScoresTheGlassOnce) {
    for (int32_t kind : {0, 8}) {
        TStakko s;
        test::MakeGlass(s, 11, 31);
        test::Fill(s, {{4, 0}, {4, 2}, {4, 4}});
        test::PlaceFigure(s, kind, 6, 0);
        s.GameOver = true;
        Snapshot before(s);
        TPlacement best = s.SearchPlacement();
        EXPECT_EQ(best.Trials, kind == 8 ? 2 : 6) << "kind " << kind;
        EXPECT_EQ(best.Rotation, 0);
        EXPECT_EQ(best.Shift, 0);
        EXPECT_EQ(best.Value, s.ValueGlass());
        before.ExpectSame(s);
    }
}

// Kinds in a fixed, varied order for self-play.
int32_t NextTestKind(void *context) {
    auto *state = static_cast<uint32_t *>(context);
    *state = *state * 1103515245u + 12345u;
    return static_cast<int32_t>((*state >> 16) % 10u);
}

// The driver's way of carrying a plan out: per step at most one sideways
// move, at most one turn, then one fall.
TEST(SelfPlay, RunsManyFiguresWithoutAFailure) {
    test::TraceRecorder traces;
    TStakko s;
    uint32_t kindState = 2024;
    s.SetKindSource(&NextTestKind, &kindState);
    test::MakeGlass(s, 11, 31);
    s.NewFigure();
    int figures = 0, lines = 0;
    while (figures < 300) {
        if (s.GameOver) {
            lines += s.Lines;
            s.NewGame();
        }
        int32_t rotation = 0, shift = 0;
        s.FindBestMove(rotation, shift);
        ASSERT_TRUE(s.Drawing);
        for (int step = 0; step < 100; ++step) {
            if (shift != 0) {
                int32_t dir = shift > 0 ? 1 : -1;
                s.ShiftX(dir);
                shift -= dir;
            }
            if (rotation > 0) {
                s.Rotate(1);
                --rotation;
            }
            if (s.ShiftY(1) == 0)
                break;
            ASSERT_LT(step, 99) << "figure never landed";
        }
        ++figures;
    }
    lines += s.Lines;
    EXPECT_EQ(traces.Traces(), std::vector<std::string>{});
    EXPECT_GT(lines, 0);
    EXPECT_GE(s.Score, s.Lines);
    EXPECT_LE(s.Score, 2 * s.Lines);
}

} // namespace
