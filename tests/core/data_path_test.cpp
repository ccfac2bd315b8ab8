#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include <unistd.h>

#include "core/data_path.h"

using namespace tz;
namespace fs = std::filesystem;

namespace {

struct TempHome : ::testing::Test {
    fs::path home;
    fs::path other;
    void SetUp() override {
        const auto base = fs::temp_directory_path() / ("tzpath-" + std::to_string(::getpid()));
        home = base / "home";
        other = base / "other";
        fs::create_directories(home);
        fs::create_directories(other);
        SetProgramDir(home.string());
    }
    void TearDown() override {
        SetProgramDir("");
        fs::remove_all(home.parent_path());
    }
    static void touch(const fs::path& p) { std::ofstream(p) << "x"; }
};

}  // namespace

TEST_F(TempHome, ProgramDirHasTrailingSlash) {
    EXPECT_EQ(ProgramDir(), home.string() + "/");
    SetProgramDir("");
    EXPECT_FALSE(ProgramDir().empty());
    EXPECT_EQ(ProgramDir().back(), '/');
}

TEST_F(TempHome, ExtensionWithOrWithoutDot) {
    touch(home / "Bomb.wav");
    const std::string expected = home.string() + "/Bomb.wav";
    EXPECT_EQ(DataPath("Bomb", "wav"), expected);
    EXPECT_EQ(DataPath("Bomb", ".wav"), expected);
    EXPECT_EQ(DataPath("Bomb.xyz", ".wav"), expected);
}

TEST_F(TempHome, ProgramFolderWinsOverStoredFolder) {
    touch(home / "TZ_Stage1.sp4");
    touch(other / "TZ_Stage1.sp4");
    EXPECT_EQ(DataPath((other / "TZ_Stage1.sp4").string(), ".sp4"), home.string() + "/TZ_Stage1.sp4");
    EXPECT_EQ(DataPath("C:\\dev\\tz\\TZ_Stage1.sp4", ".sp4"), home.string() + "/TZ_Stage1.sp4");
}

TEST_F(TempHome, StoredFolderIsTheFallback) {
    touch(other / "Only.bmp");
    EXPECT_EQ(DataPath((other / "Only").string(), "bmp"), (other / "Only.bmp").string());
}

TEST_F(TempHome, MissingFileGivesEmptyName) {
    EXPECT_EQ(DataPath("Nothing", ".wav"), "");
    fs::create_directories(home / "Folder.wav");  // a folder is not a data file
    EXPECT_EQ(DataPath("Folder", ".wav"), "");
}

TEST_F(TempHome, ExecutableFolderSuppliesWhatHomeLacks) {
    // The file lives only beside the test program; the home folder still wins when it has one.
    const std::string name = "tzpath_fallback_" + std::to_string(::getpid());
    const fs::path beside = fs::path(ExecutableDir()) / (name + ".sp4");
    touch(beside);
    EXPECT_EQ(DataPath(name, ".sp4"), beside.string());
    EXPECT_EQ(DataPath((other / name).string(), ".sp4"), beside.string());
    touch(home / (name + ".sp4"));
    EXPECT_EQ(DataPath(name, ".sp4"), home.string() + "/" + name + ".sp4");
    fs::remove(home / (name + ".sp4"));
    fs::remove(beside);
    EXPECT_EQ(DataPath(name, ".sp4"), "");
}

TEST_F(TempHome, LetterCaseOfStoredNamesIsForgiven) {
    touch(home / "Tz_TitleSpprite.sp4");
    EXPECT_EQ(DataPath("TZ_TITLESPPRITE", "sp4"), home.string() + "/Tz_TitleSpprite.sp4");
}

TEST(FileNames, ExtensionAndNameParts) {
    EXPECT_EQ(ChangeFileExt("a/b.c/name", ".x"), "a/b.c/name.x");
    EXPECT_EQ(ChangeFileExt("a\\name.old", ".x"), "a\\name.x");
    EXPECT_EQ(ExtractFileName("C:\\dir\\file.sp4"), "file.sp4");
    EXPECT_EQ(ExtractFileName("plain"), "plain");
}

// ---- Where the game writes: the program's folder, or the user's XDG folders -----------------

#include <cstdio>
#include <cstdlib>

#include "ordinary_user.h"

namespace {

// Sets an environment variable for the scope, restoring the old value.
struct ScopedEnv {
    std::string name;
    std::optional<std::string> old;
    ScopedEnv(std::string n, const char* value) : name(std::move(n)) {
        if (const char* v = std::getenv(name.c_str())) old = v;
        if (value) ::setenv(name.c_str(), value, 1);
        else ::unsetenv(name.c_str());
    }
    ~ScopedEnv() {
        if (old) ::setenv(name.c_str(), old->c_str(), 1);
        else ::unsetenv(name.c_str());
    }
};

bool Report(bool ok, const std::string& what) {
    if (!ok) std::fprintf(stderr, "failed: %s\n", what.c_str());
    return ok;
}

}  // namespace

TEST_F(TempHome, WritableProgramFolderTakesEveryFile) {
    ScopedEnv data("XDG_DATA_HOME", (other / "data").c_str());
    EXPECT_TRUE(ProgramDirWritable());
    EXPECT_EQ(SaveDir(), ProgramDir());
    EXPECT_EQ(ConfigDir(), ProgramDir());
    // What the user's folder holds is not read while the program's folder takes the files.
    fs::create_directories(other / "data" / "korrindal");
    touch(other / "data" / "korrindal" / "OnlyInTheUserFolder.Add");
    EXPECT_EQ(DataPath("OnlyInTheUserFolder", ".Add"), "");
}

TEST_F(TempHome, ReadOnlyProgramFolderSendsFilesToTheUsersFolders) {
    const fs::path data = other / "data", config = other / "config";
    touch(home / "Title.Add");
    touch(home / "Map1.map");
    fs::create_directories(data / "korrindal");
    touch(data / "korrindal" / "Title.Add");
    fs::permissions(home, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                              fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(other, fs::perms::all);
    fs::permissions(data, fs::perms::all);
    fs::permissions(data / "korrindal", fs::perms::all);
    fs::permissions(home.parent_path(), fs::perms::all);
    ScopedEnv d("XDG_DATA_HOME", data.c_str());
    ScopedEnv c("XDG_CONFIG_HOME", config.c_str());
    const bool ok = testsupport::AsOrdinaryUser([&] {
        bool good = Report(!ProgramDirWritable(), "the read-only folder counts as writable");
        good &= Report(SaveDir() == data.string() + "/korrindal/", "SaveDir is " + SaveDir());
        good &= Report(ConfigDir() == config.string() + "/korrindal/", "ConfigDir is " + ConfigDir());
        // The user's folder is read first; the rest still comes from the program's folder.
        good &= Report(DataPath("Title", ".Add") == (data / "korrindal" / "Title.Add").string(),
                       "the cache is read from " + DataPath("Title", ".Add"));
        good &= Report(DataPath("Map1", ".map") == (home / "Map1.map").string(), "the map is read from " + DataPath("Map1", ".map"));
        std::string error;
        good &= Report(MakeFolder(ConfigDir(), error) && fs::is_directory(config / "korrindal"), "no config folder: " + error);
        good &= Report(!MakeFolder((home / "sub").string(), error) && !error.empty(), "a folder was made in the read-only one");
        return good;
    });
    fs::permissions(home, fs::perms::all);
    EXPECT_TRUE(ok) << "see the child's lines above";
}

TEST(UserFolders, FollowTheXdgRules) {
    ScopedEnv home("HOME", "/home/player");
    {
        ScopedEnv d("XDG_DATA_HOME", nullptr);
        ScopedEnv c("XDG_CONFIG_HOME", nullptr);
        EXPECT_EQ(UserDataDir(), "/home/player/.local/share/korrindal/");
        EXPECT_EQ(UserConfigDir(), "/home/player/.config/korrindal/");
    }
    {
        ScopedEnv d("XDG_DATA_HOME", "/srv/data/");
        ScopedEnv c("XDG_CONFIG_HOME", "relative/config");   // not absolute: ignored
        EXPECT_EQ(UserDataDir(), "/srv/data/korrindal/");
        EXPECT_EQ(UserConfigDir(), "/home/player/.config/korrindal/");
    }
    EXPECT_EQ(InstalledDataDir(), ExecutableDir() + "../share/korrindal/");
}
