// The show clock kept in double precision behind the float showTime.
#include <gtest/gtest.h>

#include "effects/show_state.h"

TEST(ShowClock, ManyTinyDeltasSumWithoutDriftOrStall) {
    resetShowTime();
    // Five minutes at 4000 frames per second: a float running sum stalls long before the end.
    const double frameHundredths = 100.0 / 4000.0;
    for (int frame = 0; frame < 300 * 4000; ++frame) advanceShowTime(frameHundredths);
    EXPECT_NEAR(showTime, 30000.0f, 0.01f);

    float before = showTime;
    advanceShowTime(frameHundredths);
    EXPECT_GE(showTime, before);
}

TEST(ShowClock, ResetRestartsFromZeroHoweverItIsDone) {
    resetShowTime();
    advanceShowTime(5000.0);
    resetShowTime();
    advanceShowTime(1.5);
    EXPECT_FLOAT_EQ(showTime, 1.5f);

    // An effect that writes showTime directly restarts the sum too.
    advanceShowTime(1000.0);
    showTime = 0.0f;
    advanceShowTime(2.0);
    EXPECT_FLOAT_EQ(showTime, 2.0f);
}
