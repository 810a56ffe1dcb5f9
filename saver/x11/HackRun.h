#pragma once
#include "saver/HackOptions.h"

// The hack on its window until a signal (SIGTERM, SIGINT, SIGHUP), its
// window going away, a lost connection or the closing of its own window:
// 0 then. 1, with a one-line message, when there is no display, no such
// window, or no picture can be made for it.
int RunHack(const THackOptions &options);
