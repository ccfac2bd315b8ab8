// End to end: seeking in a replay. A whole recorded game is played straight with a hash per
// step; the same playback then seeks to 200 random steps, back and forth, each landing on the
// straight run's hash at that step; a seek's summary is a straight run's of as many steps.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <sstream>
#include <string>

#include "e2e_support.h"

using namespace e2e;

namespace {

const fs::path Replay = fs::path(KORRINDAL_TEST_DATA_DIR) / "AutopilotGame.KRREP";
constexpr int kSteps = 21000;   // the whole game, the ending and the title after it

std::map<long long, std::string> ReadTrace(const fs::path& path) {
    std::map<long long, std::string> out;
    const std::vector<std::string> lines = Lines(path);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::istringstream in(lines[i]);
        long long step = 0;
        std::string hash;
        in >> step >> hash;
        out.emplace(step, hash);
    }
    return out;
}

TEST(Theatre, RandomSeeksLandOnTheStraightRunsState) {
    const fs::path home = MakeHome("theatre");
    const std::string playback = "--no-draw --replay " + Replay.string() + " --ticks " + std::to_string(kSteps);
    const RunResult straight = RunGame(home, playback + " --hash-trace " + (home / "straight.txt").string());
    ASSERT_EQ(straight.exitCode, 0) << straight.errors;
    const auto expected = ReadTrace(home / "straight.txt");
    ASSERT_EQ(expected.size(), static_cast<std::size_t>(kSteps));

    std::mt19937 rng(2611);
    std::uniform_int_distribution<int> pick(1, kSteps);
    std::string seeks;
    std::vector<int> targets;
    for (int i = 0; i < 200; ++i) {
        targets.push_back(pick(rng));
        if (i > 0) seeks += ',';
        seeks += std::to_string(targets.back());
    }
    const RunResult sought = RunGame(home, playback + " --seek " + seeks + " --hash-trace " + (home / "seek.txt").string());
    ASSERT_EQ(sought.exitCode, 0) << sought.errors;
    const std::vector<std::string> lines = Lines(home / "seek.txt");
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(kSteps) + targets.size());
    for (std::size_t i = 0; i < targets.size(); ++i) {
        std::istringstream in(lines[static_cast<std::size_t>(kSteps) + i]);
        long long step = 0;
        std::string hash;
        in >> step >> hash;
        ASSERT_EQ(step, targets[i]);
        EXPECT_EQ(hash, expected.at(step)) << "seek " << i << " to step " << step;
    }
    EXPECT_EQ(Field(sought.summary, "ticks"), targets.back());

    // A seek back into play: the summary is a straight run's of as many steps.
    const RunResult back = RunGame(home, playback + " --seek 9001");
    const RunResult run9001 = RunGame(home, "--no-draw --replay " + Replay.string() + " --ticks 9001");
    ASSERT_EQ(back.exitCode, 0) << back.errors;
    for (const char* field : {"score", "replay_pos", "lives", "time_left", "scene", "stage"})
        EXPECT_EQ(Field(back.summary, field), Field(run9001.summary, field)) << field;
    EXPECT_EQ(TextField(back.summary, "state"), TextField(run9001.summary, "state"));
    fs::remove_all(home);
}

// Take over: stage 2's golden replay (which starts from a later point) is watched for 3000
// steps, then played on with new input. The saved LastGame holds the watched bytes up to
// there, then the new ones, with the start point; played back it ends in the same state and
// proves itself; the watched file is unchanged.
TEST(Theatre, TakeOverPlaysOnAndSavesAReplayThatEndsAlike) {
    const fs::path home = MakeHome("takeover");
    const fs::path watched = home / "Watched.KRREP";
    fs::copy_file(fs::path(KORRINDAL_TEST_DATA_DIR) / "GoldenStage2.KRREP", watched);
    const std::string before = ReadText(watched);
    WriteInput(home / "live.in", 20000);
    const RunResult played = RunGame(home, "--no-draw --until-title --replay " + watched.string() +
                                               " --take-over 3000 --input " + (home / "live.in").string());
    ASSERT_EQ(played.exitCode, 0) << played.errors;
    EXPECT_EQ(ReadText(watched), before);
    const fs::path saved = home / "LastGame.KRREP";
    ASSERT_TRUE(fs::exists(saved));
    const std::string bytes = ReadText(saved);
    // The header, then the watched game's first bytes (the game started two steps in).
    EXPECT_EQ(bytes.substr(12, 2990), before.substr(12, 2990));
    EXPECT_NE(bytes.substr(12, 8000), before.substr(12, 8000));   // and then the player's own
    const std::size_t end = 12 + static_cast<std::size_t>(static_cast<unsigned char>(bytes[8]) |
                                                          static_cast<unsigned char>(bytes[9]) << 8);
    EXPECT_EQ(bytes.substr(end, 8), std::string("FROM\x02\0\0\0", 8));

    const RunResult replayed = RunGame(home, "--no-draw --until-title --replay " + saved.string());
    ASSERT_EQ(replayed.exitCode, 0) << replayed.errors;
    EXPECT_EQ(TextField(replayed.summary, "state"), TextField(played.summary, "state"));
    EXPECT_EQ(Field(replayed.summary, "score"), Field(played.summary, "score"));
    EXPECT_EQ(RunGame(home, "--verify " + saved.string()).exitCode, 0);

    // Before the watched game has begun there is nothing to take over.
    EXPECT_NE(RunGame(home, "--no-draw --ticks 10 --replay " + watched.string() + " --take-over 1 --input " +
                                (home / "live.in").string())
                  .exitCode,
              0);
    fs::remove_all(home);
}

}  // namespace
