// End-to-end runs of the korrindal program: the headless runner and its options.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <vector>
#include <cstdio>
#include <filesystem>
#include <map>
#include <regex>
#include <fstream>
#include <string>

#include "app/runner.h"
#include "game/tz_input.h"
#include "platform/platform.h"

namespace {

struct RunResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs the program with the given arguments (shell-quoted by the caller).
RunResult RunProgram(const std::string& args) {
    const auto errFile = std::filesystem::temp_directory_path() / ("korrindal_test_err_" + std::to_string(::getpid()));
    const std::string command = std::string(KORRINDAL_BIN_DIR) + "/korrindal " + args + " 2>" + errFile.string();
    RunResult r;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return r;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) r.out.append(buffer, n);
    const int status = ::pclose(pipe);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (FILE* f = std::fopen(errFile.c_str(), "r")) {
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) r.err.append(buffer, n);
        std::fclose(f);
    }
    std::filesystem::remove(errFile);
    return r;
}

// The summary's fields, as text ("state" without its quotes).
std::map<std::string, std::string> Fields(const std::string& json) {
    std::map<std::string, std::string> fields;
    static const std::regex field(R"re("([a-z_]+)":("?)([^",}]*)\2)re");
    for (auto it = std::sregex_iterator(json.begin(), json.end(), field); it != std::sregex_iterator(); ++it)
        fields[(*it)[1]] = (*it)[3];
    return fields;
}

TEST(Runner, HeadlessSummaryIsOneJsonLineWithEveryField) {
    const auto r = RunProgram("--headless --ticks 120 --summary");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ASSERT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1) << r.out;
    EXPECT_EQ(r.out.front(), '{');
    const auto f = Fields(r.out);
    for (const char* key : {"ticks", "scene", "stage", "score", "hiscore", "blocks", "state"})
        EXPECT_TRUE(f.count(key)) << "missing " << key << " in " << r.out;
    EXPECT_EQ(f.at("ticks"), "120");
    EXPECT_EQ(f.at("scene"), "2");   // the title, after the first scene set-up
    EXPECT_TRUE(std::regex_match(f.at("state"), std::regex("[0-9a-f]{16}"))) << f.at("state");
}

TEST(Runner, StateDoesNotDependOnDrawingAndFollowsTheTicks) {
    const auto drawn = Fields(RunProgram("--headless --ticks 200 --summary").out);
    const auto undrawn = Fields(RunProgram("--headless --ticks 200 --no-draw --summary").out);
    const auto shorter = Fields(RunProgram("--headless --ticks 199 --summary").out);
    ASSERT_TRUE(drawn.count("state") && undrawn.count("state") && shorter.count("state"));
    EXPECT_EQ(drawn.at("state"), undrawn.at("state"));
    EXPECT_NE(drawn.at("state"), shorter.at("state"));
}

TEST(Runner, HomeFolderIsAccepted) {
    const auto home = std::filesystem::temp_directory_path() / ("korrindal_home_" + std::to_string(::getpid()));
    std::filesystem::create_directories(home);
    // A home without the game's data: the data beside the executable is used.
    const auto empty = RunProgram("--headless --ticks 3 --home '" + home.string() + "' --summary");
    EXPECT_EQ(empty.exitCode, 0) << empty.err;
    // The data linked in: the game starts there too.
    for (const auto& entry : std::filesystem::directory_iterator(KORRINDAL_BIN_DIR)) {
        const auto ext = entry.path().extension().string();
        if (ext == ".sp4" || ext == ".bmp" || ext == ".map" || ext == ".wav" || ext == ".mid")
            std::filesystem::create_symlink(entry.path(), home / entry.path().filename());
    }
    const auto r = RunProgram("--headless --ticks 3 --home '" + home.string() + "' --summary");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    std::filesystem::remove_all(home);
    const auto missing = RunProgram("--headless --ticks 3 --home '" + home.string() + "'");
    EXPECT_NE(missing.exitCode, 0);
    EXPECT_NE(missing.err.find("--home"), std::string::npos) << missing.err;
}

// A run refused for one of its outputs leaves no input feed behind: its bytes are gone.
TEST(Runner, ARefusedRunLeavesNoInputFeed) {
    const auto dir = std::filesystem::temp_directory_path() / ("korrindal_refused_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "input.bin", std::ios::binary) << "abc";
    app::ProgramOptions options;
    options.headless = true;
    options.ticks = 10;
    options.input = (dir / "input.bin").string();
    options.hashTrace = (dir / "no-such-folder" / "trace.txt").string();
    auto platform = plat::makeNullPlatform();
    app::RunSummary summary;
    EXPECT_EQ(app::RunHeadless(options, *platform, summary), 1);
    EXPECT_FALSE(tz::FeedStartPending);
    std::filesystem::remove_all(dir);
}

std::string FileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The `shown` game times a frame log gives its presents.
std::vector<double> ShownTimes(const std::string& log) {
    std::vector<double> shown;
    static const std::regex field(R"re("shown":([0-9.]+))re");
    for (auto it = std::sregex_iterator(log.begin(), log.end(), field); it != std::sregex_iterator(); ++it)
        shown.push_back(std::stod((*it)[1]));
    return shown;
}

// Frames drawn between ticks at 60 and 144 Hz, blended or not, leave every tick of a recorded
// game as it was: the hash after each tick is the same in every run. The blended runs did
// draw between ticks (their frames show fractional game times), the others never do.
TEST(Runner, SmoothMotionAndTheDrawRateLeaveEveryTickAsItWas) {
    const auto dir = std::filesystem::temp_directory_path() / ("korrindal_smooth_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string replay = (dir / "game.KRREP").string();
    const auto recorded = RunProgram("--headless --autopilot 2 --ticks 1200 --no-draw --save-replay '" + replay + "'");
    ASSERT_EQ(recorded.exitCode, 0) << recorded.err;
    const auto trace = [&](const std::string& name, const std::string& args) {
        const auto run = RunProgram("--headless --replay '" + replay + "' --ticks 1300 --hash-trace '" +
                                    (dir / (name + ".trace")).string() + "' --frame-log '" +
                                    (dir / (name + ".log")).string() + "' " + args);
        EXPECT_EQ(run.exitCode, 0) << name << ": " << run.err;
        return FileText(dir / (name + ".trace"));
    };
    const std::string plain = trace("plain", "--smooth-motion off");
    ASSERT_EQ(std::count(plain.begin(), plain.end(), '\n'), 1300);
    for (const char* hz : {"60", "144"}) {
        for (const char* smooth : {"on", "off"}) {
            const std::string name = std::string(hz) + smooth;
            EXPECT_EQ(trace(name, std::string("--draw-hz ") + hz + " --smooth-motion " + smooth), plain) << name;
            const auto shown = ShownTimes(FileText(dir / (name + ".log")));
            ASSERT_GT(shown.size(), 1000u) << name;
            const auto between = std::count_if(shown.begin(), shown.end(), [](double t) { return t != std::floor(t); });
            if (std::string(smooth) == "on")
                EXPECT_GT(between, static_cast<std::ptrdiff_t>(shown.size() / 2)) << name;
            else
                EXPECT_EQ(between, 0) << name;
        }
    }
    std::filesystem::remove_all(dir);
}

TEST(Runner, BadCommandLinesFailWithAMessage) {
    for (const char* args : {"--bogus", "--headless", "--headless --ticks", "--headless --ticks -4",
                             "--headless --ticks 12x", "--ticks 5", "--headless --ticks 5 stray",
                             "--headless=1 --ticks 5", "--headless --draw-hz 0", "--smooth-motion maybe"}) {
        const auto r = RunProgram(args);
        EXPECT_NE(r.exitCode, 0) << args;
        EXPECT_FALSE(r.err.empty()) << args;
        EXPECT_TRUE(r.out.empty()) << args;
    }
}

TEST(Runner, HelpListsEveryOption) {
    const auto r = RunProgram("--help");
    EXPECT_EQ(r.exitCode, 0);
    for (const char* option : {"--headless", "--ticks", "--no-draw", "--summary", "--home", "--help", "--replay",
                               "--input", "--start", "--start-from", "--until-title", "--hash-trace", "--settings"})
        EXPECT_NE(r.out.find(option), std::string::npos) << option;
}

}  // namespace
