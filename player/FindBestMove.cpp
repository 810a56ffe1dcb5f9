#include <cstring>

#include "game/Stakko.h"

namespace {
constexpr int32_t NoValue = -1000000;

// What a trial changes and the search puts back after it.
struct TSavedState {
    uint8_t Glass[StoreSize];
    int32_t CellX[12];
    int32_t CellY[12];
    int32_t FigX;
    int32_t FigY;
    bool GameOver;
};

void Save(const TStakko &s, TSavedState &saved) {
    std::memcpy(saved.Glass, s.Glass, sizeof saved.Glass);
    std::memcpy(saved.CellX, s.CellX, sizeof saved.CellX);
    std::memcpy(saved.CellY, s.CellY, sizeof saved.CellY);
    saved.FigX = s.FigX;
    saved.FigY = s.FigY;
    saved.GameOver = s.GameOver;
}

void Restore(TStakko &s, const TSavedState &saved) {
    std::memcpy(s.Glass, saved.Glass, sizeof saved.Glass);
    std::memcpy(s.CellX, saved.CellX, sizeof saved.CellX);
    std::memcpy(s.CellY, saved.CellY, sizeof saved.CellY);
    s.FigX = saved.FigX;
    s.FigY = saved.FigY;
    s.Kind = s.SavedKind;
    s.GameOver = saved.GameOver;
}
} // namespace

void TStakko::FindBestMove(int32_t &rotation, int32_t &shift) {
    rotation = 0;
    shift = 0;
    TPlacement best = SearchPlacement();
    rotation = best.Rotation;
    shift = best.Shift;
}

// Every rotation count and every diagonal slide, each followed by a straight
// fall on the real glass with drawing off; the first best Value wins.
TPlacement TStakko::SearchPlacement() {
    TPlacement best;
    best.Value = NoValue;
    Drawing = false;
    TSavedState saved;
    Save(*this, saved);
    SavedKind = Kind;

    // The three-armed star looks the same after two turns.
    int32_t rotations = Kind == 8 ? 2 : 6;
    for (int32_t rot = 0; rot < rotations; ++rot) {
        int32_t i = 0;
        int32_t direction = -1;
        while (direction < 3) {
            if (rot > 0)
                Rotate(rot);
            if (ShiftX(direction * i) == i) {
                while (ShiftY(1) != 0) {
                }
                int32_t value = ValueGlass();
                ++best.Trials;
                if (value > best.Value) {
                    best.Value = value;
                    best.Shift = direction * i;
                    best.Rotation = rot;
                }
                ++i;
            } else {
                i = 1;
                direction += 2;
            }
            Restore(*this, saved);
        }
    }
    Drawing = true;
    return best;
}
