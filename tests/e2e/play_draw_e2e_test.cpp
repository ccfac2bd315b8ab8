// End to end: a game played headless from an input file gives the same state hash after every
// tick whether its frames are drawn or not.
#include "e2e_support.h"

namespace {

using namespace e2e;

TEST(EndToEnd, PlayStateDoesNotDependOnDrawing) {
    const fs::path home = MakeHome("playdraw");
    // Weave and fire, with bombs (their quakes draw lightning from the drawing's own generator).
    WriteInput(home / "input.bin", 4000);
    const std::string common = " --start-from 2 --input " + (home / "input.bin").string() + " --ticks 3000 --hash-trace ";
    const RunResult drawn =
        RunGame(home, "--play-log " + (home / "log.jsonl").string() + common + (home / "drawn.txt").string());
    const RunResult quiet = RunGame(home, "--no-draw" + common + (home / "quiet.txt").string());
    ASSERT_EQ(drawn.exitCode, 0) << drawn.errors;
    ASSERT_EQ(quiet.exitCode, 0) << quiet.errors;
    EXPECT_NE(ReadText(home / "log.jsonl").find("\"event\":\"bomb\""), std::string::npos);  // a bomb went off
    const auto a = Lines(home / "drawn.txt");
    const auto b = Lines(home / "quiet.txt");
    ASSERT_EQ(a.size(), 3000u);
    ASSERT_EQ(b.size(), a.size());
    for (std::size_t i = 0; i < a.size(); ++i) ASSERT_EQ(a[i], b[i]) << "first difference at step " << i + 1;
    fs::remove_all(home);
}

}  // namespace
