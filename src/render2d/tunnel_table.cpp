#include "render2d/tunnel_table.h"

#include <cstdio>
#include <memory>

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
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(
        path != nullptr ? std::fopen(path, "rb") : nullptr, &std::fclose);
    if (!file) return "could not open the tunnel table " + name;
    std::vector<std::uint8_t> bytes(kTunnelTableBytes);
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file.get());
    if (const std::string problem = decodeTunnelTable(bytes.data(), got, table); !problem.empty())
        return "the tunnel table " + name + " " + problem;
    return {};
}
