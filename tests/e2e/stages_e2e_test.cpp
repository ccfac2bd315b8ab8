// End to end: each stage played from its start to its end by the headless program, fed the
// same input once with every frame drawn and once with none. The state hash must agree at
// every tick: every random draw that shapes play comes from the tick's own reseeded
// generator, never from drawing.
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

// A stage's worth of input: weaving, firing in bursts, climbing now and then, and a bomb
// every 700 ticks, which destroys small craft and cancels bullets.
void WriteInput(const fs::path& path, std::size_t ticks) {
    std::ofstream out(path, std::ios::binary);
    for (std::size_t t = 0; t < ticks; ++t) {
        std::uint8_t keys = 0;
        const std::size_t phase = (t / 90) % 4;
        keys |= phase == 0 ? 8 : phase == 2 ? 2 : 0;
        if ((t / 40) % 3 != 2) keys |= 16;
        if ((t / 200) % 5 == 1) keys |= 1;
        if (t % 700 == 350) keys |= 32;
        out.put(static_cast<char>(keys));
    }
}

struct StageCase {
    int startFrom;      // --start-from
    int ticks;          // enough for the stage, its tally and fade (or its time over)
    int endStage;       // the stage in play at the end
    int endScene;
};

void PrintTo(const StageCase& c, std::ostream* os) { *os << "start-from " << c.startFrom << ", " << c.ticks << " ticks"; }

class StageRun : public ::testing::TestWithParam<StageCase> {};

TEST_P(StageRun, SameHashAtEveryTickWithAndWithoutDrawing) {
    const StageCase c = GetParam();
    const fs::path home = MakeHome("from" + std::to_string(c.startFrom));
    WriteInput(home / "input.bin", 12000);
    const std::string common = " --input " + (home / "input.bin").string() + " --start-from " +
                               std::to_string(c.startFrom) + " --ticks " + std::to_string(c.ticks);
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

    // The stage ran to its end: the next stage is in play, or the time ran out and the
    // title is back.
    EXPECT_EQ(Field(drawn, "stage"), c.endStage) << drawn;
    EXPECT_EQ(Field(drawn, "scene"), c.endScene) << drawn;
    EXPECT_GT(Field(drawn, "score"), 0) << drawn;
    fs::remove_all(home);
}

INSTANTIATE_TEST_SUITE_P(Stages, StageRun,
                         ::testing::Values(StageCase{0, 7400, 2, 4}, StageCase{2, 7300, 3, 4}, StageCase{3, 8800, 3, 2}),
                         [](const ::testing::TestParamInfo<StageCase>& info) {
                             return "Stage" + std::to_string(info.param.startFrom == 0 ? 1 : info.param.startFrom);
                         });

}  // namespace
