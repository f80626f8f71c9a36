#include "platform/sdl/live_music.h"

#include <SDL.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "core/audio_format.h"
#include "music/player_music.h"

namespace {

// A short device buffer keeps picture and sound close; the snapshots are delayed by it anyway.
constexpr int kDeviceBufferFrames = 1024;
// The silent stand-in renders in small steps so syncs stay close to the clock.
constexpr int kSilentChunkFrames = 256;

class LiveMusic : public PlayerMusic {
public:
    ~LiveMusic() override { shutdown(); }

    bool init(std::string&) override {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
            audioStarted = true;
            SDL_AudioSpec want = {};
            want.freq = kAudioSampleRate;
            want.format = AUDIO_S16SYS;
            want.channels = kAudioChannels;
            want.samples = kDeviceBufferFrames;
            want.callback = &LiveMusic::audioCallback;
            want.userdata = this;
            SDL_AudioSpec have = {};
            device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
            if (device != 0) {
                latencyFrames = have.samples;
                return true;
            }
        }
        std::fprintf(stderr, "halcyonvectrum: no audio device (%s); the music plays silently\n",
                     SDL_GetError());
        return true;
    }

    bool play(std::string& error) override {
        if (!restartPlayer(error)) return false;
        if (device != 0) {
            SDL_PauseAudioDevice(device, 0);
        } else {
            running = true;
            silentThread = std::thread([this] { playSilently(); });
        }
        return true;
    }

    bool poll(PlayStatus& status, std::string&) override {
        status = player.status();
        return true;
    }

    void shutdown() override {
        if (device != 0) {
            SDL_CloseAudioDevice(device);
            device = 0;
        }
        if (silentThread.joinable()) {
            running = false;
            silentThread.join();
        }
        if (audioStarted) {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            audioStarted = false;
        }
    }

private:
    static void SDLCALL audioCallback(void* self, Uint8* stream, int bytes) {
        auto* music = static_cast<LiveMusic*>(self);
        ModulePlayer& player = music->player;
        // What was rendered one device buffer ago is reaching the speaker now.
        std::uint64_t rendered = player.framesRendered();
        if (rendered >= music->latencyFrames) player.hear(rendered - music->latencyFrames);
        const int frames = bytes / static_cast<int>(sizeof(std::int16_t) * kAudioChannels);
        player.render(reinterpret_cast<std::int16_t*>(stream), frames);
    }

    void playSilently() {
        std::vector<std::int16_t> scratch(kSilentChunkFrames * kAudioChannels);
        const auto begin = std::chrono::steady_clock::now();
        while (running.load()) {
            // Nothing buffers the samples, so they are "heard" as soon as the clock reaches them.
            player.hearAll();
            player.render(scratch.data(), kSilentChunkFrames);
            const auto due =
                begin + std::chrono::microseconds(player.framesRendered() * 1000000 / kAudioSampleRate);
            std::this_thread::sleep_until(due);
        }
    }

    SDL_AudioDeviceID device = 0;
    std::uint64_t latencyFrames = 0;
    bool audioStarted = false;
    std::atomic<bool> running{false};
    std::thread silentThread;
};

} // namespace

std::unique_ptr<Music> createLiveMusic() {
    return std::make_unique<LiveMusic>();
}
