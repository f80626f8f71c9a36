#include "effects/support/sync_watch.h"

#include "effects/show_state.h"

void SyncWatch::reset() {
    seenCount = syncCount.load();
}

bool SyncWatch::arrived() {
    const int count = syncCount.load();
    if (count == seenCount || syncValue != value) return false;
    seenCount = count;
    return true;
}

bool SyncWatch::hasNews() const {
    return syncCount.load() != seenCount;
}

bool SyncWatch::follow(int& phase) {
    const bool news = hasNews();
    if (arrived()) ++phase;
    return news;
}
