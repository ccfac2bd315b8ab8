#include "frontend/tz_debugmenu.h"

#include <algorithm>

#include "core/data_path.h"
#include "core/ui_language.h"
#include "game/tz_gamepad.h"
#include "game/tz_globals.h"
#include "game/tz_main.h"
#include "game/tz_replay.h"
#include "platform/platform.h"

namespace frontend {
namespace {

constexpr const char* kTitle = "Korrindal";

}  // namespace

TForm2::TForm2(plat::Platform& Platform, tz::TForm1& Game) : FPlatform(Platform), FGame(Game) {
    // The stored form: places and captions, the start-from list and the check boxes' states.
    Bevel1.Bounds = Layout::Bevel1;
    cbVRAM.Bounds = Layout::cbVRAM;
    cbVRAM.Checked = true;
    cbReverseSound.Bounds = Layout::cbReverseSound;
    cbBGM.Bounds = Layout::cbBGM;
    cbBGM.Checked = true;
    cbSE.Bounds = Layout::cbSE;
    cbSE.Checked = true;
    cbFullScreen.Bounds = Layout::cbFullScreen;
    cbFullScreen.Checked = true;
    cbSmoothMotion.Bounds = Layout::cbSmoothMotion;
    cbSmoothMotion.Checked = true;
    cbStartFrom.Bounds = Layout::cbStartFrom;
    Label1.Bounds = Layout::Label1;
    ReplayList.Bounds = Layout::ReplayList;
    btnStart.Bounds = Layout::btnStart;
    btnManual.Bounds = Layout::btnManual;
    Bevel2.Bounds = Layout::Bevel2;
    lblKeyboard.Bounds = Layout::lblKeyboard;
    lblGamepad.Bounds = Layout::lblGamepad;
    ApplyCaptions(JapaneseCaptions);
    // The settings are read when the dialog is shown, not when it is loaded.
    Setting.AutoInput = false;
    Setting.OnIO = [this](TEasyRestore& Sender) { SettingIO(Sender); };
    Setting.Loaded();
}

TForm2::~TForm2() = default;

void TForm2::ApplyCaptions(const TDialogCaptions& Captions) {
    Caption = Captions.Form;
    cbVRAM.Caption = Captions.cbVRAM;
    cbReverseSound.Caption = Captions.cbReverseSound;
    cbBGM.Caption = Captions.cbBGM;
    cbSE.Caption = Captions.cbSE;
    cbFullScreen.Caption = Captions.cbFullScreen;
    cbSmoothMotion.Caption = Captions.cbSmoothMotion;
    cbStartFrom.Items.assign(Captions.cbStartFrom.begin(), Captions.cbStartFrom.end());
    Label1.Caption = Captions.Label1;
    btnStart.Caption = Captions.btnStart;
    btnManual.Caption = Captions.btnManual;
    FJapanese = &Captions == &JapaneseCaptions;
    DescribeControls();
}

void TForm2::DescribeControls() {
    const TControlsText text = frontend::DescribeControls(tz::KeyBindings, FJapanese, tz::PadBindings);
    lblKeyboard.Caption = text.Keyboard;
    lblGamepad.Caption = text.Gamepad;
}

const TDialogTexts& TForm2::Texts() const { return TextsFor(tz::UiLanguage()); }

void TForm2::Notice(const std::string& Text) { FPlatform.messageBox(plat::BoxKind::Notice, kTitle, Text); }

// ---- Handlers ----------------------------------------------------------------------------

void TForm2::FormShow() {
    // The replays where the game writes them, and those beside the program when that is
    // another folder (the current folder is wherever the program was started from).
    ReplayFileList = ListReplayFiles(ReplayFolders());
    const bool any = !ReplayFileList.empty();
    Label1.Enabled = any;
    ReplayList.Enabled = any;
    ReplayList.Items.clear();
    for (const TReplayEntry& e : ReplayFileList) ReplayList.Items.push_back(e.Line);
    ReplayList.ItemIndex = -1;

    // The replay buffer is the game's own fixed table; nothing is being played back yet.
    tz::ReplayMode = false;

    // A replay named on the command line. One that cannot be loaded is reported (once the
    // settings have chosen the language) and the dialog opens as usual.
    tz::TReplayResult loaded;
    if (!CommandLineReplay.empty()) loaded = FGame.LoadReplay(CommandLineReplay);

    // The language before the settings are read (a file that cannot be read is reported in
    // it); reading them sets it again.
    tz::SetUiLanguage(tz::ChooseLanguage(CommandLineLanguage, tz::TLanguageChoice::Auto, tz::LocaleLanguage()));
    Setting.Input();
    ApplyCaptions(tz::UiLanguage() == tz::TLanguage::Japanese ? JapaneseCaptions : EnglishCaptions);
    if (!loaded.Ok) Notice(Texts().CommandLineReplayRefused + loaded.Error);
    if (!Setting.LastReadError().empty()) Notice(Texts().SettingsUnreadable + Setting.LastReadError());
    // What the settings name that the game cannot use: reported once, then left out.
    if (!FSettingWarnings.empty()) {
        std::string text = Texts().SettingsIgnoredBefore + Setting.IniPath() + Texts().SettingsIgnoredAfter;
        for (const std::string& w : FSettingWarnings) text += "\n" + w;
        Notice(text);
    }
    // The stored start point is read but not kept: every showing starts from the beginning.
    tz::StartFrom = 0;

    cbFullScreen.Checked = tz::FullScreen;
    cbVRAM.Checked = tz::UseVram;
    cbReverseSound.Checked = tz::ReverseSound;
    cbBGM.Checked = tz::EnableBGM;
    cbSE.Checked = tz::EnableSE;
    cbSmoothMotion.Checked = tz::SmoothMotion;
    cbStartFrom.ItemIndex = tz::StartFrom;
}

void TForm2::btnStartClick() {
    if (FStarted || FClosed) return;
    FStarted = true;
    FVisible = false;
    if (FWindow) FWindow->hide();
    btnStart.Enabled = false;

    tz::FullScreen = cbFullScreen.Checked;
    tz::UseVram = cbVRAM.Checked;
    tz::ReverseSound = cbReverseSound.Checked;   // the sound unit mirrors the effects' pan from it
    tz::EnableBGM = cbBGM.Checked;
    tz::EnableSE = cbSE.Checked;
    tz::SmoothMotion = cbSmoothMotion.Checked;
    tz::StartFrom = std::clamp(cbStartFrom.ItemIndex, 0, StartFromChoices - 1);

    engine::TSpriteEx& sprite = FGame.Sprite;
    sprite.SetFullScreenMode(tz::FullScreen);
    if (!tz::UseVram) sprite.SetDebugOptions(sprite.DebugOptions().with(engine::TDebugOption::doSysMemOnly));

    FGame.Show();
}

void TForm2::ReplayListClick() {
    const int i = ReplayList.ItemIndex;
    if (!ReplayList.Enabled || i < 0 || i >= static_cast<int>(ReplayFileList.size())) return;
    const TReplayEntry& entry = ReplayFileList[static_cast<std::size_t>(i)];
    if (!entry.Startable) {
        Notice(Texts().ReplayRefused + entry.Error);
        return;
    }
    const tz::TReplayResult loaded = FGame.LoadReplay(entry.Folder + entry.FileName);
    if (!loaded.Ok) {
        Notice(Texts().ReplayRefused + loaded.Error);
        return;
    }
    btnStartClick();
}

void TForm2::btnManualClick() {
    // Beside the program, or beside the executable when the program's folder has none.
    std::string manual = tz::DataPath("Korrindal", ".htm");
    if (manual.empty()) manual = tz::ProgramDir() + "Korrindal.htm";
    if (!FPlatform.openWithDesktop(manual)) Notice(Texts().ManualNotOpened + manual);
}

void TForm2::SettingIO(TEasyRestore& Sender) {
    Sender.Section = "Options";
    Sender.IOBoolean("FullScreen", tz::FullScreen, true);
    Sender.IOBoolean("UseVram", tz::UseVram, true);
    Sender.IOBoolean("ReverseSound", tz::ReverseSound, false);
    Sender.IOBoolean("EnableBGM", tz::EnableBGM, true);
    Sender.IOBoolean("EnableSE", tz::EnableSE, true);
    Sender.IOBoolean("SmoothMotion", tz::SmoothMotion, true);
    Sender.IOInteger("StartFrom", tz::StartFrom, 0);
    Sender.IOString("Language", LanguageText, "auto");
    std::vector<std::string> warnings;
    if (Sender.Reading()) {
        tz::TLanguageChoice choice = tz::TLanguageChoice::Auto;
        const bool known = tz::ParseLanguageChoice(LanguageText, choice);
        tz::SetUiLanguage(tz::ChooseLanguage(CommandLineLanguage, choice, tz::LocaleLanguage()));
        if (!known) warnings.push_back("[Options] " + FillText(Texts().UnknownLanguage, {"Language", LanguageText}));
    }
    Sender.Section = "Records";
    Sender.IOInteger("Highscore", tz::HiScore, 0);
    const TKeyTexts defaults = DefaultKeyTexts();
    Sender.Section = KeysSection;
    for (std::size_t a = 0; a < tz::ActionCount; ++a)
        Sender.IOString(std::string(tz::ActionName(static_cast<tz::TAction>(a))), KeyTexts[a], defaults[a]);
    const std::vector<std::string> entries = Sender.Reading() ? Sender.SectionKeys() : std::vector<std::string>{};
    Sender.Section = GamepadSection;
    Sender.IOInteger(DeadZoneEntry, tz::PadDeadZone, tz::DefaultPadDeadZone);
    const TPadTexts padDefaults = DefaultPadTexts();
    for (std::size_t a = 0; a < tz::ActionCount; ++a)
        Sender.IOString(std::string(tz::ActionName(static_cast<tz::TAction>(a))), PadTexts[a], padDefaults[a]);
    if (Sender.Reading()) {
        const std::vector<std::string> padEntries = Sender.SectionKeys();
        const tz::TLanguage language = tz::UiLanguage();
        for (std::string& w : ApplyControlSettings(KeyTexts, entries, tz::PadDeadZone, tz::KeyBindings, language))
            warnings.push_back(std::move(w));
        for (std::string& w : ApplyPadSettings(PadTexts, padEntries, tz::PadBindings, language))
            warnings.push_back(std::move(w));
        FSettingWarnings = std::move(warnings);
    }
}

void TForm2::FormClose() {
    // The window and its fonts and renderer go; the replay buffer is the game's fixed table.
    FWindow.reset();
}

TOutputResult TForm2::WriteSettings() {
    TOutputResult result = Setting.Output();
    if (result.Kind == TOutputResult::TKind::Failed) Notice(Texts().SettingsNotSaved + result.Error);
    return result;
}

// ---- The form ----------------------------------------------------------------------------

bool TForm2::Show() {
    FormShow();
    return OpenWindow();
}

bool TForm2::OpenWindow() {
    if (FClosed || FStarted) return true;
    FVisible = true;
    FWindow = FPlatform.makeFormWindow();
    if (!FWindow) return true;   // a platform without windows: the dialog is shown in name only
    ApplyCaptions(tz::UiLanguage() == tz::TLanguage::Japanese && FWindow->japanese() ? JapaneseCaptions : EnglishCaptions);
    if (!FWindow->open(Caption, FormWidth, FormHeight, Controls())) {
        FWindowError = FWindow->errorText();
        FWindow.reset();
        return false;
    }
    return true;
}

void TForm2::Close() {
    if (FClosed) return;
    FClosed = true;
    FVisible = false;
    FormClose();
}

bool TForm2::ProcessFrame() {
    if (!FWindow || !FVisible) return false;
    std::vector<plat::FormInput> inputs;
    FWindow->frame(Controls(), inputs);
    for (const plat::FormInput& input : inputs) {
        if (!FVisible) break;   // started or closed: the rest is not the dialog's
        HandleInput(input);
    }
    return true;
}

}  // namespace frontend
