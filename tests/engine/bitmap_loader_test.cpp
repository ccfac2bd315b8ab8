#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "engine/bmp8.h"
#include "platform/bitmap_loader.h"

namespace {

std::string tempPath(const char* name) { return (std::filesystem::temp_directory_path() / name).string(); }

TEST(BitmapLoader, KeepsIndicesAndPaletteOfAnOddWidthPicture) {
    engine::bmp8::Image img(5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) img.at(x, y) = static_cast<std::uint8_t>(y * 50 + x * 7 + 1);
    img.palette[1] = {10, 20, 30};
    img.palette[255] = {255, 255, 255};
    const std::string path = tempPath("korrindal_loader_test.bmp");
    ASSERT_TRUE(engine::bmp8::write(path, img));
    plat::Bitmap8 b;
    std::string err;
    ASSERT_TRUE(plat::loadBitmap8(path, b, err)) << err;
    EXPECT_EQ(b.width, 5);
    EXPECT_EQ(b.height, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(b.at(x, y), img.at(x, y)) << x << "," << y;
    EXPECT_EQ(b.palette[1].g, 20);
    EXPECT_EQ(b.palette[255].b, 255);
    std::remove(path.c_str());
}

TEST(BitmapLoader, MissingOrTruncatedFileFailsWithAReasonAndLeavesTheTargetAlone) {
    plat::Bitmap8 b;
    b.width = 7;
    std::string err;
    EXPECT_FALSE(plat::loadBitmap8(tempPath("korrindal_no_such_file.bmp"), b, err));
    EXPECT_NE(err.find("korrindal_no_such_file.bmp"), std::string::npos);
    EXPECT_EQ(b.width, 7);

    engine::bmp8::Image img(8, 8);
    auto bytes = engine::bmp8::encode(img);
    bytes.resize(bytes.size() - 40);
    const std::string path = tempPath("korrindal_truncated.bmp");
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    err.clear();
    EXPECT_FALSE(plat::loadBitmap8(path, b, err));
    EXPECT_FALSE(err.empty());
    std::remove(path.c_str());
}

}  // namespace
