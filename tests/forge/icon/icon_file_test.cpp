// The icon file windres builds into the Windows executable: a directory Windows can walk, and
// each image the same rings as the window's icon.
#include "forge/icon/icon_file.h"
#include "forge/test_files.h"
#include "resources/program_icon.h"

#include <gtest/gtest.h>

namespace {

uint32_t get16(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8;
}
uint32_t get32(const std::vector<uint8_t>& b, size_t at) {
    return get16(b, at) | get16(b, at + 2) << 16;
}

} // namespace

TEST(IconFile, EveryImageLiesWhereItsEntrySaysWithThePictureBottomUpAndItsMask) {
    const std::vector<uint8_t> file = forge_test::readFile(forge_test::kDataDir + "/" + forge::kIconFileName);
    ASSERT_EQ(file, forge::encodeIconFile());
    ASSERT_GE(file.size(), 6u);
    EXPECT_EQ(get16(file, 0), 0u);
    EXPECT_EQ(get16(file, 2), 1u); // an icon, not a cursor
    const uint32_t count = get16(file, 4);
    ASSERT_EQ(count, std::size(forge::kIconSides));

    uint32_t end = 6 + 16 * count;
    for (uint32_t i = 0; i < count; ++i) {
        const size_t entry = 6 + 16 * i;
        const int side = forge::kIconSides[i];
        EXPECT_EQ(file[entry], side);
        EXPECT_EQ(file[entry + 1], side);
        EXPECT_EQ(get16(file, entry + 6), 32u);
        const uint32_t bytes = get32(file, entry + 8), offset = get32(file, entry + 12);
        // The images follow the directory one after another, inside the file.
        EXPECT_EQ(offset, end);
        ASSERT_LE(size_t(offset) + bytes, file.size());
        end = offset + bytes;

        EXPECT_EQ(get32(file, offset), 40u);
        EXPECT_EQ(get32(file, offset + 4), uint32_t(side));
        EXPECT_EQ(get32(file, offset + 8), uint32_t(side) * 2);
        const uint32_t maskRow = (side + 31) / 32 * 4;
        EXPECT_EQ(bytes, 40 + uint32_t(side * side) * 4 + maskRow * side);
        // The top-left corner lies outside the rings (transparent, masked); the file's first row is
        // the picture's bottom row.
        const std::vector<uint32_t> picture = drawProgramIcon(side);
        const size_t pixels = offset + 40, mask = pixels + size_t(side) * side * 4;
        const uint32_t centre = size_t(side / 2) * side + side / 2;
        EXPECT_EQ(get32(file, pixels + (size_t(side - 1 - side / 2) * side + side / 2) * 4), picture[centre]);
        EXPECT_EQ(picture[0] >> 24, 0u);
        EXPECT_EQ(file[mask + (side - 1) * maskRow] & 0x80, 0x80);
        EXPECT_EQ(picture[centre] >> 24, 0xffu);
    }
    EXPECT_EQ(end, file.size());
}
