// The pacer on an injected clock: its own rules (no bursts, rate 0, the wait). The display rates
// the show meets are covered through the frame loop (tests/shell/pacing_test.cpp).
#include <gtest/gtest.h>

#include "platform/fake_clock.h"
#include "platform/step_pacer.h"

using platformtest::FakeClock;

TEST(StepPacer, AfterAStallItStartsANewGridInsteadOfRacingToCatchUp) {
    FakeClock clock;
    StepPacer pacer(60, clock.ticksPerSecond());
    for (int i = 0; i < 60; ++i) {
        waitForStep(pacer, clock);
        clock.advance(0.002); // the step's own work
    }
    clock.advance(0.5); // the machine stalls for half a second
    const double resumed = clock.seconds();
    int steps = 0;
    for (;;) {
        waitForStep(pacer, clock);
        if (clock.seconds() >= resumed + 1.0) break;
        clock.advance(0.002);
        ++steps;
    }
    // The 30 steps the stall cost are not made up in a rush: the next second holds the grid's
    // 60 steps (61 due times fall in a second when its first is at the start).
    EXPECT_LE(steps, 61);
    EXPECT_GE(steps, 60);
}

TEST(StepPacer, ASlowLoopIsNeverHeldBackAndRateZeroHoldsNothing) {
    FakeClock clock;
    StepPacer slow(60, clock.ticksPerSecond());
    StepPacer free(0, clock.ticksPerSecond());
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(free.ticksToWait(clock.now()), 0u);
        free.stepTaken(clock.now());
        const int waitsBefore = clock.sleeps + clock.yields;
        waitForStep(slow, clock);
        EXPECT_EQ(clock.sleeps + clock.yields, waitsBefore) << "step " << i; // 25 ms a step: always late
        clock.advance(0.025);
    }
}

TEST(StepPacer, TheWaitSleepsTheCoarsePartAndYieldsOnlyAtTheEnd) {
    FakeClock clock;
    StepPacer pacer(60, clock.ticksPerSecond());
    waitForStep(pacer, clock); // the first step starts at once
    const std::uint64_t first = clock.ticks;
    waitForStep(pacer, clock);
    const double waited = clock.seconds(clock.ticks - first);
    // Due 1/60 s after the first, allowed a quarter step early; never later than due.
    EXPECT_GE(waited, 0.75 / 60.0);
    EXPECT_LE(waited, 1.0 / 60.0);
    // The 12.5 ms are one sleep, a millisecond short, then yields while the counter is read.
    EXPECT_EQ(clock.sleeps, 1);
    EXPECT_EQ(clock.sleptMilliseconds, 11);
    EXPECT_GT(clock.yields, 0);
    EXPECT_LE(clock.yields * FakeClock::kYieldTicks, 2 * FakeClock::kTicksPerSecond / 1000);
}
