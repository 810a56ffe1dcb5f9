#pragma once
#include <array>
#include <cstdint>

// The colour table of a scheme: eleven colours, chosen by the palette when
// the renderer is bound to a window.

struct TColour {
    uint8_t R = 0;
    uint8_t G = 0;
    uint8_t B = 0;
    bool operator==(const TColour &o) const { return R == o.R && G == o.G && B == o.B; }
    bool operator!=(const TColour &o) const { return !(*this == o); }
};

enum TColourIndex {
    BackColour,    // plain background, panel fill, glass area
    LogoColour,    // logo words and labels
    LinkColour,    // web-address line
    ValueColour,   // best scores, score, lines, time
    ShadowColour,  // top and left bands of a panel frame
    LightColour,   // bottom and right bands of a panel frame
    OutlineColour, // every cell outline and bevel edge
    CellColour0,   // empty cell, flash pixels
    CellColour1,   // inner face of a filled cell
    CellColour2,   // upper bevel
    CellColour3,   // lower bevel
    ColourCount
};

constexpr int32_t PaletteCount = 4; // Brown, Blue, Green, Black background

using TColourTable = std::array<TColour, ColourCount>;

// What the table holds until a palette is chosen.
extern const TColourTable InitialColours;

// Fills the table with the scheme of palette 0 to 3; any other value keeps
// it as it is.
void ChooseColours(int32_t palette, TColourTable &colours);
