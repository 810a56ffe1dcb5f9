#pragma once
#include <cstdint>

#include "driver/PlaySession.h"
#include "saver/Switches.h"

// What the saver window makes of the user's input, apart from the platform.

// Mouse moves that end a full-screen run (and again after a refused password).
constexpr int32_t MouseMovesToEnd = 7;

enum class TInputAction {
    Ignore,
    ManualKey,  // hand the key to manual control
    RequestEnd, // the user wishes to leave
};

// A key-down message, as the front end decodes it (NoMove: not a game key):
// a game key goes to manual control when it is on; in preview every key is
// ignored.
struct TKeyDecision {
    TInputAction Action = TInputAction::Ignore;
    TKeyAction Key = TKeyAction::NoMove; // with ManualKey: the move
};
TKeyDecision KeyDownAction(TRunMode mode, bool manualControl, bool stopRequested, TKeyAction key);
TInputAction ButtonAction(bool stopRequested);
// A request to close the window (Alt+F4, the system menu): in full-screen
// mode it asks to end like any other input, so the password is not passed
// by; elsewhere the platform closes the window.
enum class TCloseAction { Default, Ignore, RequestEnd };
TCloseAction CloseAction(TRunMode mode, bool stopRequested);
// Counts the move down when it reaches the count.
TInputAction MouseMoveAction(TRunMode mode, bool stopRequested, int32_t &countdown);

enum class TEndAction {
    Nothing,
    AskPassword, // full screen: stop only if the password check allows it
    StopNow,     // preview: stop at once
};

TEndAction EndAction(TRunMode mode);

// The priorities a full-screen run sets.
struct TPriorityPlan {
    bool WindowThreadTimeCritical = false;
    bool GameThreadLowest = false;
    bool ProcessNormalClass = false; // set before the game thread is raised
    bool GameThreadHighest = false;
};

TPriorityPlan PriorityPlan(int32_t priority, bool manualControl);
