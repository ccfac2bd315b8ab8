#include "game/tz_gamepad.h"

#include <algorithm>

#include "game/tz_input.h"

namespace tz {

std::int32_t PadDeadZone = DefaultPadDeadZone;

namespace {

constexpr int kMaxPads = 8;

// sin(22.5 degrees) squared, in hundred-thousandths: an axis counts once it carries more than
// this share of the push, which splits the circle into eight equal sectors.
constexpr std::int64_t kSectorShare = 14645;

}  // namespace

std::uint8_t PadByte(const plat::PadState& pad, std::int32_t deadZonePercent) {
    using plat::PadButton;
    const std::int64_t x = pad.leftX, y = pad.leftY;
    const std::int64_t push2 = x * x + y * y;
    const std::int64_t dead = std::int64_t{std::clamp(deadZonePercent, 0, 100)} * 32767 / 100;
    bool up = false, down = false, left = false, right = false;
    if (push2 > dead * dead) {
        if (y * y * 100000 > push2 * kSectorShare) (y < 0 ? up : down) = true;
        if (x * x * 100000 > push2 * kSectorShare) (x < 0 ? left : right) = true;
    }
    up = up || pad.held(PadButton::DpadUp);
    down = down || pad.held(PadButton::DpadDown);
    left = left || pad.held(PadButton::DpadLeft);
    right = right || pad.held(PadButton::DpadRight);

    std::uint8_t keys = 0;
    if (up) keys = KeyUp;
    else if (down) keys = KeyDown;
    if (right) keys |= KeyRight;
    else if (left) keys |= KeyLeft;
    if (pad.held(PadButton::A)) keys |= KeyFire;
    if (pad.held(PadButton::B)) keys |= KeyBomb;
    if (pad.held(PadButton::X)) keys |= KeyButton3;
    if (pad.held(PadButton::Y)) keys |= KeyButton4;
    return keys;
}

std::uint8_t ReadGamepads(const plat::Input& device) {
    std::uint8_t keys = 0;
    plat::PadState pad;
    for (int i = 0; i < kMaxPads && device.padState(i, pad); ++i) keys |= PadByte(pad, PadDeadZone);
    return keys;
}

bool PadButtonHeld(const plat::Input& device, plat::PadButton button) {
    plat::PadState pad;
    for (int i = 0; i < kMaxPads && device.padState(i, pad); ++i)
        if (pad.held(button)) return true;
    return false;
}

}  // namespace tz
