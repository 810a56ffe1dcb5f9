// The driver's rules: a plan's steps and pauses, the manual hold, the keys.
#include "driver/AutoPlan.h"
#include "driver/KeyMap.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Per step: the shift, 1 if it turns, and the pause after it.
std::vector<uint32_t> PlanSteps(TAutoPlan &plan, int32_t rotation, int32_t shift, int steps) {
    plan.Start(rotation, shift);
    std::vector<uint32_t> moves;
    for (int i = 0; i < steps; ++i) {
        moves.push_back(static_cast<uint32_t>(plan.TakeShift()));
        moves.push_back(plan.TakeTurn());
        moves.push_back(plan.TakePause());
    }
    return moves;
}

TEST(AutoPlan, ShiftsTurnsAndPausesFollowThePlanStepByStep) {
    TAutoPlan plan;
    const uint32_t Left = static_cast<uint32_t>(-1);
    EXPECT_EQ(PlanSteps(plan, 2, 3, 5),
              (std::vector<uint32_t>{1, 1, 150, 1, 1, 150, 1, 0, 150, 0, 0, 50, 0, 0, 50}));
    EXPECT_EQ(PlanSteps(plan, 0, 0, 2), (std::vector<uint32_t>{0, 0, 50, 0, 0, 50}));
    // Only sideways moves set the pace; a new start begins from step one.
    EXPECT_EQ(PlanSteps(plan, 3, 1, 4),
              (std::vector<uint32_t>{1, 1, 150, 0, 1, 50, 0, 1, 50, 0, 0, 50}));
    EXPECT_EQ(PlanSteps(plan, 1, -2, 3),
              (std::vector<uint32_t>{Left, 1, 150, Left, 0, 150, 0, 0, 50}));
}

TEST(ManualHold, EndsWhenStrictlyMoreThan1500msHavePassedAcrossTheWrap) {
    for (uint32_t key : {10000u, 0xFFFFFF00u}) {
        EXPECT_FALSE(ManualHoldOver(key, key));
        EXPECT_FALSE(ManualHoldOver(key + 1500u, key));
        EXPECT_TRUE(ManualHoldOver(key + 1501u, key));
    }
}

TEST(KeyMap, TheFiveCursorAndSpaceKeysAndNoOther) {
    const uint32_t keys[] = {0x25, 0x27, 0x26, 0x28, 0x20}; // cursor keys and space
    const TKeyAction actions[] = {TKeyAction::Left, TKeyAction::Right, TKeyAction::Turn,
                                  TKeyAction::Down, TKeyAction::Drop};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(KeyAction(keys[i]), actions[i]) << keys[i];
    int gameKeys = 0;
    for (uint32_t key = 0; key < 0x200; ++key)
        gameKeys += IsGameKey(key) ? 1 : 0;
    EXPECT_EQ(gameKeys, 5); // nor a code whose low byte is a game key's
}

} // namespace
