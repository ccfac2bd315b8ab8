#include "game/tz_keys.h"

#include <algorithm>
#include <utility>

#include "game/tz_input.h"
#include "game/tz_name_list.h"
#include "platform/key_names.h"

namespace tz {
namespace {

using plat::Key;

constexpr std::array<std::string_view, ActionCount> kActionNames{
    "Up", "Down", "Left", "Right", "Fire", "Bomb", "Button3", "Button4", "Pause", "FastForward", "Screenshot"};

constexpr TKeyList List(Key a = Key::Count, Key b = Key::Count, Key c = Key::Count, Key d = Key::Count) {
    return {a, b, c, d};
}

constexpr TKeyBindings kDefaults{{
    List(Key::Up, Key::W),     // Up
    List(Key::Down, Key::S),   // Down
    List(Key::Left, Key::A),   // Left
    List(Key::Right, Key::D),  // Right
    List(Key::Z, Key::Space),  // Fire
    List(Key::X),              // Bomb
    List(),                    // Button3
    List(),                    // Button4
    List(Key::P),              // Pause
    List(Key::Tab),            // FastForward
    List(Key::F12),            // Screenshot
}};

}  // namespace

TKeyBindings KeyBindings = kDefaults;

const TKeyBindings& DefaultKeyBindings() { return kDefaults; }

std::string_view ActionName(TAction action) {
    const auto i = static_cast<std::size_t>(action);
    return i < kActionNames.size() ? kActionNames[i] : std::string_view{};
}

TAction ActionFromName(std::string_view name) {
    for (std::size_t i = 0; i < kActionNames.size(); ++i)
        if (SameNoCase(name, kActionNames[i])) return static_cast<TAction>(i);
    return TAction::Count;
}

TKeyListParse ParseKeyList(std::string_view text) {
    auto parsed = ParseNameList<Key, KeysPerAction>(text, Key::Count, plat::keyFromName);
    return {parsed.Items, std::move(parsed.Unknown), std::move(parsed.TooMany)};
}

std::string FormatKeyList(const TKeyList& keys) {
    return FormatNameList(keys, Key::Count, [](Key k) { return std::string(plat::keyName(k)); });
}

bool KeyBound(Key key, TAction action) {
    if (key == Key::Count || action == TAction::Count) return false;
    const TKeyList& keys = KeyBindings[action];
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

bool ActionHeld(const plat::Input& device, TAction action) {
    for (Key k : KeyBindings[action])
        if (k != Key::Count && device.keyDown(k)) return true;
    return false;
}

std::uint8_t BoundKeysByte(const plat::Input& device) {
    std::uint8_t keys = 0;
    if (ActionHeld(device, TAction::Up)) keys = KeyUp;
    else if (ActionHeld(device, TAction::Down)) keys = KeyDown;
    if (ActionHeld(device, TAction::Right)) keys |= KeyRight;
    else if (ActionHeld(device, TAction::Left)) keys |= KeyLeft;
    if (ActionHeld(device, TAction::Fire)) keys |= KeyFire;
    if (ActionHeld(device, TAction::Bomb)) keys |= KeyBomb;
    if (ActionHeld(device, TAction::Button3)) keys |= KeyButton3;
    if (ActionHeld(device, TAction::Button4)) keys |= KeyButton4;
    return keys;
}

}  // namespace tz
