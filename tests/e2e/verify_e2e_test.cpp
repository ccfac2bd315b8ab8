// End to end: --verify on a folder of replays. The golden replays (recorded before replays
// carried a proof) are checked by score and check value alone; a game recorded now carries
// its proof, and edited copies of it are refused with the reason: the score, one byte, cut
// short, another logic version.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <map>
#include <string>

#include "e2e_support.h"
#include "game/logic_version.h"

using namespace e2e;

namespace {

const fs::path GoldenDir = KORRINDAL_TEST_DATA_DIR;

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void PutInt32(std::string& bytes, std::size_t at, std::int32_t value) { std::memcpy(&bytes[at], &value, 4); }

std::int32_t GetInt32(const std::string& bytes, std::size_t at) {
    std::int32_t v = 0;
    std::memcpy(&v, &bytes[at], 4);
    return v;
}

// One verified folder for every test: the golden replays, a game recorded from stage 3's
// golden input through the ending (with its proof), and the edited copies.
class VerifyFolder : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        home_ = MakeHome("verify");
        const fs::path dir = home_ / "replays";
        fs::create_directories(dir);
        for (const char* golden : {"GoldenStage1.KRREP", "GoldenStage3.KRREP"})
            fs::copy_file(GoldenDir / golden, dir / golden);
        // The golden game's bytes played live again, so this program records and seals them.
        const std::string golden = ReadBytes(GoldenDir / "GoldenStage3.KRREP");
        WriteBytes(home_ / "stage3.in", golden.substr(12, static_cast<std::size_t>(GetInt32(golden, 8))));
        recorded_ = RunGame(home_, "--no-draw --start-from 3 --until-title --input " + (home_ / "stage3.in").string());
        const std::string sealed = ReadBytes(home_ / "LastGame.KRREP");
        WriteBytes(dir / "Sealed.KRREP", sealed);

        std::string score = sealed;
        PutInt32(score, 0, GetInt32(sealed, 0) + 1000);
        WriteBytes(dir / "EditedScore.KRREP", score);
        std::string steer = sealed;
        for (std::size_t t = 3000; t < 3100; ++t) steer[12 + t] = 8;   // a hundred ticks of left
        WriteBytes(dir / "EditedBytes.KRREP", steer);
        WriteBytes(dir / "Truncated.KRREP", sealed.substr(0, 12 + 4000));
        std::string version = sealed;
        PutInt32(version, sealed.find("SEAL") + 4, tz::GameLogicVersion + 1);
        WriteBytes(dir / "OtherVersion.KRREP", version);

        std::string args = "--verify";
        for (const auto& entry : fs::directory_iterator(dir)) args += " " + entry.path().string();
        verified_ = RunGame(home_, args);
        for (const std::string& line : Lines(home_ / "stdout.txt"))
            lines_[fs::path(TextField(line, "file")).filename().string()] = line;
    }
    static void TearDownTestSuite() { fs::remove_all(home_); }

    static const std::string& Line(const std::string& file) { return lines_[file]; }

    static inline fs::path home_;
    static inline RunResult recorded_;
    static inline RunResult verified_;
    static inline std::map<std::string, std::string> lines_;
};

TEST_F(VerifyFolder, GoldenAndFreshlyRecordedReplaysAreOk) {
    ASSERT_EQ(recorded_.exitCode, 0) << recorded_.errors;
    EXPECT_EQ(lines_.size(), 7u) << verified_.errors;
    EXPECT_NE(verified_.exitCode, 0);   // the edited copies
    for (const char* file : {"GoldenStage1.KRREP", "GoldenStage3.KRREP", "Sealed.KRREP"}) {
        const std::string& line = Line(file);
        EXPECT_NE(line.find("\"ok\":true"), std::string::npos) << line;
        EXPECT_EQ(Field(line, "score"), Field(line, "recorded_score")) << line;
        EXPECT_NE(line.find("\"check_ok\":true"), std::string::npos) << line;
    }
    EXPECT_NE(Line("GoldenStage1.KRREP").find("\"version\":null"), std::string::npos);
    // The sealed game's re-simulated score and state are the recording run's.
    EXPECT_EQ(Field(Line("Sealed.KRREP"), "version"), tz::GameLogicVersion);
    EXPECT_EQ(Field(Line("Sealed.KRREP"), "score"), Field(recorded_.summary, "score"));
    EXPECT_EQ(Field(Line("Sealed.KRREP"), "score"), Field(Line("GoldenStage3.KRREP"), "score"));
}

TEST_F(VerifyFolder, EditedCopiesAreRefusedWithTheirReason) {
    const std::map<std::string, std::string> reasons{{"EditedScore.KRREP", "score edited"},
                                                     {"EditedBytes.KRREP", "bytes changed"},
                                                     {"Truncated.KRREP", "truncated"},
                                                     {"OtherVersion.KRREP", "other logic version"}};
    for (const auto& [file, reason] : reasons) {
        const std::string& line = Line(file);
        EXPECT_NE(line.find("\"ok\":false"), std::string::npos) << line;
        EXPECT_EQ(TextField(line, "reason"), reason) << line;
    }
    EXPECT_NE(Line("EditedScore.KRREP").find("\"check_ok\":false"), std::string::npos);
    // The steered copy parts from its recording in the first window after the edit, in the ship.
    const std::string& steered = Line("EditedBytes.KRREP");
    EXPECT_EQ(Field(steered, "first_bad_tick"), 3500) << steered;
    EXPECT_EQ(TextField(steered, "differs_in"), "ship") << steered;
}

}  // namespace
