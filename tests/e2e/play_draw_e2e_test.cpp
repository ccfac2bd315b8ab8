// End to end: a game is a function of its input alone. A game played headless gives the same
// state hash after every tick with its frames drawn or not, with music and sound effects
// enabled or not: a game from an input file that weaves, fires and bombs (the quakes draw
// lightning from the drawing's own generator), and the golden stage 3 replay, which starts
// the stage's piece and the boss's and stops the music when the boss falls and at the title.
#include "e2e_support.h"

namespace {

using namespace e2e;

TEST(EndToEnd, PlayStateDoesNotDependOnDrawingOrSoundOptions) {
    const fs::path home = MakeHome("playoptions");
    WriteInput(home / "input.bin", 4000);
    const std::string games[] = {
        " --start-from 2 --ticks 3000 --input " + (home / "input.bin").string(),
        " --until-title --replay " + (fs::path(KORRINDAL_TEST_DATA_DIR) / "GoldenStage3.KRREP").string()};
    for (const std::string& game : games) {
        const RunResult drawn = RunGame(home, "--play-log " + (home / "log.jsonl").string() + game + " --hash-trace " +
                                                  (home / "drawn.txt").string());
        ASSERT_EQ(drawn.exitCode, 0) << drawn.errors;
        const std::string log = ReadText(home / "log.jsonl");
        EXPECT_NE(log.find(game == games[0] ? "\"event\":\"bomb\"" : "\"event\":\"boss_down\""), std::string::npos);
        const auto a = Lines(home / "drawn.txt");
        ASSERT_GE(a.size(), 3000u);
        for (const char* option : {"--no-draw", "--no-music", "--no-sound-effects"}) {
            const RunResult other = RunGame(home, std::string(option) + game + " --hash-trace " + (home / "other.txt").string());
            ASSERT_EQ(other.exitCode, 0) << option << ": " << other.errors;
            const auto b = Lines(home / "other.txt");
            ASSERT_EQ(b.size(), a.size()) << option << game;
            for (std::size_t i = 0; i < a.size(); ++i)
                ASSERT_EQ(a[i], b[i]) << option << game << ": first difference at step " << i + 1;
        }
    }
    fs::remove_all(home);
}

}  // namespace
