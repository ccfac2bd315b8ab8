// End to end: a headless run with --settings keeps the settings file as the windowed program
// does: the best score written when the game window closes, read back by the next run; a
// read-only file left alone; without --settings no file at all.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "e2e_support.h"

using namespace e2e;

TEST(EndToEnd, TheBestScoreIsKeptInTheSettingsFileBetweenRuns) {
    const fs::path home = MakeHome("settings");
    const fs::path ini = home / "korrindal.ini";
    WriteInput(home / "input.bin", 6000);
    const std::string game = "--input " + (home / "input.bin").string() + " --start-from 2 --no-draw --until-title";

    const RunResult plain = RunGame(home, "--ticks 5");
    ASSERT_EQ(plain.exitCode, 0) << plain.errors;
    EXPECT_FALSE(fs::exists(ini));   // headless runs keep no settings unless asked

    const RunResult first = RunGame(home, "--settings " + game);
    ASSERT_EQ(first.exitCode, 0) << first.errors;
    const long long best = Field(first.summary, "hiscore");
    ASSERT_GT(best, 0) << first.summary;
    const std::string text = ReadText(ini);
    EXPECT_NE(text.find("[Records]\nHighscore=" + std::to_string(best) + "\n"), std::string::npos) << text;
    EXPECT_NE(text.find("StartFrom=2\n"), std::string::npos) << text;
    EXPECT_NE(text.find("FullScreen=1\n"), std::string::npos) << text;   // a run without a screen leaves it

    const RunResult second = RunGame(home, "--settings --ticks 3");
    ASSERT_EQ(second.exitCode, 0) << second.errors;
    EXPECT_EQ(Field(second.summary, "hiscore"), best);

    // Read-only: a better game changes nothing in the file.
    {
        std::ofstream out(ini, std::ios::trunc);
        out << "[Records]\nHighscore=1\n";
    }
    fs::permissions(ini, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const RunResult locked = RunGame(home, "--settings " + game);
    ASSERT_EQ(locked.exitCode, 0) << locked.errors;
    EXPECT_EQ(Field(locked.summary, "hiscore"), best);
    EXPECT_EQ(ReadText(ini), "[Records]\nHighscore=1\n");
    fs::permissions(ini, fs::perms::owner_write, fs::perm_options::add);

    // The file cannot be replaced (a folder stands where its temporary file goes): the run
    // ends normally with a warning, and the file is as it was.
    fs::create_directory(home / "korrindal.ini.tmp");
    const RunResult blocked = RunGame(home, "--settings " + game);
    EXPECT_EQ(blocked.exitCode, 0) << blocked.errors;
    EXPECT_NE(blocked.errors.find("settings were not saved"), std::string::npos) << blocked.errors;
    EXPECT_EQ(ReadText(ini), "[Records]\nHighscore=1\n");
    fs::remove_all(home);
}
