#pragma once
#include <cstdint>

#include "game/BestScores.h"
#include "game/Changes.h"
#include "game/GlassFit.h"
#include "game/Stakko.h"
#include "player/Player.h"

// The play routine of the saver as a portable session: it owns the game,
// the automatic player's plan and the play's clocks, makes one step per call
// and says how long to wait before the next one. A front end calls Step on
// its game thread and Key on its window thread, each under its game lock,
// draws what the call changed (Changes) and waits the returned time on its
// stop signal. Nothing here waits, draws or locks.

// Time constants, in milliseconds.
constexpr uint32_t StepTime = 500;                // between two figures; the manual fall interval
constexpr uint32_t ShiftStepPause = 150;          // after a step while sideways moves are due
constexpr uint32_t FallStepPause = 50;            // after every other automatic step
constexpr uint32_t ManualHoldTime = 3 * StepTime; // keys rest this long before the player returns
constexpr uint32_t LineFlashTime = FlashFrames * FlashFrameMs; // a line's flash on the screen

// The tick count (32-bit milliseconds; intervals are unsigned differences,
// so its wrap does no harm) and the calendar time in seconds.
struct TNow {
    uint32_t Ticks = 0;
    int64_t Seconds = 0;
};

// How long from the tick count now until `due`; 0 once it has passed (a due
// time up to some 24 days behind counts as passed, one ahead as to come).
inline uint32_t TicksUntil(uint32_t due, uint32_t now) {
    const uint32_t left = due - now;
    return left > 0x7FFFFFFFu ? 0 : left;
}

// The manual-control keys and what each does to the figure in play; each
// front end maps its own key codes to them.
enum class TKeyAction { NoMove, Left, Right, Turn, Down, Drop };

// The switch between the automatic player and the user. A front end guards
// it apart from the game (the two are never locked together).
class TControlSwitch {
public:
    // A manual-control key: the user steers from now.
    void TakeOver(uint32_t now) {
        AutoPlay = false;
        LastKeyTime = now;
    }
    // Asked before every step: the automatic player takes over again once
    // strictly more than ManualHoldTime has passed since the last key.
    bool IsAutoPlay(uint32_t now) {
        if (!AutoPlay && now - LastKeyTime > ManualHoldTime)
            AutoPlay = true;
        return AutoPlay;
    }
    // While the user steers: how long until IsAutoPlay would answer true.
    uint32_t HoldLeft(uint32_t now) const {
        uint32_t held = now - LastKeyTime;
        return AutoPlay || held > ManualHoldTime ? 0 : ManualHoldTime + 1 - held;
    }

private:
    bool AutoPlay = true;
    uint32_t LastKeyTime = 0;
};

// What the session is made from.
struct TSessionOptions {
    TBestScores Best;
    bool ShowInfo = true;  // the best scores are put in order whenever they are shown
    int64_t StartTime = 0; // calendar seconds at which the program started
    // How long a line's flash keeps the play when the changes are drawn; the
    // kind picked after a landing takes the tick count at which its flashes
    // have ended. 0 where nothing is drawn.
    uint32_t FlashTime = LineFlashTime;
};

// What the front end knows before a step.
struct TStepInput {
    TNow Now;
    bool Automatic = true;      // the control switch's answer (asked without the game lock)
    uint32_t HoldLeft = 0;      // manual: the switch's HoldLeft then, 0 when unknown
    bool StopRequested = false; // the saver is to end
    bool ScreenBound = true;    // the renderer has a window to draw into
};

struct TStepResult {
    uint32_t Wait = 0;    // how long to wait on the stop signal before the next step
    uint32_t Busy = 0;    // how long drawing this step's flashes takes
    bool Ended = false;   // the stop came between two figures: the game thread ends
    bool Landed = false;  // the figure in play landed
    bool Planned = false; // the automatic player made a plan (Plan)
    TPlacement Plan;
};

class TPlaySession {
public:
    // The game at the time now; its glass has no size until FitGlass.
    // Without a kind source the kinds are the game's random pick.
    TPlaySession(const TSessionOptions &options, TNow now, TKindSource *kinds = nullptr);
    TPlaySession(const TPlaySession &) = delete;
    TPlaySession &operator=(const TPlaySession &) = delete;

    // The glass fitted to the window's glass area: its size and a new
    // figure, or with no fit the fall-back size and the figure kept. A glass
    // of the size it has keeps the game; one of another size ends it (its
    // score offered to the best) and a new game begins.
    void FitGlass(const TGlassFit &fit, TNow now);

    // One step of the play routine.
    TStepResult Step(const TStepInput &input);
    // The game lock could not be had: the rest of the call is dropped and
    // the next step begins a new one.
    void DropCall();

    // One manual-control key's move (the switch is turned apart).
    void Key(TKeyAction action, uint32_t now);
    // The whole picture again (a paint request), and the time (the clock).
    void Repaint(int64_t seconds);
    void ClockTick(int64_t seconds);
    // At the end of the run: the game's score offered to the best scores.
    const TBestScores &OfferScore();

    // What the last call changed, for the renderer.
    const TChanges &Changes() const { return Changed; }
    const TStakko &Game() const { return Play; }
    const TBestScores &Best() const { return Scores; }
    int64_t StartTime() const { return Options.StartTime; }
    int64_t ClockSeconds() const { return Seconds; } // the time shown

    TControlSwitch Control;

private:
    // An automatic player's plan carried out one step at a time: its |d|
    // sideways moves fall on the first |d| steps and its r turns on the
    // first r steps. The first |d| steps are followed by the shift pause,
    // all later ones by the fall pause.
    class TAutoPlan {
    public:
        void Start(int32_t rotation, int32_t shift);
        int32_t TakeShift(); // +1, -1, or 0 when none is due
        bool TakeTurn();
        uint32_t TakePause();

    private:
        int32_t Rotation = 0;
        int32_t Shift = 0;
        int64_t ShiftCount = 0;
        int64_t ShiftStep = 1;
        int64_t RotationStep = 1;
        int64_t PaceCounter = 0;
    };

    // The random pick at the tick count the drawing will have reached.
    class TTimedKinds final : public TKindSource {
    public:
        explicit TTimedKinds(const TPlaySession &session) : Session(session) {}
        int32_t NextKind() override;

    private:
        const TPlaySession &Session;
    };

    void Begin(uint32_t ticks);
    uint32_t FlashedSoFar() const;
    TKindSource &Kinds() { return CustomKinds ? *CustomKinds : RandomKinds; }
    void StartCall(const TStepInput &input, TStepResult &result);
    void FigureStep(const TStepInput &input, TStepResult &result);
    void AutomaticStep(TStepResult &result);
    void ManualStep(const TStepInput &input, TStepResult &result);
    void EndCall(TStepResult &result);
    void Screen();

    TSessionOptions Options;
    TStakko Play;
    TBestScores Scores;
    TChanges Changed;
    TTimedKinds RandomKinds{*this};
    TKindSource *CustomKinds;
    int64_t Seconds = 0;
    uint32_t CallTicks = 0;   // when the current call of Step or Key began
    int32_t LinesAtCall = 0;  // the line count then
    bool ScreenReady = false; // the first call has drawn the whole picture
    bool InFigure = false;    // a figure is in play: its loop runs
    bool PreviousAutomatic = false;
    uint32_t LastFall = 0; // of the manual pace
    TAutoPlan Plan;
};

// A session played on a clock that moves only by what the saver would wait
// and draw, with the automatic player steering: the simulator, the frame
// tool's demonstration and the tests. The saver's first call, which only
// draws the picture, is made at once and takes no time.
class TSteppedPlay {
public:
    TSteppedPlay(TPlaySession &session, TNow start);
    TStepResult Next(); // one step; the clock moves on by its drawing and its wait
    TNow Now;           // the calendar time stays where it started

private:
    TPlaySession &Session;
};
