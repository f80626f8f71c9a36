// The whole-file reader under every loader: the cap is checked before reading, failures leave
// nothing behind.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/read_file.h"

namespace {

std::string writeTemp(const char* name, const std::vector<std::uint8_t>& bytes) {
    const std::string path = (std::filesystem::temp_directory_path() / name).string();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f) {
        if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    return path;
}

} // namespace

TEST(ReadWholeFile, ReadsUpToTheCapAndRefusesBeyondIt) {
    const std::vector<std::uint8_t> content = {1, 2, 3, 4, 5};
    const std::string path = writeTemp("hv_read_file_cap.bin", content);
    std::vector<std::uint8_t> bytes = {9, 9};

    EXPECT_TRUE(readWholeFile(path.c_str(), 5, bytes).ok());
    EXPECT_EQ(bytes, content);

    const ReadFileResult tooLarge = readWholeFile(path.c_str(), 4, bytes);
    EXPECT_EQ(tooLarge.status, ReadFileStatus::TooLarge);
    EXPECT_TRUE(bytes.empty());

    const std::string empty = writeTemp("hv_read_file_empty.bin", {});
    EXPECT_TRUE(readWholeFile(empty.c_str(), 0, bytes).ok());
    EXPECT_TRUE(bytes.empty());
    std::filesystem::remove(path);
    std::filesystem::remove(empty);
}

TEST(ReadWholeFile, AMissingFileSaysWhy) {
    std::vector<std::uint8_t> bytes = {9};
    const ReadFileResult missing = readWholeFile("/nonexistent/hv/file.bin", 100, bytes);
    EXPECT_EQ(missing.status, ReadFileStatus::CannotOpen);
    EXPECT_EQ(missing.systemError, ENOENT);
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(readWholeFile(nullptr, 100, bytes).status, ReadFileStatus::CannotOpen);
}
