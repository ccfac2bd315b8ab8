#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

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
