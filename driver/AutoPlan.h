#pragma once
#include <cstdint>

#include "driver/Timing.h"
#include "game/Stakko.h"

// An automatic player's plan carried out one step at a time: its |d|
// sideways moves fall on the first |d| steps and its r turns on the first r
// steps; every step also falls one cell. The first |d| steps are followed
// by the shift pause, all later ones by the fall pause.
class TAutoPlan {
public:
    void Start(int32_t rotation, int32_t shift) {
        Rotation = rotation;
        Shift = shift;
        ShiftCount = shift < 0 ? -static_cast<int64_t>(shift) : shift;
        ShiftStep = 1;
        RotationStep = 1;
        PaceCounter = 0;
    }

    // The sideways move of this step: +1, -1, or 0 when none is due.
    int32_t TakeShift() {
        bool due = ShiftStep <= ShiftCount;
        ++ShiftStep;
        return due ? (Shift > 0 ? 1 : -1) : 0;
    }

    // Whether this step turns the figure.
    bool TakeTurn() {
        bool due = RotationStep <= Rotation;
        ++RotationStep;
        return due;
    }

    // The pause after this step.
    uint32_t TakePause() {
        bool shifting = PaceCounter < ShiftCount;
        ++PaceCounter;
        return shifting ? ShiftStepPause : FallStepPause;
    }

private:
    int32_t Rotation = 0;
    int32_t Shift = 0;
    int64_t ShiftCount = 0;
    int64_t ShiftStep = 1;
    int64_t RotationStep = 1;
    int64_t PaceCounter = 0;
};

// Carries a plan out at once, as the automatic steps do but without waiting:
// each pause the game thread would make is added to *clock (if given) as its
// step ends, so that a kind picked at the landing sees the right time.
// Returns the pauses' sum. Every step that does not land moves the figure
// down, so this ends.
inline uint32_t PlayPlanAtOnce(TStakko &game, int32_t rotation, int32_t shift, uint32_t *clock) {
    TAutoPlan plan;
    plan.Start(rotation, shift);
    uint32_t paused = 0;
    for (;;) {
        if (int32_t dx = plan.TakeShift())
            game.ShiftX(dx);
        if (plan.TakeTurn())
            game.Rotate(1);
        if (game.ShiftY(1) == 0)
            return paused;
        uint32_t pause = plan.TakePause();
        paused += pause;
        if (clock)
            *clock += pause;
    }
}
