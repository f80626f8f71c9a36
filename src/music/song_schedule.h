#pragma once
// When a song's sync commands first sound, read from the module's own order list and rows (timed
// by the module library): where the show, or a capture of it, can start, and where it ends.
#include <optional>
#include <vector>

class ModulePlayer;

struct SongSchedule {
    struct FirstSync {
        int value;
        double seconds;
    };

    double endSeconds = 0.0; // the end marker (sync value 128), or the song's end without one
    bool endMarker = false;
    std::vector<FirstSync> firstSyncs; // each value once, at its first place in song order

    // When the value first sounds; none when the song never sends it.
    std::optional<double> firstSync(int value) const;
};

// Reads the schedule of a loaded module. It moves the player's position: the player is for
// looking at the song, not for playing it.
SongSchedule readSongSchedule(ModulePlayer& player);
