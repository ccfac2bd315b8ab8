#pragma once
// The one 256-colour palette shared by every picture of the game, and the mapping of
// true-colour pixels onto it.
//
// Layout: 0 black (the transparent colour of every bank), 255 white, and fifteen ramps of
// sixteen steps from near-black to near-white (1..240), then fourteen extra entries (pale
// tints and in-between greys). Shading, fades and the colour-mix table all move along ramps.

#include <array>
#include <cstdint>
#include <vector>

#include "platform/platform.h"

namespace art {

struct Rgbf {
    float r = 0, g = 0, b = 0;
};
inline Rgbf operator+(Rgbf a, Rgbf b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Rgbf operator-(Rgbf a, Rgbf b) { return {a.r - b.r, a.g - b.g, a.b - b.b}; }
inline Rgbf operator*(Rgbf a, float k) { return {a.r * k, a.g * k, a.b * k}; }
inline Rgbf operator*(Rgbf a, Rgbf b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }
inline Rgbf mix(Rgbf a, Rgbf b, float t) { return a + (b - a) * t; }

enum class Ramp : std::uint8_t {
    Grey, Steel, Gunmetal, Rust, Red, Orange, Gold, Toxic, Cyan, Violet, Magenta, Navy, Teal, Sand, Dusk, Count
};

inline constexpr int kRampSteps = 16;
inline constexpr std::uint8_t kKey = 0;
inline constexpr std::uint8_t kWhite = 255;

// Palette index of step 0..15 of a ramp (0 darkest).
constexpr std::uint8_t rampIndex(Ramp r, int step) {
    return static_cast<std::uint8_t>(1 + static_cast<int>(r) * kRampSteps + (step < 0 ? 0 : step > 15 ? 15 : step));
}

const plat::Palette& palette();

// The colour of a ramp at a fractional position 0..1 (0 = near-black, 1 = near-white),
// interpolated between its steps; handy for picking material colours.
Rgbf rampColour(Ramp r, float t);
Rgbf paletteColour(std::uint8_t index);

// Nearest palette entry (never 0) to an sRGB colour with channels 0..1.
std::uint8_t nearestIndex(Rgbf c);

}  // namespace art
