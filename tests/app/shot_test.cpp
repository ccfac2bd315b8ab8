// Screenshots of a headless run: --shot and --shot-dir.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

int RunKorrindal(const std::string& args) {
    const std::string command = std::string(KORRINDAL_BIN_DIR) + "/korrindal " + args + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::uint32_t BigEndian(const unsigned char* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

// The folder is made when it does not exist yet, with its parents.
TEST(Shots, ListedStepsAreWrittenAsFullFramePngs) {
    const fs::path top = fs::temp_directory_path() / ("korrindal_shot_test_" + std::to_string(::getpid()));
    const fs::path dir = top / "new" / "folder";
    fs::remove_all(top);
    ASSERT_EQ(RunKorrindal("--headless --ticks 6 --shot 2,5 --shot-dir " + dir.string()), 0);
    EXPECT_FALSE(fs::exists(dir / "shot_1.png"));
    EXPECT_FALSE(fs::exists(dir / "shot_3.png"));
    for (const char* name : {"shot_2.png", "shot_5.png"}) {
        std::ifstream f(dir / name, std::ios::binary);
        ASSERT_TRUE(f) << name;
        std::array<unsigned char, 24> head{};
        f.read(reinterpret_cast<char*>(head.data()), head.size());
        EXPECT_EQ(head[1], 'P');
        EXPECT_EQ(head[2], 'N');
        EXPECT_EQ(BigEndian(&head[16]), 640u) << name;   // IHDR width
        EXPECT_EQ(BigEndian(&head[20]), 480u) << name;   // IHDR height
    }
    fs::remove_all(top);
}

TEST(Shots, BadListsAndMissingFramesAreRefused) {
    EXPECT_NE(RunKorrindal("--headless --ticks 3 --shot 0"), 0);
    EXPECT_NE(RunKorrindal("--headless --ticks 3 --shot 1,,2"), 0);
    EXPECT_NE(RunKorrindal("--headless --ticks 3 --shot 2 --no-draw"), 0);
    EXPECT_NE(RunKorrindal("--headless --ticks 3 --shot 2 --shot-dir /dev/null/korrindal"), 0);  // cannot be made
    EXPECT_NE(RunKorrindal("--shot 2"), 0);   // headless only
}

}  // namespace
