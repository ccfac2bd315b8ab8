#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/bmp8.h"
#include "diagnostics/memcheck.h"
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

TEST(BitmapLoader, ReloadingIntoABitmapWithRoomAllocatesNothingAndTheSizeComesFromTheHeaders) {
    engine::bmp8::Image big(64, 40), small(9, 5);
    big.palette[200] = {1, 2, 3};
    small.at(8, 4) = 77;
    const std::string bigPath = tempPath("korrindal_loader_big.bmp"), smallPath = tempPath("korrindal_loader_small.bmp");
    ASSERT_TRUE(engine::bmp8::write(bigPath, big));
    ASSERT_TRUE(engine::bmp8::write(smallPath, small));
    int w = 0, h = 0;
    std::string err;
    ASSERT_TRUE(plat::readBitmapSize(bigPath, w, h, err)) << err;
    EXPECT_EQ(w, 64);
    EXPECT_EQ(h, 40);
    EXPECT_FALSE(plat::readBitmapSize(tempPath("korrindal_loader_none.bmp"), w, h, err));
    EXPECT_EQ(w, 64);

    plat::Bitmap8 b;
    b.pixels.reserve(static_cast<std::size_t>(64 * 40));
    ASSERT_TRUE(plat::loadBitmap8(bigPath, b, err)) << err;   // warm the decoder's own caches
    const auto made = memcheck::AllocationCount();
    ASSERT_TRUE(plat::loadBitmap8(smallPath, b, err)) << err;
    ASSERT_TRUE(plat::loadBitmap8(bigPath, b, err)) << err;
    EXPECT_EQ(memcheck::AllocationCount(), made);
    // A smaller picture loaded over a larger one is whole, and its palette replaces the old one.
    ASSERT_TRUE(plat::loadBitmap8(smallPath, b, err)) << err;
    EXPECT_EQ(b.width, 9);
    EXPECT_EQ(b.height, 5);
    EXPECT_EQ(b.pixels.size(), 45u);
    EXPECT_EQ(b.at(8, 4), 77);
    EXPECT_EQ(b.palette[200].b, small.palette[200].b);
    std::remove(bigPath.c_str());
    std::remove(smallPath.c_str());
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

// Headers that would make the decoder allocate gigabytes or read past the file are refused
// before it sees them, each with a reason naming the file.
TEST(BitmapLoader, ImpossibleHeadersAreRefusedBeforeDecoding) {
    engine::bmp8::Image img(8, 8);
    const auto good = engine::bmp8::encode(img);
    ASSERT_GE(good.size(), 54u);
    auto put32 = [](std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
        const std::array<std::uint8_t, 4> le{static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                                             static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
        std::copy(le.begin(), le.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
    };
    const std::string path = tempPath("korrindal_bad_header.bmp");
    auto expectRefused = [&](std::vector<std::uint8_t> bytes, const char* what, const char* reason) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        plat::Bitmap8 b;
        std::string err;
        EXPECT_FALSE(plat::loadBitmap8(path, b, err)) << what;
        EXPECT_NE(err.find(reason), std::string::npos) << what << ": " << err;
        EXPECT_NE(err.find("korrindal_bad_header.bmp"), std::string::npos) << what;
    };
    auto huge = good;
    put32(huge, 18, 1u << 20);  // width
    put32(huge, 22, 1u << 20);  // height
    expectRefused(huge, "a picture of a million pixels a side", "impossible size");
    // Run-length coding: a few bytes may claim any size; each side under the limit, the
    // product far over it.
    auto coded = good;
    put32(coded, 18, 16000);
    put32(coded, 22, 16000);
    put32(coded, 30, 1);   // RLE8
    expectRefused(coded, "a run-length picture of 256 million pixels", "impossible size");
    auto tall = good;
    put32(tall, 22, 4000);  // rows the file does not hold
    expectRefused(tall, "more rows than bytes", "truncated");
    auto deep = good;
    deep[28] = 24;
    expectRefused(deep, "24 bits per pixel", "paletted");
    auto notBmp = good;
    notBmp[0] = 'X';
    expectRefused(notBmp, "no BM signature", "not a BMP");
    std::remove(path.c_str());
}

}  // namespace
