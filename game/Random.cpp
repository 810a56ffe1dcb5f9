#include "game/Random.h"

namespace {
thread_local uint32_t RandomState = 1;
}

void SeedRandom(uint32_t seed) {
    RandomState = seed;
}

int32_t NextRandom() {
    RandomState = RandomState * 22695477u + 1u;
    return static_cast<int32_t>((RandomState >> 16) & 0x7fffu);
}
