#include "platform/key_names.h"

#include <array>
#include <string>
#include <utility>

namespace plat {
namespace {

// Indexed by Key.
constexpr std::array<std::string_view, KeyCount> kNames{
    "Up", "Down", "Left", "Right", "Z", "X", "C", "A", "S", "D", "Q", "W", "E", "Space", "LShift", "RShift",
    "LCtrl", "RCtrl", "Return", "Escape", "LAlt", "RAlt", "F1", "F2",
    "Keypad8", "Keypad2", "Keypad6", "Keypad4", "Backspace", "Insert", "Home", "PageUp",
    "T", "V", "H", "F", "1", "2", "3", "4",
    "B", "G", "I", "J", "K", "L", "M", "N", "O", "P", "R", "U", "Y",
    "0", "5", "6", "7", "8", "9",
    "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10", "F11", "F12",
    "Tab", "Delete", "End", "PageDown",
    "Keypad0", "Keypad1", "Keypad3", "Keypad5", "Keypad7", "Keypad9",
    "KeypadEnter", "KeypadPlus", "KeypadMinus", "KeypadMultiply", "KeypadDivide", "KeypadPeriod",
    "Minus", "Equals", "LeftBracket", "RightBracket", "Semicolon", "Apostrophe", "Comma", "Period", "Slash",
    "Backslash", "Grave",
};

constexpr std::array<std::pair<std::string_view, Key>, 15> kAliases{{
    {"Enter", Key::Return},     {"Esc", Key::Escape},     {"Ctrl", Key::LCtrl},      {"Shift", Key::LShift},
    {"Alt", Key::LAlt},         {"Ins", Key::Insert},     {"Del", Key::Delete},      {"PgUp", Key::PageUp},
    {"PgDn", Key::PageDown},    {"Spacebar", Key::Space}, {"ArrowUp", Key::Up},      {"ArrowDown", Key::Down},
    {"ArrowLeft", Key::Left},   {"ArrowRight", Key::Right}, {"KeypadReturn", Key::NumpadEnter},
}};

constexpr std::array<std::string_view, static_cast<std::size_t>(PadButton::Count)> kPadNames{
    "A", "B", "X", "Y", "Back", "Guide", "Start", "LS", "RS", "LB", "RB", "Up", "Down", "Left", "Right", "LT", "RT",
};

constexpr std::array<std::pair<std::string_view, PadButton>, 14> kPadAliases{{
    {"DpadUp", PadButton::DpadUp},       {"DpadDown", PadButton::DpadDown},   {"DpadLeft", PadButton::DpadLeft},
    {"DpadRight", PadButton::DpadRight}, {"Select", PadButton::Back},         {"Home", PadButton::Guide},
    {"L1", PadButton::LeftShoulder},     {"R1", PadButton::RightShoulder},    {"L2", PadButton::LeftTrigger},
    {"R2", PadButton::RightTrigger},     {"L3", PadButton::LeftStick},        {"R3", PadButton::RightStick},
    {"LeftShoulder", PadButton::LeftShoulder}, {"RightShoulder", PadButton::RightShoulder},
}};

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

}  // namespace

std::string_view keyName(Key key) {
    const auto i = static_cast<std::size_t>(key);
    return i < kNames.size() ? kNames[i] : std::string_view{};
}

Key keyFromName(std::string_view name) {
    if (name.empty()) return Key::Count;
    for (std::size_t i = 0; i < kNames.size(); ++i)
        if (sameNoCase(name, kNames[i])) return static_cast<Key>(i);
    for (const auto& [alias, key] : kAliases)
        if (sameNoCase(name, alias)) return key;
    // "KP8" and "Numpad8" for "Keypad8".
    for (std::string_view prefix : {std::string_view("KP"), std::string_view("Numpad")}) {
        if (name.size() > prefix.size() && sameNoCase(name.substr(0, prefix.size()), prefix)) {
            const std::string full = "Keypad" + std::string(name.substr(prefix.size()));
            return keyFromName(full);
        }
    }
    return Key::Count;
}

std::string_view padButtonName(PadButton button) {
    const auto i = static_cast<std::size_t>(button);
    return i < kPadNames.size() ? kPadNames[i] : std::string_view{};
}

PadButton padButtonFromName(std::string_view name) {
    if (name.empty()) return PadButton::Count;
    for (std::size_t i = 0; i < kPadNames.size(); ++i)
        if (sameNoCase(name, kPadNames[i])) return static_cast<PadButton>(i);
    for (const auto& [alias, button] : kPadAliases)
        if (sameNoCase(name, alias)) return button;
    return PadButton::Count;
}

}  // namespace plat
