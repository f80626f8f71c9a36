#include "platform/timer.h"

#include "platform/tick_clock.h"

Timer::Timer() : Timer(steadyClock()) {}

Timer::Timer(TickClock& c) : clock(&c), last(c.now()) {}

Timer::Timer(double fixedStepSeconds) : fixedStep(fixedStepSeconds) {}

void Timer::start() {
    if (clock) last = clock->now();
}

double Timer::delta() {
    if (!clock) return fixedStep;
    const std::uint64_t now = clock->now();
    const double seconds = clock->seconds(now - last);
    last = now;
    return seconds;
}
