#pragma once
// How far an XM module's own headers say it reaches. The module library plays a file that is cut
// short without complaint (silent instruments, missing patterns), so the player checks this first.
#include <cstddef>
#include <cstdint>
#include <optional>

// The number of bytes the XM's patterns, instruments and samples need, counted from the file's
// start; none when the bytes are not an XM of the usual layout (version 1.04), which is left to
// the module library to judge.
std::optional<std::uint64_t> xmDeclaredExtent(const std::uint8_t* data, std::size_t size);
