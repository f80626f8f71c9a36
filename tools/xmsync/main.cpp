// xmsync FILE: lists a module's sync commands in play order, as the show hears them.
#include "xmsync/sync_listing.h"

#include <cstdio>
#include <map>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: xmsync FILE\n");
        return 2;
    }
    const xmsync::SyncListing listing = xmsync::listSyncs(argv[1]);
    if (!listing.error.empty()) {
        std::fprintf(stderr, "xmsync: %s\n", listing.error.c_str());
        return 1;
    }
    std::printf("order pattern row     time  value  effect\n");
    int running = 0;
    std::map<int, int> arrivals; // of each value since the running effect started
    for (const xmsync::HeardSync& s : listing.syncs) {
        if (xmsync::startsEffect(s.value)) arrivals.clear();
        const std::string what = xmsync::describeSync(s.value, running, ++arrivals[s.value]);
        std::printf("%5d %7d %3d %8.3f  %5d  %s\n", s.order, s.pattern, s.row, s.seconds, s.value,
                    what.c_str());
        if (xmsync::startsEffect(s.value)) running = s.value;
    }
    if (listing.endMarker)
        std::printf("%zu sync commands; the show ends at %.3f s\n", listing.syncs.size(), listing.seconds);
    else
        std::printf("%zu sync commands; no end marker before the song repeats at %.3f s\n",
                    listing.syncs.size(), listing.seconds);
    return 0;
}
