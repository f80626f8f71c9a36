#pragma once
// The sync commands of a module: effect W in the effect column, its parameter the sync value.
// Built once at load so the player thread only looks rows up.
#include <string>
#include <vector>

namespace openmpt {
class module;
}

// The music's end marker: the show ends as if the window were closed.
inline constexpr int kEndOfShowSync = 128;

struct SyncCommand {
    int order = 0;   // song position
    int pattern = 0; // pattern at that position
    int row = 0;
    int channel = 0;
    int value = 0;
};

class SyncTable {
public:
    SyncTable() = default;
    explicit SyncTable(openmpt::module& module);

    // The sync values on one row of a pattern, in channel order (none for unknown rows).
    struct Values {
        const int* begin;
        const int* end;
        bool empty() const { return begin == end; }
        int size() const { return static_cast<int>(end - begin); }
    };
    Values at(int pattern, int row) const;

    // Every sync command in song order (each position of the order list, then rows and channels),
    // so a pattern used twice lists its commands twice.
    const std::vector<SyncCommand>& inSongOrder() const { return songOrder; }
    bool contains(int value) const;

private:
    // rowStart[pattern][row] .. rowStart[pattern][row + 1] index into values.
    std::vector<std::vector<int>> rowStart;
    std::vector<int> values;
    std::vector<SyncCommand> songOrder;
};
