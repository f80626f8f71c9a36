#pragma once
// Keeps a loop to a given number of steps a second on any tick clock, whatever the display does.
// Steps fall on a grid of due times, so they never average more than the rate. A step may start a
// little before it is due, so a display that refreshes a hair faster than the grid still gets one
// step per refresh; a loop that falls more than a step behind starts a new grid instead of racing
// to catch up. A rate of 0 lets every step through.
#include <cstdint>

class TickClock;

class StepPacer {
public:
    StepPacer(int stepsPerSecond, std::uint64_t ticksPerSecond);

    // Ticks to wait before the next step may start; 0: it may start now.
    std::uint64_t ticksToWait(std::uint64_t now) const;
    // A step starts now.
    void stepTaken(std::uint64_t now);

private:
    std::uint64_t dueTime(std::uint64_t step) const;
    std::uint64_t period() const;

    int rate;
    std::uint64_t ticksPerSecond;
    bool started = false;
    std::uint64_t anchor = 0; // when step 0 of the current grid started
    std::uint64_t steps = 0;  // steps taken on the current grid after step 0
};

// Waits on the clock until the pacer lets the next step start, then records it: a sleep for the
// coarse part, then yields while reading the counter for the last millisecond or so.
void waitForStep(StepPacer& pacer, TickClock& clock);
