// PNG and base64 encoding of the pictures, and the style sheet's palette colours.

#include <gtest/gtest.h>

#include "html_scan.h"
#include "png_data.h"
#include "stb_image.h"
#include "stylesheet.h"

namespace {

std::vector<std::uint8_t> bytes(const std::string& s) { return {s.begin(), s.end()}; }

TEST(ManualPng, Base64MatchesTheStandardVectors) {
    const std::pair<const char*, const char*> vectors[] = {{"", ""},         {"f", "Zg=="},         {"fo", "Zm8="},
                                                           {"foo", "Zm9v"},  {"foob", "Zm9vYg=="},  {"fooba", "Zm9vYmE="},
                                                           {"foobar", "Zm9vYmFy"}};
    for (const auto& [plain, coded] : vectors) EXPECT_EQ(manual::base64(bytes(plain)), coded) << plain;
    // Every byte value survives the round trip through the tests' own decoder.
    std::vector<std::uint8_t> all(256);
    for (int i = 0; i < 256; ++i) all[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(255 - i);
    std::vector<unsigned char> back;
    ASSERT_TRUE(manualtest::decodeBase64(manual::base64(all), back));
    EXPECT_EQ(std::vector<std::uint8_t>(back.begin(), back.end()), all);
}

TEST(ManualPng, EncodesRgbaThatDecodesToTheSamePixels) {
    manual::RgbaImage img;
    img.width = 3;
    img.height = 2;
    img.pixels = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 0, 0, 10, 20, 30, 255, 40, 50, 60, 255, 70, 80, 90, 255};
    const auto png = manual::encodePng(img);
    ASSERT_FALSE(png.empty());
    int w = 0, h = 0, n = 0;
    unsigned char* px = stbi_load_from_memory(png.data(), static_cast<int>(png.size()), &w, &h, &n, 4);
    ASSERT_NE(px, nullptr);
    EXPECT_EQ(w, 3);
    EXPECT_EQ(h, 2);
    EXPECT_EQ(std::vector<std::uint8_t>(px, px + 24), img.pixels);
    stbi_image_free(px);

    const std::string uri = manual::pngDataUri(img);
    EXPECT_EQ(uri, "data:image/png;base64," + manual::base64(png));

    img.pixels.pop_back();  // one byte short of the size
    EXPECT_TRUE(manual::encodePng(img).empty());
    EXPECT_TRUE(manual::pngDataUri(img).empty());
    EXPECT_TRUE(manual::encodePng(manual::RgbaImage{}).empty());
}

plat::Palette palette() {
    plat::Palette p{};
    p[1] = {0x12, 0xab, 0x0f};
    p[255] = {255, 255, 255};
    return p;
}

TEST(ManualStyle, FillsInPaletteColoursOutsideComments) {
    const auto r = manual::applyPalette("a { color: palette(1); }\n/* palette(N) is an entry */\nb { x: palette(255) palette(0) }", palette());
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.css, "a { color: #12ab0f; }\n/* palette(N) is an entry */\nb { x: #ffffff #000000 }");
    EXPECT_EQ(manual::applyPalette("no colours", palette()).css, "no colours");
}

TEST(ManualStyle, RefusesWhatIsNotAnEntryNumber) {
    for (const char* css : {"a { c: palette(256) }", "a { c: palette(-1) }", "a { c: palette(x) }", "a { c: palette(12",
                            "a { c: palette() }", "a { c: palette(1 2) }"}) {
        const auto r = manual::applyPalette(css, palette());
        EXPECT_FALSE(r.ok) << css;
        EXPECT_NE(r.error.find("palette() takes an entry number 0..255"), std::string::npos) << r.error;
    }
}

}  // namespace
