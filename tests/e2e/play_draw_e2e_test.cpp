// End to end: a game played headless from an input file gives the same state hash after every
// tick whether its frames are drawn or not.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path BinDir = KORRINDAL_BIN_DIR;

std::vector<std::string> Lines(const fs::path& path) {
    std::ifstream in(path);
    std::vector<std::string> out;
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

int RunHeadless(const fs::path& home, const std::string& args) {
    const std::string command = (BinDir / "korrindal").string() + " --headless --home " + home.string() + " " + args +
                                " >" + (home / "out.txt").string() + " 2>" + (home / "err.txt").string();
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(EndToEnd, PlayStateDoesNotDependOnDrawing) {
    const fs::path home = fs::temp_directory_path() / ("korrindal_e2e_playdraw_" + std::to_string(::getpid()));
    fs::remove_all(home);
    fs::create_directories(home);
    for (const auto& entry : fs::directory_iterator(BinDir)) {
        const auto ext = entry.path().extension().string();
        if (ext == ".sp4" || ext == ".bmp" || ext == ".map" || ext == ".wav" || ext == ".mid" || ext == ".Add")
            fs::create_symlink(entry.path(), home / entry.path().filename());
    }
    // Weave and fire, with a bomb now and then (its quake draws lightning from the drawing's
    // own generator).
    {
        std::ofstream out(home / "input.bin", std::ios::binary);
        for (int t = 0; t < 4000; ++t) {
            std::uint8_t keys = (t / 60) % 2 ? 8 : 2;
            if ((t / 25) % 4 != 3) keys |= 16;
            if (t % 700 == 350) keys |= 32;
            out.put(static_cast<char>(keys));
        }
    }
    const std::string common = " --start-from 2 --input " + (home / "input.bin").string() + " --ticks 3000 --hash-trace ";
    ASSERT_EQ(RunHeadless(home, common + (home / "drawn.txt").string()), 0);
    ASSERT_EQ(RunHeadless(home, "--no-draw" + common + (home / "quiet.txt").string()), 0);
    const auto drawn = Lines(home / "drawn.txt");
    const auto quiet = Lines(home / "quiet.txt");
    ASSERT_EQ(drawn.size(), 3000u);
    ASSERT_EQ(quiet.size(), drawn.size());
    for (std::size_t i = 0; i < drawn.size(); ++i) ASSERT_EQ(drawn[i], quiet[i]) << "first difference at step " << i + 1;
    fs::remove_all(home);
}

}  // namespace
