#pragma once
#include <cstdint>

// The game's own pseudo-random generator: results 0 to 32767, one state per
// thread. Figure kinds, flash pixels and the background texture draw from it.
void SeedRandom(uint32_t seed);
int32_t NextRandom();
