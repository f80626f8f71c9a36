#include "render2d/tunnel_table.h"

#include "core/read_file.h"

namespace {
// The table is read whole; a file this much larger than it is no table.
constexpr std::uint64_t kMaxTunnelFileBytes = std::uint64_t(64) << 20;
} // namespace

std::string decodeTunnelTable(const std::uint8_t* bytes, std::size_t size,
                              std::vector<std::uint16_t>& table) {
    if (bytes == nullptr || size < static_cast<std::size_t>(kTunnelTableBytes))
        return "is shorter than " + std::to_string(kTunnelTableBytes) + " bytes";
    table.resize(kScreenPixels);
    for (int i = 0; i < kScreenPixels; ++i)
        table[i] = static_cast<std::uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    return {};
}

std::string readTunnelTable(const char* path, std::vector<std::uint16_t>& table) {
    const std::string name = path != nullptr ? path : "(no file name)";
    std::vector<std::uint8_t> bytes;
    const ReadFileResult read = readWholeFile(path, kMaxTunnelFileBytes, bytes);
    if (read.status == ReadFileStatus::CannotOpen) return "could not open the tunnel table " + name;
    if (read.status == ReadFileStatus::TooLarge)
        return "the tunnel table " + name + " is larger than " + std::to_string(kMaxTunnelFileBytes) +
               " bytes";
    if (const std::string problem = decodeTunnelTable(bytes.data(), bytes.size(), table); !problem.empty())
        return "the tunnel table " + name + " " + problem;
    return {};
}
