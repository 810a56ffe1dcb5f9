// New figures: spawn column, shapes, the random kind and its generator.
#include <gtest/gtest.h>

#include <thread>

#include "TestSupport.h"
#include "game/Figures.h"
#include "game/Random.h"
#include "game/Stakko.h"

namespace {

// The recurrence written out independently: bits 16 to 30 of the new state.
int32_t ReferenceDraw(uint32_t &state) {
    state = static_cast<uint32_t>((static_cast<uint64_t>(state) * 22695477u + 1u) & 0xffffffffu);
    return static_cast<int32_t>((state >> 16) % 32768u);
}

int32_t ReferenceKind(uint32_t ticks) {
    uint32_t state = ticks % 32767u;
    int32_t k = ReferenceDraw(state) % 11;
    return k == 10 ? 0 : k;
}

class SpawnColumnTest : public ::testing::TestWithParam<std::pair<int32_t, int32_t>> {};

TEST_P(SpawnColumnTest, NewFigureStandsAtTheEvenMiddleColumnOfRowZero) {
    TStakko s;
    test::FixedKind kinds{1};
    kinds.Install(s);
    s.Width = GetParam().first;
    s.Height = 31;
    s.FigY = 14;
    s.NewFigure();
    EXPECT_EQ(s.FigX, GetParam().second);
    EXPECT_EQ(s.FigY, 0);
}

INSTANTIATE_TEST_SUITE_P(Widths, SpawnColumnTest,
                         ::testing::Values(std::make_pair(0, 0), std::make_pair(11, 6),
                                           std::make_pair(13, 6), std::make_pair(15, 8),
                                           std::make_pair(17, 8), std::make_pair(19, 10),
                                           std::make_pair(21, 10), std::make_pair(23, 12),
                                           std::make_pair(25, 12), std::make_pair(27, 14),
                                           std::make_pair(29, 14), std::make_pair(31, 16)));

TEST(Figures, NewFigureTakesTheKindsOffsets) {
    TStakko s;
    test::FixedKind kinds;
    kinds.Install(s);
    test::MakeGlass(s, 11, 31);
    for (int32_t kind = 0; kind < 10; ++kind) {
        kinds.Kind = kind;
        s.NewFigure();
        ASSERT_EQ(s.Kind, kind);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(s.CellX[i], test::Shapes[kind][i][0]) << "kind " << kind << " cell " << i;
            EXPECT_EQ(s.CellY[i], test::Shapes[kind][i][1]) << "kind " << kind << " cell " << i;
        }
    }
}

TEST(Figures, EveryPickReseedsFromTheTickCount) {
    TStakko s;
    test::MakeGlass(s, 11, 31);
    test::FakeTicks ticks(0);
    for (uint32_t t : {0u, 1u, 95u, 4321u, 32766u, 32767u + 4321u, 0xfffffffeu}) {
        ticks.Set(t);
        s.NewFigure();
        int32_t first = s.Kind;
        NextRandom(); // draws between picks do not matter
        s.NewFigure();
        EXPECT_EQ(s.Kind, first) << "ticks " << t;
        EXPECT_EQ(s.Kind, ReferenceKind(t)) << "ticks " << t;
    }
}

TEST(Figures, KindZeroComesAboutTwiceAsOftenAsEachOther) {
    TStakko s;
    test::MakeGlass(s, 11, 31);
    test::FakeTicks ticks(0);
    int counts[10] = {};
    const int picks = 11000;
    for (int i = 0; i < picks; ++i) {
        ticks.Set(static_cast<uint32_t>(i) * 7u);
        s.NewFigure();
        ASSERT_GE(s.Kind, 0);
        ASSERT_LT(s.Kind, 10);
        ++counts[s.Kind];
    }
    const double other = picks / 11.0;
    EXPECT_NEAR(counts[0] / other, 2.0, 0.25);
    for (int kind = 1; kind < 10; ++kind)
        EXPECT_NEAR(counts[kind] / other, 1.0, 0.15) << "kind " << kind;
}

TEST(Random, FollowsTheRecurrence) {
    // By hand: seed 1 gives the state 22695478 = 0x015A4E36, so 0x15A = 346.
    SeedRandom(1);
    EXPECT_EQ(NextRandom(), 346);
    EXPECT_EQ(NextRandom(), 130);
    EXPECT_EQ(NextRandom(), 10982);
    SeedRandom(0);
    EXPECT_EQ(NextRandom(), 0); // state 1
    EXPECT_EQ(NextRandom(), 346);
    // Seed 95 gives the state 0x808305AC: bit 31 is not part of the result.
    SeedRandom(95);
    EXPECT_EQ(NextRandom(), 131);

    uint32_t state = 12345;
    SeedRandom(state);
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(NextRandom(), ReferenceDraw(state)) << "draw " << i;
}

TEST(Random, EachThreadHasItsOwnState) {
    SeedRandom(1);
    EXPECT_EQ(NextRandom(), 346);
    int32_t other = -1;
    std::thread worker([&other] {
        SeedRandom(12345);
        NextRandom();
        other = NextRandom();
    });
    worker.join();
    EXPECT_EQ(other, 24996);
    EXPECT_EQ(NextRandom(), 130); // untouched by the other thread's draws
}

} // namespace
