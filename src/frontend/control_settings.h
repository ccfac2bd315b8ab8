#pragma once
// The player's controls in the settings file: the "Keys" section (one entry per action, the
// key names separated by commas) and the "Gamepad" section (DeadZone in percent and one entry
// per action, the controller button names separated by commas), and the lines the startup
// dialog shows them in.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/ui_language.h"
#include "game/tz_gamepad.h"
#include "game/tz_keys.h"

namespace frontend {

inline constexpr const char* KeysSection = "Keys";
inline constexpr const char* GamepadSection = "Gamepad";

// The "Keys" entries as the file holds them, indexed by tz::TAction (written back as read, so
// nothing the player typed is lost, even what the game could not use).
using TKeyTexts = std::array<std::string, tz::ActionCount>;

// The default text of every action ("Up, W" ...).
TKeyTexts DefaultKeyTexts();
// The "Gamepad" section's action entries as read, and their defaults ("Up", "A" ...).
using TPadTexts = std::array<std::string, tz::ActionCount>;
TPadTexts DefaultPadTexts();
// The "Gamepad" section's own entry besides the actions'.
inline constexpr const char* DeadZoneEntry = "DeadZone";

// Makes the bindings and the dead zone of the texts read: unknown key names and unknown
// entries (EntryNames holds every entry of the section) are left out; a dead zone outside
// 0..90 is brought inside. Each such thing is one line of the result, in Language, to be
// reported once.
std::vector<std::string> ApplyControlSettings(const TKeyTexts& Texts, const std::vector<std::string>& EntryNames,
                                              std::int32_t& DeadZone, tz::TKeyBindings& Bindings,
                                              tz::TLanguage Language = tz::TLanguage::English);
// Makes the controller bindings of the "Gamepad" section's texts as ApplyControlSettings the
// keys (EntryNames: every entry of that section, DeadZone among them).
std::vector<std::string> ApplyPadSettings(const TPadTexts& Texts, const std::vector<std::string>& EntryNames,
                                          tz::TPadBindings& Bindings, tz::TLanguage Language = tz::TLanguage::English);

// The controls as the dialog lists them: two columns (keyboard; controller and window keys),
// lines separated by '\n', from the bindings in use.
struct TControlsText {
    std::string Keyboard;
    std::string Gamepad;
};
TControlsText DescribeControls(const tz::TKeyBindings& Bindings, bool Japanese,
                               const tz::TPadBindings& Pad = tz::DefaultPadBindings());

}  // namespace frontend
