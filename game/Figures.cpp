#include "game/Figures.h"

#include "game/Random.h"

const TOffset KindOffsets[KindCount][FigureCells] = {
    {{0, 0}, {0, 2}, {0, -2}, {0, -4}},    // straight bar of four
    {{0, 0}, {1, -1}, {0, -2}, {-1, -1}},  // two in a column, one each side between
    {{0, 0}, {0, -2}, {0, 2}, {1, -1}},    // bar of three, cell at upper right
    {{0, 0}, {0, -2}, {0, 2}, {-1, -1}},   // bar of three, cell at upper left
    {{0, 0}, {1, 1}, {-1, 1}, {-2, 0}},    // sideways zigzag
    {{0, 0}, {1, -1}, {-1, -1}, {-2, 0}},  // its mirror image
    {{-2, 0}, {-1, -1}, {0, -2}, {1, -1}}, // arch, two rising then one
    {{-1, -1}, {0, -2}, {1, -1}, {2, 0}},  // arch, one rising then two
    {{0, 0}, {0, 2}, {1, -1}, {-1, -1}},   // three-armed star
    {{0, 2}, {-1, 1}, {-1, -1}, {0, -2}},  // arc left of the origin
};

const int32_t KickOffsets[KickCount] = {0, 1, -1, 2, -2, 3, -3};

TOffset TurnOffset(TOffset o, int32_t steps) {
    int32_t forward = steps % 6;
    if (forward < 0)
        forward += 6;
    for (int32_t i = 0; i < forward; ++i)
        o = TurnOnce(o);
    return o;
}

int32_t PickRandomKind(uint32_t ticks) {
    SeedRandom(ticks % 32767u);
    int32_t k = NextRandom() % 11;
    return k < 10 ? k : 0;
}
