#pragma once
// The names of the keys as the settings file writes them ("Z", "Space", "Up", "Keypad8",
// "F12" ...). No SDL here.

#include <string_view>

#include "platform/platform.h"

namespace plat {

// The key's name; "" for Key::Count.
std::string_view keyName(Key key);

// The key a name stands for, without regard to letter case; a few other spellings are
// understood too ("Enter" for Return, "Esc" for Escape, "KP8" for Keypad8, "Ctrl" for LCtrl
// ...). Key::Count when the name is none of them.
Key keyFromName(std::string_view name);

// A game controller button's name as the manual and the dialog show it ("A", "Start", "RB").
std::string_view padButtonName(PadButton button);

// The button a name stands for, without regard to letter case ("DpadUp" for Up, "Select" for
// Back, "L1"/"R1" for LB/RB, "L2"/"R2" for LT/RT are understood too); PadButton::Count when
// the name is none of them.
PadButton padButtonFromName(std::string_view name);

}  // namespace plat
