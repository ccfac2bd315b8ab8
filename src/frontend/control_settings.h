#pragma once
// The player's controls in the settings file: the "Keys" section (one entry per action, the
// key names separated by commas) and the "Gamepad" section (DeadZone in percent), and the
// lines the startup dialog shows them in.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "game/tz_keys.h"

namespace frontend {

inline constexpr const char* KeysSection = "Keys";
inline constexpr const char* GamepadSection = "Gamepad";

// The "Keys" entries as the file holds them, indexed by tz::TAction (written back as read, so
// nothing the player typed is lost, even what the game could not use).
using TKeyTexts = std::array<std::string, tz::ActionCount>;

// The default text of every action ("Up, W" ...).
TKeyTexts DefaultKeyTexts();

// Makes the bindings and the dead zone of the texts read: unknown key names and unknown
// entries (EntryNames holds every entry of the section) are left out; a dead zone outside
// 0..90 is brought inside. Each such thing is one line of the result, to be reported once.
std::vector<std::string> ApplyControlSettings(const TKeyTexts& Texts, const std::vector<std::string>& EntryNames,
                                              std::int32_t& DeadZone, tz::TKeyBindings& Bindings);

// The controls as the dialog lists them: two columns (keyboard; controller and window keys),
// lines separated by '\n', from the bindings in use.
struct TControlsText {
    std::string Keyboard;
    std::string Gamepad;
};
TControlsText DescribeControls(const tz::TKeyBindings& Bindings, bool Japanese);

}  // namespace frontend
