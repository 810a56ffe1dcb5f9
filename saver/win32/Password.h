#pragma once

// True when the full-screen saver may end: no password is required, or the
// platform's password module accepted it. A refusal resets the mouse-move
// countdown.
bool AskPassword();
// The change-password mode: the platform's own dialog; returns 0.
int RunChangePassword();
