#include <gtest/gtest.h>

#include "saver/InputRules.h"

namespace {
constexpr uint32_t VkSpace = 0x20, VkLeft = 0x25, VkUp = 0x26, VkRight = 0x27, VkDown = 0x28;
constexpr uint32_t VkEscape = 0x1B, VkA = 0x41, VkReturn = 0x0D;
constexpr uint32_t GameKeys[] = {VkLeft, VkRight, VkUp, VkDown, VkSpace};

TEST(KeyDownAction, GameKeysSteerUnderManualControlEvenAfterAStop) {
    for (uint32_t key : GameKeys) {
        EXPECT_EQ(KeyDownAction(Saver, true, false, key), TInputAction::ManualKey);
        EXPECT_EQ(KeyDownAction(Saver, true, true, key), TInputAction::ManualKey);
    }
}

TEST(KeyDownAction, OtherKeysAskToEndUntilAStopIsRequested) {
    for (uint32_t key : {VkEscape, VkA, VkReturn}) {
        EXPECT_EQ(KeyDownAction(Saver, true, false, key), TInputAction::RequestEnd);
        EXPECT_EQ(KeyDownAction(Saver, true, true, key), TInputAction::Ignore);
    }
}

TEST(KeyDownAction, WithoutManualControlEveryKeyAsksToEnd) {
    for (uint32_t key : GameKeys)
        EXPECT_EQ(KeyDownAction(Saver, false, false, key), TInputAction::RequestEnd);
}

TEST(KeyDownAction, PreviewIgnoresEveryKey) {
    for (uint32_t key : {VkLeft, VkSpace, VkEscape})
        EXPECT_EQ(KeyDownAction(Preview, true, false, key), TInputAction::Ignore);
}

TEST(ButtonAction, AButtonAsksToEndUnlessAStopIsRequested) {
    EXPECT_EQ(ButtonAction(false), TInputAction::RequestEnd);
    EXPECT_EQ(ButtonAction(true), TInputAction::Ignore);
}

TEST(CloseAction, FullScreenCloseGoesThroughTheEndRequestOnce) {
    EXPECT_EQ(CloseAction(Saver, false), TCloseAction::RequestEnd);
    EXPECT_EQ(CloseAction(Saver, true), TCloseAction::Ignore);
    EXPECT_EQ(CloseAction(Preview, false), TCloseAction::Default);
    EXPECT_EQ(CloseAction(Configure, false), TCloseAction::Default);
}

TEST(MouseMoveAction, TheSeventhMoveAsksToEnd) {
    int32_t countdown = MouseMovesToEnd;
    for (int move = 1; move <= 6; ++move)
        EXPECT_EQ(MouseMoveAction(Saver, false, countdown), TInputAction::Ignore) << move;
    EXPECT_EQ(MouseMoveAction(Saver, false, countdown), TInputAction::RequestEnd);
    EXPECT_EQ(countdown, 0);
    // Refused password: the count starts again.
    countdown = MouseMovesToEnd;
    EXPECT_EQ(MouseMoveAction(Saver, false, countdown), TInputAction::Ignore);
}

TEST(MouseMoveAction, PreviewAndStoppedRunsNeitherCountNorEnd) {
    int32_t countdown = 1;
    EXPECT_EQ(MouseMoveAction(Preview, false, countdown), TInputAction::Ignore);
    EXPECT_EQ(MouseMoveAction(Saver, true, countdown), TInputAction::Ignore);
    EXPECT_EQ(countdown, 1);
}

TEST(EndAction, FullScreenAsksThePasswordPreviewStopsOthersDoNothing) {
    EXPECT_EQ(EndAction(Saver), TEndAction::AskPassword);
    EXPECT_EQ(EndAction(Preview), TEndAction::StopNow);
    EXPECT_EQ(EndAction(Configure), TEndAction::Nothing);
    EXPECT_EQ(EndAction(ChangePassword), TEndAction::Nothing);
    EXPECT_EQ(EndAction(NoMode), TEndAction::Nothing);
}

TEST(PriorityPlan, EachSettingChangesOnlyItsOwnPriorities) {
    TPriorityPlan low = PriorityPlan(PriorityLow, false);
    EXPECT_TRUE(low.GameThreadLowest);
    EXPECT_FALSE(low.ProcessNormalClass || low.GameThreadHighest || low.WindowThreadTimeCritical);

    TPriorityPlan high = PriorityPlan(PriorityHigh, false);
    EXPECT_TRUE(high.ProcessNormalClass && high.GameThreadHighest);
    EXPECT_FALSE(high.GameThreadLowest || high.WindowThreadTimeCritical);

    for (int32_t other : {PriorityNormal, 0, 105, 109, -1}) {
        TPriorityPlan plan = PriorityPlan(other, false);
        EXPECT_FALSE(plan.GameThreadLowest || plan.ProcessNormalClass || plan.GameThreadHighest ||
                     plan.WindowThreadTimeCritical)
            << other;
    }
    EXPECT_TRUE(PriorityPlan(PriorityLow, true).WindowThreadTimeCritical);
    EXPECT_TRUE(PriorityPlan(PriorityNormal, true).WindowThreadTimeCritical);
}
} // namespace
