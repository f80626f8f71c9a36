#include "platform/step_pacer.h"

#include "platform/tick_clock.h"

namespace {
// A step may start this fraction of a step early.
constexpr std::uint64_t kEarlyDivisor = 4;
// Sleeps are late by up to a millisecond or so; this much of a wait is spent yielding instead.
constexpr std::uint64_t kYieldMilliseconds = 1;
} // namespace

StepPacer::StepPacer(int stepsPerSecond, std::uint64_t ticks)
    : rate(stepsPerSecond > 0 ? stepsPerSecond : 0), ticksPerSecond(ticks > 0 ? ticks : 1) {}

// Step n of a grid is due at anchor + n / rate seconds, counted in whole ticks without drift.
std::uint64_t StepPacer::dueTime(std::uint64_t step) const {
    return anchor + step * ticksPerSecond / static_cast<std::uint64_t>(rate);
}

std::uint64_t StepPacer::period() const {
    return ticksPerSecond / static_cast<std::uint64_t>(rate);
}

std::uint64_t StepPacer::ticksToWait(std::uint64_t now) const {
    if (rate == 0 || !started) return 0;
    const std::uint64_t earliest = dueTime(steps + 1) - period() / kEarlyDivisor;
    return now >= earliest ? 0 : earliest - now;
}

void StepPacer::stepTaken(std::uint64_t now) {
    if (rate == 0) return;
    if (started) {
        ++steps;
        if (now <= dueTime(steps) + period()) return;
    }
    // The first step, or a loop that fell behind: a new grid from now.
    started = true;
    anchor = now;
    steps = 0;
}

void waitForStep(StepPacer& pacer, TickClock& clock) {
    const std::uint64_t millisecond = clock.ticksPerSecond() / 1000 > 0 ? clock.ticksPerSecond() / 1000 : 1;
    for (;;) {
        const std::uint64_t now = clock.now();
        const std::uint64_t wait = pacer.ticksToWait(now);
        if (wait == 0) {
            pacer.stepTaken(now);
            return;
        }
        const std::uint64_t coarse = wait / millisecond;
        clock.sleep(coarse > kYieldMilliseconds ? static_cast<int>(coarse - kYieldMilliseconds) : 0);
    }
}
