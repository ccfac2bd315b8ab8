// End to end: the runner's contract as a new user meets it, from fresh home folders.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "e2e_support.h"

using namespace e2e;

namespace {

fs::path EmptyHome(const std::string& name) {
    const fs::path home = fs::temp_directory_path() / ("korrindal_e2e_" + name + "_" + std::to_string(::getpid()));
    fs::remove_all(home);
    fs::create_directories(home);
    return home;
}

}  // namespace

// A whole recorded game played normally and under --heavy ends in the same state; --heavy
// finds no tick that keeps state outside the game state record.
TEST(Contract, HeavyRunMatchesTheNormalRun) {
    const fs::path home = MakeHome("heavy");
    WriteInput(home / "input.bin", 5000);
    const std::string common = " --input " + (home / "input.bin").string() + " --start-from 2 --no-draw --until-title";
    const RunResult normal = RunGame(home, common + " --hash-trace " + (home / "normal.txt").string());
    const RunResult heavy = RunGame(home, common + " --heavy --hash-trace " + (home / "heavy.txt").string());
    ASSERT_EQ(normal.exitCode, 0) << normal.errors;
    ASSERT_EQ(heavy.exitCode, 0) << heavy.errors;
    EXPECT_EQ(Field(normal.summary, "scene"), 2) << normal.summary;  // the game ended at the title
    EXPECT_GT(Field(normal.summary, "ticks"), 1000);
    EXPECT_EQ(TextField(heavy.summary, "state"), TextField(normal.summary, "state"));
    EXPECT_EQ(Lines(home / "heavy.txt"), Lines(home / "normal.txt"));
    fs::remove_all(home);
}

// An empty --home: every data file, the stage maps too, comes from beside the program; the
// records are written into the home.
TEST(Contract, EmptyHomeFallsBackToTheProgramsData) {
    const fs::path home = EmptyHome("emptyhome");
    const RunResult run = RunGame(home, "--start --input /dev/null --ticks 600");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(Field(run.summary, "scene"), 4) << run.summary;
    EXPECT_EQ(Field(run.summary, "stage"), 1) << run.summary;
    for (const char* field : {"killed", "spawned", "weapon", "bonus_rate"}) (void)Field(run.summary, field);
    fs::remove_all(home);
}

// --until-title needs no --ticks: it runs until the title is back, and a title that never
// comes back ends with an error at the cap.
TEST(Contract, UntilTitleAloneRunsToTheTitleOrFailsAtItsCap) {
    const fs::path home = EmptyHome("untiltitle");
    const RunResult credits = RunGame(home, "--start-from 5 --no-draw --until-title");
    ASSERT_EQ(credits.exitCode, 0) << credits.errors;
    EXPECT_EQ(Field(credits.summary, "scene"), 2);
    const RunResult never = RunGame(home, "--no-draw --until-title");  // nobody starts a game
    EXPECT_NE(never.exitCode, 0);
    EXPECT_NE(never.errors.find("200000"), std::string::npos) << never.errors;
    fs::remove_all(home);
}

// The summary's state is the hash after the last tick of play: the last traced step of a
// run that stops in play; for a finished game, the step whose tick ended it (its title
// set-up ran in the same step), not the title's ticks after it.
TEST(Contract, SummaryStateIsTheHashAfterTheLastTickOfPlay) {
    const fs::path home = MakeHome("summarystate");
    WriteInput(home / "input.bin", 3000);
    const std::string input = " --input " + (home / "input.bin").string() + " --no-draw --hash-trace ";
    const RunResult inPlay = RunGame(home, "--ticks 700" + input + (home / "a.txt").string());
    ASSERT_EQ(inPlay.exitCode, 0) << inPlay.errors;
    ASSERT_EQ(Field(inPlay.summary, "scene"), 4);
    const auto a = Lines(home / "a.txt");
    ASSERT_EQ(a.size(), 700u);
    EXPECT_EQ("700 " + TextField(inPlay.summary, "state"), a.back());

    const RunResult finished = RunGame(home, "--start-from 2 --until-title" + input + (home / "b.txt").string());
    ASSERT_EQ(finished.exitCode, 0) << finished.errors;
    const auto b = Lines(home / "b.txt");
    ASSERT_GE(b.size(), 2u);
    EXPECT_EQ(b.back(), std::to_string(b.size()) + " " + TextField(finished.summary, "state"));
    const RunResult longer = RunGame(home, "--start-from 2 --ticks " + std::to_string(b.size() + 50) + input +
                                               (home / "c.txt").string());
    EXPECT_EQ(TextField(longer.summary, "state"), TextField(finished.summary, "state"));
    fs::remove_all(home);
}

// The autopilot's game is recorded like any other: its replay plays back to the same score
// and state, and its choices depend only on the game and its seed.
TEST(Contract, AutopilotGamesReplayExactly) {
    const fs::path home = MakeHome("autopilot");
    const std::string common = " --start-from 3 --no-draw --until-title";
    const RunResult played = RunGame(home, "--autopilot 1 --autopilot-seed 7" + common);
    ASSERT_EQ(played.exitCode, 0) << played.errors;
    ASSERT_TRUE(fs::exists(home / "LastGame.KRREP"));
    fs::copy_file(home / "LastGame.KRREP", home / "Pilot.KRREP");
    const RunResult replayed = RunGame(home, "--replay " + (home / "Pilot.KRREP").string() + common);
    ASSERT_EQ(replayed.exitCode, 0) << replayed.errors;
    EXPECT_EQ(Field(replayed.summary, "score"), Field(played.summary, "score"));
    EXPECT_EQ(TextField(replayed.summary, "state"), TextField(played.summary, "state"));
    const RunResult again = RunGame(home, "--autopilot 1 --autopilot-seed 7" + common);
    EXPECT_EQ(TextField(again.summary, "state"), TextField(played.summary, "state"));
    EXPECT_NE(RunGame(home, "--autopilot 4 --ticks 5").exitCode, 0);
    EXPECT_NE(RunGame(home, "--autopilot 1 --input /dev/null --ticks 5").exitCode, 0);
    fs::remove_all(home);
}
