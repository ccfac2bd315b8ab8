// Saves that are killed part-way: a replay or the settings file written by a process that
// is killed at a random moment leaves either the old file or the new one, whole.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "frontend/atomic_write.h"
#include "game/tz_replay.h"

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Forks a writer that saves one of two versions over and over, kills it after a delay that
// changes from round to round, and checks the file each time.
template <class Write>
void KillWhileWriting(const fs::path& target, const std::string& first, const std::string& second, Write write) {
    int seen[2] = {0, 0};
    for (int round = 0; round < 60; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (unsigned i = 0;; ++i) write(i % 2);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200 + 97 * (round % 23)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        const std::string now = ReadAll(target);
        ASSERT_TRUE(now == first || now == second) << "round " << round << ": a torn file of " << now.size()
                                                    << " bytes";
        ++seen[now == first ? 0 : 1];
    }
    // Which version survives depends on the machine's timing; only a torn file is a fault.
    EXPECT_EQ(seen[0] + seen[1], 60);
}

fs::path TempDir(const char* name) {
    const fs::path dir = fs::temp_directory_path() / (std::string(name) + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

TEST(SafeSave, KilledReplayWritesLeaveAWholeFile) {
    const fs::path dir = TempDir("korrindal_killed_replay_");
    const fs::path target = dir / "LastGame.KRREP";
    std::vector<std::uint8_t> a(20000, 0x10), b(9000, 0x05);
    ASSERT_TRUE(tz::WriteReplayFile(target.string(), 111, a.data(), static_cast<std::int32_t>(a.size()), 0).Ok);
    const std::string first = ReadAll(target);
    ASSERT_TRUE(tz::WriteReplayFile(target.string(), 222, b.data(), static_cast<std::int32_t>(b.size()), 2).Ok);
    const std::string second = ReadAll(target);
    ASSERT_NE(first, second);
    KillWhileWriting(target, first, second, [&](unsigned which) {
        const auto& bytes = which == 0 ? a : b;
        tz::WriteReplayFile(target.string(), which == 0 ? 111 : 222, bytes.data(),
                            static_cast<std::int32_t>(bytes.size()), which == 0 ? 0 : 2);
    });
    fs::remove_all(dir);
}

TEST(SafeSave, KilledSettingsWritesLeaveAWholeFile) {
    const fs::path dir = TempDir("korrindal_killed_ini_");
    const fs::path target = dir / "korrindal.ini";
    const std::string first = "[Options]\nFullScreen=1\nUseVram=1\n[Records]\nHighscore=12345\n";
    std::string second = "[Options]\nFullScreen=0\n";
    second += std::string(8000, ';') + "\n[Records]\nHighscore=99\n";
    ASSERT_TRUE(frontend::WriteFileAtomically(target.string(), first).empty());
    KillWhileWriting(target, first, second, [&](unsigned which) {
        frontend::WriteFileAtomically(target.string(), which == 0 ? first : second);
    });
    fs::remove_all(dir);
}

}  // namespace
