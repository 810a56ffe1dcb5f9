#include "render/Colours.h"

namespace {
// One table per scheme: Brown, Blue, Green, Black background.
const TColourTable Schemes[PaletteCount] = {
    TColourTable{{{255, 193, 114},
                  {100, 50, 0},
                  {0, 28, 206},
                  {100, 50, 0},
                  {0, 0, 0},
                  {255, 255, 255},
                  {255, 183, 104},
                  {255, 193, 114},
                  {162, 81, 1},
                  {227, 142, 57},
                  {104, 55, 5}}},
    TColourTable{{{20, 193, 255},
                  {0, 28, 206},
                  {0, 28, 206},
                  {0, 28, 206},
                  {0, 0, 0},
                  {255, 255, 255},
                  {100, 164, 204},
                  {20, 193, 255},
                  {150, 220, 255},
                  {200, 250, 255},
                  {110, 180, 255}}},
    TColourTable{{{0, 186, 155},
                  {0, 108, 50},
                  {0, 28, 206},
                  {0, 108, 50},
                  {0, 0, 0},
                  {255, 255, 255},
                  {0, 150, 180},
                  {0, 186, 155},
                  {0, 162, 140},
                  {57, 227, 142},
                  {5, 104, 55}}},
    // Brown with a grey shadow; its texture is the flat dark ramp.
    TColourTable{{{255, 193, 114},
                  {100, 50, 0},
                  {0, 28, 206},
                  {100, 50, 0},
                  {80, 80, 80},
                  {255, 255, 255},
                  {255, 183, 104},
                  {255, 193, 114},
                  {162, 81, 1},
                  {227, 142, 57},
                  {104, 55, 5}}},
};

} // namespace

const TColourTable InitialColours = {{{255, 193, 114},
                                      {26, 60, 148},
                                      {179, 99, 39},
                                      {100, 50, 0},
                                      {0, 0, 0},
                                      {255, 255, 255},
                                      {255, 183, 104},
                                      {255, 193, 114},
                                      {162, 81, 1},
                                      {227, 142, 57},
                                      {104, 55, 5}}};

void ChooseColours(int32_t palette, TColourTable &colours) {
    if (palette < 0 || palette >= PaletteCount)
        return;
    colours = Schemes[palette];
}
