#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "engine/bmp8.h"
#include "engine/sp4_writer.h"

namespace {

engine::bmp8::Image sampleImage(int w, int h) {
    engine::bmp8::Image img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.at(x, y) = static_cast<std::uint8_t>(x * 7 + y * 31);
    for (int i = 0; i < 256; ++i)
        img.palette[static_cast<std::size_t>(i)] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i), static_cast<std::uint8_t>(i / 2)};
    return img;
}

TEST(Bmp8Writer, StoresRowsBottomUpPaddedToFourBytesWithBgrPalette) {
    const auto img = sampleImage(5, 3);  // 5 wide: rows padded to 8 bytes
    const auto bytes = engine::bmp8::encode(img);
    ASSERT_EQ(bytes.size(), static_cast<std::size_t>(engine::bmp8::kPixelOffset + 8 * 3));
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(bytes[2] | (bytes[3] << 8), static_cast<int>(bytes.size()));
    EXPECT_EQ(bytes[10] | (bytes[11] << 8), engine::bmp8::kPixelOffset);
    EXPECT_EQ(bytes[14], 40);    // BITMAPINFOHEADER
    EXPECT_EQ(bytes[22], 3);     // positive height: bottom-up
    EXPECT_EQ(bytes[28], 8);     // bits per pixel
    // Palette entry 1 is stored blue, green, red, 0.
    EXPECT_EQ(bytes[54 + 4], 0);
    EXPECT_EQ(bytes[54 + 5], 254);
    EXPECT_EQ(bytes[54 + 6], 1);
    // The first stored row is the bottom row of the picture; padding bytes are zero.
    const std::size_t first = engine::bmp8::kPixelOffset;
    for (int x = 0; x < 5; ++x) EXPECT_EQ(bytes[first + static_cast<std::size_t>(x)], img.at(x, 2));
    for (int x = 5; x < 8; ++x) EXPECT_EQ(bytes[first + static_cast<std::size_t>(x)], 0);
    EXPECT_EQ(bytes[first + 16], img.at(0, 0));
}

TEST(Bmp8Writer, RoundTripsThroughTheReaderAndRefusesBadInput) {
    for (int w : {1, 2, 3, 4, 640}) {
        const auto img = sampleImage(w, 7);
        const auto back = engine::bmp8::decode(engine::bmp8::encode(img));
        ASSERT_TRUE(back.has_value()) << w;
        EXPECT_EQ(back->width, w);
        EXPECT_EQ(back->height, 7);
        EXPECT_EQ(back->pixels, img.pixels);
        EXPECT_EQ(back->palette[200].r, img.palette[200].r);
        EXPECT_EQ(back->palette[200].g, img.palette[200].g);
    }
    engine::bmp8::Image bad(4, 4);
    bad.pixels.pop_back();
    EXPECT_TRUE(engine::bmp8::encode(bad).empty());
    EXPECT_TRUE(engine::bmp8::encode(engine::bmp8::Image{}).empty());
    auto truncated = engine::bmp8::encode(sampleImage(9, 9));
    truncated.resize(truncated.size() - 1);
    EXPECT_FALSE(engine::bmp8::decode(truncated).has_value());
}

TEST(Bmp8Writer, WritesAFileAndReportsAnUnwritablePath) {
    const auto path = std::filesystem::temp_directory_path() / "korrindal_bmp8_test.bmp";
    const auto img = sampleImage(13, 4);
    ASSERT_TRUE(engine::bmp8::write(path.string(), img));
    const auto back = engine::bmp8::read(path.string());
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->pixels, img.pixels);
    std::filesystem::remove(path);
    EXPECT_FALSE(engine::bmp8::write("/nonexistent-dir/x.bmp", img));
}

TEST(Sp4Writer, WritesHeaderThenRecordsInOrder) {
    std::vector<engine::sp4::PatternFields> pats(3);
    for (int i = 0; i < 3; ++i) {
        pats[static_cast<std::size_t>(i)].source = {i * 10, 0, i * 10 + 8, 8};
        pats[static_cast<std::size_t>(i)].originX = static_cast<std::int16_t>(4 + i);
    }
    pats[2].rotLast = 15;
    const auto header = engine::sp4::headerFor(pats, true);
    EXPECT_EQ(header.last, 2);
    EXPECT_EQ(header.rotate, 1);
    EXPECT_EQ(header.sysMem, 0);
    const auto bytes = engine::sp4::encodeFile(header, pats);
    ASSERT_EQ(bytes.size(), static_cast<std::size_t>(engine::sp4::kHeaderSize + 3 * engine::sp4::kRecordSize));
    EXPECT_EQ(engine::sp4::decodeHeader(bytes.data()).last, 2);
    for (int i = 0; i < 3; ++i) {
        const auto rec = engine::sp4::decodeRecord(bytes.data() + engine::sp4::kHeaderSize + i * engine::sp4::kRecordSize);
        EXPECT_EQ(rec.source.left, i * 10);
        EXPECT_EQ(rec.originX, 4 + i);
    }
    EXPECT_EQ(bytes[engine::sp4::kHeaderSize + 2 * engine::sp4::kRecordSize + 71], 15);
    EXPECT_EQ(engine::sp4::headerFor({}).last, -1);
}

TEST(Sp4Writer, KeepsAnInconsistentHeaderAsGivenForReaderTests) {
    std::vector<engine::sp4::PatternFields> pats(1);
    const auto bytes = engine::sp4::encodeFile({0, 0, 5}, pats);
    EXPECT_EQ(bytes.size(), static_cast<std::size_t>(engine::sp4::kHeaderSize + engine::sp4::kRecordSize));
    EXPECT_EQ(engine::sp4::decodeHeader(bytes.data()).last, 5);
    const auto path = std::filesystem::temp_directory_path() / "korrindal_sp4_writer_test.sp4";
    ASSERT_TRUE(engine::sp4::writeFile(path.string(), {1, 0, 0}, pats));
    EXPECT_EQ(std::filesystem::file_size(path), bytes.size());
    std::filesystem::remove(path);
}

}  // namespace
