#pragma once
#include <cstdint>

// The game driver's time constants, in milliseconds.
constexpr uint32_t StepTime = 500;          // between two figures; manual fall interval
constexpr uint32_t ShiftStepPause = 150;    // after a step while sideways moves are due
constexpr uint32_t FallStepPause = 50;      // after every other automatic step
constexpr uint32_t LockTimeout = 5000;      // longest wait for either lock
constexpr uint32_t ManualHoldTime = 3 * StepTime; // keys rest this long before the player returns

// Whether the keys have rested long enough for the automatic player to take
// over again: strictly more than the hold time, measured as an unsigned
// difference so that a wrap of the tick counter does no harm.
inline bool ManualHoldOver(uint32_t now, uint32_t lastKeyTime) {
    return now - lastKeyTime > ManualHoldTime;
}
