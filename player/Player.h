#pragma once
#include <cstdint>

#include "game/Stakko.h"

// The automatic player: the value of a glass and the search for the best
// placement of the figure in play.

// The greater, the better the glass (its stored cells only, never the
// falling figure): empty rows at the top, the depth of every column, less
// the weighted holes and roughness. A glass without rows is worth 0.
int32_t ValueGlass(const TStakko &game);

// The result of the placement search, with what the tools report of it.
struct TPlacement {
    int32_t Rotation = 0; // 60° steps from the present orientation
    int32_t Shift = 0;    // ShiftX steps, negative to the left
    int32_t Value = 0;    // the best ValueGlass; -1,000,000 if no trial scored above it
    int32_t Trials = 0;   // placements landed and scored
};

// Every rotation count and every diagonal slide from where the figure is,
// each followed by a straight fall, tried on copies of the game; the first
// best Value wins. The game itself is not changed and no kind is drawn.
TPlacement SearchPlacement(const TStakko &game);

// The search's rotation count and shift alone.
void FindBestMove(const TStakko &game, int32_t &rotation, int32_t &shift);
