// End to end: one golden replay per stage, an autopilot game of that stage checked in with the
// score and state hash its playback ends with. Any change to how the game plays (a rule, a
// wave, a bullet, the random draws) changes them; a change meant to do so re-pins them with
// scripts/repin-golden.sh.
//
// The same playbacks under --heavy (every tick run twice from one snapshot) end in the same
// pinned state, and the autopilot itself plays each whole stage under --heavy: no tick keeps
// state outside the game state record.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "e2e_support.h"
#include "game/logic_version.h"

using namespace e2e;

namespace {

const fs::path GoldenDir = KORRINDAL_TEST_DATA_DIR;

struct Golden {
    int stage;
    const char* file;
    int ticks;   // steps played back; 0: until the title is back (stage 3: through the ending)
    long long score;
    const char* state;
};

// The lines between the marks are written by scripts/repin-golden.sh.
constexpr Golden kGolden[] = {
    // golden table: begin
    {1, "GoldenStage1.KRREP", 7400, 345380, "5dde9d7e67d34789"},
    {2, "GoldenStage2.KRREP", 7300, 298920, "d9e4464dfa46a392"},
    {3, "GoldenStage3.KRREP", 0, 302530, "8e1ad35cda07fa76"},
    // golden table: end
};

// The logic version each set of pinned states belongs to. A replay's proof names the version
// that recorded it, so play that changes (and re-pins the table above) must raise
// tz::GameLogicVersion (game/logic_version.h) and add its line here.
struct VersionPin {
    int version;
    const char* states;  // the golden table's states, in its order, separated by spaces
};
constexpr VersionPin kVersionPins[] = {
    {1, "5dde9d7e67d34789 d9e4464dfa46a392 8e1ad35cda07fa76"},
};

TEST(LogicVersion, PinnedStatesBelongToTheCurrentVersion) {
    std::string states;
    for (const Golden& g : kGolden) {
        if (!states.empty()) states += ' ';
        states += g.state;
    }
    const VersionPin* current = nullptr;
    for (const VersionPin& pin : kVersionPins) {
        if (pin.version == tz::GameLogicVersion) current = &pin;
        else EXPECT_NE(pin.states, states) << "logic version " << pin.version << " already played this way";
    }
    ASSERT_NE(current, nullptr) << "no pinned states for logic version " << tz::GameLogicVersion;
    EXPECT_EQ(current->states, states)
        << "The golden replays were re-pinned: the game plays differently, so replays recorded by logic version "
        << tz::GameLogicVersion << " no longer prove their score. Raise tz::GameLogicVersion and add its line to "
        << "kVersionPins.";
}

void PrintTo(const Golden& g, std::ostream* os) { *os << g.file; }

std::string PlaybackArgs(const Golden& g) {
    return "--no-draw --replay " + (GoldenDir / g.file).string() +
           (g.ticks > 0 ? " --ticks " + std::to_string(g.ticks) : std::string(" --until-title"));
}

constexpr const char* kRepin =
    "\nThe game no longer plays this golden replay as it did. If play was meant to change, re-pin the "
    "golden replays with scripts/repin-golden.sh (it records them again and rewrites the table in "
    "tests/e2e/golden_replay_e2e_test.cpp), then review and commit the new files and values.";

class GoldenReplay : public ::testing::TestWithParam<Golden> {};

TEST_P(GoldenReplay, PlaysBackToItsPinnedScoreAndState) {
    const Golden g = GetParam();
    ASSERT_TRUE(fs::exists(GoldenDir / g.file)) << g.file;
    const fs::path home = MakeHome("golden" + std::to_string(g.stage));
    const RunResult run = RunGame(home, PlaybackArgs(g));
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(Field(run.summary, "score"), g.score) << run.summary << kRepin;
    EXPECT_EQ(TextField(run.summary, "state"), g.state) << run.summary << kRepin;
    // A golden game is a whole stage: its boss destroyed; stage 3's through the ending
    // (which a playback skips: the title follows the last stage's fade).
    EXPECT_GE(Field(run.summary, "bosses"), 1) << run.summary;
    if (g.ticks > 0) {
        EXPECT_EQ(Field(run.summary, "stage"), g.stage + 1) << run.summary;
        EXPECT_EQ(Field(run.summary, "scene"), 4) << run.summary;
    } else {
        EXPECT_EQ(Field(run.summary, "scene"), 2) << run.summary;
    }
    fs::remove_all(home);
}

TEST_P(GoldenReplay, HeavyPlaybackEndsInThePinnedState) {
    const Golden g = GetParam();
    const fs::path home = MakeHome("goldenheavy" + std::to_string(g.stage));
    const RunResult run = RunGame(home, PlaybackArgs(g) + " --heavy");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(TextField(run.summary, "state"), g.state) << run.summary << kRepin;
    fs::remove_all(home);
}

INSTANTIATE_TEST_SUITE_P(Stages, GoldenReplay, ::testing::ValuesIn(kGolden),
                         [](const ::testing::TestParamInfo<Golden>& info) {
                             return "Stage" + std::to_string(info.param.stage);
                         });

// The strongest autopilot plays each stage live under --heavy: its look-ahead and the
// doubled ticks together, from the stage's start to its end.
struct PilotStage {
    int stage;
    int startFrom;
    int ticks;   // 0: until the title is back
};

void PrintTo(const PilotStage& p, std::ostream* os) { *os << "stage " << p.stage; }

class HeavyAutopilot : public ::testing::TestWithParam<PilotStage> {};

TEST_P(HeavyAutopilot, WholeStageFindsNoStateOutsideTheRecord) {
    const PilotStage p = GetParam();
    const fs::path home = MakeHome("heavypilot" + std::to_string(p.stage));
    const RunResult run =
        RunGame(home, "--no-draw --heavy --autopilot 3 --autopilot-seed 5 --start-from " + std::to_string(p.startFrom) +
                          (p.ticks > 0 ? " --ticks " + std::to_string(p.ticks) : std::string(" --until-title")));
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(run.errors.find("--heavy"), std::string::npos) << run.errors;
    EXPECT_GE(Field(run.summary, "bosses"), 1) << run.summary;
    fs::remove_all(home);
}

INSTANTIATE_TEST_SUITE_P(Stages, HeavyAutopilot,
                         ::testing::Values(PilotStage{1, 0, 7400}, PilotStage{2, 2, 7300}, PilotStage{3, 3, 0}),
                         [](const ::testing::TestParamInfo<PilotStage>& info) {
                             return "Stage" + std::to_string(info.param.stage);
                         });

// --save-replay: a game stopped in mid-play by --ticks is written as it was recorded; played
// back for as many steps it ends in the same state. Without a game in progress there is
// nothing to write, and a file that cannot be written is an error naming it.
TEST(SaveReplay, GameStoppedInMidPlayPlaysBackToTheSameState) {
    const fs::path home = MakeHome("savereplay");
    const fs::path saved = home / "Stopped.KRREP";
    const RunResult played =
        RunGame(home, "--no-draw --autopilot 2 --start-from 2 --ticks 2500 --save-replay " + saved.string());
    ASSERT_EQ(played.exitCode, 0) << played.errors;
    ASSERT_TRUE(fs::exists(saved));
    EXPECT_FALSE(fs::exists(home / "LastGame.KRREP"));   // the game had not ended
    const RunResult replayed = RunGame(home, "--no-draw --ticks 2500 --replay " + saved.string());
    ASSERT_EQ(replayed.exitCode, 0) << replayed.errors;
    EXPECT_EQ(Field(replayed.summary, "score"), Field(played.summary, "score"));
    EXPECT_EQ(Field(replayed.summary, "replay_pos"), Field(played.summary, "replay_pos"));
    EXPECT_EQ(TextField(replayed.summary, "state"), TextField(played.summary, "state"));
    // The header holds the score so far and the length recorded; the start point follows,
    // then the proof, which --verify checks.
    const std::string bytes = ReadText(saved);
    const std::size_t bytesEnd = 12u + static_cast<std::size_t>(Field(played.summary, "replay_pos"));
    ASSERT_GT(bytes.size(), bytesEnd + 8u);
    EXPECT_EQ(bytes.substr(bytesEnd, 8), std::string("FROM\x02\0\0\0", 8));
    EXPECT_EQ(bytes.substr(bytesEnd + 8, 4), "SEAL");
    const RunResult verified = RunGame(home, "--verify " + saved.string());
    EXPECT_EQ(verified.exitCode, 0) << verified.summary << verified.errors;
    EXPECT_EQ(TextField(verified.summary, "state"), TextField(played.summary, "state")) << verified.summary;

    const RunResult title = RunGame(home, "--ticks 5 --save-replay " + (home / "None.KRREP").string());
    EXPECT_NE(title.exitCode, 0);
    EXPECT_NE(title.errors.find("no game in progress"), std::string::npos) << title.errors;
    EXPECT_FALSE(fs::exists(home / "None.KRREP"));
    const RunResult nowhere =
        RunGame(home, "--input /dev/null --ticks 300 --save-replay " + (home / "missing" / "X.KRREP").string());
    EXPECT_NE(nowhere.exitCode, 0);
    EXPECT_NE(nowhere.errors.find("missing/X.KRREP"), std::string::npos) << nowhere.errors;
    EXPECT_NE(RunGame(home, "--ticks 5 --replay " + saved.string() + " --save-replay " + (home / "Y.KRREP").string())
                  .exitCode,
              0);
    fs::remove_all(home);
}

}  // namespace
