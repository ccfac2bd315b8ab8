// Pictures cut from banks: pattern numbers across banks, hot spots, layer order, the
// transparent colour, quarter turns and cuts from full pictures, on small banks written here.

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "bank_set.h"
#include "compose.h"
#include "engine/bmp8.h"
#include "engine/sp4_writer.h"

namespace {

namespace fs = std::filesystem;
using engine::bmp8::Image;
using engine::sp4::PatternFields;

PatternFields pattern(int l, int t, int r, int b, int ox = 0, int oy = 0) {
    PatternFields f;
    f.source = {l, t, r, b};
    f.originX = static_cast<std::int16_t>(ox);
    f.originY = static_cast<std::int16_t>(oy);
    return f;
}

plat::Palette palette() {
    plat::Palette p{};
    for (int i = 0; i < 256; ++i)
        p[static_cast<std::size_t>(i)] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i), static_cast<std::uint8_t>(i * 7)};
    return p;
}

class ComposeTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device rd;
        dir_ = fs::temp_directory_path() / ("korrindal_manual_" + std::to_string(rd()));
        fs::create_directories(dir_);
        // Bank A: a picture of colour 7 (its top-left pixel, so the transparent colour), a
        // 3 x 1 bar of 20, 21, 22 and a 2 x 2 block of 30 with a hole, hot spot at its middle.
        Image a(16, 8);
        a.palette = palette();
        std::fill(a.pixels.begin(), a.pixels.end(), std::uint8_t{7});
        a.at(2, 1) = 20;
        a.at(3, 1) = 21;
        a.at(4, 1) = 22;
        for (int y = 0; y < 2; ++y)
            for (int x = 8; x < 10; ++x) a.at(x, y) = 30;
        a.at(9, 1) = 7;
        write("BankA", a, {pattern(2, 1, 5, 2), pattern(8, 0, 10, 2, 1, 1)});
        // Bank B: transparent colour 3, one 2 x 1 pattern of 40, 41.
        Image b(8, 4);
        b.palette = palette();
        std::fill(b.pixels.begin(), b.pixels.end(), std::uint8_t{3});
        b.at(0, 1) = 40;
        b.at(1, 1) = 41;
        write("BankB", b, {pattern(0, 1, 2, 2), pattern(4, 0, 4, 2)});
    }
    void TearDown() override { fs::remove_all(dir_); }

    void write(const std::string& name, const Image& picture, const std::vector<PatternFields>& patterns) {
        ASSERT_TRUE(engine::bmp8::write((dir_ / (name + ".bmp")).string(), picture));
        ASSERT_TRUE(engine::sp4::writeFile((dir_ / (name + ".sp4")).string(), engine::sp4::headerFor(patterns), patterns));
    }

    manual::BankSet load() {
        manual::BankSet set;
        std::string error;
        EXPECT_TRUE(set.load(dir_.string(), {"BankA.sp4", "BankB"}, error)) << error;
        return set;
    }

    static manual::PictureSpec picture(std::vector<manual::Layer> layers) {
        manual::PictureSpec s;
        s.name = "test";
        s.layers = std::move(layers);
        return s;
    }

    // The palette index a pixel shows (its red channel in this palette), -1 when clear.
    static int at(const manual::RgbaImage& img, int x, int y) {
        const auto* p = &img.pixels[(static_cast<std::size_t>(y) * static_cast<std::size_t>(img.width) + static_cast<std::size_t>(x)) * 4];
        return p[3] == 0 ? -1 : p[0];
    }

    fs::path dir_;
};

TEST_F(ComposeTest, NumbersPatternsAcrossBanksInTheirOrder) {
    const auto set = load();
    ASSERT_EQ(set.banks().size(), 2u);
    EXPECT_EQ(set.banks()[0].first, 0);
    EXPECT_EQ(set.banks()[1].first, 2);
    EXPECT_EQ(set.banks()[0].key, 7);
    EXPECT_EQ(set.banks()[1].key, 3);
    ASSERT_TRUE(set.find(2).has_value());
    EXPECT_EQ(set.find(2)->bank, &set.banks()[1]);
    EXPECT_EQ(set.find(2)->record->source.left, 0);
    EXPECT_FALSE(set.find(4).has_value());
    EXPECT_FALSE(set.find(-1).has_value());

    const auto r = manual::compose(picture({{2, 0, 0, 0}}), set);
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.image.width, 2);
    ASSERT_EQ(r.image.height, 1);
    EXPECT_EQ(at(r.image, 0, 0), 40);
    EXPECT_EQ(at(r.image, 1, 0), 41);
    // The palette is applied, not just the index copied.
    EXPECT_EQ(r.image.pixels[1], 255 - 40);
    EXPECT_EQ(r.image.pixels[2], static_cast<std::uint8_t>(40 * 7));
}

TEST_F(ComposeTest, PlacesLayersByTheirHotSpotsLaterOnesOnTop) {
    const auto set = load();
    // The block (hot spot 1, 1) moved by (1, 1) covers (0..1, 0..1) with a hole at (1, 1); the
    // bar covers (0..2, 0).
    const auto blockOnTop = manual::compose(picture({{0, 0, 0, 0}, {1, 1, 1, 0}}), set);
    ASSERT_TRUE(blockOnTop.ok) << blockOnTop.error;
    ASSERT_EQ(blockOnTop.image.width, 3);
    ASSERT_EQ(blockOnTop.image.height, 2);
    EXPECT_EQ(at(blockOnTop.image, 0, 0), 30);
    EXPECT_EQ(at(blockOnTop.image, 1, 0), 30);
    EXPECT_EQ(at(blockOnTop.image, 2, 0), 22);
    EXPECT_EQ(at(blockOnTop.image, 0, 1), 30);
    EXPECT_EQ(at(blockOnTop.image, 1, 1), -1);  // the block's hole: the transparent colour
    EXPECT_EQ(at(blockOnTop.image, 2, 1), -1);

    const auto barOnTop = manual::compose(picture({{1, 1, 1, 0}, {0, 0, 0, 0}}), set);
    ASSERT_TRUE(barOnTop.ok) << barOnTop.error;
    EXPECT_EQ(at(barOnTop.image, 0, 0), 20);
    EXPECT_EQ(at(barOnTop.image, 1, 0), 21);

    // Unmoved, the block lies up and left of its point: the picture is trimmed to it.
    const auto alone = manual::compose(picture({{1, 0, 0, 0}}), set);
    ASSERT_TRUE(alone.ok) << alone.error;
    EXPECT_EQ(alone.image.width, 2);
    EXPECT_EQ(alone.image.height, 2);
}

TEST_F(ComposeTest, TurnsALayerAsTheGameTurnsASpriteOfThatDirection) {
    const auto set = load();
    // The bar points right (direction 0) with its first pixel at the hot spot.
    const auto up = manual::compose(picture({{0, 0, 0, 192}}), set);
    ASSERT_TRUE(up.ok) << up.error;
    ASSERT_EQ(up.image.width, 1);
    ASSERT_EQ(up.image.height, 3);
    EXPECT_EQ(at(up.image, 0, 0), 22);  // pointing up: its far end on top
    EXPECT_EQ(at(up.image, 0, 2), 20);

    const auto down = manual::compose(picture({{0, 0, 0, 64}}), set);
    ASSERT_TRUE(down.ok) << down.error;
    ASSERT_EQ(down.image.height, 3);
    EXPECT_EQ(at(down.image, 0, 0), 20);
    EXPECT_EQ(at(down.image, 0, 2), 22);

    const auto left = manual::compose(picture({{0, 0, 0, 128}}), set);
    ASSERT_TRUE(left.ok) << left.error;
    ASSERT_EQ(left.image.width, 3);
    EXPECT_EQ(at(left.image, 0, 0), 22);
    EXPECT_EQ(at(left.image, 2, 0), 20);

    // Turned about the hot spot: up, the bar stands above the point of a layer that is not
    // turned (the bar pointing right from the same point).
    const auto both = manual::compose(picture({{0, 0, 0, 192}, {0, 0, 0, 0}}), set);
    ASSERT_TRUE(both.ok) << both.error;
    EXPECT_EQ(both.image.width, 3);
    EXPECT_EQ(both.image.height, 4);
    EXPECT_EQ(at(both.image, 0, 0), 22);
    EXPECT_EQ(at(both.image, 0, 3), 20);
    EXPECT_EQ(at(both.image, 2, 3), 22);
}

TEST_F(ComposeTest, CutsARectangleOutOfAFullPicture) {
    Image full(4, 4);
    full.palette = palette();
    for (int i = 0; i < 16; ++i) full.pixels[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(100 + i);
    ASSERT_TRUE(engine::bmp8::write((dir_ / "Full.bmp").string(), full));
    const auto set = load();
    manual::PictureSpec s;
    s.name = "cut";
    s.bitmap = "Full.bmp";
    s.cropX = 1;
    s.cropY = 2;
    s.cropW = 3;
    s.cropH = 2;
    const auto r = manual::compose(s, set);
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.image.width, 3);
    ASSERT_EQ(r.image.height, 2);
    EXPECT_EQ(at(r.image, 0, 0), 100 + 2 * 4 + 1);
    EXPECT_EQ(at(r.image, 2, 1), 100 + 3 * 4 + 3);

    s.cropW = 4;  // one column past the right edge
    EXPECT_NE(manual::compose(s, set).error.find("outside Full.bmp"), std::string::npos);
    s.bitmap = "Missing.bmp";
    EXPECT_NE(manual::compose(s, set).error.find("Missing.bmp"), std::string::npos);
    s.bitmap = "../Full.bmp";  // only the game's own folder
    EXPECT_FALSE(manual::compose(s, set).ok);
}

TEST_F(ComposeTest, ReportsMissingAndEmptyPatternsAndBadBanks) {
    const auto set = load();
    EXPECT_NE(manual::compose(picture({{9, 0, 0, 0}}), set).error.find("pattern 9 is in no bank"), std::string::npos);
    EXPECT_NE(manual::compose(picture({{3, 0, 0, 0}}), set).error.find("pattern 3 is empty"), std::string::npos);

    manual::BankSet bad;
    std::string error;
    EXPECT_FALSE(bad.load(dir_.string(), {"BankA", "NoSuchBank"}, error));
    EXPECT_NE(error.find("NoSuchBank"), std::string::npos) << error;

    Image small(4, 4);
    write("BankC", small, {pattern(0, 0, 5, 1)});
    EXPECT_FALSE(bad.load(dir_.string(), {"BankC"}, error));
    EXPECT_NE(error.find("pattern 0 lies outside its picture"), std::string::npos) << error;
}

}  // namespace
