#include "platform/timer.h"

Timer::Timer() : last(Clock::now()) {}

Timer::Timer(double fixedStepSeconds) : fixedStep(fixedStepSeconds) {}

void Timer::start() {
    if (fixedStep <= 0.0) last = Clock::now();
}

double Timer::delta() {
    if (fixedStep > 0.0) return fixedStep;
    const Clock::time_point now = Clock::now();
    const double seconds = std::chrono::duration<double>(now - last).count();
    last = now;
    return seconds;
}
