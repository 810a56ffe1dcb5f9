#pragma once
#include <cstdint>

// The ten figure kinds and the lattice's turn and side-kick rules.

constexpr int KindCount = 10;
constexpr int FigureCells = 4;

struct TOffset {
    int32_t X; // columns to the right
    int32_t Y; // rows (half cells) downward
};

// Offsets of cells 0 to 3 as a new figure receives them, by kind.
extern const TOffset KindOffsets[KindCount][FigureCells];

// Origin column offsets tried, in order, when a turned figure does not fit.
constexpr int KickCount = 7;
extern const int32_t KickOffsets[KickCount];

// One 60° counter-clockwise turn on the screen: (dx, dy) becomes
// ((dx + dy) / 2, (dy - 3 dx) / 2), exact because dx and dy share parity.
inline TOffset TurnOnce(TOffset o) {
    return TOffset{(o.X + o.Y) / 2, (o.Y - 3 * o.X) / 2};
}

// Turns by steps (any sign), reduced to 0 to 5 counter-clockwise steps.
TOffset TurnOffset(TOffset o, int32_t steps);

// The kind of a fresh pick at the tick count ticks: reseeds the game's
// generator with ticks modulo 32767, draws k, and maps k mod 11 to a kind
// (10 becomes 0), so kind 0 comes twice as often as any other.
int32_t PickRandomKind(uint32_t ticks);
