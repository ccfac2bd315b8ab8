// Recording, replay files and the records saved after a game.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "game/tz_globals.h"
#include "game/tz_input.h"
#include "core/data_path.h"
#include "core/random.h"
#include "game/tz_replay.h"

using namespace tz;
namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A file saved by the game without its proof record, which must end it, whole: the tag, then
// a checkpoint per ProofInterval recorded ticks and the last tick.
std::vector<std::uint8_t> ReadSaved(const fs::path& path) {
    std::vector<std::uint8_t> bytes = ReadAll(path);
    const auto tag = std::find_end(bytes.begin(), bytes.end(), tz::ProofTag.begin(), tz::ProofTag.end());
    EXPECT_NE(tag, bytes.end()) << path;
    if (tag == bytes.end() || bytes.end() - tag < tz::ProofHeadSize) return bytes;
    std::int32_t count = 0;
    std::memcpy(&count, &*(tag + 12), 4);
    EXPECT_EQ(bytes.end() - tag, tz::ProofHeadSize + (count + 1) * tz::ProofEntrySize) << path;
    bytes.erase(tag, bytes.end());
    return bytes;
}

void WriteAll(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> Le32(std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    return {static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(u >> 8), static_cast<std::uint8_t>(u >> 16),
            static_cast<std::uint8_t>(u >> 24)};
}

std::vector<std::uint8_t> ReplayFile(std::int32_t score, std::int32_t check, std::int32_t length,
                                     const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> out;
    for (auto part : {Le32(score), Le32(check), Le32(length), data}) out.insert(out.end(), part.begin(), part.end());
    return out;
}

class ReplayTest : public ::testing::Test {
protected:
    fs::path dir;
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("korrindal_replay_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
               "_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        SetProgramDir(dir.string());
        ReplayMode = false;
        ReplayPos = 0;
        ReplayLength = 0;
        ReplayStartFrom = 0;
        GameStartFrom = 0;
        StartFrom = 0;
        ReplayBuffer.fill(0);
        Score = 0;
        HiScore = 0;
        ClearInputFeed();
        SetInputDevice(nullptr);
    }
    void TearDown() override {
        SetProgramDir("");
        ReplayMode = false;
        ReplayPos = 0;
        ClearInputFeed();
        fs::remove_all(dir);
    }
    void Record(const std::vector<std::uint8_t>& bytes) {
        SetInputFeed(bytes.data(), bytes.size());
        for (std::size_t i = 0; i < bytes.size(); ++i) NextTickInput();
        ClearInputFeed();
    }
};

}  // namespace

TEST_F(ReplayTest, CheckValueIsTheDrawAfterSeedingWithTheScore) {
    RandSeed = 77;
    EXPECT_EQ(ReplayCheckValue(0), 0);
    EXPECT_EQ(RandSeed, 77u);  // the game's generator is not touched
    TRandom reference;
    reference.seed = 123456;
    EXPECT_EQ(ReplayCheckValue(123456), reference.Random(10000));
    reference.seed = static_cast<std::uint32_t>(-5);
    EXPECT_EQ(ReplayCheckValue(-5), reference.Random(10000));
}

TEST_F(ReplayTest, SavedFileHasTheExactLayout) {
    Record({1, 2, 16, 0, 255});
    Score = 4242;
    ASSERT_TRUE(SaveReplay("Mine").Ok);
    TRandom check;
    check.seed = 4242;
    const auto expected = ReplayFile(4242, check.Random(10000), 5, {1, 2, 16, 0, 255});
    EXPECT_EQ(ReadSaved(dir / "Mine.KRREP"), expected);
    EXPECT_FALSE(fs::exists(dir / "Mine.KRREP.tmp"));

    // Score 0 has check value 0.
    Score = 0;
    ASSERT_TRUE(SaveReplay("Zero").Ok);
    EXPECT_EQ(ReadSaved(dir / "Zero.KRREP"), ReplayFile(0, 0, 5, {1, 2, 16, 0, 255}));
}

TEST_F(ReplayTest, APlaybackIsNeverSaved) {
    Record({7, 7, 7});
    ReplayMode = true;
    Score = 10;
    HiScore = 10;
    EXPECT_TRUE(SaveReplay("LastGame").Ok);
    const TFinishedGameSave during = SaveFinishedGame(true);
    EXPECT_TRUE(during.HighScore.Ok && during.LastGame.Ok);
    EXPECT_EQ(ReplayPos, 3);
    // The title set-up has ended replay mode: the playback is still not saved (the player's
    // own games stay), and its position goes back to 0 so no later set-up saves it.
    ReplayMode = false;
    SaveFinishedGame(true);
    EXPECT_TRUE(fs::is_empty(dir));
    EXPECT_EQ(ReplayPos, 0);
}

TEST_F(ReplayTest, FinishedGameSavesHighScoreOnlyWhenEqual) {
    Record({1, 2, 3});
    Score = 500;
    HiScore = 500;
    const TFinishedGameSave best = SaveFinishedGame(false);
    ASSERT_TRUE(best.HighScore.Ok && best.LastGame.Ok);
    EXPECT_EQ(ReplayPos, 0);
    EXPECT_EQ(ReadAll(dir / "HighScore.KRREP"), ReadAll(dir / "LastGame.KRREP"));
    EXPECT_EQ(ReadSaved(dir / "LastGame.KRREP").size(), 15u);

    // A lower score replaces only LastGame.
    Record({9});
    Score = 100;
    ASSERT_TRUE(SaveFinishedGame(false).LastGame.Ok);
    EXPECT_EQ(ReadSaved(dir / "HighScore.KRREP").size(), 15u);
    EXPECT_EQ(ReadSaved(dir / "LastGame.KRREP"), ReplayFile(100, ReplayCheckValue(100), 1, {9}));

    // Nothing recorded: nothing saved.
    fs::remove(dir / "LastGame.KRREP");
    ASSERT_TRUE(SaveFinishedGame(false).LastGame.Ok);
    EXPECT_FALSE(fs::exists(dir / "LastGame.KRREP"));
}

TEST_F(ReplayTest, FailedSaveKeepsThePreviousFileAndReports) {
    Record({1, 1});
    Score = 50;
    ASSERT_TRUE(SaveReplay("LastGame").Ok);
    const auto before = ReadAll(dir / "LastGame.KRREP");

    // The temporary file cannot be created (a folder stands in its place).
    fs::create_directory(dir / "LastGame.KRREP.tmp");
    Record({2});
    Score = 60;
    const TReplayResult result = SaveFinishedGame(false).LastGame;
    EXPECT_FALSE(result.Ok);
    EXPECT_NE(result.Error.find("LastGame.KRREP"), std::string::npos) << result.Error;
    EXPECT_EQ(ReadAll(dir / "LastGame.KRREP"), before);
    EXPECT_EQ(ReplayPos, 0);  // the game goes on

    // A program folder that does not exist: the replay goes to the user's data folder, and
    // when that cannot be made either, the failure names it.
    SetProgramDir((dir / "missing").string());
    const char* old = std::getenv("XDG_DATA_HOME");
    const std::string saved = old ? old : "";
    ::setenv("XDG_DATA_HOME", (dir / "user").c_str(), 1);
    Record({3});
    EXPECT_TRUE(SaveReplay("LastGame").Ok);
    EXPECT_TRUE(fs::exists(dir / "user" / "korrindal" / "LastGame.KRREP"));
    ::setenv("XDG_DATA_HOME", (dir / "LastGame.KRREP" / "user").c_str(), 1);   // under a file
    const TReplayResult refused = SaveReplay("LastGame");
    EXPECT_FALSE(refused.Ok);
    EXPECT_NE(refused.Error.find("user/korrindal"), std::string::npos) << refused.Error;
    if (old) ::setenv("XDG_DATA_HOME", saved.c_str(), 1);
    else ::unsetenv("XDG_DATA_HOME");
}

TEST_F(ReplayTest, RecordingStopsAtTheEndOfTheBuffer) {
    std::vector<std::uint8_t> bytes(ReplayBufferSize + 50);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 7);
    Record(bytes);
    EXPECT_EQ(ReplayPos, ReplayBufferSize);
    EXPECT_EQ(ReplayBuffer[ReplayBufferSize - 1], static_cast<std::uint8_t>((ReplayBufferSize - 1) * 7));
    Score = 1;
    ASSERT_TRUE(SaveReplay("Long").Ok);
    // The bytes, then the proof: a checkpoint every ProofInterval ticks and the last tick.
    EXPECT_EQ(ReadAll(dir / "Long.KRREP").size(),
              static_cast<std::size_t>(ReplayHeaderSize + ReplayBufferSize + ProofHeadSize +
                                       (ReplayBufferSize / ProofInterval + 1) * ProofEntrySize));

    // Played back, it gives its bytes and then 0, and never reads past the buffer.
    ASSERT_TRUE(LoadReplay((dir / "Long.KRREP").string()).Ok);
    for (std::int32_t i = 0; i < ReplayBufferSize; ++i) ASSERT_EQ(NextTickInput(), bytes[static_cast<std::size_t>(i)]);
    EXPECT_EQ(NextTickInput(), 0);
    EXPECT_EQ(ReplayPos, ReplayBufferSize);
}

TEST_F(ReplayTest, LoadedReplayReplacesTheLiveInput) {
    WriteAll(dir / "r.KRREP", ReplayFile(77, 0, 3, {16, 4, 32}));
    ReplayPos = 9;
    ASSERT_TRUE(LoadReplay((dir / "r.KRREP").string()).Ok);
    EXPECT_TRUE(ReplayMode);
    EXPECT_EQ(ReplayPos, 0);
    EXPECT_EQ(ReplayLength, 3);
    const std::array<std::uint8_t, 1> live{1};
    SetInputFeed(live.data(), live.size());
    EXPECT_EQ(NextTickInput(), 16);
    EXPECT_EQ(NextTickInput(), 4);
    EXPECT_EQ(NextTickInput(), 32);
    EXPECT_EQ(NextTickInput(), 0);
    EXPECT_EQ(FeedPos, 0u);  // the live input was not consumed
}

TEST_F(ReplayTest, BadFilesAreRefusedAndChangeNothing) {
    Record({5, 6, 7});
    const auto buffer = ReplayBuffer;
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        const char* says;
    };
    const std::vector<Case> cases = {
        {"negative", ReplayFile(1, 0, -1, {}), "bad length"},
        {"huge", ReplayFile(1, 0, ReplayBufferSize + 1, std::vector<std::uint8_t>(ReplayBufferSize + 1, 9)), "bad length"},
        {"short", ReplayFile(1, 0, 10, {1, 2, 3}), "3 of its 10"},
        {"header", {1, 2, 3, 4, 5}, "shorter"},
    };
    for (const Case& c : cases) {
        WriteAll(dir / c.name, c.bytes);
        const TReplayResult result = LoadReplay((dir / c.name).string());
        EXPECT_FALSE(result.Ok) << c.name;
        EXPECT_NE(result.Error.find(c.says), std::string::npos) << result.Error;
        EXPECT_NE(result.Error.find(c.name), std::string::npos) << result.Error;
        EXPECT_FALSE(ReplayMode) << c.name;
        EXPECT_EQ(ReplayPos, 3) << c.name;
        EXPECT_TRUE(ReplayBuffer == buffer) << c.name;
    }
    EXPECT_FALSE(LoadReplay((dir / "absent.KRREP").string()).Ok);
    EXPECT_FALSE(ReplayMode);

    // The longest legal replay and an empty one load.
    WriteAll(dir / "full", ReplayFile(1, 0, ReplayBufferSize, std::vector<std::uint8_t>(ReplayBufferSize, 3)));
    EXPECT_TRUE(LoadReplay((dir / "full").string()).Ok);
    WriteAll(dir / "empty", ReplayFile(1, 0, 0, {}));
    EXPECT_TRUE(LoadReplay((dir / "empty").string()).Ok);
    EXPECT_EQ(ReplayLength, 0);
}

TEST_F(ReplayTest, ListLineShowsScoreAndName) {
    WriteAll(dir / "HighScore.KRREP", ReplayFile(123450, 0, 0, {}));
    auto line = ReplayListLine((dir / "HighScore.KRREP").string());
    ASSERT_TRUE(line.Ok);
    EXPECT_EQ(line.Line, "  123450pts. [HighScore]");
    WriteAll(dir / "neg.KRREP", ReplayFile(-7, 0, 0, {}));
    EXPECT_EQ(ReplayListLine((dir / "neg.KRREP").string()).Line, "      -7pts. [neg]");
    WriteAll(dir / "tiny.KRREP", {1, 2, 3});
    EXPECT_FALSE(ReplayListLine((dir / "tiny.KRREP").string()).Ok);
    EXPECT_FALSE(ReplayListLine((dir / "none.KRREP").string()).Ok);
}

TEST_F(ReplayTest, AGameFromALaterPointCarriesItsStartPointAfterTheBytes) {
    Record({16, 4});
    Score = 300;
    GameStartFrom = 2;
    ASSERT_TRUE(SaveReplay("FromTwo").Ok);
    std::vector<std::uint8_t> expected = ReplayFile(300, ReplayCheckValue(300), 2, {16, 4});
    const std::vector<std::uint8_t> record{'F', 'R', 'O', 'M', 2, 0, 0, 0};
    expected.insert(expected.end(), record.begin(), record.end());
    const std::vector<std::uint8_t> file = ReadAll(dir / "FromTwo.KRREP");
    ASSERT_EQ(file.size(), expected.size() + ProofHeadSize + ProofEntrySize);   // the proof follows
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), file.begin()));
    EXPECT_TRUE(std::equal(ProofTag.begin(), ProofTag.end(), file.begin() + static_cast<std::ptrdiff_t>(expected.size())));

    // Loaded, the playback's next game starts from there; the dialog's choice does not count.
    StartFrom = 4;
    ASSERT_TRUE(LoadReplay((dir / "FromTwo.KRREP").string()).Ok);
    EXPECT_EQ(ReplayLength, 2);
    EXPECT_EQ(ReplayStartFrom, 2);
    EXPECT_EQ(NextGameStartFrom(), 2);
    ReplayMode = false;   // the playback has ended
    EXPECT_EQ(NextGameStartFrom(), 4);
    StartFrom = 0;
    GameStartFrom = 0;

    // Without the record, or with bytes after the recording that are not one, a replay
    // starts from the beginning; a bad record refuses nothing.
    for (const auto& tail : std::vector<std::vector<std::uint8_t>>{
             {}, {'F', 'R', 'O', 'M', 9, 0, 0, 0}, {'F', 'R', 'O', 'M', 2}, {'X', 'R', 'O', 'M', 2, 0, 0, 0}}) {
        ReplayStartFrom = 5;
        std::vector<std::uint8_t> file = ReplayFile(1, 0, 1, {16});
        file.insert(file.end(), tail.begin(), tail.end());
        WriteAll(dir / "tail.KRREP", file);
        ASSERT_TRUE(LoadReplay((dir / "tail.KRREP").string()).Ok);
        EXPECT_EQ(ReplayStartFrom, 0) << tail.size();
        EXPECT_EQ(ReplayLength, 1);
    }

    // A refused file leaves the loaded start point as it was.
    ReplayStartFrom = 3;
    WriteAll(dir / "bad.KRREP", ReplayFile(1, 0, 5, {1}));
    EXPECT_FALSE(LoadReplay((dir / "bad.KRREP").string()).Ok);
    EXPECT_FALSE(CheckReplayFile((dir / "bad.KRREP").string()).Ok);
    EXPECT_EQ(ReplayStartFrom, 3);
    EXPECT_TRUE(CheckReplayFile((dir / "FromTwo.KRREP").string()).Ok);
    ReplayMode = false;
}
