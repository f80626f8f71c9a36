#pragma once
// The music's play status, published by the player thread and read by the frame loop as one snapshot.
#include <atomic>
#include <cstdint>

struct PlayStatus {
    int position = 0;  // song position (order index)
    int pattern = 0;   // pattern playing at that position
    int row = 0;       // row within the pattern
    int syncValue = 0; // value of the latest sync command heard (0 before the first)
    int syncCount = 0; // sync commands heard since playback started

    bool operator==(const PlayStatus& o) const {
        return position == o.position && pattern == o.pattern && row == o.row && syncValue == o.syncValue &&
               syncCount == o.syncCount;
    }
};

// One writer, any number of readers, no locks: a sequence counter that is odd while the writer
// is in the middle of an update; readers retry until they see the same even count on both sides.
class PlayStatusBoard {
public:
    void publish(const PlayStatus& status) {
        std::uint32_t s = sequence.load(std::memory_order_relaxed);
        sequence.store(s + 1, std::memory_order_relaxed);
        std::atomic_thread_fence(std::memory_order_release);
        store(status);
        sequence.store(s + 2, std::memory_order_release);
    }

    PlayStatus read() const {
        for (;;) {
            std::uint32_t before = sequence.load(std::memory_order_acquire);
            PlayStatus status = load();
            std::atomic_thread_fence(std::memory_order_acquire);
            if ((before & 1) == 0 && sequence.load(std::memory_order_relaxed) == before) return status;
        }
    }

private:
    void store(const PlayStatus& s) {
        fields[0].store(s.position, std::memory_order_relaxed);
        fields[1].store(s.pattern, std::memory_order_relaxed);
        fields[2].store(s.row, std::memory_order_relaxed);
        fields[3].store(s.syncValue, std::memory_order_relaxed);
        fields[4].store(s.syncCount, std::memory_order_relaxed);
    }
    PlayStatus load() const {
        PlayStatus s;
        s.position = fields[0].load(std::memory_order_relaxed);
        s.pattern = fields[1].load(std::memory_order_relaxed);
        s.row = fields[2].load(std::memory_order_relaxed);
        s.syncValue = fields[3].load(std::memory_order_relaxed);
        s.syncCount = fields[4].load(std::memory_order_relaxed);
        return s;
    }

    std::atomic<std::uint32_t> sequence{0};
    std::atomic<int> fields[5] = {};
};
