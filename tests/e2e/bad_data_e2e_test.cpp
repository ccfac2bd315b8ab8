// End to end: the game with each of its data files missing, cut short or with bytes
// changed. A file the game needs gives a clear error naming it and a non-zero exit; an
// optional one (sounds, music, the colour-mix cache) lets the game play on. Never a crash
// or a hang.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "e2e_support.h"

using namespace e2e;

namespace {

// How far a run must go for the game to read a file.
struct Reach {
    int startFrom;
    int ticks;
    bool pilot = false;   // the autopilot plays (the final boss must be hurt), not an idle ship
};

Reach ReachOf(const std::string& name) {
    if (name == "TZ_Stage2.sp4" || name == "TZ_Stage2.bmp" || name == "Map2.map" || name == "BGM2.mid") return {2, 300};
    if (name == "TZ_Stage3.sp4" || name == "TZ_Stage3.bmp" || name == "Map3.map" || name == "BGM3.mid") return {3, 300};
    if (name == "TZ_Ending.sp4" || name == "TZ_Ending.bmp" || name == "Ending.mid") return {5, 200};
    // The final boss comes in a few ticks after its start point: its first form's bank with
    // it; the damaged form's bank and the boss music once the autopilot has worn it down
    // (about 1700 ticks).
    if (name == "TZ_BossA.sp4" || name == "TZ_BossA.bmp") return {4, 300};
    if (name == "TZ_BossB.sp4" || name == "TZ_BossB.bmp" || name == "Boss.mid") return {4, 3000, true};
    return {0, 300};
}

bool Optional(const fs::path& p) {
    const std::string ext = p.extension().string();
    return ext == ".wav" || ext == ".mid" || ext == ".Add";
}

// The files the game reads.
std::vector<fs::path> DataFiles() {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(BinDir)) {
        const fs::path& p = entry.path();
        const std::string ext = p.extension().string();
        if (ext == ".sp4" || ext == ".bmp" || ext == ".map" || ext == ".wav" || ext == ".mid" || ext == ".Add")
            files.push_back(p);
    }
    return files;
}

struct Outcome {
    int code = -1;
    std::string errors;
};

// Runs the program copied into dir, so a file missing there is not found beside the
// original program either.
Outcome RunCopy(const fs::path& dir, const Reach& reach) {
    const fs::path err = dir / "stderr.txt";
    const std::string command = "timeout 60 " + (dir / "korrindal").string() + " --headless --start " +
                                (reach.pilot ? "--autopilot 3" : "--input /dev/null") + " --no-draw --start-from " +
                                std::to_string(reach.startFrom) + " --ticks " + std::to_string(reach.ticks) +
                                " >/dev/null 2>" + err.string();
    Outcome o;
    const int status = std::system(command.c_str());
    o.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    o.errors = ReadText(err);
    return o;
}

class BadData : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("korrindal_baddata_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        fs::copy_file(BinDir / "korrindal", dir / "korrindal");
        files = DataFiles();
        for (const fs::path& p : files) fs::create_symlink(p, dir / p.filename());
    }
    void TearDown() override { fs::remove_all(dir); }

    // What every damaged run must satisfy; mustFail: the file cannot be done without.
    Outcome Check(const fs::path& file, const std::string& what, bool mustFail) {
        const Outcome o = RunCopy(dir, ReachOf(file.filename().string()));
        const std::string label = file.filename().string() + " " + what;
        EXPECT_NE(o.code, 124) << label << ": the game hung";
        EXPECT_TRUE(o.code == 0 || o.code == 1) << label << ": exit " << o.code << "\n" << o.errors;
        EXPECT_EQ(o.errors.find("Sanitizer"), std::string::npos) << label << "\n" << o.errors;
        if (o.code != 0) {
            EXPECT_NE(o.errors.find(file.filename().string()), std::string::npos) << label << "\n" << o.errors;
        }
        if (mustFail) {
            EXPECT_EQ(o.code, 1) << label << ": the game went on without it";
        }
        if (Optional(file)) {
            EXPECT_EQ(o.code, 0) << label << ": an optional file stopped the game\n" << o.errors;
        }
        return o;
    }

    void Replace(const fs::path& file, const std::vector<char>& bytes) {
        const fs::path target = dir / file.filename();
        fs::remove(target);
        std::ofstream out(target, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    void Restore(const fs::path& file) {
        const fs::path target = dir / file.filename();
        fs::remove(target);
        fs::create_symlink(file, target);
    }

    fs::path dir;
    std::vector<fs::path> files;
};

TEST_F(BadData, MissingFiles) {
    ASSERT_GE(files.size(), 10u);
    // The final boss's banks are read too (the runs reach it from the last start point).
    for (const char* bank : {"TZ_BossA.sp4", "TZ_BossA.bmp", "TZ_BossB.sp4", "TZ_BossB.bmp", "Boss.mid"}) {
        EXPECT_NE(std::find(files.begin(), files.end(), BinDir / bank), files.end()) << bank;
    }
    for (const fs::path& f : files) {
        fs::remove(dir / f.filename());
        const Outcome o = Check(f, "missing", !Optional(f));
        // A piece of music is looked for when its turn comes, and its absence reported by
        // name: the run went far enough for the game to want it.
        if (f.extension() == ".mid") {
            EXPECT_NE(o.errors.find(f.stem().string()), std::string::npos) << f.filename() << " missing\n" << o.errors;
        }
        Restore(f);
    }
}

TEST_F(BadData, TruncatedFiles) {
    for (const fs::path& f : files) {
        std::ifstream in(f, std::ios::binary);
        const std::vector<char> whole{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        ASSERT_FALSE(whole.empty()) << f;
        for (const std::size_t keep : {std::size_t{0}, std::size_t{5}, whole.size() / 2, whole.size() - 1}) {
            Replace(f, std::vector<char>(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(keep)));
            // A picture or map cut short cannot be used; a cache of the wrong size is remade.
            Check(f, "cut to " + std::to_string(keep) + " bytes", !Optional(f));
        }
        Restore(f);
    }
}

TEST_F(BadData, ChangedBytes) {
    std::uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 134775813u + 1u;
        return seed >> 8;
    };
    for (const fs::path& f : files) {
        std::ifstream in(f, std::ios::binary);
        std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        for (int round = 0; round < 3; ++round) {
            std::vector<char> changed = bytes;
            // Mostly in the headers, where sizes and counts live; some anywhere.
            for (int k = 0; k < 8; ++k) {
                const std::size_t limit = k < 6 ? std::min<std::size_t>(changed.size(), 128) : changed.size();
                changed[next() % limit] = static_cast<char>(next());
            }
            Replace(f, changed);
            Check(f, "with bytes changed (round " + std::to_string(round) + ")", false);
        }
        Restore(f);
    }
}

}  // namespace
