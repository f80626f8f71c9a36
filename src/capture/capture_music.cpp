#include "capture/capture_music.h"

#include <cstdint>
#include <vector>

#include "capture/capture_session.h"
#include "core/audio_format.h"
#include "music/player_music.h"

namespace {

class CaptureMusic : public PlayerMusic {
public:
    explicit CaptureMusic(CaptureSession& s) : session(s) {}

    bool init(std::string&) override { return true; }
    bool play(std::string& error) override {
        if (!restartPlayer(error)) return false;
        // Sound that no file takes is mixed the cheap way; the frames are the same.
        player.setQuickMix(!session.writesSound());
        player.setSyncCallback([this](int value) { session.noteSync(value); });
        session.musicStarted();
        playing = true;
        return true;
    }

    bool poll(PlayStatus& status, std::string&) override {
        if (playing) {
            // One frame's worth of samples on the calling thread: syncs land on the same frame every run.
            const std::size_t frames = session.audioFramesDue();
            if (frames > 0) {
                scratch.resize(frames * kAudioChannels);
                player.render(scratch.data(), frames);
                // Heard before the samples are handed on: a sync that begins the output keeps its frame's
                // sound.
                player.hearAll();
                session.writeAudio(scratch.data(), frames);
            }
            player.hearAll();
        }
        status = player.status();
        return true;
    }

    void shutdown() override { playing = false; }

private:
    CaptureSession& session;
    std::vector<std::int16_t> scratch;
    bool playing = false;
};

} // namespace

std::unique_ptr<Music> createCaptureMusic(CaptureSession& session) {
    return std::make_unique<CaptureMusic>(session);
}
