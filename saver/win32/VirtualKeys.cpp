#include "saver/win32/VirtualKeys.h"

#include <windows.h>

namespace {
struct TKeyBinding {
    uint32_t VirtualKey;
    TKeyAction Action;
};

constexpr TKeyBinding KeyMap[] = {
    {VK_LEFT, TKeyAction::Left},   // ShiftX(-1)
    {VK_RIGHT, TKeyAction::Right}, // ShiftX(+1)
    {VK_UP, TKeyAction::Turn},     // Rotate(1)
    {VK_DOWN, TKeyAction::Down},   // ShiftY(1)
    {VK_SPACE, TKeyAction::Drop},  // ShiftY(1) until the figure lands
};
} // namespace

TKeyAction KeyOfVirtualKey(uint32_t virtualKey) {
    for (const TKeyBinding &binding : KeyMap)
        if (binding.VirtualKey == virtualKey)
            return binding.Action;
    return TKeyAction::NoMove;
}
