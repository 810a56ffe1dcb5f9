#include "saver/InputRules.h"

#include "driver/KeyMap.h"

TInputAction KeyDownAction(TRunMode mode, bool manualControl, bool stopRequested, uint32_t key) {
    if (mode == Preview)
        return TInputAction::Ignore;
    if (manualControl && IsGameKey(key))
        return TInputAction::ManualKey;
    if (stopRequested)
        return TInputAction::Ignore;
    return TInputAction::RequestEnd;
}

TInputAction ButtonAction(bool stopRequested) {
    return stopRequested ? TInputAction::Ignore : TInputAction::RequestEnd;
}

TCloseAction CloseAction(TRunMode mode, bool stopRequested) {
    if (mode != Saver)
        return TCloseAction::Default;
    return stopRequested ? TCloseAction::Ignore : TCloseAction::RequestEnd;
}

TInputAction MouseMoveAction(TRunMode mode, bool stopRequested, int32_t &countdown) {
    if (mode == Preview || stopRequested)
        return TInputAction::Ignore;
    --countdown;
    return countdown > 0 ? TInputAction::Ignore : TInputAction::RequestEnd;
}

TEndAction EndAction(TRunMode mode) {
    switch (mode) {
    case Saver:
        return TEndAction::AskPassword;
    case Preview:
        return TEndAction::StopNow;
    default:
        return TEndAction::Nothing;
    }
}

TPriorityPlan PriorityPlan(int32_t priority, bool manualControl) {
    TPriorityPlan plan;
    plan.WindowThreadTimeCritical = manualControl;
    plan.GameThreadLowest = priority == PriorityLow;
    plan.ProcessNormalClass = priority == PriorityHigh;
    plan.GameThreadHighest = priority == PriorityHigh;
    return plan;
}
