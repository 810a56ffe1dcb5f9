// The manual-control keys: the five virtual-key codes and nothing else.
#include "driver/KeyMap.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(KeyMap, TheFiveCursorAndSpaceKeysMoveTheFigure) {
    EXPECT_EQ(KeyAction(0x25), TKeyAction::Left);  // VK_LEFT
    EXPECT_EQ(KeyAction(0x27), TKeyAction::Right); // VK_RIGHT
    EXPECT_EQ(KeyAction(0x26), TKeyAction::Turn);  // VK_UP
    EXPECT_EQ(KeyAction(0x28), TKeyAction::Down);  // VK_DOWN
    EXPECT_EQ(KeyAction(0x20), TKeyAction::Drop);  // VK_SPACE
    for (uint32_t key : {0x25u, 0x27u, 0x26u, 0x28u, 0x20u})
        EXPECT_TRUE(IsGameKey(key)) << key;
}

TEST(KeyMap, EveryOtherKeyIsNotAGameKey) {
    for (uint32_t key : {uint32_t{'A'}, 0x1Bu /* VK_ESCAPE */, 0x0Du /* VK_RETURN */,
                         0x21u /* VK_PRIOR */, 0x24u /* VK_HOME */, 0x29u /* VK_SELECT */}) {
        EXPECT_EQ(KeyAction(key), TKeyAction::None) << key;
        EXPECT_FALSE(IsGameKey(key)) << key;
    }
    int gameKeys = 0;
    for (uint32_t key = 0; key < 256; ++key)
        gameKeys += IsGameKey(key) ? 1 : 0;
    EXPECT_EQ(gameKeys, 5);
    // A code whose low byte is a game key's is still not one.
    EXPECT_FALSE(IsGameKey(0x125u));
}

} // namespace
