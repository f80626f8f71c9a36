#include "forge/contact_sheet/contact_sheet.h"
#include "forge/pictures/picture_set.h"
#include "forge/test_files.h"
#include "imagelib/bgl_image.h"
#include "imagelib/bgl_jpeg.h"

#include <gtest/gtest.h>

#include <cstdio>

TEST(ContactSheet, ShowsEveryPictureOfTheFolderInOneJpeg) {
    const std::string sheet = forge_test::scratchPath(testing::TempDir(), "contact_sheet_test") + ".jpg";
    ASSERT_EQ(forge::writeContactSheet(sheet, forge_test::kDataDir), "");
    bglimage* image = bgl_load_jpg(sheet.c_str());
    ASSERT_TRUE(image);
    // Five cells to a row; one cell per picture and one for the tunnel table.
    const int cells = int(forge::pictureRecipes().size()) + 1;
    EXPECT_EQ(image->width, 8 + 5 * (220 + 8));
    EXPECT_EQ(image->height, 8 + (cells + 4) / 5 * (172 + 8));
    bgl_free_image(image);
    std::remove(sheet.c_str());
}

TEST(ContactSheet, ReportsAMissingFolderInsteadOfWritingASheet) {
    const std::string sheet = forge_test::scratchPath(testing::TempDir(), "contact_sheet_missing") + ".jpg";
    const std::string error = forge::writeContactSheet(sheet, "no/such/folder");
    EXPECT_NE(error.find("no/such/folder"), std::string::npos) << error;
    EXPECT_FALSE(std::fopen(sheet.c_str(), "rb"));
}
