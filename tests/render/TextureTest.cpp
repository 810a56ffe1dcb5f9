#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "game/Random.h"
#include "render/Colours.h"
#include "render/Texture.h"

// Black background: brown with a grey shadow. Unknown palettes change nothing.
TEST(Colours, BlackBackgroundAndUnknownPalettes) {
    TColourTable colours = InitialColours, expected;
    ChooseColours(0, expected);
    expected[ShadowColour] = TColour{80, 80, 80};
    ChooseColours(-1, colours);
    EXPECT_EQ(colours, InitialColours);
    ChooseColours(3, colours);
    ChooseColours(5, colours);
    EXPECT_EQ(colours, expected);
}

TEST(Ramp, EntriesOfEachPalette) {
    const struct {
        int32_t Palette, Index;
        TColour Colour;
    } rows[] = {{0, 0, {255, 185, 92}},  {0, 128, {255, 207, 138}}, {0, 255, {255, 230, 230}},
                {1, 0, {100, 200, 255}}, {1, 255, {230, 230, 255}}, {1, 170, {165, 220, 255}},
                {2, 0, {92, 200, 185}},  {2, 255, {230, 200, 230}}, {3, 0, {15, 15, 15}},
                {3, 255, {15, 15, 15}},  {7, 100, {15, 15, 15}}};
    for (const auto &row : rows)
        EXPECT_EQ(BuildRamp(row.Palette)[row.Index], row.Colour) << row.Palette << "/" << row.Index;
}

namespace {
// d = 0 at every draw but one, which gives d = +60.
int64_t Draws = 0, RaisedDraw = -1;
int32_t NeutralExceptOne() {
    return Draws++ == RaisedDraw ? 60 : 30;
}
} // namespace

TEST(HeightMap, StepsDrawOrderAndRange) {
    // d = 2 (r mod 61) - 60, turned back where it would leave 0..255.
    const int32_t steps[][3] = {{128, 60, 188}, {128, 61, 68},  {128, 32767, 88},
                                {250, 60, 190}, {195, 60, 255}, {60, 0, 0}};
    for (const auto &s : steps)
        EXPECT_EQ(StepFrom(s[0], s[1]), s[2]) << s[0] << ", " << s[1];
    TTexture texture;
    texture.Build(1, [] { return 0; }); // zigzags along the top row and the left column
    for (int32_t x = 0; x < TextureWidth; ++x)
        ASSERT_EQ(texture.HeightAt(x, 0), x == 0 ? 128 : x % 2 ? 68 : 8) << x;
    for (int32_t y = 0; y < TextureHeight; ++y)
        ASSERT_EQ(texture.HeightAt(0, y), texture.HeightAt(y, 0)) << y;
    // Row by row, once per point but the first; the bottom-right corner comes last.
    const int64_t count = 399 + 319 * 400;
    for (int64_t raised : {int64_t(-1), int64_t(398), int64_t(399), count - 1}) {
        Draws = 0, RaisedDraw = raised;
        texture.Build(1, NeutralExceptOne);
        EXPECT_EQ(Draws, count);
        EXPECT_EQ((std::vector<int32_t>{texture.HeightAt(399, 0), texture.HeightAt(0, 2),
                                        texture.HeightAt(399, 319)}),
                  (std::vector<int32_t>{raised == 398 ? 188 : 128, raised == 399 ? 188 : 128,
                                        raised == count - 1 ? 188 : 128}));
    }
    // The game's generator by default; every pixel is the ramp's colour.
    SeedRandom(12345);
    texture.Build(0);
    std::vector<TTexturePixels> pixels(1);
    texture.RenderPixels(pixels[0]);
    int32_t low = 255, high = 0;
    for (int32_t y = 0; y < TextureHeight; ++y)
        for (int32_t x = 0; x < TextureWidth; ++x) {
            int32_t h = texture.HeightAt(x, y);
            low = std::min(low, h), high = std::max(high, h);
            const TColour &c = texture.Ramp()[h];
            ASSERT_EQ(pixels[0][y * TextureWidth + x], (c.R << 16u) | (c.G << 8u) | c.B);
        }
    EXPECT_TRUE(low >= 0 && high <= 255 && low < high);
    EXPECT_EQ(texture.Ramp(), BuildRamp(0));
}

// One pass in place: the neighbours to the left and above are already
// smoothed, the three divisions truncate separately, the edges stay.
TEST(HeightMap, SmoothingInPlaceWithSeparateTruncation) {
    TTexture texture;
    auto fill = [&](int32_t v) {
        for (int32_t x = 0; x < TextureWidth; ++x)
            for (int32_t y = 0; y < TextureHeight; ++y)
                texture.Height(x, y) = v;
    };
    fill(0);
    texture.Height(5, 5) = 160;
    texture.Smooth();
    EXPECT_EQ((std::vector<int32_t>{texture.HeightAt(4, 4), texture.HeightAt(5, 4),
                                    texture.HeightAt(6, 4), texture.HeightAt(4, 5),
                                    texture.HeightAt(5, 5)}),
              (std::vector<int32_t>{10, 21, 12, 22, 46})); // (5, 4) is 20 if done out of place
    fill(3);
    texture.Smooth();
    EXPECT_EQ((std::vector<int32_t>{texture.HeightAt(1, 1), texture.HeightAt(0, 1),
                                    texture.HeightAt(399, 200), texture.HeightAt(200, 319)}),
              (std::vector<int32_t>{1, 3, 3, 3})); // 3/4 + 12/8 + 12/16, not 48/16
}
