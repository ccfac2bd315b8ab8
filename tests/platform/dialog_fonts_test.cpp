// The dialog window's fonts and size: which installed fonts it takes, and its scale on
// screens of several sizes.
#include <gtest/gtest.h>

#include <set>

#include "platform/dialog_fonts.h"
#include "platform/imgui_form_window.h"

namespace {

plat::DialogFonts With(std::set<std::string> files) {
    return plat::chooseDialogFonts([&files](const std::string& path) { return files.count(path) > 0; });
}

const std::string kVl = "/usr/share/fonts/truetype/vlgothic/";
const std::string kIpa = "/usr/share/fonts/opentype/ipafont-gothic/";
const std::string kDejaVu = "/usr/share/fonts/truetype/dejavu/";

}  // namespace

TEST(DialogFonts, AJapanesePairFirstThenLatinThenTheBuiltInFont) {
    auto vl = With({kVl + "VL-PGothic-Regular.ttf", kVl + "VL-Gothic-Regular.ttf", kDejaVu + "DejaVuSans.ttf"});
    EXPECT_TRUE(vl.japanese);
    EXPECT_EQ(vl.text, kVl + "VL-PGothic-Regular.ttf");
    EXPECT_EQ(vl.fixed, kVl + "VL-Gothic-Regular.ttf");

    // Another Japanese package; its list font missing, the list uses its text font.
    auto ipa = With({kIpa + "ipagp.ttf", kDejaVu + "DejaVuSansMono.ttf"});
    EXPECT_TRUE(ipa.japanese);
    EXPECT_EQ(ipa.text, kIpa + "ipagp.ttf");
    EXPECT_EQ(ipa.fixed, "");

    auto latin = With({kDejaVu + "DejaVuSans.ttf", kDejaVu + "DejaVuSansMono.ttf"});
    EXPECT_FALSE(latin.japanese);
    EXPECT_EQ(latin.fixed, kDejaVu + "DejaVuSansMono.ttf");

    auto none = With({});
    EXPECT_FALSE(none.japanese);
    EXPECT_EQ(none.text, "");
}

TEST(DialogFonts, TheInstalledJapaneseFontIsFound) {
    // scripts/install-deps.sh installs fonts-vlgothic.
    const plat::DialogFonts fonts = plat::findDialogFonts();
    EXPECT_TRUE(fonts.japanese);
    EXPECT_EQ(fonts.text, kVl + "VL-PGothic-Regular.ttf");
}

TEST(DialogScale, HalfStepsThatFitTheScreen) {
    EXPECT_DOUBLE_EQ(plat::dialogScale(640, 480, 529), 1.0);
    EXPECT_DOUBLE_EQ(plat::dialogScale(1366, 768, 529), 1.5);
    EXPECT_DOUBLE_EQ(plat::dialogScale(1280, 960, 529), 2.0);
    EXPECT_DOUBLE_EQ(plat::dialogScale(1920, 1080, 529), 2.0);
    EXPECT_DOUBLE_EQ(plat::dialogScale(2560, 1440, 529), 3.0);
    EXPECT_DOUBLE_EQ(plat::dialogScale(3840, 2160, 529), 4.0);
    EXPECT_DOUBLE_EQ(plat::dialogScale(800, 1280, 529), 1.0);   // a tall screen: the width decides
    EXPECT_DOUBLE_EQ(plat::dialogScale(320, 200, 529), 1.0);    // never below 1
}
