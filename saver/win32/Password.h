#pragma once
#include <windows.h>

#include <cstdint>

// True when the full-screen saver may end: no password is required, or the
// platform's password module, owned by the saver's window, accepted it. A
// refusal resets the mouse-move countdown.
bool AskPassword(HWND owner, int32_t &mouseMoveCountdown);
// The change-password mode: the platform's own dialog, owned by the given
// window; returns 0.
int RunChangePassword(HWND owner);
