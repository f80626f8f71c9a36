#pragma once
// A clock counted in whole ticks, with a way to wait on it. Whatever runs in real time (the show's
// clock, its pacing, the silent music) reads one of these, so tests can inject their own.
#include <cstdint>

class TickClock {
public:
    virtual ~TickClock() = default;
    virtual std::uint64_t now() = 0;
    virtual std::uint64_t ticksPerSecond() const = 0;
    // Gives up the processor for about this long; 0 only yields it.
    virtual void sleep(int milliseconds) = 0;

    double seconds(std::uint64_t ticks) const { return static_cast<double>(ticks) / ticksPerSecond(); }
};

// The standard library's steady clock (nanosecond ticks) and its sleep.
TickClock& steadyClock();
