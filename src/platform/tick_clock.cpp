#include "platform/tick_clock.h"

#include <chrono>
#include <thread>

namespace {

class SteadyClock : public TickClock {
public:
    std::uint64_t now() override {
        const auto since = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<std::uint64_t>(
            std::chrono::duration_cast<std::chrono::nanoseconds>(since).count());
    }
    std::uint64_t ticksPerSecond() const override { return 1000000000u; }
    void sleep(int milliseconds) override {
        if (milliseconds <= 0)
            std::this_thread::yield();
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
};

} // namespace

TickClock& steadyClock() {
    static SteadyClock clock;
    return clock;
}
