// Fuzz target: any bytes through the module check the player runs at load: the XM extent check,
// then (for what it lets through) the module library's load, the sync table and the row delays,
// and a walk over every row the table knows.
#include "music/module_player.h"
#include "music/xm_extent.h"

#include <libopenmpt/libopenmpt.hpp>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The extent check alone, over the raw bytes: it must never read outside them.
    (void)xmDeclaredExtent(data, size);

    // Bytes that the module library's own probe turns away only make its loader throw, after it
    // has built a whole player: skipping them keeps the runs many times faster.
    if (openmpt::probe_file_header(openmpt::probe_file_header_flags_default2, data, size, size) ==
        openmpt::probe_file_header_result_failure)
        return 0;

    ModulePlayer player;
    std::string error;
    const std::vector<std::uint8_t> bytes(data, data + size);
    if (!player.loadFromMemory(bytes, "fuzz.xm", error)) return 0;
    const SyncTable& table = player.syncs();
    for (const SyncCommand& sync : table.inSongOrder()) {
        const SyncTable::Values values = table.at(sync.pattern, sync.row);
        if (values.empty() || !table.contains(sync.value)) __builtin_trap(); // listed, so tabled
        for (const int* v = values.begin; v != values.end; ++v) (void)*v;
    }
    // Rows outside every pattern read as none.
    if (!table.at(-1, 0).empty() || !table.at(0, -1).empty() || !table.at(0, 1 << 20).empty() ||
        !table.at(1 << 20, 0).empty())
        __builtin_trap();
    return 0;
}
