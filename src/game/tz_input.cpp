#include "game/tz_input.h"

#include "game/tz_gamepad.h"
#include "game/tz_keys.h"
#include "platform/platform.h"

namespace tz {

std::array<bool, InputSourceCount> JoyPresent{};
TInputFeed InputFeed;

namespace {

plat::Input* Device = nullptr;
// The device list JoyPresent was filled from (its deviceChanges count).
std::uint32_t SeenDeviceChanges = 0;

using plat::Key;

bool Held(Key key) { return Device != nullptr && Device->keyDown(key); }

// The system joystick id behind a joystick source, -1 for the keyboards and beyond.
int JoystickId(std::uint8_t source) {
    switch (source) {
        case 1: return 0;
        case 2: return 1;
        case 4: return 2;
        case 5: return 3;
        default: return -1;
    }
}

std::uint8_t LayoutA() {
    std::uint8_t keys = 0;
    if (Held(Key::Numpad8) || Held(Key::Up)) keys = KeyUp;
    else if (Held(Key::Numpad2) || Held(Key::Down)) keys = KeyDown;
    if (Held(Key::Numpad6) || Held(Key::Right)) keys += KeyRight;
    else if (Held(Key::Numpad4) || Held(Key::Left)) keys += KeyLeft;
    if (Held(Key::Backspace)) keys += KeyFire;
    if (Held(Key::Insert)) keys += KeyBomb;
    if (Held(Key::Home)) keys += KeyButton3;
    if (Held(Key::PageUp)) keys += KeyButton4;
    return keys;
}

std::uint8_t LayoutB() {
    std::uint8_t keys = 0;
    if (Held(Key::T)) keys = KeyUp;
    else if (Held(Key::V)) keys = KeyDown;
    if (Held(Key::H)) keys += KeyRight;
    else if (Held(Key::F)) keys += KeyLeft;
    if (Held(Key::Num1)) keys += KeyFire;
    if (Held(Key::Num2)) keys += KeyBomb;
    if (Held(Key::Num3)) keys += KeyButton3;
    if (Held(Key::Num4)) keys += KeyButton4;
    return keys;
}

}  // namespace

void SetInputDevice(plat::Input* device) { Device = device; }
plat::Input* InputDevice() { return Device; }

std::uint8_t JoystickByte(std::uint32_t x, std::uint32_t y, std::uint32_t buttons) {
    std::uint8_t keys = static_cast<std::uint8_t>((buttons & 0x0F) << 4);
    if (y < 0x4000) keys += KeyUp;
    if (x > 0xC000) keys += KeyRight;
    if (y > 0xC000) keys += KeyDown;
    if (x < 0x4000) keys += KeyLeft;
    return keys;
}

void DetectJoysticks() {
    SeenDeviceChanges = Device != nullptr ? Device->deviceChanges() : 0;
    for (std::uint8_t source = 0; source < InputSourceCount; ++source) {
        const int id = JoystickId(source);
        if (id < 0) {
            JoyPresent[source] = true;
            continue;
        }
        plat::JoyPos pos;
        JoyPresent[source] = Device != nullptr && Device->joystickPos(id, pos);
    }
}

std::uint8_t ReadInput(std::uint8_t Source) {
    if (Source == 0) return LayoutA();
    if (Source == 3) return LayoutB();
    if (Source >= InputSourceCount || Device == nullptr) return 0;
    // A joystick connected or disconnected since the last probe: probe again.
    if (Device->deviceChanges() != SeenDeviceChanges) DetectJoysticks();
    if (!JoyPresent[Source]) return 0;
    plat::JoyPos pos;
    if (!Device->joystickPos(JoystickId(Source), pos)) return 0;
    return JoystickByte(pos.x, pos.y, pos.buttons);
}

std::uint8_t ReadDeviceInput() {
    std::uint8_t keys = 0;
    for (std::uint8_t source = 0; source < PlayerSourceCount; ++source) keys |= ReadInput(source);
    if (Device != nullptr) keys |= BoundKeysByte(*Device) | ReadGamepads(*Device);
    return keys;
}

std::uint8_t ReadPlayerInput() {
    if (!InputFeed.Active) return ReadDeviceInput();
    if (FeedPos >= InputFeed.Size) return 0;
    return InputFeed.Data[FeedPos++];
}

void SetInputFeed(const std::uint8_t* data, std::size_t size) {
    InputFeed = TInputFeed{data, size, true};
    FeedPos = 0;
    FeedStartPending = true;
}

void ClearInputFeed() {
    InputFeed = TInputFeed{};
    FeedPos = 0;
    FeedStartPending = false;
}

}  // namespace tz
