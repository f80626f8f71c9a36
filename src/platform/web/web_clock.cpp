#include "platform/web/web_clock.h"

#include "platform/web/web_page.h"

namespace {

constexpr std::uint64_t kTicksPerMillisecond = 1000;

class PageClock : public TickClock {
public:
    std::uint64_t now() override {
        return static_cast<std::uint64_t>(pageMilliseconds() * static_cast<double>(kTicksPerMillisecond));
    }
    std::uint64_t ticksPerSecond() const override { return 1000 * kTicksPerMillisecond; }
    void sleep(int) override { pageWaitForAnimationFrame(); }
};

} // namespace

TickClock& pageClock() {
    static PageClock clock;
    return clock;
}
