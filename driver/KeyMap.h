#pragma once
#include <cstdint>

// The manual-control keys, by virtual-key code, and what each does to the
// figure in play.

enum class TKeyAction { None, Left, Right, Turn, Down, Drop };

struct TKeyBinding {
    uint32_t VirtualKey;
    TKeyAction Action;
};

constexpr TKeyBinding KeyMap[] = {
    {0x25, TKeyAction::Left},  // VK_LEFT: ShiftX(-1)
    {0x27, TKeyAction::Right}, // VK_RIGHT: ShiftX(+1)
    {0x26, TKeyAction::Turn},  // VK_UP: Rotate(1)
    {0x28, TKeyAction::Down},  // VK_DOWN: ShiftY(1)
    {0x20, TKeyAction::Drop},  // VK_SPACE: ShiftY(1) until the figure lands
};

inline TKeyAction KeyAction(uint32_t virtualKey) {
    for (const TKeyBinding &binding : KeyMap)
        if (binding.VirtualKey == virtualKey)
            return binding.Action;
    return TKeyAction::None;
}

inline bool IsGameKey(uint32_t virtualKey) { return KeyAction(virtualKey) != TKeyAction::None; }
