#pragma once
#include "game/Stakko.h"
#include "render/win32/Form.h"

// The two objects that live for the whole process: the game object, built
// first and destroyed last, and the form that draws it.
extern TStakko Stakko;
extern TForm Form;
