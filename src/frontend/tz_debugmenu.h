#pragma once
// TForm2, the startup dialog: the display and sound options, the list of recorded replays
// with their scores, the start button and the manual button, and the settings component
// `Setting` that keeps the options and the best score in the INI file.
//
// The dialog is the program's main form. It is shown first; start (or a replay chosen in the
// list) hides it and shows the game window; when the game window's engine terminates, the
// game window has the settings written and closes the dialog, which ends the program.
//
// The controls are plain records holding their state; the window (a plat::FormWindow, absent
// on a platform without windows) only shows them and reports what the user did, which
// HandleInput turns into the handlers' calls. Under the options it lists the controls in use. Keyboard: Tab and Shift+Tab move the focus,
// Space ticks the focused box or presses the focused button, Up, Down, Page Up, Page Down,
// Home and End move in the replay list (in the start-from list when it has the focus), Enter
// plays the selected replay when the list has the focus and presses start otherwise (the
// manual button when it has the focus), Escape quits.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "frontend/control_settings.h"
#include "frontend/dialog_form_data.h"
#include "frontend/dialog_texts.h"
#include "frontend/easy_restore.h"
#include "frontend/replay_files.h"
#include "platform/form_window.h"

namespace plat {
class Platform;
}
namespace tz {
class TForm1;
}

namespace frontend {

struct TControl {
    plat::FormRect Bounds;
    std::string Caption;
    bool Visible = true;
    bool Enabled = true;
};
struct TCheckBox : TControl {
    bool Checked = false;
};
struct TComboBox : TControl {
    std::vector<std::string> Items;
    int ItemIndex = 0;
};
struct TListBox : TControl {
    std::vector<std::string> Items;
    int ItemIndex = -1;
};
using TLabel = TControl;
using TButton = TControl;
using TBevel = TControl;

// The controls as the window gets them (Controls()), in this order; the focus moves through
// them in this order too, skipping the frame and the label.
enum class TControlId : std::uint8_t {
    Bevel1, cbVRAM, cbReverseSound, cbBGM, cbSE, cbFullScreen, cbStartFrom, Label1, ReplayList, btnStart, btnManual,
    Bevel2, lblKeyboard, lblGamepad, cbSmoothMotion,
    Count
};

class TForm2 {
public:
    TForm2(plat::Platform& Platform, tz::TForm1& Game);
    ~TForm2();
    TForm2(const TForm2&) = delete;
    TForm2& operator=(const TForm2&) = delete;

    std::string Caption;
    TBevel Bevel1;
    TCheckBox cbVRAM, cbReverseSound, cbBGM, cbSE, cbFullScreen, cbSmoothMotion;
    TComboBox cbStartFrom;
    TLabel Label1;
    TListBox ReplayList;
    std::vector<TReplayEntry> ReplayFileList;  // the files behind ReplayList's lines
    TButton btnStart, btnManual;
    // The controls in use, listed under the rest (from the settings' key bindings).
    TBevel Bevel2;
    TLabel lblKeyboard, lblGamepad;
    TEasyRestore Setting;
    // The "Keys" entries and the "Gamepad" section's action entries as read (written back as
    // they were).
    TKeyTexts KeyTexts = DefaultKeyTexts();
    TPadTexts PadTexts = DefaultPadTexts();
    // The "Language" entry of the options as read ("auto", "ja" or "en"; written back as it was).
    std::string LanguageText = "auto";
    // The command line's --lang: wins over the settings file's entry unless Auto.
    tz::TLanguageChoice CommandLineLanguage = tz::TLanguageChoice::Auto;

    // The program's first command-line parameter: a replay FormShow loads ("" = none).
    std::string CommandLineReplay;

    // ---- Handlers ------------------------------------------------------------------------
    // Lists the replays of the program's folder, loads the command-line replay, reads the
    // settings and puts the options into the controls.
    void FormShow();
    // Hides the dialog, copies the controls into the options, sets up the game window's
    // engine from them and shows the game window. Once only.
    void btnStartClick();
    // Loads the selected replay and starts it; an unreadable one is refused with a message
    // and the dialog stays.
    void ReplayListClick();
    // Opens "Korrindal.htm" beside the program with the desktop.
    void btnManualClick();
    // The one settings handler for reading and writing: every key, section and default.
    void SettingIO(TEasyRestore& Sender);
    // The dialog is closing: its window goes.
    void FormClose();

    // ---- The form ------------------------------------------------------------------------
    // FormShow, then the window (OpenWindow). False when the window cannot open.
    bool Show();
    // Opens the dialog's window on the platform (nothing to open on one without windows).
    // Its captions are in the language in use (tz::UiLanguage, set by FormShow from the
    // command line, the settings and the locale), English when its fonts cannot show
    // Japanese. False when it fails (WindowError says why).
    bool OpenWindow();
    // FormClose, once; the program's loop then ends.
    void Close();
    bool Visible() const { return FVisible; }
    bool Closed() const { return FClosed; }
    // The start button has been pressed (the game window was shown).
    bool Started() const { return FStarted; }
    const std::string& WindowError() const { return FWindowError; }

    // One pass of the window: draw, then act on what the user did. False when there is no
    // shown window to pass through.
    bool ProcessFrame();
    // What the user did, as the window reports it.
    void HandleInput(const plat::FormInput& Input);
    TControlId Focus() const { return FFocus; }
    // The controls as the window shows them, indexed by TControlId.
    std::vector<plat::FormControl> Controls() const;

    // What the last reading of the settings could not use (unknown key names, entries or
    // values), one line each; FormShow reports them once.
    const std::vector<std::string>& SettingWarnings() const { return FSettingWarnings; }

    // Termination: Setting.Output. A file that cannot be written leaves the settings unsaved
    // with a warning; the program goes on to its end.
    TOutputResult WriteSettings();

private:
    void ApplyCaptions(const TDialogCaptions& Captions);
    const TDialogTexts& Texts() const;
    void DescribeControls();
    void Notice(const std::string& Text);
    void MoveFocus(bool Backward);
    const TControl& ControlOf(TControlId Id) const;
    bool Focusable(TControlId Id) const;
    void MoveSelection(plat::FormKey Key);
    void PressFocused();

    plat::Platform& FPlatform;
    tz::TForm1& FGame;
    std::unique_ptr<plat::FormWindow> FWindow;
    TControlId FFocus = TControlId::btnStart;
    bool FVisible = false;
    bool FClosed = false;
    bool FStarted = false;
    std::string FWindowError;
    std::vector<std::string> FSettingWarnings;
    bool FJapanese = true;
};

}  // namespace frontend
