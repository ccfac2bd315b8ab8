// End to end: each stage played from its start to its end by the headless program's
// playtest autopilot, once with every frame drawn and once with none. The state hash must
// agree at every tick: every random draw that shapes play comes from the tick's own reseeded
// generator, never from drawing (and the autopilot, which chooses its input from the state,
// chooses alike only if the states agree).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "e2e_support.h"

using namespace e2e;

namespace {

// The JSON summary line of a run, empty when it failed.
std::string RunProgram(const fs::path& home, const std::string& args, std::string& errors) {
    const RunResult run = RunGame(home, args);
    errors = run.errors;
    return run.exitCode == 0 ? run.summary : std::string();
}

struct StageCase {
    int startFrom;      // --start-from
    int ticks;          // enough for the stage, its tally and fade (stage 3: its whole clock, then those)
    int endStage;       // the stage in play at the end
    int endScene;
    int bosses;         // bosses the strongest autopilot destroys on the way
    bool ending;        // the game reached the ending
};

void PrintTo(const StageCase& c, std::ostream* os) { *os << "start-from " << c.startFrom << ", " << c.ticks << " ticks"; }

class StageRun : public ::testing::TestWithParam<StageCase> {};

TEST_P(StageRun, SameHashAtEveryTickWithAndWithoutDrawing) {
    const StageCase c = GetParam();
    const fs::path home = MakeHome("from" + std::to_string(c.startFrom));
    const std::string common =
        " --autopilot 3 --start-from " + std::to_string(c.startFrom) + " --ticks " + std::to_string(c.ticks);
    std::string errors;
    const std::string drawn = RunProgram(home, common + " --hash-trace " + (home / "drawn.txt").string(), errors);
    ASSERT_FALSE(drawn.empty()) << errors;
    const std::string quiet = RunProgram(home, common + " --no-draw --hash-trace " + (home / "quiet.txt").string(), errors);
    ASSERT_FALSE(quiet.empty()) << errors;

    const auto a = Lines(home / "drawn.txt");
    const auto b = Lines(home / "quiet.txt");
    ASSERT_EQ(a.size(), static_cast<std::size_t>(c.ticks));
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) ASSERT_EQ(a[i], b[i]) << "first difference at step " << i + 1;

    // The stage ran to its end, its boss destroyed: the next stage is in play, or (stage 3)
    // the credits roll.
    EXPECT_EQ(Field(drawn, "stage"), c.endStage) << drawn;
    EXPECT_EQ(Field(drawn, "scene"), c.endScene) << drawn;
    EXPECT_GT(Field(drawn, "score"), 0) << drawn;
    EXPECT_EQ(Field(drawn, "bosses"), c.bosses) << drawn;
    EXPECT_NE(drawn.find(c.ending ? "\"ending\":true" : "\"ending\":false"), std::string::npos) << drawn;
    fs::remove_all(home);
}

INSTANTIATE_TEST_SUITE_P(Stages, StageRun,
                         ::testing::Values(StageCase{0, 7400, 2, 4, 1, false}, StageCase{2, 7300, 3, 4, 1, false},
                                           StageCase{3, 9300, 3, 9, 2, true}),
                         [](const ::testing::TestParamInfo<StageCase>& info) {
                             return "Stage" + std::to_string(info.param.startFrom == 0 ? 1 : info.param.startFrom);
                         });

}  // namespace
