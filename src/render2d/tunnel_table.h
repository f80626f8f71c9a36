#pragma once
// The tunnel's lookup table: for each pixel of a 320x200 screen, row by row, the number
// (row * 256 + column) of the texel of a 256x256 texture seen there.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/screen.h"

// The file holds the entries as 16-bit little-endian values with no header.
constexpr int kTunnelTableBytes = kScreenPixels * 2;

// Decodes the first kTunnelTableBytes of bytes into table. Returns an empty string, or why the
// bytes are no table (too few of them).
std::string decodeTunnelTable(const std::uint8_t* bytes, std::size_t size, std::vector<std::uint16_t>& table);

// Reads the table file at path; bytes beyond the table are ignored. Returns an empty string, or a
// message naming the file and what is wrong with it.
std::string readTunnelTable(const char* path, std::vector<std::uint16_t>& table);
