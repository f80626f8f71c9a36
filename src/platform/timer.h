#pragma once
#include <cstdint>

class TickClock;

// Measures the time between calls. Real time comes from a tick clock (the system's steady clock
// unless one is given); a timer built with a fixed step is the virtual clock of capture mode
// (every delta is that step).
class Timer {
public:
    Timer();
    explicit Timer(TickClock& clock);
    explicit Timer(double fixedStepSeconds);

    void start();
    // Seconds since the previous delta() (the first call: since start()).
    double delta();

private:
    TickClock* clock = nullptr;
    double fixedStep = 0.0;
    std::uint64_t last = 0;
};
