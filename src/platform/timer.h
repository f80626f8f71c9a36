#pragma once
#include <cstdint>

// Measures the time between calls. Real time comes from SDL's performance counter; a timer
// built with a fixed step is the virtual clock of capture mode (every delta is that step).
class Timer {
public:
    Timer();
    explicit Timer(double fixedStepSeconds);

    void start();
    // Seconds since the previous delta() (the first call: since start()).
    double delta();

private:
    double fixedStep = 0.0;
    std::uint64_t last = 0;
    std::uint64_t frequency = 1;
};
