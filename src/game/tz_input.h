#pragma once
// Keyboard and joystick sampling: the one input byte the game runs on.

#include <array>
#include <cstddef>
#include <cstdint>

#include "game/tz_state.h"

namespace plat {
class Input;
}

namespace tz {

// Bits of the input byte (the ship's Keys).
inline constexpr std::uint8_t KeyUp = 1;
inline constexpr std::uint8_t KeyRight = 2;
inline constexpr std::uint8_t KeyDown = 4;
inline constexpr std::uint8_t KeyLeft = 8;
inline constexpr std::uint8_t KeyFire = 16;     // also starts a game on the title
inline constexpr std::uint8_t KeyBomb = 32;
inline constexpr std::uint8_t KeyButton3 = 64;  // sampled and recorded, unused by the game
inline constexpr std::uint8_t KeyButton4 = 128;

// Input sources: 0 keyboard layout A, 1 and 2 joysticks 1 and 2, 3 keyboard layout B,
// 4 and 5 joysticks 3 and 4 (probed, never read by the game).
inline constexpr std::uint8_t InputSourceCount = 6;
inline constexpr std::uint8_t PlayerSourceCount = 4;

// Filled by DetectJoysticks: keyboards always, joysticks when present at the time. Reading a
// joystick source probes again once the device reports a joystick connected or removed, so
// one plugged in during play is seen.
extern std::array<bool, InputSourceCount> JoyPresent;

// The device the game polls (set once at start by the main program; nullptr, as in headless
// runs, means no key is ever held and no joystick is present).
void SetInputDevice(plat::Input* device);
plat::Input* InputDevice();

void DetectJoysticks();
// The input byte of one source now; 0 for an absent joystick, a failed read or a source
// above 5.
std::uint8_t ReadInput(std::uint8_t Source);

// The joystick part of ReadInput: four buttons into the high nibble, directions by the
// position's thresholds (strictly beyond 0x4000 and 0xC000).
std::uint8_t JoystickByte(std::uint32_t x, std::uint32_t y, std::uint32_t buttons);

// An input file fed in place of the live devices (headless runs): every game tick takes its
// next byte, 0 after the end, and the title starts a game by itself while a feed waits.
// The file itself stays outside the game state; how far it has been read and whether its
// game has started are kept with the state (a repeated tick reads the same byte again).
struct TInputFeed {
    const std::uint8_t* Data = nullptr;
    std::size_t Size = 0;
    bool Active = false;
};
extern TInputFeed InputFeed;
inline std::uint64_t& FeedPos = GameState.Records.FeedPos;
inline bool& FeedStartPending = GameState.Records.FeedStartPending;  // the title has not started the fed game yet
void SetInputFeed(const std::uint8_t* data, std::size_t size);
void ClearInputFeed();

// The live input of one game tick: the next fed byte when a feed is active, otherwise the OR
// of sources 0..3, the bound keys (tz_keys.h) and every game controller (tz_gamepad.h).
std::uint8_t ReadPlayerInput();
// The title's start decision samples the devices only, never the feed.
std::uint8_t ReadDeviceInput();

}  // namespace tz
