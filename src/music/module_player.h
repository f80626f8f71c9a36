#pragma once
// Plays a tracker module through libopenmpt and turns its sync commands into play-status snapshots.
// It needs no window and no audio device: the caller renders samples (an audio callback, a paced
// thread, or capture mode on the calling thread) and says when rendered samples are heard, which
// is when their rows' snapshots are published and the sync callback raised.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "core/audio_format.h"
#include "music/play_status.h"
#include "music/sync_table.h"

namespace openmpt {
class module;
}

class ModulePlayer {
public:
    // Rows are noticed between chunks, so a row change is never placed more than this late.
    static constexpr int kChunkFrames = 64;
    // Modules larger than this are refused before reading them.
    static constexpr std::size_t kMaxModuleBytes = 64u << 20;

    ModulePlayer();
    ~ModulePlayer();
    ModulePlayer(const ModulePlayer&) = delete;
    ModulePlayer& operator=(const ModulePlayer&) = delete;

    // Loads a module file; on failure returns false with a message for the error box.
    bool load(const std::string& path, std::string& error);
    bool loadFromMemory(const std::vector<std::uint8_t>& bytes, const std::string& name, std::string& error);
    bool loaded() const { return module != nullptr; }

    // Plays looping from the start (song position 0): a replay of a row raises its syncs again.
    void restart();

    // Renders frames of interleaved stereo 16-bit samples and notes every row change found.
    void render(std::int16_t* out, std::size_t frames);
    // For sound that nobody hears (a capture that writes no sound): mix with the nearest sample
    // instead of the interpolating filter, several times cheaper. Rows, and so syncs, fall on
    // the same sample frames either way. Kept across loads.
    void setQuickMix(bool quick);

    // Publishes the rows whose first sample is at or before the given frame (counted from the
    // restart): for each, the snapshot first, then the callback once per sync command on the row.
    void hear(std::uint64_t frame);
    void hearAll() { hear(rendered); }

    std::uint64_t framesRendered() const { return rendered; }

    // The latest published snapshot; safe from any thread.
    PlayStatus status() const { return board.read(); }

    // Called on the thread that calls hear(), once per sync command heard, with its value.
    void setSyncCallback(std::function<void(int)> callback) { onSync = std::move(callback); }

    const SyncTable& syncs() const { return table; }
    double durationSeconds() const;
    // When a song position and row is first reached, in seconds from the start. Moves the play
    // position there: for a player that only looks at the song.
    double secondsAt(int order, int row);

private:
    struct RowEvent {
        std::uint64_t frame;
        int order;
        int pattern;
        int row;
    };
    void noteRow(std::uint64_t frame);
    std::uint64_t rowPlayedAgain(std::uint64_t frame, int pattern, int row) const;
    void publish(const RowEvent& event);

    // libopenmpt keeps writing to the stream it was given for as long as the module lives; its
    // messages are not wanted (a failed load comes back as an exception's text).
    std::ostream discardedLog{nullptr};
    bool quickMix = false;
    std::unique_ptr<openmpt::module> module;
    SyncTable table;
    PlayStatusBoard board;
    PlayStatus current; // owned by the rendering thread; the board holds the published copy
    std::function<void(int)> onSync;

    // Rows found by render() and not heard yet: a ring, so the audio thread never allocates.
    static constexpr std::size_t kPendingRows = 512;
    std::vector<RowEvent> pending;
    std::size_t pendingHead = 0;
    std::size_t pendingCount = 0;

    std::uint64_t rendered = 0;
    int lastOrder = -1;
    int lastRow = -1;
    std::uint64_t lastRowFrame = 0;
    // Per pattern and row: the pattern delay (EEx) that stretches the row to 1 + x times its length.
    std::vector<std::vector<unsigned char>> rowDelays;
};
