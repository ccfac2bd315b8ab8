// The player's controls in the settings file ("Keys" and "Gamepad"), where the file lives when
// the program's folder is read-only, and the dialog's list of the controls.
#include <gtest/gtest.h>

#include <cstdlib>

#include "../core/ordinary_user.h"
#include "frontend/control_settings.h"
#include "frontend/easy_restore.h"
#include "frontend_fixture.h"
#include "game/tz_gamepad.h"
#include "game/tz_keys.h"

using frontend::TForm2;
using namespace fetest;
using plat::Key;
using tz::TAction;

namespace {

class ControlSettingsTest : public FrontendTest {
protected:
    void TearDown() override {
        tz::KeyBindings = tz::DefaultKeyBindings();
        tz::PadDeadZone = tz::DefaultPadDeadZone;
        FrontendTest::TearDown();
    }
};

}  // namespace

TEST_F(ControlSettingsTest, KeysAreReboundAndWrittenBackAsTheyWereRead) {
    WriteText(IniPath(), "; my keys\n[Keys]\nFire = J, Spcae\nbomb=k\nJump=Q\nJump=E\nPause=None\n[Gamepad]\nDeadZone=40\n");
    {
        TForm2 dialog(platform, *game);
        dialog.FormShow();
        EXPECT_EQ(tz::KeyBindings[TAction::Fire], (tz::TKeyList{Key::J, Key::Count, Key::Count, Key::Count}));
        EXPECT_EQ(tz::KeyBindings[TAction::Bomb][0], Key::K);
        EXPECT_EQ(tz::KeyBindings[TAction::Pause][0], Key::Count);
        EXPECT_EQ(tz::KeyBindings[TAction::Up], tz::DefaultKeyBindings()[TAction::Up]);   // not in the file
        EXPECT_EQ(tz::PadDeadZone, 40);
        // The unknown key name and the unknown entry, once each, in one box.
        ASSERT_EQ(dialog.SettingWarnings().size(), 2u);
        EXPECT_NE(dialog.SettingWarnings()[0].find("Spcae"), std::string::npos);
        EXPECT_NE(dialog.SettingWarnings()[1].find("Jump"), std::string::npos);
        ASSERT_EQ(platform.boxes.size(), 1u);
        EXPECT_NE(platform.boxes[0].text.find("Spcae"), std::string::npos);
        // The dialog lists the keys in use.
        EXPECT_NE(dialog.lblKeyboard.Caption.find("ショット  J"), std::string::npos) << dialog.lblKeyboard.Caption;
        EXPECT_NE(dialog.lblKeyboard.Caption.find("ポーズ  なし"), std::string::npos) << dialog.lblKeyboard.Caption;
        dialog.WriteSettings();
    }
    const std::string text = ReadText(IniPath());
    EXPECT_NE(text.find("; my keys\n"), std::string::npos);
    EXPECT_NE(text.find("Fire=J, Spcae\n"), std::string::npos) << "the player's text is kept: " << text;
    EXPECT_NE(text.find("Up=Up, W\n"), std::string::npos) << "missing entries are written with their defaults: " << text;
    EXPECT_NE(text.find("DeadZone=40\n"), std::string::npos);
}

TEST_F(ControlSettingsTest, DeadZoneIsKeptInsideItsRange) {
    tz::TKeyBindings bindings = tz::DefaultKeyBindings();
    for (auto [given, used] : {std::pair{-5, 0}, std::pair{95, 90}, std::pair{0, 0}, std::pair{90, 90}}) {
        std::int32_t dz = given;
        const auto warnings = frontend::ApplyControlSettings(frontend::DefaultKeyTexts(), {}, dz, bindings);
        EXPECT_EQ(dz, used) << given;
        EXPECT_EQ(warnings.size(), given == used ? 0u : 1u) << given;
    }
}

TEST_F(ControlSettingsTest, DefaultsWithoutAFileAndTheirDescription) {
    TForm2 dialog(platform, *game);
    dialog.FormShow();
    EXPECT_TRUE(platform.boxes.empty());
    for (std::size_t a = 0; a < tz::ActionCount; ++a)
        EXPECT_EQ(tz::KeyBindings.Keys[a], tz::DefaultKeyBindings().Keys[a]) << a;
    const frontend::TControlsText ja = frontend::DescribeControls(tz::KeyBindings, true);
    EXPECT_NE(ja.Keyboard.find("移動  矢印キー / WASD"), std::string::npos) << ja.Keyboard;
    EXPECT_NE(ja.Keyboard.find("Z / Space"), std::string::npos);
    EXPECT_NE(ja.Gamepad.find("Start"), std::string::npos);
    const frontend::TControlsText en = frontend::DescribeControls(tz::KeyBindings, false);
    EXPECT_NE(en.Keyboard.find("Move  arrow keys / WASD"), std::string::npos) << en.Keyboard;
    EXPECT_NE(en.Keyboard.find("Replay fast-forward  Tab"), std::string::npos);
    EXPECT_NE(en.Keyboard.find("Screenshot  F12"), std::string::npos);
    // Other keys are listed by name.
    tz::TKeyBindings other = tz::DefaultKeyBindings();
    other[TAction::Up] = tz::ParseKeyList("Keypad8").Keys;
    EXPECT_NE(frontend::DescribeControls(other, false).Keyboard.find("Keypad8/Left/Down/Right / A/S/D"), std::string::npos)
        << frontend::DescribeControls(other, false).Keyboard;
}

TEST_F(ControlSettingsTest, ReadOnlyProgramFolderKeepsTheSettingsInTheUsersConfigFolder) {
    // Settings that came with the program are read while the user has none of their own; what
    // is written goes to the user's folder, and is read first from then on.
    WriteText(IniPath(), "[Options]\nEnableBGM=0\n[Records]\nHighscore=300\n");
    const fs::path config = dir / "config";
    fs::create_directories(config);
    fs::permissions(config, fs::perms::all);
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read | fs::perms::group_exec |
                             fs::perms::others_read | fs::perms::others_exec);
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    const std::string userIni = (config / "korrindal" / (tz::ExecutableName() + ".ini")).string();
    const bool ok = testsupport::AsOrdinaryUser([&] {
        frontend::TEasyRestore setting;
        bool bgm = true;
        std::int32_t best = 0;
        setting.OnIO = [&](frontend::TEasyRestore& s) {
            s.Section = "Options";
            s.IOBoolean("EnableBGM", bgm, true);
            s.Section = "Records";
            s.IOInteger("Highscore", best, 0);
        };
        if (setting.IniPath() != userIni) return false;
        setting.Input();
        if (bgm || best != 300) return false;
        best = 900;
        if (setting.Output().Kind != frontend::TOutputResult::TKind::Written) return false;
        frontend::TEasyRestore again;
        again.OnIO = setting.OnIO;
        best = 0;
        bgm = true;
        again.Input();
        return best == 900 && !bgm && ReadText(IniPath()).find("Highscore=300") != std::string::npos;
    });
    ::unsetenv("XDG_CONFIG_HOME");
    fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
    EXPECT_TRUE(ok);
    EXPECT_NE(ReadText(userIni).find("Highscore=900"), std::string::npos) << ReadText(userIni);
}
