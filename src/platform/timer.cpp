#include "platform/timer.h"

#include <SDL.h>

Timer::Timer() : frequency(SDL_GetPerformanceFrequency()) {
    last = SDL_GetPerformanceCounter();
}

Timer::Timer(double fixedStepSeconds) : fixedStep(fixedStepSeconds) {}

void Timer::start() {
    if (fixedStep <= 0.0) last = SDL_GetPerformanceCounter();
}

double Timer::delta() {
    if (fixedStep > 0.0) return fixedStep;
    std::uint64_t now = SDL_GetPerformanceCounter();
    double seconds = static_cast<double>(now - last) / static_cast<double>(frequency);
    last = now;
    return seconds;
}
