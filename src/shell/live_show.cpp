#include "shell/live_show.h"

#include "platform/audio_output.h"
#include "platform/live_music.h"
#include "shell/show.h"

int runLiveShow(const ShowOptions& options, double startSeconds, Dialogs& dialogs, TickClock& clock,
                std::unique_ptr<AudioOutput> (*createAudioOutput)(),
                std::function<std::unique_ptr<Window>(bool windowed)> createMainWindow) {
    // The music outlives the show's run and goes before the caller shuts the toolkit down.
    const std::unique_ptr<Music> music = createLiveMusic(options.mute ? nullptr : createAudioOutput(), clock);
    ShowPlatform platform{dialogs, *music, std::move(createMainWindow)};
    platform.display = options.display;
    platform.clock = &clock;
    platform.stepsPerSecond = options.stepsPerSecond;
    platform.startSeconds = startSeconds;
    return runShow(platform, showEffects());
}
