// When the automatic player may take over again after the last manual key.
#include <gtest/gtest.h>

#include "driver/Timing.h"

namespace {

TEST(ManualHold, EndsOnlyWhenStrictlyMoreThan1500msHavePassed) {
    EXPECT_FALSE(ManualHoldOver(10000, 10000));
    EXPECT_FALSE(ManualHoldOver(11000, 10000));
    EXPECT_FALSE(ManualHoldOver(11500, 10000));
    EXPECT_TRUE(ManualHoldOver(11501, 10000));
    EXPECT_TRUE(ManualHoldOver(60000, 10000));
}

TEST(ManualHold, MeasuresTheRealIntervalAcrossTheTickCounterWrap) {
    const uint32_t key = 0xFFFFFF00u; // 256 ms before the counter wraps
    EXPECT_FALSE(ManualHoldOver(0xFFFFFFFFu, key));
    EXPECT_FALSE(ManualHoldOver(0, key));
    EXPECT_FALSE(ManualHoldOver(1244, key)); // 1500 ms after the key
    EXPECT_TRUE(ManualHoldOver(1245, key));
}

} // namespace
