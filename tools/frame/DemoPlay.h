#pragma once
#include <cstdint>

class TStakko;

// Plays at least the given number of figures with the automatic player as
// the game thread's automatic steps do, without painting: a search, then per
// step at most one sideways move, one turn and one fall. A game that ends is
// recorded in the best scores and followed by a new one, as the play routine
// does. It stops in a game that has some figures in its glass.
void PlayDemo(TStakko &game, int32_t figures);
