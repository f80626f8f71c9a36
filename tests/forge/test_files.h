// Reading generated files back in the forge's tests.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace forge_test {

// The folder the build wrote (tests run from the bin folder).
inline const std::string kDataDir = "data";

// A scratch path of this process alone: other worktrees run the same tests at the same time.
inline std::string scratchPath(const std::string& tempDir, const std::string& name) {
    return tempDir + name + "_" + std::to_string(getpid());
}

inline std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace forge_test
