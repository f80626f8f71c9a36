#pragma once
// Stand-ins for the shell's backends: scripted boxes, music and window, and probe effects.
#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "effects/effect.h"
#include "effects/show_state.h"
#include "music/music.h"
#include "platform/dialogs.h"
#include "platform/error.h"
#include "platform/window.h"
#include "shell/effect_registry.h"

namespace shelltest {

// Presents before the first frame of the loop: the loading screen, twelve bar steps, the black screen.
constexpr int kStartupPresents = 14;

struct Box {
    std::string title, text;
};

class FakeDialogs : public Dialogs {
public:
    Answer answer = Answer::Yes;
    int questions = 0;
    std::vector<Box> errors;
    Answer askYesNoCancel(const std::string&, const std::string&) override {
        ++questions;
        return answer;
    }
    void showError(const std::string& title, const std::string& text) override {
        errors.push_back({title, text});
    }
};

// Returns one scripted status per poll, then keeps the last one.
class ScriptedMusic : public Music {
public:
    std::vector<PlayStatus> script;
    std::string failLoad; // non-empty: loadModule fails with this message
    int inits = 0, loads = 0, plays = 0, polls = 0, shutdowns = 0;
    std::vector<double> cues; // the times cue() was asked to reach, in order
    float showTimeAtPlay = -1.0f;

    bool init(std::string&) override {
        ++inits;
        return true;
    }
    bool loadModule(const std::string&, std::string& error) override {
        ++loads;
        error = failLoad;
        return failLoad.empty();
    }
    bool play(std::string&) override {
        ++plays;
        showTimeAtPlay = showTime;
        return true;
    }
    bool cue(double seconds, std::string&) override {
        cues.push_back(seconds);
        return true;
    }
    bool poll(PlayStatus& status, std::string&) override {
        if (!script.empty()) status = script[std::min<std::size_t>(polls, script.size() - 1)];
        ++polls;
        return true;
    }
    void shutdown() override { ++shutdowns; }
};

// What the window saw; kept by the test because the show destroys its window at the end.
struct WindowLog {
    std::multimap<int, Message> schedule; // posted once this many frames have been presented
    int windows = 0;
    int presents = 0;
    bool fullscreen = false;
    std::vector<std::uint32_t> lastFrame;
    int safetyLimit = 2000; // a broken loop ends the test instead of hanging it
};

// Counts presents; posts scheduled messages when a given number of frames has been presented.
class FakeWindow : public Window {
public:
    explicit FakeWindow(WindowLog& l) : log(l) { ++log.windows; }
    void attachConsole(int, int, bool full) override { log.fullscreen = full; }
    void present(const std::uint32_t* pixels, int w, int h, int) override {
        log.lastFrame.assign(pixels, pixels + w * h);
        ++log.presents;
    }

protected:
    void pumpEvents() override {
        auto due = log.schedule.upper_bound(log.presents);
        for (auto it = log.schedule.begin(); it != due; ++it) postMessage(it->second);
        log.schedule.erase(log.schedule.begin(), due);
        if (log.presents >= log.safetyLimit) postQuitMessage();
    }

private:
    WindowLog& log;
};

// An effect that records what the shell did with it.
class Probe : public Effect {
public:
    int loads = 0, starts = 0, renders = 0;
    int startTime = 0, lastSyncCount = 0;
    bool resetsClock = false;
    int failOnRender = 0;       // 1: throw the toolkit's Error, 2: throw std::bad_alloc
    std::vector<int> loadOrder; // shared order log, filled by load()
    std::vector<int>* orderLog = nullptr;
    int id = 0;

    void load() {
        ++loads;
        if (orderLog) orderLog->push_back(id);
    }
    void start() {
        if (resetsClock) resetShowTime();
        ++starts;
        startTime = static_cast<int>(showTime);
        lastSyncCount = syncCount.load();
        renders = 0;
    }
    void render() override {
        ++renders;
        if (failOnRender == 1) throw Error("surface is already locked");
        if (failOnRender == 2) throw std::bad_alloc();
    }
};

inline EffectSlot probeSlot(const char* name, int sync, Probe& probe) {
    return {name, sync, &probe, [](Effect& e) { static_cast<Probe&>(e).load(); },
            [](Effect& e) { static_cast<Probe&>(e).start(); }};
}

inline PlayStatus sync(int value, int count) {
    PlayStatus s;
    s.syncValue = value;
    s.syncCount = count;
    return s;
}

} // namespace shelltest
