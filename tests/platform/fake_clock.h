#pragma once
// A tick clock that moves only when told to, or when something sleeps on it.
#include <cmath>
#include <cstdint>

#include "platform/tick_clock.h"

namespace platformtest {

class FakeClock : public TickClock {
public:
    static constexpr std::uint64_t kTicksPerSecond = 1000000; // microseconds
    // A yield (sleep 0) still lets this much time pass, as a real one would.
    static constexpr std::uint64_t kYieldTicks = 20;

    std::uint64_t ticks = 1000; // not 0: nothing may take the clock's zero as special
    int sleeps = 0, yields = 0; // calls of sleep() with some milliseconds, and with none
    int sleptMilliseconds = 0;

    std::uint64_t now() override { return ticks; }
    std::uint64_t ticksPerSecond() const override { return kTicksPerSecond; }
    void sleep(int milliseconds) override {
        if (milliseconds > 0) {
            ++sleeps;
            sleptMilliseconds += milliseconds;
            ticks += static_cast<std::uint64_t>(milliseconds) * 1000;
        } else {
            ++yields;
            ticks += kYieldTicks;
        }
    }

    void advance(double seconds) {
        ticks += static_cast<std::uint64_t>(std::llround(seconds * kTicksPerSecond));
    }
    // Moves on to the next multiple of the period (a display's next refresh).
    void advanceToNext(double periodSeconds) {
        const double period = periodSeconds * kTicksPerSecond;
        const double next = (std::floor(static_cast<double>(ticks) / period) + 1.0) * period;
        ticks = static_cast<std::uint64_t>(std::ceil(next));
    }
    using TickClock::seconds;
    double seconds() const { return static_cast<double>(ticks) / kTicksPerSecond; }
};

} // namespace platformtest
