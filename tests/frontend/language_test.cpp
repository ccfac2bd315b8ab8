// The language of the dialog, its message boxes and the settings warnings: the locale's
// (Japanese under ja*, English otherwise) unless the settings file's Language entry or the
// command line's choice says otherwise; and the controller buttons rebound under [Gamepad].
#include <gtest/gtest.h>

#include <cstdlib>

#include "core/ui_language.h"
#include "frontend/control_settings.h"
#include "frontend_fixture.h"
#include "game/tz_gamepad.h"
#include "game/tz_input.h"

using frontend::TForm2;
using namespace fetest;
using plat::PadButton;
using tz::TAction;
using tz::TLanguage;
using tz::TLanguageChoice;

namespace {

class LanguageTest : public FrontendTest {};

}  // namespace

TEST(LocaleLanguage, JapaneseOnlyForJapaneseLocales) {
    for (const char* ja : {"ja", "ja_JP", "ja_JP.UTF-8", "ja_JP.eucJP", "ja_JP@euro"})
        EXPECT_EQ(tz::LanguageOfLocale(ja), TLanguage::Japanese) << ja;
    for (const char* en : {"", "C", "C.UTF-8", "POSIX", "en_US.UTF-8", "jv_ID", "jam", "de_DE.UTF-8"})
        EXPECT_EQ(tz::LanguageOfLocale(en), TLanguage::English) << en;
    // LC_ALL first, then LC_MESSAGES, then LANG, as the C library takes them.
    ::setenv("LC_ALL", "", 1);
    ::setenv("LC_MESSAGES", "C.UTF-8", 1);
    ::setenv("LANG", "ja_JP.UTF-8", 1);
    EXPECT_EQ(tz::LocaleLanguage(), TLanguage::English);
    ::unsetenv("LC_MESSAGES");
    EXPECT_EQ(tz::LocaleLanguage(), TLanguage::Japanese);
    ::setenv("LC_ALL", "C", 1);
    EXPECT_EQ(tz::LocaleLanguage(), TLanguage::English);
    ::unsetenv("LC_ALL");
    ::unsetenv("LANG");
    EXPECT_EQ(tz::LocaleLanguage(), TLanguage::English);

    TLanguageChoice choice = TLanguageChoice::Auto;
    EXPECT_TRUE(tz::ParseLanguageChoice(" JA ", choice));
    EXPECT_EQ(choice, TLanguageChoice::Japanese);
    EXPECT_FALSE(tz::ParseLanguageChoice("japanese", choice));
    EXPECT_EQ(tz::ChooseLanguage(TLanguageChoice::English, TLanguageChoice::Japanese, TLanguage::Japanese), TLanguage::English);
    EXPECT_EQ(tz::ChooseLanguage(TLanguageChoice::Auto, TLanguageChoice::Japanese, TLanguage::English), TLanguage::Japanese);
    EXPECT_EQ(tz::ChooseLanguage(TLanguageChoice::Auto, TLanguageChoice::Auto, TLanguage::Japanese), TLanguage::Japanese);
}

TEST_F(LanguageTest, TheDialogAndItsBoxesFollowTheLocaleTheSettingsAndTheCommandLine) {
    struct Case {
        const char* locale;
        const char* ini;              // the [Options] Language line, "" for none
        TLanguageChoice commandLine;
        bool japanese;
    };
    const Case cases[] = {
        {"C.UTF-8", "", TLanguageChoice::Auto, false},
        {"ja_JP.UTF-8", "", TLanguageChoice::Auto, true},
        {"ja_JP.UTF-8", "Language=en\n", TLanguageChoice::Auto, false},
        {"C.UTF-8", "Language=ja\n", TLanguageChoice::Auto, true},
        {"ja_JP.UTF-8", "Language=auto\n", TLanguageChoice::English, false},
        {"C.UTF-8", "Language=en\n", TLanguageChoice::Japanese, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.locale) + " / " + c.ini);
        ::setenv("LC_ALL", c.locale, 1);
        WriteText(IniPath(), std::string("[Options]\n") + c.ini);
        WriteText(dir / "bad.KRREP", "short");
        platform.boxes.clear();
        ScriptedWindow* seen = nullptr;
        platform.windows = [&seen] {
            auto w = std::make_unique<ScriptedWindow>();
            seen = w.get();
            return w;
        };
        TForm2 dialog(platform, *game);
        dialog.CommandLineReplay = (dir / "bad.KRREP").string();
        dialog.CommandLineLanguage = c.commandLine;
        ASSERT_TRUE(dialog.Show());
        ASSERT_NE(seen, nullptr);
        const frontend::TDialogCaptions& captions = c.japanese ? frontend::JapaneseCaptions : frontend::EnglishCaptions;
        EXPECT_EQ(seen->openedCaption, captions.Form);
        EXPECT_EQ(dialog.btnStart.Caption, captions.btnStart);
        EXPECT_EQ(dialog.cbStartFrom.Items[5], captions.cbStartFrom[5]);
        EXPECT_NE(dialog.lblKeyboard.Caption.find(c.japanese ? "キーボード" : "Keyboard"), std::string::npos);
        ASSERT_EQ(platform.boxes.size(), 1u);
        EXPECT_EQ(platform.boxes[0].text.find(frontend::TextsFor(c.japanese ? TLanguage::Japanese : TLanguage::English)
                                                  .CommandLineReplayRefused),
                  0u)
            << platform.boxes[0].text;
        EXPECT_EQ(tz::UiLanguage(), c.japanese ? TLanguage::Japanese : TLanguage::English);
        dialog.Close();
    }
}

TEST_F(LanguageTest, AnUnknownLanguageIsReportedOnceInTheLocalesLanguageAndKept) {
    WriteText(IniPath(), "[Options]\nLanguage=Klingon\n");
    {
        TForm2 dialog(platform, *game);
        dialog.FormShow();
        EXPECT_EQ(dialog.Caption, frontend::JapaneseCaptions.Form);   // the fixture's locale is Japanese
        ASSERT_EQ(dialog.SettingWarnings().size(), 1u);
        EXPECT_NE(dialog.SettingWarnings()[0].find("「Klingon」"), std::string::npos) << dialog.SettingWarnings()[0];
        ASSERT_EQ(platform.boxes.size(), 1u);
        EXPECT_EQ(platform.boxes[0].text.find(frontend::JapaneseTexts.SettingsIgnoredBefore), 0u) << platform.boxes[0].text;
        dialog.WriteSettings();
    }
    EXPECT_NE(ReadText(IniPath()).find("Language=Klingon\n"), std::string::npos) << ReadText(IniPath());
}

TEST_F(LanguageTest, PadButtonsAreReboundUnderGamepadAndUnknownNamesReportedOnceAndKept) {
    WriteText(IniPath(), "[Gamepad]\nDeadZone=30\nFire = RB, Bogus\nbomb=lt\nPause=Back\nUp=LS\nShake=A\nShake=B\n");
    {
        TForm2 dialog(platform, *game);
        dialog.FormShow();
        EXPECT_EQ(tz::PadBindings[TAction::Fire], (tz::TPadList{PadButton::RightShoulder, PadButton::Count,
                                                                 PadButton::Count, PadButton::Count}));
        EXPECT_EQ(tz::PadBindings[TAction::Bomb][0], PadButton::LeftTrigger);
        EXPECT_EQ(tz::PadBindings[TAction::Pause][0], PadButton::Back);
        EXPECT_EQ(tz::PadBindings[TAction::Down], tz::DefaultPadBindings()[TAction::Down]);   // not in the file
        EXPECT_EQ(tz::PadDeadZone, 30);
        ASSERT_EQ(dialog.SettingWarnings().size(), 2u);
        EXPECT_NE(dialog.SettingWarnings()[0].find("「Bogus」"), std::string::npos) << dialog.SettingWarnings()[0];
        EXPECT_NE(dialog.SettingWarnings()[1].find("「Shake」"), std::string::npos) << dialog.SettingWarnings()[1];
        ASSERT_EQ(platform.boxes.size(), 1u);
        // The dialog lists the buttons in use.
        EXPECT_NE(dialog.lblGamepad.Caption.find("ショット  RB    ボム  LT"), std::string::npos) << dialog.lblGamepad.Caption;
        EXPECT_NE(dialog.lblGamepad.Caption.find("ポーズ  Back"), std::string::npos) << dialog.lblGamepad.Caption;
        EXPECT_NE(dialog.lblGamepad.Caption.find("移動  左スティック / LS/Left/Down/Right"), std::string::npos)
            << dialog.lblGamepad.Caption;
        dialog.WriteSettings();
    }
    // The game reads the buttons as bound: RB fires, A no longer does, the left stick's button
    // moves up.
    plat::PadState pad;
    pad.buttons = plat::padBit(PadButton::RightShoulder) | plat::padBit(PadButton::A) | plat::padBit(PadButton::LeftStick);
    EXPECT_EQ(tz::PadByte(pad, 25, tz::PadBindings), tz::KeyFire | tz::KeyUp);
    EXPECT_EQ(tz::PadByte(pad, 25), tz::KeyFire);   // the default bindings
    const std::string text = ReadText(IniPath());
    EXPECT_NE(text.find("Fire=RB, Bogus\n"), std::string::npos) << "the player's text is kept: " << text;
    EXPECT_NE(text.find("Shake=A\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Right=Right\n"), std::string::npos) << "missing entries are written with their defaults: " << text;
}
