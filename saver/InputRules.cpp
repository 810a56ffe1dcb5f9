#include "saver/InputRules.h"

#include "saver/Settings.h"

TKeyDecision KeyDownAction(TRunMode mode, bool manualControl, bool stopRequested, TKeyAction key) {
    if (mode == Preview)
        return TKeyDecision{};
    if (manualControl && key != TKeyAction::NoMove)
        return TKeyDecision{TInputAction::ManualKey, key};
    if (stopRequested)
        return TKeyDecision{};
    return TKeyDecision{TInputAction::RequestEnd, TKeyAction::NoMove};
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
