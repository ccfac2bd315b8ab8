// Where the music's soundfont is looked for, and which one wins.
#include <gtest/gtest.h>

#include <cstdlib>

#include "audio/test_sounds.h"
#include "platform/soundfont.h"

namespace {

TEST(SoundFont, EnvironmentThenBesideTheProgramThenDebianLargerSetFirst) {
    const auto list = plat::soundFontCandidates("/my/own.sf2", "/opt/game");
    ASSERT_GE(list.size(), 7u);
    EXPECT_EQ(list[0], "/my/own.sf2");
    EXPECT_EQ(list[1], "/opt/game/FluidR3_GM.sf2");
    EXPECT_EQ(list[2], "/opt/game/TimGM6mb.sf2");
    // Every FluidR3 place comes before any TimGM6mb place.
    std::size_t lastFluid = 0, firstTim = list.size();
    for (std::size_t i = 3; i < list.size(); ++i) {
        if (list[i].find("FluidR3_GM.sf2") != std::string::npos) lastFluid = i;
        if (list[i].find("TimGM6mb.sf2") != std::string::npos) firstTim = std::min(firstTim, i);
    }
    EXPECT_LT(lastFluid, firstTim);
    EXPECT_NE(std::find(list.begin(), list.end(), "/usr/share/sounds/sf2/TimGM6mb.sf2"), list.end());
    // Without the variable the program's folder comes first.
    EXPECT_EQ(plat::soundFontCandidates("", "/opt/game/").front(), "/opt/game/FluidR3_GM.sf2");
}

TEST(SoundFont, VariableNamingAFileWinsAndOneNamingNothingIsPassedOver) {
    const auto dir = testsound::TempFolder("soundfont");
    const auto mine = dir / "Mine.sf2";
    testsound::WriteFile(mine, {'R', 'I', 'F', 'F'});
    ::setenv(plat::kSoundFontVariable, mine.c_str(), 1);
    EXPECT_EQ(plat::findSoundFont(), mine.string());
    ::setenv(plat::kSoundFontVariable, (dir / "absent.sf2").c_str(), 1);
    ::testing::internal::CaptureStderr();
    const std::string found = plat::findSoundFont();
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("absent.sf2"), std::string::npos);
    EXPECT_NE(found, (dir / "absent.sf2").string());
    ::unsetenv(plat::kSoundFontVariable);
    std::filesystem::remove_all(dir);
}

}  // namespace
