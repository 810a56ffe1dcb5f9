#pragma once
#include <cstdint>
#include <vector>

#include "driver/PlaySession.h"
#include "render/Canvas.h"
#include "render/Renderer.h"

// The play joined to its picture, for every front end: a play session and
// the renderer that draws what each call changed through a platform's
// canvas. Every call returns how long to wait before the next Step; a
// line's flash is drawn a frame per Step, so nothing here ever blocks. A
// front end with two threads holds its game lock around each call (and
// through a whole flash); one with a single thread calls it between events.

// The front end's clock: the tick count and the calendar time now.
class TClock {
public:
    virtual TNow Now() = 0;

protected:
    ~TClock() = default;
};

// What the front end knows before a step, asked apart from the game.
struct TControlInput {
    bool Automatic = true;      // the control switch's answer
    uint32_t HoldLeft = 0;      // manual: the switch's HoldLeft then, 0 when unknown
    bool StopRequested = false; // the saver is to end
};

struct TLoopResult {
    uint32_t Wait = 0;     // how long until the next Step is due,
    uint32_t At = 0;       // counted from this tick count (the call's end)
    bool Flashing = false; // a frame of a line's flash is on the screen; Step draws the next
    bool Ended = false;    // the stop came between two figures: the play is over
    bool Stepped = false;  // this call made a step of the play (Step)
    TStepResult Step;
};

class TPlayLoop {
public:
    TPlayLoop(const TSessionOptions &options, const TLook &look, TNow start, TClock &clock,
              TKindSource *kinds = nullptr);
    TPlayLoop(const TPlayLoop &) = delete;
    TPlayLoop &operator=(const TPlayLoop &) = delete;

    // Bound to a canvas whose back buffer covers the client rectangle, the
    // game in the part `game` of it (empty: all of it): the picture laid out
    // and handed to the canvas, the glass fitted. A flash under way is not
    // drawn on, and calls kept for after it are dropped: a repaint follows.
    void Bind(TCanvas &canvas, const TRect &client, const TRect &game = TRect{});
    void Unbind();

    // One step of the play and its drawing; while a flash is drawn, its
    // next frame instead.
    TLoopResult Step(const TControlInput &input);
    // The next frame of a flash under way, and never a step: for a front end
    // that draws a flash to its end with its game lock held.
    TLoopResult NextFrame();
    // A manual-control key's move (the control switch is turned apart), the
    // whole picture again, the time. While a flash is drawn a key and the
    // clock wait for its end, and a repaint shows the back buffer as it is.
    TLoopResult Key(TKeyAction action);
    TLoopResult Repaint();
    TLoopResult ClockTick();
    // The game lock could not be had: the rest of the session's call is
    // dropped. It touches the session alone, as it runs without the lock.
    void DropCall();
    // The drawing under way is given up (a failure while drawing).
    void DropDrawing();
    // At the end of the run: the game's score offered to the best scores.
    const TBestScores &OfferScore() { return Play.OfferScore(); }

    bool Flashing() const { return Drawing; }
    TPlaySession &Session() { return Play; }
    const TPlaySession &Session() const { return Play; }
    const TRenderer &Picture() const { return Renderer; }
    TControlSwitch &Control() { return Play.Control; }

private:
    // What waits for the end of a flash.
    struct TDeferred {
        enum TKind : uint8_t { Key, Clock } Kind;
        TKeyAction Action;
    };

    TLoopResult DrawCall(bool fromStep, uint32_t stepWait);
    TLoopResult DrawOn();
    TLoopResult FrameWait(uint32_t now) const;
    TLoopResult Idle(uint32_t now) const;
    void Defer(TDeferred call);
    TLoopResult RunDeferred(TLoopResult result);
    TScene Scene() const;

    TClock &Clock;
    TPlaySession Play;
    TRenderer Renderer;
    TDrawCursor Cursor;
    bool Drawing = false;     // a call's changes are drawn on, a flash frame at a time
    bool StepDrawing = false; // and they are a step's, whose wait follows the drawing
    uint32_t StepWait = 0;    // that wait
    uint32_t FrameStart = 0;  // when the flash frame on the screen began
    uint32_t StepDue = 0;     // the tick count at which the next step is due
    std::vector<TDeferred> Deferred;
};
