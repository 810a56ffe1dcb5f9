#include <gtest/gtest.h>

#include "game/Random.h"
#include "render/Texture.h"

namespace {
// Random sources for the height field: a counter of draws that returns a
// neutral number (d = 0) except at one chosen draw, which gives d = +60.
int64_t Draws = 0;
int64_t RaisedDraw = -1;

int32_t NeutralExceptOne() {
    int64_t index = Draws++;
    return index == RaisedDraw ? 60 : 30;
}

int32_t AlwaysZero() {
    ++Draws;
    return 0;
}

void Generate(HeightRandom next, int64_t raised = -1) {
    Draws = 0;
    RaisedDraw = raised;
    GenerateHeightMap(next);
}

void FillHeights(int32_t value) {
    for (auto &column : HeightMap)
        for (int32_t &h : column)
            h = value;
}

constexpr int64_t DrawsPerMap = 399 + 319 * 400;
} // namespace

TEST(Ramp, BrownBlueAndGreenEnds) {
    TRamp brown = BuildRamp(0);
    EXPECT_EQ(brown[0], (TColour{255, 185, 92}));
    EXPECT_EQ(brown[128], (TColour{255, 207, 138}));
    EXPECT_EQ(brown[255], (TColour{255, 230, 230}));
    TRamp blue = BuildRamp(1);
    EXPECT_EQ(blue[0], (TColour{100, 200, 255}));
    EXPECT_EQ(blue[255], (TColour{230, 230, 255}));
    TRamp green = BuildRamp(2);
    EXPECT_EQ(green[0], (TColour{92, 200, 185}));
    EXPECT_EQ(green[255], (TColour{230, 200, 230}));
}

// b = a / (2 − i / 255), truncated, for every entry. The quotient is taken
// exactly: in plain doubles Blue's entry 170 (exactly 165) would come out 164.
TEST(Ramp, EveryEntryFollowsTheQuotientForm) {
    auto quotient = [](int a, int i) { return static_cast<int>(a / (2.0 - i / 255.0) + 1e-9); };
    TRamp brown = BuildRamp(0), blue = BuildRamp(1), green = BuildRamp(2);
    for (int i = 0; i < RampSize; ++i) {
        int a = 185 + 45 * i / 255;
        int b = quotient(a, i);
        EXPECT_EQ(brown[i], (TColour{255, uint8_t(a), uint8_t(b)})) << i;
        EXPECT_EQ(green[i], (TColour{uint8_t(b), 200, uint8_t(a)})) << i;
        int aBlue = 200 + 30 * i / 255;
        EXPECT_EQ(blue[i], (TColour{uint8_t(quotient(aBlue, i)), uint8_t(aBlue), 255})) << i;
    }
    EXPECT_EQ(blue[170], (TColour{165, 220, 255}));
}

TEST(Ramp, BlackBackgroundAndUnknownPalettesAreFlatAndDark) {
    for (int32_t palette : {3, 7, -1})
        for (const TColour &c : BuildRamp(palette))
            ASSERT_EQ(c, (TColour{15, 15, 15})) << "palette " << palette;
}

TEST(StepFrom, EvenOffsetsThatTurnBackAtTheLimits) {
    EXPECT_EQ(StepFrom(128, 0), 68);     // d = −60
    EXPECT_EQ(StepFrom(128, 60), 188);   // d = +60
    EXPECT_EQ(StepFrom(128, 61), 68);    // r is taken mod 61
    EXPECT_EQ(StepFrom(128, 32767), 88); // 32767 mod 61 = 10: d = −40
    EXPECT_EQ(StepFrom(8, 0), 68);       // −52 would leave the range
    EXPECT_EQ(StepFrom(250, 60), 190);   // 310 would leave it
    EXPECT_EQ(StepFrom(255, 30), 255);   // d = 0
}

TEST(HeightMap, GeneratedFromTheGameGeneratorStaysInRange) {
    SeedRandom(12345);
    BuildTexture(0);
    EXPECT_EQ(HeightAt(0, 0), 128);
    int32_t low = 255, high = 0;
    for (int32_t x = 0; x < TextureWidth; ++x)
        for (int32_t y = 0; y < TextureHeight; ++y) {
            low = std::min(low, HeightAt(x, y));
            high = std::max(high, HeightAt(x, y));
        }
    EXPECT_GE(low, 0);
    EXPECT_LE(high, 255);
    EXPECT_LT(low, high); // not flat
    EXPECT_EQ(Ramp, BuildRamp(0));
}

TEST(HeightMap, AZeroGeneratorZigzagsAlongTheTopRow) {
    Generate(AlwaysZero);
    EXPECT_EQ(HeightAt(0, 0), 128);
    for (int32_t x = 1; x < TextureWidth; ++x)
        ASSERT_EQ(HeightAt(x, 0), x % 2 == 1 ? 68 : 8) << "x = " << x;
    // The left column grows the same way and, like every edge, is not smoothed.
    for (int32_t y = 1; y < TextureHeight; ++y)
        ASSERT_EQ(HeightAt(0, y), y % 2 == 1 ? 68 : 8) << "y = " << y;
}

TEST(HeightMap, DrawsRowByRowOncePerPointButTheFirst) {
    Generate(NeutralExceptOne);
    EXPECT_EQ(Draws, DrawsPerMap);
    EXPECT_EQ(HeightAt(250, 100), 128); // a flat field stays flat

    Generate(NeutralExceptOne, 398); // the last draw of the top row
    EXPECT_EQ(HeightAt(399, 0), 188);
    EXPECT_EQ(HeightAt(0, 1), 128);

    Generate(NeutralExceptOne, 399); // the first draw of row 1 is its left end
    EXPECT_EQ(HeightAt(399, 0), 128);
    EXPECT_EQ(HeightAt(0, 1), 188);
    EXPECT_EQ(HeightAt(0, 2), 188);

    Generate(NeutralExceptOne, DrawsPerMap - 1); // the bottom-right corner comes last
    EXPECT_EQ(HeightAt(399, 319), 188);
    EXPECT_EQ(HeightAt(0, 319), 128);
}

// One pass in place: neighbours to the left and above are already smoothed,
// and the three divisions truncate separately.
TEST(Smoothing, InPlaceWithSeparateTruncation) {
    FillHeights(0);
    HeightMap[5][5] = 160;
    SmoothHeightMap();
    EXPECT_EQ(HeightAt(4, 4), 10);
    EXPECT_EQ(HeightAt(5, 4), 21); // 20 if the upper-left point were not yet smoothed
    EXPECT_EQ(HeightAt(6, 4), 12);
    EXPECT_EQ(HeightAt(4, 5), 22);
    EXPECT_EQ(HeightAt(5, 5), 46);

    FillHeights(3);
    SmoothHeightMap();
    EXPECT_EQ(HeightAt(1, 1), 1); // 3/4 + 12/8 + 12/16, not 48/16
    EXPECT_EQ(HeightAt(0, 1), 3); // the outermost rows and columns stay
    EXPECT_EQ(HeightAt(399, 200), 3);
    EXPECT_EQ(HeightAt(200, 319), 3);
}

