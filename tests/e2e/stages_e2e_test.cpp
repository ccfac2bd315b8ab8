// End to end: each stage played from its start to its end by the headless program's
// playtest autopilot, once with every frame drawn and once with none. The state hash must
// agree at every tick: every random draw that shapes play comes from the tick's own reseeded
// generator, never from drawing (and the autopilot, which chooses its input from the state,
// chooses alike only if the states agree).
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path BinDir = KORRINDAL_BIN_DIR;

fs::path MakeHome(const std::string& name) {
    const fs::path home = fs::temp_directory_path() / ("korrindal_stages_" + name + "_" + std::to_string(::getpid()));
    fs::remove_all(home);
    fs::create_directories(home);
    for (const auto& entry : fs::directory_iterator(BinDir)) {
        const auto ext = entry.path().extension().string();
        if (ext == ".sp4" || ext == ".bmp" || ext == ".map" || ext == ".wav" || ext == ".mid" || ext == ".Add")
            fs::create_symlink(entry.path(), home / entry.path().filename());
    }
    return home;
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The JSON summary line of a run, empty when it failed.
std::string RunProgram(const fs::path& home, const std::string& args, std::string& errors) {
    const fs::path out = home / "stdout.txt";
    const fs::path err = home / "stderr.txt";
    const std::string command = (BinDir / "korrindal").string() + " --headless --summary --home " + home.string() +
                                " " + args + " >" + out.string() + " 2>" + err.string();
    const int status = std::system(command.c_str());
    errors = ReadText(err);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return {};
    std::istringstream lines(ReadText(out));
    std::string summary;
    for (std::string line; std::getline(lines, line);)
        if (!line.empty() && line.front() == '{') summary = line;
    return summary;
}

long long Field(const std::string& json, const std::string& name) {
    const std::regex re("\"" + name + "\":(-?[0-9]+)");
    std::smatch m;
    if (!std::regex_search(json, m, re)) {
        ADD_FAILURE() << "no field " << name << " in " << json;
        return 0;
    }
    return std::stoll(m[1]);
}

std::vector<std::string> Lines(const fs::path& path) {
    std::vector<std::string> out;
    std::istringstream in(ReadText(path));
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
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
