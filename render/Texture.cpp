#include "render/Texture.h"

#include "game/Random.h"

namespace {
constexpr int32_t TopHeight = 255;
constexpr int32_t StartHeight = 128;
constexpr TColour DarkRamp{15, 15, 15};

// a rises with i from `low` by up to `span`; b = a / (2 − i / 255).
struct TRampLevels {
    int32_t A;
    int32_t B;
};

TRampLevels LevelsAt(int32_t i, int32_t low, int32_t span) {
    int32_t a = low + span * i / 255;
    return TRampLevels{a, 255 * a / (510 - i)};
}

uint8_t Byte(int32_t v) {
    return static_cast<uint8_t>(v);
}

TColour RampEntry(int32_t palette, int32_t i) {
    switch (palette) {
    case 0: {
        TRampLevels l = LevelsAt(i, 185, 45);
        return TColour{255, Byte(l.A), Byte(l.B)};
    }
    case 1: {
        TRampLevels l = LevelsAt(i, 200, 30);
        return TColour{Byte(l.B), Byte(l.A), 255};
    }
    case 2: {
        TRampLevels l = LevelsAt(i, 185, 45);
        return TColour{Byte(l.B), 200, Byte(l.A)};
    }
    default:
        return DarkRamp;
    }
}

} // namespace

TTexture::TTexture() : Heights(new int32_t[TextureWidth][TextureHeight]()) {}

// Row 0 from left to right, then each further row: its first point from
// the one above, the others from the mean of their upper and left points.
void TTexture::Grow(HeightRandom next) {
    Height(0, 0) = StartHeight;
    for (int32_t x = 1; x < TextureWidth; ++x)
        Height(x, 0) = StepFrom(Height(x - 1, 0), next());
    for (int32_t y = 1; y < TextureHeight; ++y) {
        Height(0, y) = StepFrom(Height(0, y - 1), next());
        for (int32_t x = 1; x < TextureWidth; ++x)
            Height(x, y) = StepFrom((Height(x, y - 1) + Height(x - 1, y)) / 2, next());
    }
}

TRamp BuildRamp(int32_t palette) {
    TRamp ramp;
    for (int32_t i = 0; i < RampSize; ++i)
        ramp[i] = RampEntry(palette, i);
    return ramp;
}

int32_t StepFrom(int32_t v, int32_t r) {
    int32_t d = 2 * (r % 61) - 60;
    int32_t up = v + d;
    return up >= 0 && up <= TopHeight ? up : v - d;
}

// In place: the left and upper neighbours have already been smoothed in
// this pass. Each of the three divisions truncates on its own.
void TTexture::Smooth() {
    for (int32_t y = 1; y < TextureHeight - 1; ++y)
        for (int32_t x = 1; x < TextureWidth - 1; ++x) {
            int32_t sides =
                Height(x - 1, y) + Height(x + 1, y) + Height(x, y - 1) + Height(x, y + 1);
            int32_t corners = Height(x - 1, y - 1) + Height(x + 1, y - 1) + Height(x - 1, y + 1) +
                              Height(x + 1, y + 1);
            Height(x, y) = Height(x, y) / 4 + sides / 8 + corners / 16;
        }
}

void TTexture::Build(int32_t palette, HeightRandom next) {
    Colours = BuildRamp(palette);
    Grow(next ? next : NextRandom);
    Smooth();
    Smooth();
}

void TTexture::RenderPixels(TTexturePixels &pixels) const {
    for (int32_t y = 0; y < TextureHeight; ++y)
        for (int32_t x = 0; x < TextureWidth; ++x) {
            const TColour &c = Colours[HeightAt(x, y) & 0xff];
            pixels[y * TextureWidth + x] = (uint32_t{c.R} << 16) | (uint32_t{c.G} << 8) | c.B;
        }
}
