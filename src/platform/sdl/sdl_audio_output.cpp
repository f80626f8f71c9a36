#include "platform/sdl/sdl_audio_output.h"

#include <SDL.h>

#include "core/audio_format.h"
#include "platform/sdl/sdl_start.h"

namespace {

// A short device buffer keeps picture and sound close; the snapshots are delayed by it anyway.
constexpr int kDeviceBufferFrames = 1024;

class SdlAudioOutput : public AudioOutput {
public:
    ~SdlAudioOutput() override {
        close();
        if (audioStarted) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    bool open(Pull p, int& bufferFrames, std::string& error) override {
        close();
        // Each open starts SDL's audio afresh: after a device went away, a backend may hold on to
        // a connection that died with it (PulseAudio's does).
        if (audioStarted) SDL_QuitSubSystem(SDL_INIT_AUDIO);
        prepareSdl();
        audioStarted = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
        if (!audioStarted) {
            error = SDL_GetError();
            return false;
        }
        pull = std::move(p);
        SDL_AudioSpec want = {};
        want.freq = kAudioSampleRate;
        want.format = AUDIO_S16SYS;
        want.channels = kAudioChannels;
        want.samples = kDeviceBufferFrames;
        want.callback = &SdlAudioOutput::audioCallback;
        want.userdata = this;
        SDL_AudioSpec have = {};
        // Opened paused: nothing is pulled before resume().
        device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
        if (device == 0) {
            error = SDL_GetError();
            return false;
        }
        bufferFrames = have.samples;
        return true;
    }

    void resume() override {
        if (device != 0) SDL_PauseAudioDevice(device, 0);
    }

    // SDL marks a device that went away as stopped (and may go on calling back into it).
    bool working() override { return device != 0 && SDL_GetAudioDeviceStatus(device) != SDL_AUDIO_STOPPED; }

    void close() override {
        if (device == 0) return;
        SDL_CloseAudioDevice(device); // waits for the device's thread to end
        device = 0;
    }

private:
    static void SDLCALL audioCallback(void* self, Uint8* stream, int bytes) {
        const int frames = bytes / static_cast<int>(sizeof(std::int16_t) * kAudioChannels);
        static_cast<SdlAudioOutput*>(self)->pull(reinterpret_cast<std::int16_t*>(stream), frames);
    }

    bool audioStarted = false;
    SDL_AudioDeviceID device = 0;
    Pull pull;
};

} // namespace

std::unique_ptr<AudioOutput> createSdlAudioOutput() {
    return std::make_unique<SdlAudioOutput>();
}
