#include "driver/win32/GameObjects.h"

// Defined together so that the game object is built before the form and
// destroyed after it.
TStakko Stakko;
TForm Form(Stakko);
