#include "music/song_schedule.h"

#include "music/module_player.h"

std::optional<double> SongSchedule::firstSync(int value) const {
    for (const FirstSync& sync : firstSyncs)
        if (sync.value == value) return sync.seconds;
    return std::nullopt;
}

SongSchedule readSongSchedule(ModulePlayer& player) {
    SongSchedule schedule;
    schedule.endSeconds = player.durationSeconds();
    for (const SyncCommand& sync : player.syncs().inSongOrder()) {
        if (schedule.firstSync(sync.value)) continue;
        const double seconds = player.secondsAt(sync.order, sync.row);
        schedule.firstSyncs.push_back({sync.value, seconds});
        if (sync.value == kEndOfShowSync) {
            schedule.endMarker = true;
            schedule.endSeconds = seconds;
        }
    }
    return schedule;
}
