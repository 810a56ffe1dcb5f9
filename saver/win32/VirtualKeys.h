#pragma once
#include <cstdint>

#include "driver/PlaySession.h"

// The manual-control move of a virtual-key code: the four cursor keys and
// the space bar; NoMove for every other key.
TKeyAction KeyOfVirtualKey(uint32_t virtualKey);
