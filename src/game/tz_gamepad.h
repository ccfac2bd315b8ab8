#pragma once
// Game controllers into the input byte: every controller connected now (they may come and
// go during play) is read like one more input source, alongside the keyboards and the
// joysticks of the fixed sources.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "game/tz_keys.h"
#include "platform/platform.h"

namespace tz {

// How far the left stick must be pushed, in percent of its travel, before it counts.
inline constexpr std::int32_t DefaultPadDeadZone = 25;
inline constexpr std::int32_t MaxPadDeadZone = 90;
// The dead zone in use (the settings set it before a game starts).
extern std::int32_t PadDeadZone;

// The controller buttons of each action, as the keys of tz_keys.h: the settings file's
// "Gamepad" section rebinds them with button names ("A", "RB", "Start" ...; key_names.h).
// By default the d-pad moves, A fires, B bombs, X and Y are the extra buttons 3 and 4, Start
// pauses and RB fast-forwards a replay; no button takes a screenshot. The left stick always
// moves.
using TPadList = std::array<plat::PadButton, KeysPerAction>;
struct TPadBindings {
    std::array<TPadList, ActionCount> Buttons{};
    const TPadList& operator[](TAction a) const { return Buttons[static_cast<std::size_t>(a)]; }
    TPadList& operator[](TAction a) { return Buttons[static_cast<std::size_t>(a)]; }
};
// The table in use. The settings set it before a game starts; the tick only reads it.
extern TPadBindings PadBindings;
const TPadBindings& DefaultPadBindings();

// A value of the "Gamepad" section's action entries, as ParseKeyList reads the keys'.
struct TPadListParse {
    TPadList Buttons{};
    std::vector<std::string> Unknown;
    std::vector<std::string> TooMany;
};
TPadListParse ParsePadList(std::string_view text);
// "A, RB"; "None" for an empty list.
std::string FormatPadList(const TPadList& buttons);
// The button is one of the action's in the table in use.
bool PadBound(plat::PadButton button, TAction action);

// One controller's input byte: the left stick past the dead zone in eight directions (each
// an eighth of the circle), and the buttons of the movement actions (up wins over down, right
// over left), of fire, bomb and the extra buttons 3 and 4.
std::uint8_t PadByte(const plat::PadState& pad, std::int32_t deadZonePercent,
                     const TPadBindings& bindings = DefaultPadBindings());

// The OR of every connected controller's byte, with the bindings in use.
std::uint8_t ReadGamepads(const plat::Input& device);

// The button is held on any connected controller.
bool PadButtonHeld(const plat::Input& device, plat::PadButton button);
// A button of the action is held on any connected controller.
bool ActionPadHeld(const plat::Input& device, TAction action);

}  // namespace tz
