// Whole games leave the heap as they found it: nothing is allocated by a tick of play, and the
// blocks a scene's set-up takes (banks, the stage map) are given back by the time the title
// returns. Games from every start point, drawn, won and lost.
#include "e2e_support.h"

namespace {

struct HeapCase {
    const char* name;
    int startFrom;
    int level;   // autopilot level: 0 loses lives and often the game, 3 reaches the ending
    int seed;
};

class HeapRun : public ::testing::TestWithParam<HeapCase> {};

TEST_P(HeapRun, WholeGameAllocatesNothingInPlayAndGivesBackEveryBlock) {
    const HeapCase& c = GetParam();
    const auto home = e2e::MakeHome(std::string("heap_") + c.name);
    const auto run = e2e::RunGame(home, "--until-title --start-from " + std::to_string(c.startFrom) + " --autopilot " +
                                            std::to_string(c.level) + " --autopilot-seed " + std::to_string(c.seed));
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    ASSERT_FALSE(run.summary.empty()) << run.errors;
    EXPECT_GT(e2e::Field(run.summary, "ticks"), 1000);
    EXPECT_EQ(e2e::Field(run.summary, "play_allocs"), 0) << run.summary;
    EXPECT_EQ(e2e::Field(run.summary, "game_blocks"), 0) << run.summary;
    e2e::fs::remove_all(home);
}

INSTANTIATE_TEST_SUITE_P(Games, HeapRun,
                         ::testing::Values(HeapCase{"whole_game_won", 0, 3, 1}, HeapCase{"whole_game_weak", 0, 0, 2},
                                           HeapCase{"from_stage2", 2, 2, 3}, HeapCase{"from_stage3", 3, 1, 4},
                                           HeapCase{"from_final_boss", 4, 3, 5}),
                         [](const ::testing::TestParamInfo<HeapCase>& info) { return std::string(info.param.name); });

}  // namespace
