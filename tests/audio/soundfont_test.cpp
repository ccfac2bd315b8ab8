// Where the music's soundfont is looked for, and which one wins.
#include <gtest/gtest.h>

#include <cstdlib>

#include "audio/test_sounds.h"
#include "platform/soundfont.h"

namespace {

TEST(SoundFont, EnvironmentThenBesideTheProgramThenDebianLargerSetFirst) {
    const auto list = plat::soundFontCandidates("/my/own.sf2", "/opt/game");
    ASSERT_GE(list.size(), 10u);
    EXPECT_EQ(list[0], "/my/own.sf2");
    EXPECT_EQ(list[1], "/opt/game/FluidR3_GM.sf2");
    EXPECT_EQ(list[4], "/opt/game/TimGM6mb.sf2");
    // In Debian's places every FluidR3 place comes before any MuseScore one, and those before
    // any TimGM6mb one.
    std::size_t lastFluid = 0, firstMuse = list.size(), lastMuse = 0, firstTim = list.size();
    for (std::size_t i = 5; i < list.size(); ++i) {
        if (list[i].find("FluidR3_GM.sf2") != std::string::npos) lastFluid = i;
        if (list[i].find("MuseScore_General") != std::string::npos) {
            firstMuse = std::min(firstMuse, i);
            lastMuse = i;
        }
        if (list[i].find("TimGM6mb.sf2") != std::string::npos) firstTim = std::min(firstTim, i);
    }
    EXPECT_LT(lastFluid, firstMuse);
    EXPECT_LT(lastMuse, firstTim);
    for (const char* path : {"/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/sounds/sf3/MuseScore_General_Lite.sf3",
                             "/usr/share/sounds/sf2/TimGM6mb.sf2"})
        EXPECT_NE(std::find(list.begin(), list.end(), path), list.end()) << path;
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
