#pragma once
// The player's keys: besides the two fixed layouts of the input sources, a table of actions
// and the keys bound to each (arrows or WASD to move, Z or Space to fire, X to bomb, P to
// pause, Tab to fast-forward a replay, F12 for a screenshot by default). The settings file's
// "Keys" section rebinds them: each action's value lists key names separated by commas.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace tz {

enum class TAction : std::uint8_t {
    Up, Down, Left, Right, Fire, Bomb, Button3, Button4,   // bits of the input byte
    Pause, FastForward, Screenshot,                         // the game window's own keys
    Count
};
inline constexpr std::size_t ActionCount = static_cast<std::size_t>(TAction::Count);
inline constexpr std::size_t KeysPerAction = 4;

// The keys of one action; Key::Count marks an empty place.
using TKeyList = std::array<plat::Key, KeysPerAction>;

struct TKeyBindings {
    std::array<TKeyList, ActionCount> Keys{};
    const TKeyList& operator[](TAction a) const { return Keys[static_cast<std::size_t>(a)]; }
    TKeyList& operator[](TAction a) { return Keys[static_cast<std::size_t>(a)]; }
};

// The table in use. The settings set it before a game starts; the tick only reads it.
extern TKeyBindings KeyBindings;
const TKeyBindings& DefaultKeyBindings();

// The action's name in the settings file ("Up" ... "Screenshot").
std::string_view ActionName(TAction action);
// The action of a name (any letter case), or TAction::Count.
TAction ActionFromName(std::string_view name);

// A value of the "Keys" section: key names separated by commas (spaces around them do not
// matter; "" and "None" bind nothing). Names that are no key are listed in Unknown; keys past
// the fourth in TooMany; a key named twice counts once.
struct TKeyListParse {
    TKeyList Keys{};
    std::vector<std::string> Unknown;
    std::vector<std::string> TooMany;
};
TKeyListParse ParseKeyList(std::string_view text);
// "Z, Space"; "None" for an empty list.
std::string FormatKeyList(const TKeyList& keys);

// The action's key is held on the device.
bool ActionHeld(const plat::Input& device, TAction action);
// The key is one of the action's.
bool KeyBound(plat::Key key, TAction action);
// The input byte of the bound keys: up wins over down and right over left, as in the fixed
// layouts.
std::uint8_t BoundKeysByte(const plat::Input& device);

}  // namespace tz
