#pragma once
#include <array>
#include <cstdint>
#include <memory>

#include "render/Colours.h"

// The background texture as plain data: a random height field turned into
// colours through a 256-entry ramp of the palette.

constexpr int32_t TextureWidth = 400;
constexpr int32_t TextureHeight = 320;
constexpr int32_t RampSize = 256;

using TRamp = std::array<TColour, RampSize>;

// The ramp of palette 0 (Brown), 1 (Blue) or 2 (Green); any other palette
// gives the flat, almost black ramp.
TRamp BuildRamp(int32_t palette);

// One random step from height v with the random number r (0 to 32767): an
// even offset in −60..60, turned the other way if it would leave 0..255.
int32_t StepFrom(int32_t v, int32_t r);

// Where the height field's random numbers come from.
using HeightRandom = int32_t (*)();

// The texture's pixels as 32-bit 0x00RRGGBB words, top row first (the layout
// of a top-down 32-bit device-independent bitmap).
using TTexturePixels = std::array<uint32_t, TextureWidth * TextureHeight>;

class TTexture {
public:
    TTexture();

    // A ramp for the palette and a new height field (rows and columns grown
    // by random steps from 128 at (0, 0), then smoothed twice). The product
    // draws from the game's generator; tests pass a source of their own.
    void Build(int32_t palette, HeightRandom next = nullptr);

    // Heights are 0 to 255 after Build, indices into the ramp.
    int32_t HeightAt(int32_t x, int32_t y) const { return Heights[x][y]; }
    int32_t &Height(int32_t x, int32_t y) { return Heights[x][y]; }
    const TRamp &Ramp() const { return Colours; }
    // One in-place smoothing pass over the inner points.
    void Smooth();
    void RenderPixels(TTexturePixels &pixels) const;

private:
    void Grow(HeightRandom next);

    TRamp Colours{};
    // 400 × 320 heights, x-major (all 320 values of x = 0 first); made once.
    std::unique_ptr<int32_t[][TextureHeight]> Heights;
};
