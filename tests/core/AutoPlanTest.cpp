// Carrying a plan out step by step: which steps shift, which turn, and the
// pause that follows each.
#include "driver/AutoPlan.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <vector>

namespace {

struct TStepMoves {
    int32_t Shift;
    bool Turn;
    uint32_t Pause;
    bool operator==(const TStepMoves &o) const {
        return Shift == o.Shift && Turn == o.Turn && Pause == o.Pause;
    }
};

std::ostream &operator<<(std::ostream &out, const TStepMoves &s) {
    return out << "{shift " << s.Shift << ", turn " << s.Turn << ", pause " << s.Pause << "}";
}

// The moves of the plan's first `steps` steps, taken in a step's order.
std::vector<TStepMoves> Steps(TAutoPlan &plan, int steps) {
    std::vector<TStepMoves> moves;
    for (int i = 0; i < steps; ++i) {
        int32_t shift = plan.TakeShift();
        bool turn = plan.TakeTurn();
        moves.push_back({shift, turn, plan.TakePause()});
    }
    return moves;
}

std::vector<TStepMoves> PlanSteps(int32_t rotation, int32_t shift, int steps) {
    TAutoPlan plan;
    plan.Start(rotation, shift);
    return Steps(plan, steps);
}

TEST(AutoPlan, ShiftsTurnsAndPausesFollowThePlanStepByStep) {
    // d = 3, r = 2: shift and turn twice, shift once more, then only falls.
    EXPECT_EQ(PlanSteps(2, 3, 6), (std::vector<TStepMoves>{{1, true, 150},
                                                          {1, true, 150},
                                                          {1, false, 150},
                                                          {0, false, 50},
                                                          {0, false, 50},
                                                          {0, false, 50}}));
    // d = -2, r = 0: two steps to the left 150 ms apart, then falls 50 ms apart.
    EXPECT_EQ(PlanSteps(0, -2, 4), (std::vector<TStepMoves>{{-1, false, 150},
                                                           {-1, false, 150},
                                                           {0, false, 50},
                                                           {0, false, 50}}));
    // d = 0, r = 0: only falls, 50 ms apart from the first step.
    EXPECT_EQ(PlanSteps(0, 0, 3),
              (std::vector<TStepMoves>{{0, false, 50}, {0, false, 50}, {0, false, 50}}));
    // More turns than shifts: the turns go on after the sideways moves, and
    // only the sideways moves decide the pace.
    EXPECT_EQ(PlanSteps(3, 1, 4), (std::vector<TStepMoves>{{1, true, 150},
                                                          {0, true, 50},
                                                          {0, true, 50},
                                                          {0, false, 50}}));
}

TEST(AutoPlan, ANewStartBeginsAgainFromStepOne) {
    TAutoPlan plan;
    plan.Start(2, 3);
    Steps(plan, 5); // the first plan used up, and two steps beyond

    plan.Start(1, -1);
    EXPECT_EQ(Steps(plan, 3),
              (std::vector<TStepMoves>{{-1, true, 150}, {0, false, 50}, {0, false, 50}}));

    // Restarting part-way through: the new plan's counts, not what was left.
    plan.Start(0, 2);
    Steps(plan, 1);
    plan.Start(0, 2);
    EXPECT_EQ(Steps(plan, 3),
              (std::vector<TStepMoves>{{1, false, 150}, {1, false, 150}, {0, false, 50}}));
}

} // namespace
