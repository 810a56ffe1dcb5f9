#include "player/Player.h"

namespace {
constexpr int32_t NoValue = -1000000;

// The trials' landings place figures that are never played.
class TTrialKinds final : public TKindSource {
public:
    int32_t NextKind() override { return 0; }
};
} // namespace

TPlacement SearchPlacement(const TStakko &game) {
    TPlacement best;
    best.Value = NoValue;
    TTrialKinds kinds;
    // The three-armed star looks the same after two turns.
    int32_t rotations = game.Kind == 8 ? 2 : 6;
    for (int32_t rot = 0; rot < rotations; ++rot) {
        int32_t i = 0;
        int32_t direction = -1;
        while (direction < 3) {
            TStakko trial = game;
            if (rot > 0)
                trial.Rotate(rot);
            if (trial.ShiftX(direction * i) == i) {
                while (trial.ShiftY(1, kinds) != 0) {
                }
                int32_t value = ValueGlass(trial);
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
        }
    }
    return best;
}

void FindBestMove(const TStakko &game, int32_t &rotation, int32_t &shift) {
    rotation = 0;
    shift = 0;
    TPlacement best = SearchPlacement(game);
    rotation = best.Rotation;
    shift = best.Shift;
}
