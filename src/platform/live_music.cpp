#include "platform/live_music.h"

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include "music/player_music.h"
#include "platform/audio_output.h"
#include "platform/tick_clock.h"

namespace {

// The clock renders in pieces of at most this many sample frames.
constexpr std::uint64_t kClockChunkFrames = 1024;

class LiveMusic : public PlayerMusic {
public:
    LiveMusic(std::unique_ptr<AudioOutput> o, TickClock& c, std::FILE* w)
        : output(std::move(o)), clock(c), warnings(w) {}
    ~LiveMusic() override { shutdown(); }

    bool init(std::string&) override {
        if (!output) return true;
        std::string reason;
        if (openDevice(reason)) return true;
        warn("no audio device (" + reason + "); the music plays silently");
        output.reset();
        return true;
    }

    bool play(std::string& error) override {
        if (!restartPlayer(error)) return false;
        if (deviceOpen)
            resumeDevice();
        else
            followClock(player.framesRendered(), 0.0);
        return true;
    }

    bool poll(PlayStatus& status, std::string&) override {
        if (mode == Mode::Device && deviceLost()) {
            // The clock takes over from what the speaker had reached, and from when: a device
            // that hung has let the music fall behind by as long, which the clock makes up.
            // Closed first: its thread may still be rendering until then.
            closeDevice();
            const std::uint64_t rendered = player.framesRendered();
            const std::uint64_t heard = rendered > latencyFrames ? rendered - latencyFrames : 0;
            const double silentSeconds = clock.seconds(clock.now() - lastProgress);
            // Said once per loss of sound: a reopened device that fails before it plays is quiet.
            if (pulled.load(std::memory_order_relaxed) != pulledAtResume)
                warn("the audio device was lost; the show goes on silently and tries it again every " +
                     std::to_string(static_cast<int>(kAudioReopenSeconds)) + " seconds");
            followClock(heard, stalled ? silentSeconds : 0.0);
            reopenAt = clock.now() + ticks(kAudioReopenSeconds);
            reopen = true;
        }
        if (mode == Mode::Clock) {
            renderToClock();
            if (reopen && clock.now() >= reopenAt) tryReopen();
        }
        status = player.status();
        return true;
    }

    void shutdown() override {
        closeDevice();
        mode = Mode::Stopped;
    }

private:
    enum class Mode { Stopped, Device, Clock };

    bool openDevice(std::string& reason) {
        int bufferFrames = 0;
        if (!output->open([this](std::int16_t* samples, int frames) { pull(samples, frames); }, bufferFrames,
                          reason))
            return false;
        latencyFrames = bufferFrames > 0 ? static_cast<std::uint64_t>(bufferFrames) : 0;
        deviceOpen = true;
        return true;
    }

    void resumeDevice() {
        mode = Mode::Device;
        lastPulled = pulledAtResume = pulled.load();
        lastProgress = clock.now();
        output->resume();
    }

    void closeDevice() {
        if (!deviceOpen) return;
        output->close();
        deviceOpen = false;
    }

    // On the device's thread: what was rendered one device buffer ago is reaching the speaker now.
    void pull(std::int16_t* samples, int frames) {
        const std::uint64_t rendered = player.framesRendered();
        if (rendered >= latencyFrames) player.hear(rendered - latencyFrames);
        player.render(samples, static_cast<std::size_t>(frames));
        pulled.fetch_add(static_cast<std::uint64_t>(frames), std::memory_order_relaxed);
    }

    // Gone when the device says so, or when it has pulled nothing for too long (stalled).
    bool deviceLost() {
        const std::uint64_t now = clock.now();
        const std::uint64_t count = pulled.load(std::memory_order_relaxed);
        if (count != lastPulled) {
            lastPulled = count;
            lastProgress = now;
        }
        stalled = now - lastProgress > ticks(kAudioStallSeconds);
        return stalled || !output->working();
    }

    // From now on the music is where the clock says: `frame` plus `behindSeconds` now, and on at
    // the sample rate.
    void followClock(std::uint64_t frame, double behindSeconds) {
        mode = Mode::Clock;
        clockStartTick = clock.now();
        clockStartFrame = frame + static_cast<std::uint64_t>(behindSeconds * kAudioSampleRate);
    }

    void renderToClock() {
        const double elapsed = clock.seconds(clock.now() - clockStartTick);
        const std::uint64_t target = clockStartFrame + static_cast<std::uint64_t>(elapsed * kAudioSampleRate);
        scratch.resize(kClockChunkFrames * kAudioChannels);
        while (player.framesRendered() < target) {
            const std::uint64_t chunk = std::min(kClockChunkFrames, target - player.framesRendered());
            player.render(scratch.data(), static_cast<std::size_t>(chunk));
            player.hear(target);
        }
        // Nothing buffers these samples: a row is heard as soon as the clock reaches it.
        player.hear(target);
    }

    void tryReopen() {
        std::string reason;
        if (!openDevice(reason)) {
            reopenAt = clock.now() + ticks(kAudioReopenSeconds);
            return;
        }
        // The device plays on from the music's present position, in step with the picture.
        renderToClock();
        reopen = false;
        resumeDevice();
    }

    std::uint64_t ticks(double seconds) const {
        return static_cast<std::uint64_t>(seconds * static_cast<double>(clock.ticksPerSecond()));
    }

    void warn(const std::string& text) {
        std::fprintf(warnings, "halcyonvectrum: %s\n", text.c_str());
        std::fflush(warnings);
    }

    std::unique_ptr<AudioOutput> output;
    TickClock& clock;
    std::FILE* warnings;
    Mode mode = Mode::Stopped;
    bool deviceOpen = false;
    std::uint64_t latencyFrames = 0;

    // The device's progress, as its thread reports it and as the frame loop last saw it.
    std::atomic<std::uint64_t> pulled{0};
    std::uint64_t lastPulled = 0;
    std::uint64_t pulledAtResume = 0;
    std::uint64_t lastProgress = 0;
    bool stalled = false;

    std::uint64_t clockStartTick = 0;
    std::uint64_t clockStartFrame = 0;
    std::vector<std::int16_t> scratch;

    bool reopen = false;
    std::uint64_t reopenAt = 0;
};

} // namespace

std::unique_ptr<Music> createLiveMusic(std::unique_ptr<AudioOutput> output, TickClock& clock,
                                       std::FILE* warnings) {
    return std::make_unique<LiveMusic>(std::move(output), clock, warnings);
}
