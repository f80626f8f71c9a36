// xmsync FILE: lists a module's sync commands in play order, as the show hears them.
#include "core/command_line.h"
#include "xmsync/sync_listing.h"

#include <cstdio>
#include <map>

int main(int argc, char** argv) {
    std::string path;
    CommandLine line("xmsync", "FILE",
                     "Lists a module's sync commands in play order, as the show's player hears them\n"
                     "(following loops and jumps, up to the end marker or the song's first repeat):\n"
                     "position, pattern, row, time in seconds, value and what it does in the show.");
    line.operand("FILE", path);
    if (const int code = line.parse(argc, argv); code != CommandLine::kGoOn) return code;
    if (const std::string problem = inputFileProblem(path); !problem.empty())
        return line.failure(path + ": " + problem);

    const xmsync::SyncListing listing = xmsync::listSyncs(path);
    // The player's messages name the file already.
    if (!listing.error.empty()) return line.failure(listing.error);
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
