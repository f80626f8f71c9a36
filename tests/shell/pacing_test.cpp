// The live frame loop on an injected clock: how many per-frame steps a second of music gets at
// different display rates, and a show started later on.
#include <gtest/gtest.h>

#include "effects/show_state.h"
#include "platform/fake_clock.h"
#include "shell/show.h"
#include "shell_fakes.h"

using namespace shelltest;
using platformtest::FakeClock;

namespace {

// A display: presenting waits for its next refresh (vsync), or returns at once when it has none.
// It closes once the show clock has run a given time.
class PacedWindow : public FakeWindow {
public:
    PacedWindow(WindowLog& log, FakeClock& c, double hz, double closeAt)
        : FakeWindow(log), clock(c), refreshHz(hz), closeAtHundredths(closeAt * 100.0) {}
    void present(const std::uint32_t* pixels, int w, int h, int pitch) override {
        FakeWindow::present(pixels, w, h, pitch);
        if (refreshHz > 0)
            clock.advanceToNext(1.0 / refreshHz);
        else
            clock.advance(0.0005); // an uncapped present still takes a little time
    }

protected:
    void pumpEvents() override {
        FakeWindow::pumpEvents();
        if (!closing && showTime >= closeAtHundredths) {
            closing = true;
            postMessage({MessageKind::Close, 0});
        }
    }

private:
    FakeClock& clock;
    double refreshHz;
    double closeAtHundredths;
    bool closing = false;
};

class LiveFrameLoop : public ::testing::Test {
protected:
    FakeDialogs dialogs;
    ScriptedMusic music;
    WindowLog window;
    FakeClock clock;
    double refreshHz = 60.0;
    double showSeconds = 10.0;
    ShowPlatform platform{dialogs, music, [this](bool) -> std::unique_ptr<Window> {
                              return std::make_unique<PacedWindow>(window, clock, refreshHz, showSeconds);
                          }};
    Probe tunnel;
    EffectRegistry registry;

    void SetUp() override {
        platform.clock = &clock;
        window.safetyLimit = 100000;
        registry = {probeSlot("Tunnel", 32, tunnel)};
        registry.resize(12, missingEffect("Not built yet", 99));
    }

    // The tunnel's steps while the show clock (seconds of music) runs that long.
    int stepsIn(double seconds) {
        music.script = {sync(32, 1)}; // the tunnel from the first frame on
        music.polls = 0;
        window = WindowLog{};
        window.safetyLimit = 100000;
        showSeconds = seconds;
        EXPECT_EQ(runShow(platform, registry), 0);
        return tunnel.renders;
    }
};

} // namespace

TEST_F(LiveFrameLoop, PerFrameStepsAreSixtyASecondOfMusicAtAnyDisplayRate) {
    // Once, the tunnel ran 2.4 times as fast on a 144 Hz display, and thousands of times as fast
    // without vsync.
    for (double hz : {60.0, 144.0, 0.0}) {
        refreshHz = hz;
        EXPECT_NEAR(stepsIn(10.0), 600, 2) << hz << " Hz";
    }
    platform.stepsPerSecond = 30;
    refreshHz = 144.0;
    EXPECT_NEAR(stepsIn(10.0), 300, 2) << "--fps 30";
    // --fps 0: the show's first, uncapped loop, as fast as the display lets it.
    platform.stepsPerSecond = 0;
    EXPECT_NEAR(stepsIn(10.0), 1440, 3) << "--fps 0 at 144 Hz";
}

TEST_F(LiveFrameLoop, AStartPointRunsTheShowAheadUnheardThenPlaysOnFromThere) {
    platform.startSeconds = 0.5;
    music.script.assign(10, sync(0, 0));
    music.script.push_back(sync(32, 1)); // the tunnel starts in the 11th frame, still unseen
    showSeconds = 1.0;
    EXPECT_EQ(runShow(platform, registry), 0);

    // 30 frames of the music at once, 1/60 s each, and only then the live music from there.
    ASSERT_EQ(music.cues.size(), 30u);
    for (std::size_t k = 0; k < music.cues.size(); ++k) EXPECT_DOUBLE_EQ(music.cues[k], (k + 1) / 60.0);
    EXPECT_EQ(music.plays, 1);
    EXPECT_NEAR(music.showTimeAtPlay, 50.0f, 0.01f); // the show clock got there with the music
    // Every unseen frame was drawn (the tunnel from the 11th on), none was shown; then half a
    // second of live frames at 60 a second.
    EXPECT_EQ(tunnel.starts, 1);
    EXPECT_NEAR(tunnel.renders, 20 + 30, 1);
    EXPECT_NEAR(window.presents, kStartupPresents + 30, 1);
}
