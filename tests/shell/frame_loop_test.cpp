// The shell from the start-up question to the end of the frame loop, on scripted backends.
#include <gtest/gtest.h>

#include "effects/show_state.h"
#include "platform/error.h"
#include "shell/show.h"
#include "shell/timeline.h"
#include "shell_fakes.h"

using namespace shelltest;

namespace {

class FrameLoop : public ::testing::Test {
protected:
    FakeDialogs dialogs;
    ScriptedMusic music;
    WindowLog window;
    bool windowFails = false;
    ShowPlatform platform{dialogs, music,
                          [this](bool) -> std::unique_ptr<Window> {
                              if (windowFails) throw Error("could not create window");
                              return std::make_unique<FakeWindow>(window);
                          },
                          1.0 / 100.0};
    Probe opening, tunnel, warp;
    EffectRegistry registry;

    void SetUp() override {
        warp.resetsClock = true;
        registry = {probeSlot("Opening picture", 2, opening), probeSlot("First warp", 16, warp),
                    probeSlot("Tunnel", 32, tunnel), missingEffect("Credits", 4)};
        registry.resize(12, missingEffect("Not built yet", 99)); // the show always has twelve steps
    }

    // Ends the show after the given number of loop frames (by closing the window).
    void closeAfterFrames(int frames) {
        window.schedule.insert({kStartupPresents + frames, {MessageKind::Close, 0}});
    }
    int loopFrames() const { return window.presents - kStartupPresents; }
};

} // namespace

TEST_F(FrameLoop, CancelEndsWithOneBeforeAnythingStarts) {
    dialogs.answer = Answer::Cancel;
    EXPECT_EQ(runShow(platform, registry), 1);
    EXPECT_EQ(music.inits, 0);
    EXPECT_EQ(window.windows, 0);
    EXPECT_EQ(opening.loads, 0);
}

TEST_F(FrameLoop, TheAnswerChoosesFullScreenOrWindowed) {
    const std::pair<Answer, bool> cases[] = {
        {Answer::Yes, true}, {Answer::No, false}, {Answer::Other, true}}; // no box shown: full screen
    for (auto [answer, fullscreen] : cases) {
        dialogs.answer = answer;
        window.schedule.insert({0, {MessageKind::Close, 0}});
        window.presents = 0;
        EXPECT_EQ(runShow(platform, registry), 0);
        EXPECT_EQ(window.fullscreen, fullscreen);
    }
}

TEST_F(FrameLoop, AChoiceOnTheCommandLineSkipsTheQuestion) {
    const std::pair<DisplayChoice, bool> cases[] = {{DisplayChoice::Window, false},
                                                    {DisplayChoice::FullScreen, true}};
    dialogs.answer = Answer::Cancel; // never asked, so never cancelled
    for (auto [choice, fullscreen] : cases) {
        platform.display = choice;
        window = WindowLog{};
        window.schedule.insert({0, {MessageKind::Close, 0}});
        EXPECT_EQ(runShow(platform, registry), 0);
        EXPECT_EQ(window.fullscreen, fullscreen);
    }
    EXPECT_EQ(dialogs.questions, 0);
}

TEST_F(FrameLoop, EscapeCloseAndTheEndMarkerAllEndInOrderWithZero) {
    // Escape, after another key that must be swallowed.
    window.schedule.insert({kStartupPresents + 3, {MessageKind::KeyDown, 'a'}});
    window.schedule.insert({kStartupPresents + 5, {MessageKind::KeyDown, kKeyEscape}});
    EXPECT_EQ(runShow(platform, registry), 0);
    EXPECT_EQ(loopFrames(), 5);
    EXPECT_EQ(music.shutdowns, 1);

    window = WindowLog{};
    closeAfterFrames(2);
    EXPECT_EQ(runShow(platform, registry), 0);
    EXPECT_EQ(loopFrames(), 2);
    EXPECT_EQ(music.shutdowns, 2);

    window = WindowLog{};
    music.polls = 0;
    music.script = {sync(0, 0), sync(0, 0), sync(kEndOfShowSync, 1)};
    EXPECT_EQ(runShow(platform, registry), 0);
    EXPECT_EQ(loopFrames(), 3); // the frame that saw the marker is still drawn
    EXPECT_EQ(music.shutdowns, 3);
}

TEST_F(FrameLoop, LoadsEveryEffectInOrderWithOneProgressStepEach) {
    std::vector<int> order;
    opening.orderLog = tunnel.orderLog = warp.orderLog = &order;
    opening.id = 1, warp.id = 2, tunnel.id = 3;
    window.schedule.insert({0, {MessageKind::Close, 0}});
    EXPECT_EQ(runShow(platform, registry), 0);
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
    // Loading screen, twelve steps, black screen, then one loop frame presented before the close is seen.
    EXPECT_EQ(window.presents, kStartupPresents);
}

TEST_F(FrameLoop, NothingRendersBeforeTheFirstKnownSyncValue) {
    music.script = {sync(0, 0), sync(7, 1), sync(7, 1), sync(2, 2)};
    closeAfterFrames(6);
    EXPECT_EQ(runShow(platform, registry), 0);
    EXPECT_EQ(opening.starts, 1);
    EXPECT_EQ(opening.renders, 3); // frames 4 to 6
}

TEST_F(FrameLoop, SeveralEventsBetweenFramesActOnceWithTheCurrentValue) {
    // Between frames 1 and 2, syncs 2, then 32 arrived: only the tunnel starts, once.
    music.script = {sync(0, 0), sync(32, 2), sync(32, 2)};
    closeAfterFrames(3);
    EXPECT_EQ(runShow(platform, registry), 0);
    EXPECT_EQ(opening.starts, 0);
    EXPECT_EQ(tunnel.starts, 1);
    EXPECT_EQ(tunnel.lastSyncCount, 2);
}

TEST_F(FrameLoop, UnknownValuesAndZeroChangeNothingButCountAsHandled) {
    music.script = {sync(32, 1), sync(240, 2), sync(0, 3), sync(4, 4), sync(4, 4)};
    closeAfterFrames(5);
    EXPECT_EQ(runShow(platform, registry), 0);
    EXPECT_EQ(tunnel.starts, 1); // 240, 0 and the missing credits left the tunnel running
    EXPECT_EQ(tunnel.renders, 5);
    EXPECT_EQ(currentEffect, &tunnel);
}

TEST_F(FrameLoop, TheSameValueAgainRestartsTheEffect) {
    music.script = {sync(32, 1), sync(32, 1), sync(32, 1), sync(32, 2), sync(32, 2)};
    closeAfterFrames(5);
    EXPECT_EQ(runShow(platform, registry), 0);
    EXPECT_EQ(tunnel.starts, 2);
    EXPECT_EQ(tunnel.startTime, 4); // restarted at the fourth frame: 4 frames of 1/100 s
    EXPECT_EQ(tunnel.renders, 2);
}

TEST_F(FrameLoop, AfterSixteenTheClockRestartsFromZero) {
    // 50 frames in, sync 16 resets the clock; the tunnel starts 30 frames later.
    music.script.assign(50, sync(0, 0));
    music.script.resize(80, sync(16, 1));
    music.script.push_back(sync(32, 2));
    closeAfterFrames(81);
    EXPECT_EQ(runShow(platform, registry), 0);
    EXPECT_EQ(warp.starts, 1);
    EXPECT_EQ(warp.startTime, 0);
    EXPECT_EQ(tunnel.startTime, 30);
    EXPECT_NEAR(showTime, 30.0f, 0.001f); // the tunnel started on the last frame
}

TEST_F(FrameLoop, MissingModuleShowsTheMusicErrorBoxAndEndsWithOne) {
    music.failLoad = "Unable to open file \"data/halcyver.xm\"";
    EXPECT_EQ(runShow(platform, registry), 1);
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0].title, kMusicErrorTitle);
    EXPECT_EQ(dialogs.errors[0].text, music.failLoad);
    EXPECT_EQ(window.windows, 0);
    EXPECT_EQ(music.shutdowns, 1);
}

TEST_F(FrameLoop, ToolkitErrorsAreReportedAndEndAsAFailure) {
    // Once, a failed toolkit call ended the show with 0 as if all went well.
    windowFails = true;
    EXPECT_EQ(runShow(platform, registry), 1);
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0].title, kErrorBoxTitle);
    EXPECT_EQ(dialogs.errors[0].text, "could not create window");
    EXPECT_EQ(music.shutdowns, 1);
    EXPECT_EQ(music.plays, 0);
}

TEST_F(FrameLoop, FailuresInsideTheLoopStopTheMusicAndEndWithOne) {
    music.script = {sync(32, 1)};
    tunnel.failOnRender = 1;
    EXPECT_EQ(runShow(platform, registry), 1);
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0].text, "surface is already locked");
    EXPECT_EQ(music.shutdowns, 1);

    music.polls = 0;
    tunnel.failOnRender = 2;
    EXPECT_EQ(runShow(platform, registry), 1);
    ASSERT_EQ(dialogs.errors.size(), 2u);
    EXPECT_EQ(dialogs.errors[1].title, kErrorBoxTitle);
    EXPECT_EQ(music.shutdowns, 2);
}
