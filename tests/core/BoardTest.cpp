#include <gtest/gtest.h>

#include "game/Stakko.h"

TEST(Board, Placeholder) {
    TStakko s;
    EXPECT_EQ(s.Width, 0);
}
