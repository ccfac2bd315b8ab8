// The style sheet's palette colours. (The pictures' PNG and base64 encoding is checked by
// decoding every picture of the built manual.)

#include <gtest/gtest.h>

#include "stylesheet.h"

namespace {

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
