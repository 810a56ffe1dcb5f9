#pragma once
#include <cstdint>

class TForm;

// One call plays one figure: from the moment the driver takes it in play
// until it lands, the game ends, or a stop is requested. The first call
// only draws the screen; a call after a game over starts a new game.
void Run(TForm &form);

// Returns once ms milliseconds have passed, or at once on a stop request.
void Pause(TForm &form, uint32_t ms);

// Tests watch the pacing through this; it sees each pause before it is made.
using PauseObserver = void (*)(uint32_t ms);
void SetPauseObserver(PauseObserver observer);

// A manual step with no fall due waits this long on the stop signal before
// the next step, so the game thread does not keep a processor busy.
constexpr uint32_t ManualStepWait = 10;
