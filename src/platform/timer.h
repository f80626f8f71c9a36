#pragma once
#include <chrono>

// Measures the time between calls. Real time comes from the system's monotonic clock; a timer
// built with a fixed step is the virtual clock of capture mode (every delta is that step).
class Timer {
public:
    Timer();
    explicit Timer(double fixedStepSeconds);

    void start();
    // Seconds since the previous delta() (the first call: since start()).
    double delta();

private:
    using Clock = std::chrono::steady_clock;
    double fixedStep = 0.0;
    Clock::time_point last;
};
