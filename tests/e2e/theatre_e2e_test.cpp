// End to end: seeking in a replay. A whole recorded game is played straight with a hash per
// step; the same playback then seeks to 200 random steps, back and forth, each landing on the
// straight run's hash at that step; a seek's summary is a straight run's of as many steps. The
// game window's theatre keys (pressed headless with --press) land on the straight run's
// hashes too, and its timeline's marks are where the play log puts the stages, bosses and
// lives lost. A game taken over saves a replay that ends alike, never over the watched file.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <regex>
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

// The whole recorded game played straight once for the suite: its hash after every step.
class Theatre : public testing::Test {
protected:
    static void SetUpTestSuite() {
        home_ = MakeHome("theatre");
        const RunResult run = RunGame(home_, Playback() + " --hash-trace " + (home_ / "straight.txt").string());
        ASSERT_EQ(run.exitCode, 0) << run.errors;
        straight_ = ReadTrace(home_ / "straight.txt");
        ASSERT_EQ(straight_.size(), static_cast<std::size_t>(kSteps));
    }
    static void TearDownTestSuite() { fs::remove_all(home_); }
    static std::string Playback() { return "--no-draw --replay " + Replay.string() + " --ticks " + std::to_string(kSteps); }

    static fs::path home_;
    static std::map<long long, std::string> straight_;
};
fs::path Theatre::home_;
std::map<long long, std::string> Theatre::straight_;

// The numbers of a field of the --press run's timeline line ("step": 5 or "boss": [1,2]).
std::vector<long long> TimelineNumbers(const fs::path& stdoutFile, const std::string& name) {
    std::string line;
    for (const std::string& l : Lines(stdoutFile))
        if (l.rfind("{\"timeline\"", 0) == 0) line = l;
    const std::regex re("\"" + name + "\":\\[?([0-9,]*)");
    std::smatch m;
    std::vector<long long> out;
    if (!std::regex_search(line, m, re)) {
        ADD_FAILURE() << "no " << name << " in the timeline line '" << line << "'";
        return out;
    }
    std::istringstream in(m[1].str());
    for (std::string item; std::getline(in, item, ',');)
        if (!item.empty()) out.push_back(std::stoll(item));
    return out;
}

TEST_F(Theatre, RandomSeeksLandOnTheStraightRunsState) {
    const fs::path& home = home_;
    const std::string playback = Playback();
    const auto& expected = straight_;

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
}

// The window's keys, pressed before the steps named (stage 2 begins at step 6382): each jump,
// step and speed lands where a straight run stands after as many of the game's steps.
TEST_F(Theatre, WindowKeysLandOnTheStraightRunsState) {
    const std::string presses =
        "3000:Right,"                                        // +5 s: 2999 + 350, then the tick
        "7000:Shift+Left,7100:Shift+Right,"                  // 30 s back into stage 1, forth into 2
        "7200:P,7201:Period,7202:Period,7202:Period,7203:Comma,"   // paused: 3 ticks on, 1 back
        "7204:RightBracket,7205:P,"                          // double speed: two ticks a step
        "7215:LeftBracket,7215:LeftBracket,7215:LeftBracket,"   // a quarter: one tick in four steps
        "7255:RightBracket,7255:RightBracket,"               // normal again
        "7300:P,7301:End,7302:Home,7303:P";                  // the last tick, the start, play on
    const fs::path trace = home_ / "press.txt";
    const RunResult run = RunGame(home_, "--no-draw --replay " + Replay.string() + " --ticks 7400 --press " +
                                             presses + " --hash-trace " + trace.string());
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    const auto pressed = ReadTrace(trace);
    const long long last = TimelineNumbers(home_ / "stdout.txt", "last").at(0);
    // The run's step, and the game's step it must show.
    const std::vector<std::pair<long long, long long>> landings{
        {3000, 3350}, {7000, 5250}, {7100, 7450}, {7201, 7550}, {7202, 7552}, {7203, 7551},
        {7214, 7571}, {7218, 7572}, {7254, 7581}, {7255, 7582}, {7301, last}, {7302, 2}, {7400, 100}};
    for (const auto& [step, shown] : landings)
        EXPECT_EQ(pressed.at(step), straight_.at(shown)) << "run step " << step << ", game step " << shown;
    EXPECT_EQ(TimelineNumbers(home_ / "stdout.txt", "step").at(0), 100);
    EXPECT_EQ(TextField(run.summary, "state"), straight_.at(100));
}

// The timeline's marks are the play log's stages, bosses coming in and lives lost; its last
// step is the one before the title comes back. (Comma does nothing unpaused but survey.)
TEST_F(Theatre, TimelineMarksAreThePlayLogsEvents) {
    const fs::path golden = fs::path(KORRINDAL_TEST_DATA_DIR) / "GoldenStage1.KRREP";
    const fs::path log = home_ / "play.log";
    const RunResult run = RunGame(home_, "--no-draw --until-title --replay " + golden.string() +
                                             " --press 100:Comma --play-log " + log.string());
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    std::map<std::string, std::vector<long long>> events;
    for (const std::string& line : Lines(log)) {
        const std::string kind = TextField(line, "event");
        if (kind == "stage" || kind == "boss_in" || kind == "life") events[kind].push_back(Field(line, "tick"));
    }
    const fs::path out = home_ / "stdout.txt";
    EXPECT_EQ(TimelineNumbers(out, "stage"), events["stage"]);
    EXPECT_EQ(TimelineNumbers(out, "boss"), events["boss_in"]);
    EXPECT_EQ(TimelineNumbers(out, "life"), events["life"]);
    EXPECT_EQ(events["life"].size(), 3u);
    EXPECT_EQ(TimelineNumbers(out, "first").at(0), events["stage"].at(0));
    EXPECT_EQ(TimelineNumbers(out, "last").at(0) + 1, Field(run.summary, "ticks"));
}

// Take over: stage 2's golden replay (which starts from a later point) is watched for 3000
// steps, then played on with new input. The saved LastGame holds the watched bytes up to
// there, then the new ones, with the start point; played back it ends in the same state and
// proves itself; the watched file is unchanged.
TEST_F(Theatre, TakeOverPlaysOnAndSavesAReplayThatEndsAlike) {
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

    // Watching the home's own LastGame, the game taken over (the same one) is saved as
    // TakeOver instead: the watched file stays as it was.
    const fs::path last = home / "LastGame.KRREP";
    fs::copy_file(watched, last, fs::copy_options::overwrite_existing);
    const RunResult again = RunGame(home, "--no-draw --until-title --replay " + last.string() +
                                              " --take-over 3000 --input " + (home / "live.in").string());
    ASSERT_EQ(again.exitCode, 0) << again.errors;
    EXPECT_EQ(ReadText(last), before);
    EXPECT_EQ(ReadText(home / "TakeOver.KRREP"), bytes);

    // Before the watched game has begun there is nothing to take over.
    EXPECT_NE(RunGame(home, "--no-draw --ticks 10 --replay " + watched.string() + " --take-over 1 --input " +
                                (home / "live.in").string())
                  .exitCode,
              0);
    fs::remove_all(home);
}

}  // namespace
