#pragma once
#include <cstdint>

class TForm;

// One manual-control key, on the window thread: the game turns manual and
// the key's move is made at once under GameLock.
void ManualKey(TForm &form, uint32_t virtualKey);
