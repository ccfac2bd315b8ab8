#pragma once
// Game controllers into the input byte: every controller connected now (they may come and
// go during play) is read like one more input source, alongside the keyboards and the
// joysticks of the fixed sources.

#include <cstdint>

#include "platform/platform.h"

namespace tz {

// How far the left stick must be pushed, in percent of its travel, before it counts.
inline constexpr std::int32_t DefaultPadDeadZone = 25;
inline constexpr std::int32_t MaxPadDeadZone = 90;
// The dead zone in use (the settings set it before a game starts).
extern std::int32_t PadDeadZone;

// One controller's input byte: the left stick past the dead zone in eight directions (each
// an eighth of the circle), the d-pad (up wins over down, right over left), A fire, B bomb,
// X and Y the extra buttons 3 and 4.
std::uint8_t PadByte(const plat::PadState& pad, std::int32_t deadZonePercent);

// The OR of every connected controller's byte.
std::uint8_t ReadGamepads(const plat::Input& device);

// The button is held on any connected controller.
bool PadButtonHeld(const plat::Input& device, plat::PadButton button);

}  // namespace tz
