// End to end: the headless program plays a game from an input file, saves it as "LastGame",
// and the replay of that file reproduces the game tick by tick, from the point where the game
// was started.
#include <gtest/gtest.h>

#include <cstring>

#include <filesystem>
#include <fstream>
#include <string>

#include "e2e_support.h"

using namespace e2e;

TEST(EndToEnd, LastGameReplayReproducesTheGame) {
    const fs::path home = MakeHome("roundtrip");
    WriteInput(home / "input.bin", 6000);
    // Stage 2 from its start keeps the game short (the time budget left is 210 s). The
    // replay file holds the start point: the playback is not told where to start.
    const std::string common = " --no-draw --until-title --ticks 60000";
    const RunResult played = RunGame(home, "--input " + (home / "input.bin").string() + " --start-from 2" + common +
                                               " --hash-trace " + (home / "played.txt").string());
    ASSERT_EQ(played.exitCode, 0) << played.errors;
    ASSERT_TRUE(fs::exists(home / "LastGame.KRREP")) << played.summary << played.errors;
    EXPECT_EQ(Field(played.summary, "scene"), 2) << played.summary;
    EXPECT_EQ(Field(played.summary, "replay_pos"), 0) << played.summary;   // saved and cleared
    const long long score = Field(played.summary, "score");
    EXPECT_GT(score, 0) << played.summary;
    EXPECT_EQ(Field(played.summary, "hiscore"), score);   // a first game sets the best score
    EXPECT_TRUE(fs::exists(home / "HighScore.KRREP"));
    const std::string saved = ReadText(home / "LastGame.KRREP");
    ASSERT_GE(saved.size(), 20u);
    // The start-point record after the bytes, then the proof.
    std::int32_t length = 0;
    std::memcpy(&length, saved.data() + 8, 4);
    ASSERT_GE(saved.size(), 12u + static_cast<std::size_t>(length) + 12u);
    EXPECT_EQ(saved.substr(12 + static_cast<std::size_t>(length), 12), std::string("FROM\x02\0\0\0SEAL", 12));

    // The player's own last game in the second home differs from the replay watched there.
    const fs::path replayHome = MakeHome("roundtrip_replay");
    fs::copy_file(home / "LastGame.KRREP", replayHome / "Recorded.KRREP");
    {
        std::ofstream own(replayHome / "LastGame.KRREP", std::ios::binary);
        own << std::string("\x07\0\0\0\0\0\0\0\x03\0\0\0\x10\x10\x10", 15);
    }
    const std::string ownLastGame = ReadText(replayHome / "LastGame.KRREP");
    const RunResult replayed = RunGame(replayHome, "--replay " + (replayHome / "Recorded.KRREP").string() + common +
                                                       " --hash-trace " + (replayHome / "replayed.txt").string());
    ASSERT_EQ(replayed.exitCode, 0) << replayed.errors;
    EXPECT_EQ(Field(replayed.summary, "score"), score) << replayed.summary;
    EXPECT_EQ(Field(replayed.summary, "hiscore"), 0) << replayed.summary;   // never raised in playback
    EXPECT_EQ(Field(replayed.summary, "ticks"), Field(played.summary, "ticks"));

    const auto a = Lines(home / "played.txt");
    const auto b = Lines(replayHome / "replayed.txt");
    ASSERT_FALSE(a.empty());
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) ASSERT_EQ(a[i], b[i]) << "first difference at line " << i;

    // Another start-from choice for new games does not move the replay's start.
    const RunResult elsewhere = RunGame(replayHome, "--replay " + (replayHome / "Recorded.KRREP").string() +
                                                        " --start-from 4" + common);
    ASSERT_EQ(elsewhere.exitCode, 0) << elsewhere.errors;
    EXPECT_EQ(TextField(elsewhere.summary, "state"), TextField(replayed.summary, "state"));
    EXPECT_EQ(Field(elsewhere.summary, "score"), score);

    // Watching a replay never saves it: the player's own last game is untouched, and no
    // best game appears.
    EXPECT_EQ(ReadText(replayHome / "LastGame.KRREP"), ownLastGame);
    EXPECT_FALSE(fs::exists(replayHome / "HighScore.KRREP"));
    fs::remove_all(home);
    fs::remove_all(replayHome);
}

TEST(EndToEnd, BadReplayIsRefusedWithAClearError) {
    const fs::path home = MakeHome("badreplay");
    {
        std::ofstream out(home / "bad.KRREP", std::ios::binary);
        const char header[12] = {1, 0, 0, 0, 0, 0, 0, 0, 0x31, 0x75, 0, 0};  // length 30001
        out.write(header, sizeof header);
    }
    const RunResult run = RunGame(home, "--replay " + (home / "bad.KRREP").string() + " --ticks 10");
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.errors.find("bad length"), std::string::npos) << run.errors;
    fs::remove_all(home);
}

TEST(EndToEnd, CreditsStateDoesNotDependOnDrawing) {
    const fs::path home = MakeHome("credits");
    const RunResult drawn = RunGame(home, "--start-from 5 --until-title --ticks 6000 --hash-trace " +
                                        (home / "drawn.txt").string());
    const RunResult quiet = RunGame(home, "--start-from 5 --until-title --ticks 6000 --no-draw --hash-trace " +
                                        (home / "quiet.txt").string());
    ASSERT_EQ(drawn.exitCode, 0) << drawn.errors;
    ASSERT_EQ(quiet.exitCode, 0) << quiet.errors;
    EXPECT_EQ(Field(drawn.summary, "scene"), 2);
    EXPECT_EQ(TextField(drawn.summary, "state"), TextField(quiet.summary, "state"));
    EXPECT_EQ(Lines(home / "drawn.txt"), Lines(home / "quiet.txt"));
    // The title set-up ran after 4400 credits ticks, with the ending set-up chained onto the
    // start: the run is the title's tick, the credits and the closing tick.
    EXPECT_GE(Field(drawn.summary, "ticks"), 4400);
    fs::remove_all(home);
}

TEST(EndToEnd, PlainArgumentPlaysAReplay) {
    const fs::path home = MakeHome("plainarg");
    {
        std::ofstream out(home / "Mine.KRREP", std::ios::binary);
        const char file[12 + 3] = {0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0, 16, 16, 16};
        out.write(file, sizeof file);
    }
    // The title starts the replay at once: after a few steps the game has recorded ticks.
    const RunResult run = RunGame(home, (home / "Mine.KRREP").string() + " --ticks 20");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_GE(Field(run.summary, "scene"), 4) << run.summary;
    EXPECT_GT(Field(run.summary, "replay_pos"), 3) << run.summary;
    const RunResult two = RunGame(home, (home / "Mine.KRREP").string() + " other --ticks 20");
    EXPECT_NE(two.exitCode, 0);
    fs::remove_all(home);
}
