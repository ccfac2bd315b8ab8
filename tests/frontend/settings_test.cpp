// The settings: TEasyRestore's reading and writing, and the dialog's settings handler with
// every key, section and default.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <thread>

#include "frontend/easy_restore.h"
#include "frontend_fixture.h"

using frontend::TEasyRestore;
using frontend::TForm2;
using frontend::TOutputResult;
using namespace fetest;

namespace {

class SettingsTest : public FrontendTest {
protected:
    // The dialog's settings read, as FormShow reads them.
    void ReadSettings() {
        TForm2 dialog(platform, *game);
        dialog.Setting.Input();
    }
    TOutputResult WriteSettings() {
        TForm2 dialog(platform, *game);
        return dialog.WriteSettings();
    }
    void ScrambleOptions() {
        tz::FullScreen = false;
        tz::UseVram = false;
        tz::ReverseSound = true;
        tz::EnableBGM = false;
        tz::EnableSE = false;
        tz::SmoothMotion = false;
        tz::StartFrom = 4;
        tz::HiScore = 777;
    }
    void ExpectDefaults() {
        EXPECT_TRUE(tz::FullScreen);
        EXPECT_TRUE(tz::UseVram);
        EXPECT_FALSE(tz::ReverseSound);
        EXPECT_TRUE(tz::EnableBGM);
        EXPECT_TRUE(tz::EnableSE);
        EXPECT_TRUE(tz::SmoothMotion);
        EXPECT_EQ(tz::StartFrom, 0);
    }
};

}  // namespace

TEST_F(SettingsTest, TheFileIsBesideTheProgramUnderItsNameUpToTheFirstDot) {
    TEasyRestore setting;
    const std::string name = tz::ExecutableName();
    EXPECT_EQ(setting.IniPath(), dir.string() + "/" + name.substr(0, name.find('.')) + ".ini");
    TEasyRestore named;
    named.IniFileName = "/somewhere/else.ini";
    EXPECT_EQ(named.IniPath(), "/somewhere/else.ini");
}

TEST_F(SettingsTest, DefaultsWithoutAFileAndWithoutAnOptionsSection) {
    ScrambleOptions();
    ReadSettings();
    ExpectDefaults();
    EXPECT_EQ(tz::HiScore, 0);

    WriteText(IniPath(), "[Records]\nHighscore=4500\n[Other]\nFullScreen=0\n");
    ScrambleOptions();
    ReadSettings();
    ExpectDefaults();
    EXPECT_EQ(tz::HiScore, 4500);

    // Without "Records", the best score is 0; values that are not numbers keep the default.
    WriteText(IniPath(), "[Options]\nFullScreen=no\nReverseSound=x\nStartFrom=3\n");
    ScrambleOptions();
    ReadSettings();
    EXPECT_TRUE(tz::FullScreen);
    EXPECT_FALSE(tz::ReverseSound);
    EXPECT_EQ(tz::StartFrom, 3);   // read (the dialog's showing then clears it)
    EXPECT_EQ(tz::HiScore, 0);
}

TEST_F(SettingsTest, ValuesAreWrittenAsOneZeroAndDecimalText) {
    WriteText(IniPath(), "; written by hand\n[Options]\nUseVram=1\nJoystick=2\n");
    tz::FullScreen = false;
    tz::UseVram = false;
    tz::ReverseSound = true;
    tz::EnableBGM = true;
    tz::EnableSE = false;
    tz::SmoothMotion = false;
    tz::StartFrom = 2;
    tz::HiScore = 1234560;
    EXPECT_EQ(WriteSettings().Kind, TOutputResult::TKind::Written);
    EXPECT_EQ(ReadText(IniPath()),
              "; written by hand\n"
              "[Options]\n"
              "UseVram=0\n"
              "Joystick=2\n"
              "FullScreen=0\n"
              "ReverseSound=1\n"
              "EnableBGM=1\n"
              "EnableSE=0\n"
              "SmoothMotion=0\n"
              "StartFrom=2\n"
              "Language=auto\n"
              "\n"
              "[Records]\n"
              "Highscore=1234560\n"
              "\n"
              "[Keys]\n"
              "Up=Up, W\n"
              "Down=Down, S\n"
              "Left=Left, A\n"
              "Right=Right, D\n"
              "Fire=Z, Space\n"
              "Bomb=X\n"
              "Button3=None\n"
              "Button4=None\n"
              "Pause=P\n"
              "FastForward=Tab\n"
              "Screenshot=F12\n"
              "\n"
              "[Gamepad]\n"
              "DeadZone=25\n"
              "Up=Up\nDown=Down\nLeft=Left\nRight=Right\nFire=A\nBomb=B\nButton3=X\nButton4=Y\nPause=Start\n"
              "FastForward=RB\nScreenshot=None\n");
    ScrambleOptions();
    ReadSettings();
    EXPECT_FALSE(tz::FullScreen);
    EXPECT_TRUE(tz::ReverseSound);
    EXPECT_EQ(tz::StartFrom, 2);
    EXPECT_EQ(tz::HiScore, 1234560);
}

TEST_F(SettingsTest, AReadOnlyFileIsNeverWritten) {
    const std::string text = "[Options]\nFullScreen=1\n[Records]\nHighscore=10\n";
    WriteText(IniPath(), text);
    fs::permissions(IniPath(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    struct stat before {};
    ASSERT_EQ(::stat(IniPath().c_str(), &before), 0);
    ReadSettings();
    EXPECT_EQ(tz::HiScore, 10);
    tz::HiScore = 99999;   // a new best during the run
    tz::FullScreen = false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(WriteSettings().Kind, TOutputResult::TKind::ReadOnly);
    struct stat after {};
    ASSERT_EQ(::stat(IniPath().c_str(), &after), 0);
    EXPECT_EQ(ReadText(IniPath()), text);
    EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    EXPECT_EQ(after.st_ino, before.st_ino);   // not replaced either
    EXPECT_FALSE(fs::exists(IniPath().string() + ".tmp"));
    // The values read at the start stay in effect for the next run.
    ReadSettings();
    EXPECT_EQ(tz::HiScore, 10);
    EXPECT_TRUE(tz::FullScreen);
}

TEST_F(SettingsTest, AFileThatCannotBeWrittenOrReadIsLeftAsItIsWithAWarning) {
    // A folder the file cannot be made in: at termination the settings stay unsaved, with a
    // warning box, and the dialog closes as usual.
    TForm2 dialog(platform, *game);
    game->WriteSettings = [&] { dialog.WriteSettings(); };
    game->CloseDialog = [&] { dialog.Close(); };
    WriteText(dir / "plain", "x");
    dialog.Setting.IniFileName = (dir / "plain" / "korrindal.ini").string();
    dialog.FormShow();
    dialog.btnStartClick();
    tz::HiScore = 50;
    game->Sprite.Close();
    EXPECT_TRUE(dialog.Closed());
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].kind, plat::BoxKind::Notice);
    EXPECT_NE(platform.boxes[0].text.find("korrindal.ini"), std::string::npos) << platform.boxes[0].text;
    game->WriteSettings = nullptr;
    game->CloseDialog = nullptr;

    // A file that cannot be read gives the defaults and is not overwritten.
    TForm2 second(platform, *game);
    fs::create_directory(dir / "folder.ini");
    second.Setting.IniFileName = (dir / "folder.ini").string();
    ScrambleOptions();
    second.Setting.Input();
    ExpectDefaults();
    EXPECT_FALSE(second.Setting.LastReadError().empty());
    EXPECT_EQ(second.WriteSettings().Kind, TOutputResult::TKind::Failed);
    EXPECT_TRUE(fs::is_directory(dir / "folder.ini"));
}

TEST_F(SettingsTest, TheBestScoreIsWrittenAtTerminationAndReadByTheNextRun) {
    {
        TForm2 dialog(platform, *game);
        game->WriteSettings = [&] { dialog.WriteSettings(); };
        game->CloseDialog = [&] { dialog.Close(); };
        dialog.FormShow();
        EXPECT_EQ(tz::HiScore, 0);
        dialog.btnStartClick();
        ASSERT_TRUE(dialog.Started());
        tz::HiScore = 31415;   // the game's best
        EXPECT_FALSE(fs::exists(IniPath()));   // nothing is written before the end
        game->Sprite.Close();  // the game window closes: its engine terminates
        EXPECT_TRUE(dialog.Closed());
    }
    EXPECT_NE(ReadText(IniPath()).find("Highscore=31415\n"), std::string::npos) << ReadText(IniPath());

    tz::HiScore = 0;
    game = std::make_unique<tz::TForm1>(platform);
    TForm2 next(platform, *game);
    next.FormShow();
    EXPECT_EQ(tz::HiScore, 31415);
}

TEST_F(SettingsTest, AltEnterInTheGameKeepsTheFullScreenChoice) {
    TForm2 dialog(platform, *game);
    game->WriteSettings = [&] { dialog.WriteSettings(); };
    dialog.FormShow();
    dialog.cbFullScreen.Checked = false;
    dialog.btnStartClick();
    ASSERT_FALSE(tz::FullScreen);
    plat::WindowEvent altEnter;
    altEnter.type = plat::WindowEventType::KeyDown;
    altEnter.key = plat::Key::Return;
    altEnter.alt = true;
    game->Sprite.HandleWindowEvent(altEnter);
    EXPECT_TRUE(game->Sprite.FullScreenMode());
    EXPECT_TRUE(tz::FullScreen);
    game->Sprite.Close();
    EXPECT_NE(ReadText(IniPath()).find("FullScreen=1\n"), std::string::npos) << ReadText(IniPath());
}
