// The INI file the settings are kept in: what is read, what a write changes, and how the
// file is replaced.
#include <gtest/gtest.h>

#include <cstdint>

#include "frontend/ini_file.h"
#include "frontend_fixture.h"

using frontend::ParseIniInteger;
using frontend::TIniFile;
using namespace fetest;

namespace {

TIniFile FromText(const std::string& text) {
    TIniFile ini("unused.ini");
    ini.SetText(text);
    return ini;
}

}  // namespace

TEST(IniFile, ReadsNamesWithoutRegardToCaseAndTrimsValues) {
    const TIniFile ini = FromText(
        "; the player's settings\r\n"
        "[Options]\r\n"
        "  FullScreen = 0 \r\n"
        "EnableBGM=1\r\n"
        "Name=\"  quoted  \"\r\n"
        "EnableBGM=0\r\n"
        "[records]\r\n"
        "HighScore=12345\r\n"
        "not a key line\r\n");
    EXPECT_EQ(ini.ReadInteger("options", "fullscreen", 7), 0);
    EXPECT_EQ(ini.ReadString("Options", "Name", ""), "  quoted  ");
    EXPECT_TRUE(ini.ReadBool("Options", "EnableBGM", false));   // the first of two
    EXPECT_EQ(ini.ReadInteger("Records", "Highscore", 0), 12345);
    EXPECT_FALSE(ini.ReadValue("Records", "FullScreen"));          // another section's key
    EXPECT_FALSE(ini.ReadValue("Missing", "FullScreen"));
    EXPECT_EQ(ini.ReadInteger("Options", "StartFrom", 3), 3);
}

TEST(IniFile, IntegersAreDecimalOrHexAndAnythingElseGivesTheDefault) {
    struct Case {
        const char* text;
        bool ok;
        std::int32_t value;
    };
    for (const Case& c : {Case{"0", true, 0}, Case{" 42 ", true, 42}, Case{"-7", true, -7}, Case{"+5", true, 5},
                          Case{"$1F", true, 31}, Case{"0x10", true, 16}, Case{"2147483647", true, 2147483647},
                          Case{"-2147483648", true, INT32_MIN}, Case{"2147483648", false, 0}, Case{"12abc", false, 0},
                          Case{"", false, 0}, Case{"yes", false, 0}, Case{"--1", false, 0}, Case{"1.5", false, 0}}) {
        std::int32_t v = 99;
        EXPECT_EQ(ParseIniInteger(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
    const TIniFile ini = FromText("[O]\nA=2\nB=true\nC=0\n");
    EXPECT_TRUE(ini.ReadBool("O", "A", false));   // any integer but 0
    EXPECT_TRUE(ini.ReadBool("O", "B", true));    // not an integer: the default
    EXPECT_FALSE(ini.ReadBool("O", "B", false));
    EXPECT_FALSE(ini.ReadBool("O", "C", true));
}

TEST(IniFile, WritesChangeTheKeyInPlaceAndKeepEverythingElse) {
    TIniFile ini = FromText(
        "; kept\n"
        "[Options]\n"
        "FULLSCREEN=1\n"
        "Other=x\n"
        "\n"
        "[Tools]\n"
        "Path=/usr/bin\n");
    ini.WriteBool("Options", "FullScreen", false);
    ini.WriteInteger("Options", "StartFrom", 3);      // new key: after the section's last line
    ini.WriteInteger("Records", "Highscore", -12);   // new section: at the end
    EXPECT_EQ(ini.Text(),
              "; kept\n"
              "[Options]\n"
              "FullScreen=0\n"
              "Other=x\n"
              "StartFrom=3\n"
              "\n"
              "[Tools]\n"
              "Path=/usr/bin\n"
              "\n"
              "[Records]\n"
              "Highscore=-12\n");
    TIniFile empty = FromText("");
    empty.WriteBool("Options", "UseVram", true);
    EXPECT_EQ(empty.Text(), "[Options]\nUseVram=1\n");
}

TEST(IniFile, RewrittenTextReadsBackTheSameLines) {
    // Written with line feeds only; a line with stray carriage returns before its end keeps
    // its text from the first rewrite on.
    const TIniFile ini = FromText("[Records]\r\nHighscore=12\r\r\n; note\r\r\r\nmid\rline\r\n[Keys]\rFire=Z\n");
    EXPECT_EQ(ini.Text(), "[Records]\nHighscore=12\n; note\nmid\rline\n[Keys]\rFire=Z\n");
    EXPECT_EQ(FromText(ini.Text()).Text(), ini.Text());
    EXPECT_EQ(ini.ReadInteger("Records", "Highscore", 0), 12);
}

class IniFileOnDisk : public FrontendTest {};

TEST_F(IniFileOnDisk, MissingFileReadsEmptyAndTheFileIsReplacedWhole) {
    const fs::path path = dir / "k.ini";
    TIniFile ini(path.string());
    std::string error;
    ASSERT_TRUE(ini.Load(error)) << error;
    EXPECT_EQ(ini.Text(), "");
    ini.WriteInteger("Records", "Highscore", 5);
    ASSERT_TRUE(ini.UpdateFile(error)) << error;
    EXPECT_EQ(ReadText(path), "[Records]\nHighscore=5\n");
    EXPECT_FALSE(fs::exists(dir / "k.ini.tmp"));

    // A replaced file keeps its permission bits.
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ini.WriteInteger("Records", "Highscore", 6);
    ASSERT_TRUE(ini.UpdateFile(error)) << error;
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    // The temporary file cannot be made (a folder stands in its place): the old file stays
    // whole and the error names the file.
    fs::create_directory(dir / "k.ini.tmp");
    ini.WriteInteger("Records", "Highscore", 7);
    EXPECT_FALSE(ini.UpdateFile(error));
    EXPECT_NE(error.find("k.ini"), std::string::npos) << error;
    EXPECT_EQ(ReadText(path), "[Records]\nHighscore=6\n");

    // A folder that cannot hold files (a plain file where the folder should be).
    WriteText(dir / "plain", "x");
    TIniFile nowhere((dir / "plain" / "k.ini").string());
    ASSERT_TRUE(nowhere.Load(error));   // nothing there to read: empty
    nowhere.WriteInteger("Records", "Highscore", 1);
    EXPECT_FALSE(nowhere.UpdateFile(error));
    EXPECT_FALSE(error.empty());

    // A folder in the file's place cannot be read.
    fs::create_directory(dir / "d.ini");
    TIniFile folder((dir / "d.ini").string());
    EXPECT_FALSE(folder.Load(error));
}
