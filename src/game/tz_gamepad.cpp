#include "game/tz_gamepad.h"

#include <algorithm>
#include <utility>

#include "game/tz_input.h"
#include "game/tz_name_list.h"
#include "platform/key_names.h"

namespace tz {

std::int32_t PadDeadZone = DefaultPadDeadZone;

namespace {

constexpr int kMaxPads = 8;

// sin(22.5 degrees) squared, in hundred-thousandths: an axis counts once it carries more than
// this share of the push, which splits the circle into eight equal sectors.
constexpr std::int64_t kSectorShare = 14645;

using plat::PadButton;

constexpr TPadList List(PadButton a = PadButton::Count, PadButton b = PadButton::Count) {
    return {a, b, PadButton::Count, PadButton::Count};
}

constexpr TPadBindings kDefaults{{
    List(PadButton::DpadUp),         // Up
    List(PadButton::DpadDown),       // Down
    List(PadButton::DpadLeft),       // Left
    List(PadButton::DpadRight),      // Right
    List(PadButton::A),              // Fire
    List(PadButton::B),              // Bomb
    List(PadButton::X),              // Button3
    List(PadButton::Y),              // Button4
    List(PadButton::Start),          // Pause
    List(PadButton::RightShoulder),  // FastForward
    List(),                          // Screenshot
}};

bool AnyHeld(const plat::PadState& pad, const TPadList& buttons) {
    for (const PadButton b : buttons)
        if (b != PadButton::Count && pad.held(b)) return true;
    return false;
}

}  // namespace

TPadBindings PadBindings = kDefaults;

const TPadBindings& DefaultPadBindings() { return kDefaults; }

TPadListParse ParsePadList(std::string_view text) {
    auto parsed = ParseNameList<PadButton, KeysPerAction>(text, PadButton::Count, plat::padButtonFromName);
    return {parsed.Items, std::move(parsed.Unknown), std::move(parsed.TooMany)};
}

std::string FormatPadList(const TPadList& buttons) {
    return FormatNameList(buttons, PadButton::Count, [](PadButton b) { return std::string(plat::padButtonName(b)); });
}

bool PadBound(PadButton button, TAction action) {
    if (button == PadButton::Count || action == TAction::Count) return false;
    const TPadList& buttons = PadBindings[action];
    return std::find(buttons.begin(), buttons.end(), button) != buttons.end();
}

std::uint8_t PadByte(const plat::PadState& pad, std::int32_t deadZonePercent, const TPadBindings& bindings) {
    const std::int64_t x = pad.leftX, y = pad.leftY;
    const std::int64_t push2 = x * x + y * y;
    const std::int64_t dead = std::int64_t{std::clamp(deadZonePercent, 0, 100)} * 32767 / 100;
    bool up = false, down = false, left = false, right = false;
    if (push2 > dead * dead) {
        if (y * y * 100000 > push2 * kSectorShare) (y < 0 ? up : down) = true;
        if (x * x * 100000 > push2 * kSectorShare) (x < 0 ? left : right) = true;
    }
    up = up || AnyHeld(pad, bindings[TAction::Up]);
    down = down || AnyHeld(pad, bindings[TAction::Down]);
    left = left || AnyHeld(pad, bindings[TAction::Left]);
    right = right || AnyHeld(pad, bindings[TAction::Right]);

    std::uint8_t keys = 0;
    if (up) keys = KeyUp;
    else if (down) keys = KeyDown;
    if (right) keys |= KeyRight;
    else if (left) keys |= KeyLeft;
    if (AnyHeld(pad, bindings[TAction::Fire])) keys |= KeyFire;
    if (AnyHeld(pad, bindings[TAction::Bomb])) keys |= KeyBomb;
    if (AnyHeld(pad, bindings[TAction::Button3])) keys |= KeyButton3;
    if (AnyHeld(pad, bindings[TAction::Button4])) keys |= KeyButton4;
    return keys;
}

std::uint8_t ReadGamepads(const plat::Input& device) {
    std::uint8_t keys = 0;
    plat::PadState pad;
    for (int i = 0; i < kMaxPads && device.padState(i, pad); ++i) keys |= PadByte(pad, PadDeadZone, PadBindings);
    return keys;
}

bool PadButtonHeld(const plat::Input& device, plat::PadButton button) {
    plat::PadState pad;
    for (int i = 0; i < kMaxPads && device.padState(i, pad); ++i)
        if (pad.held(button)) return true;
    return false;
}

bool ActionPadHeld(const plat::Input& device, TAction action) {
    plat::PadState pad;
    for (int i = 0; i < kMaxPads && device.padState(i, pad); ++i)
        if (AnyHeld(pad, PadBindings[action])) return true;
    return false;
}

}  // namespace tz
