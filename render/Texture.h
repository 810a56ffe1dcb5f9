#pragma once
#include <array>
#include <cstdint>

#include "render/Colours.h"

// The background texture as plain data: a random height field turned into
// colours through a 256-entry ramp of the current palette.

constexpr int32_t TextureWidth = 400;
constexpr int32_t TextureHeight = 320;
constexpr int32_t RampSize = 256;

using TRamp = std::array<TColour, RampSize>;

// Filled for the current palette by BuildTexture.
extern TRamp Ramp;

// 400 × 320 heights, x-major (all 320 values of x = 0 first); after
// BuildTexture every value is 0 to 255, an index into Ramp.
extern int32_t HeightMap[TextureWidth][TextureHeight];

inline int32_t HeightAt(int32_t x, int32_t y) { return HeightMap[x][y]; }

// The ramp of palette 0 (Brown), 1 (Blue) or 2 (Green); any other palette
// gives the flat, almost black ramp.
TRamp BuildRamp(int32_t palette);

// One random step from height v with the random number r (0 to 32767): an
// even offset in −60..60, turned the other way if it would leave 0..255.
int32_t StepFrom(int32_t v, int32_t r);

// Where the height field's random numbers come from.
using HeightRandom = int32_t (*)();

// Generates HeightMap (rows and columns grown by random steps from 128 at
// (0, 0), then smoothed twice). The product draws from the game's
// generator; tests pass a source of their own.
void GenerateHeightMap(HeightRandom next = nullptr);

// One in-place smoothing pass over the inner points of HeightMap.
void SmoothHeightMap();

// Ramp for the palette and a new HeightMap.
void BuildTexture(int32_t palette);

// The texture's pixels, Ramp[HeightMap(x, y)], as 32-bit 0x00RRGGBB words,
// top row first (the layout of a top-down 32-bit device-independent bitmap).
using TTexturePixels = std::array<uint32_t, TextureWidth * TextureHeight>;
void RenderTexturePixels(TTexturePixels &pixels);
