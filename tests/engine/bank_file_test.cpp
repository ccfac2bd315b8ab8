#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <vector>

#include "engine/add_table.h"
#include "engine/bank_file.h"
#include "engine/bitmap_blit.h"
#include "engine/sp4_writer.h"

namespace {

namespace fs = std::filesystem;
using engine::sp4::PatternFields;

std::string tmp(const std::string& name) { return (fs::temp_directory_path() / ("korrindal_bank_" + name)).string(); }

TEST(BankFile, ReadsHeaderAndRecordsAndRefusesBadCountsAndTruncation) {
    std::vector<PatternFields> pats(3);
    pats[1].source = {1, 2, 3, 4};
    pats[2].hitLast = 0;
    pats[2].hits[0] = {5, 6, 7};
    const std::string path = tmp("ok.sp4");
    ASSERT_TRUE(engine::sp4::writeFile(path, engine::sp4::headerFor(pats, true, true), pats));
    engine::sp4::Header h;
    std::vector<PatternFields> got;
    std::string err;
    ASSERT_TRUE(engine::readBankFile(path, h, got, err)) << err;
    EXPECT_EQ(h.last, 2);
    EXPECT_EQ(h.rotate, 1);
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[1].source.bottom, 4);
    EXPECT_EQ(got[2].hits[0].y, 7);

    // Last larger than the file holds.
    const std::string big = tmp("big.sp4");
    ASSERT_TRUE(engine::sp4::writeFile(big, engine::sp4::Header{0, 0, 5}, pats));
    EXPECT_FALSE(engine::readBankFile(big, h, got, err));
    EXPECT_NE(err.find(big), std::string::npos);
    // The largest Last: its count must not wrap to 0 and pass the length check.
    ASSERT_TRUE(engine::sp4::writeFile(big, engine::sp4::Header{0, 0, 2147483647}, {}));
    EXPECT_FALSE(engine::readBankFile(big, h, got, err));
    EXPECT_NE(err.find("truncated"), std::string::npos) << err;
    // A negative Last other than -1.
    const std::string neg = tmp("neg.sp4");
    ASSERT_TRUE(engine::sp4::writeFile(neg, engine::sp4::Header{0, 0, -2}, {}));
    EXPECT_FALSE(engine::readBankFile(neg, h, got, err));
    EXPECT_NE(err.find(neg), std::string::npos);
    // -1: a bank without patterns.
    ASSERT_TRUE(engine::sp4::writeFile(neg, engine::sp4::Header{0, 0, -1}, {}));
    EXPECT_TRUE(engine::readBankFile(neg, h, got, err));
    EXPECT_TRUE(got.empty());
    // Shorter than the header.
    const std::string shortFile = tmp("short.sp4");
    std::FILE* f = std::fopen(shortFile.c_str(), "wb");
    std::fputs("abc", f);
    std::fclose(f);
    EXPECT_FALSE(engine::readBankFile(shortFile, h, got, err));
    EXPECT_NE(err.find(shortFile), std::string::npos);
    EXPECT_FALSE(engine::readBankFile(tmp("missing.sp4"), h, got, err));
    for (const auto& p : {path, big, neg, shortFile}) fs::remove(p);
}

TEST(BankLayout, EmptyBanksTakeOneIndexAndOverflowIsFound) {
    engine::TBankTable banks{};
    banks[0].last = 9;   // 10 patterns
    banks[1].last = 0;   // no name: keeps Last 0, one index
    banks[2].last = 4;
    banks[3].last = -1;  // a file with no patterns takes none
    EXPECT_EQ(engine::layoutBankIndices(banks), -1);
    EXPECT_EQ(banks[1].first, 10);
    EXPECT_EQ(banks[2].first, 11);
    EXPECT_EQ(banks[3].first, 16);
    EXPECT_EQ(banks[4].first, 16);
    EXPECT_EQ(banks[15].first, 16 + 11);
    banks[5].last = 1010;
    banks[5].fileName = "huge.sp4";
    const int bad = engine::layoutBankIndices(banks);
    EXPECT_EQ(bad, 5);
    EXPECT_NE(engine::bankOverflowMessage(banks[5], 5).find("huge.sp4"), std::string::npos);
    banks[5].last = 1024 - 17 - 10 - 1;  // exactly fills the table with the ten one-index banks
    EXPECT_EQ(engine::layoutBankIndices(banks), -1);
    banks[5].last += 1;
    EXPECT_EQ(engine::layoutBankIndices(banks), 15);
}

TEST(BankLayout, SourceScalingAndBounds) {
    EXPECT_EQ(engine::scaleSource({10, -3, 21, 7}, 2), (engine::sp4::Rect{5, -2, 10, 3}));
    EXPECT_EQ(engine::scaleSource({10, -3, 21, 7}, 4), (engine::sp4::Rect{10, -3, 21, 7}));
    EXPECT_TRUE(engine::sourceInside({0, 0, 640, 100}, 640, 100));
    EXPECT_FALSE(engine::sourceInside({0, 0, 641, 100}, 640, 100));
    EXPECT_FALSE(engine::sourceInside({-1, 0, 10, 10}, 640, 100));
    EXPECT_FALSE(engine::sourceInside({20, 0, 10, 10}, 640, 100));
}

TEST(BitmapStretch, A320WidePictureIsDoubledOnA640Screen) {
    plat::Bitmap8 bmp;
    bmp.width = 320;
    bmp.height = 3;
    bmp.pixels.resize(960);
    for (int i = 0; i < 960; ++i) bmp.pixels[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i % 251);
    EXPECT_EQ(engine::stretchedHeight(bmp, 640), 6);
    engine::Surface s(640, engine::stretchedHeight(bmp, 640));
    engine::bltBitmap(s, 0, 0, 640, 6, bmp, 0, 0, engine::BitmapPlacement{});
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 640; ++x) ASSERT_EQ(s.row(y)[x], bmp.at(x / 2, y / 2)) << x << "," << y;
    // Halves round to even: 5 rows at ratio 640/256 = 2.5 give 12.5 -> 12.
    plat::Bitmap8 odd;
    odd.width = 256;
    odd.height = 5;
    EXPECT_EQ(engine::stretchedHeight(odd, 640), 12);
    // A picture exactly the class width is copied unscaled from the source offset.
    plat::Bitmap8 exact;
    exact.width = 640;
    exact.height = 2;
    exact.pixels.assign(1280, 3);
    exact.pixels[641] = 9;
    engine::Surface t(640, 4);
    engine::bltBitmap(t, 0, 1, 640, 2, exact, 1, 1, engine::BitmapPlacement{});
    EXPECT_EQ(t.row(1)[0], 9);
    EXPECT_EQ(t.row(0)[0], 0);
    // Without scaling the copy is limited to the picture.
    engine::Surface u(640, 4);
    engine::bltBitmap(u, 0, 0, 640, 4, bmp, 0, 0, engine::BitmapPlacement{false, 640, 640, 480});
    EXPECT_EQ(u.row(2)[319], bmp.at(319, 2));
    EXPECT_EQ(u.row(2)[320], 0);
    EXPECT_EQ(u.row(3)[0], 0);
}

TEST(AddTable, NearestEntryOfTheWeightedSumLowestIndexOnTies) {
    plat::Palette pal{};
    pal[1] = {100, 0, 0};
    pal[2] = {180, 0, 0};
    pal[3] = {180, 0, 0};  // same as 2: 2 wins
    pal[4] = {255, 255, 255};
    engine::MixTable t{};
    engine::computeAddTable(pal, 80, 100, t);
    // 100 * 204 / 256 + 100 * 256 / 256 = 179.7 -> shr 8 of 100*204 + 256*100 = 45980 -> 179
    EXPECT_EQ(t[1 * 256 + 1], 2);
    EXPECT_EQ(t[0 * 256 + 0], 0);
    EXPECT_EQ(t[4 * 256 + 4], 4);   // clamped at 255 per channel
    EXPECT_EQ(t[0 * 256 + 1], 1);   // 80 of red 100 = 79.7 -> 79: nearer 100 than 0
}

TEST(AddTable, SameAsTheSearchThroughEveryEntry) {
    // The table's search skips entries it can rule out; it must still find what a search
    // through all 256 in order finds, ties (duplicate and equidistant entries) included.
    auto reference = [](const plat::Palette& pal, int rateA, int rateB, engine::MixTable& t) {
        const int a = rateA * 256 / 100, b = rateB * 256 / 100;
        auto mix = [&](int ci, int cj) { const int v = ci * a + b * cj; return v < 65536 ? v >> 8 : 255; };
        for (int i = 0; i < 256; ++i)
            for (int j = 0; j < 256; ++j) {
                const plat::Rgb ci = pal[static_cast<std::size_t>(i)], cj = pal[static_cast<std::size_t>(j)];
                const int r = mix(ci.r, cj.r), g = mix(ci.g, cj.g), bl = mix(ci.b, cj.b);
                int best = 999, bestIndex = 0;
                for (int k = 0; k < 256; ++k) {
                    const plat::Rgb e = pal[static_cast<std::size_t>(k)];
                    const int dist = std::abs(e.r - r) + std::abs(e.g - g) + std::abs(e.b - bl);
                    if (dist < best) best = dist, bestIndex = k;
                }
                t[static_cast<std::size_t>(j) * 256 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(bestIndex);
            }
    };
    std::mt19937 random(7);
    for (int n = 0; n < 9; ++n) {
        plat::Palette pal{};
        for (std::size_t k = 0; k < 256; ++k) {
            const auto v = [&] { return static_cast<std::uint8_t>(random() % 256); };
            const auto coarse = [&] { return static_cast<std::uint8_t>(85 * (random() % 4)); };   // few colours
            const auto ramp = static_cast<std::uint8_t>(k);                                       // grey ramp
            switch (n % 3) {
                case 0: pal[k] = {v(), v(), v()}; break;
                case 1: pal[k] = {coarse(), coarse(), coarse()}; break;
                default: pal[k] = {ramp, static_cast<std::uint8_t>(k % 2 ? ramp : 255 - ramp), v()}; break;
            }
        }
        const int rates[][2] = {{80, 100}, {50, 50}, {100, 100}, {30, 120}};
        const auto [rateA, rateB] = rates[n % 4];
        engine::MixTable got{}, want{};
        engine::computeAddTable(pal, rateA, rateB, got);
        reference(pal, rateA, rateB, want);
        ASSERT_EQ(got, want) << "palette " << n;
    }
}

TEST(AddTable, CacheOfTheWrongSizeIsRefusedAndAnUnwritableFolderReported) {
    engine::MixTable t{};
    t[5] = 42;
    const std::string good = tmp("good.Add");
    ASSERT_TRUE(engine::writeAddTable(good, t));
    engine::MixTable r{};
    ASSERT_TRUE(engine::readAddTable(good, r));
    EXPECT_EQ(r[5], 42);
    const std::string bad = tmp("bad.Add");
    std::FILE* f = std::fopen(bad.c_str(), "wb");
    std::fputs("short", f);
    std::fclose(f);
    r[5] = 1;
    EXPECT_FALSE(engine::readAddTable(bad, r));
    EXPECT_EQ(r[5], 1);
    fs::resize_file(good, 65537);
    EXPECT_FALSE(engine::readAddTable(good, r));
    EXPECT_FALSE(engine::writeAddTable("/nonexistent_korrindal_dir/x.Add", t));
    fs::remove(good);
    fs::remove(bad);
}

}  // namespace
