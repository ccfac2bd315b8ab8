#pragma once
// The controls of a sound buffer and their rules, in the units the game speaks: pan and
// volume in hundredths of a decibel, frequency in Hz.
//
// Volume attenuates both channels (0 = as recorded, -10000 = silence). Pan attenuates one
// side only: a negative pan lowers the right channel by that many hundredths, a positive
// pan the left; at 0 both play at full level (no pan law). A value outside its range is
// refused and the control keeps what it had, as on the system whose rules these are.

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace audio {

inline constexpr std::int32_t kVolumeMin = -10000;   // silence
inline constexpr std::int32_t kVolumeMax = 0;
inline constexpr std::int32_t kPanLeft = -10000;     // right channel silent
inline constexpr std::int32_t kPanRight = 10000;     // left channel silent
inline constexpr std::int64_t kFrequencyMin = 100;
inline constexpr std::int64_t kFrequencyMax = 200000;
inline constexpr std::int64_t kFrequencyOriginal = 0;  // back to the sound's own rate

constexpr bool VolumeAccepted(std::int64_t v) { return v >= kVolumeMin && v <= kVolumeMax; }
constexpr bool PanAccepted(std::int64_t p) { return p >= kPanLeft && p <= kPanRight; }
constexpr bool FrequencyAccepted(std::int64_t f) {
    return f == kFrequencyOriginal || (f >= kFrequencyMin && f <= kFrequencyMax);
}

// Linear gain of an attenuation in hundredths of a decibel (<= 0); -10000 and below is 0.
inline float GainOf(std::int32_t hundredthsDb) {
    if (hundredthsDb <= kVolumeMin) return 0.0f;
    return static_cast<float>(std::pow(10.0, static_cast<double>(std::min(hundredthsDb, 0)) / 2000.0));
}

struct StereoGain {
    float left = 1.0f;
    float right = 1.0f;
};

// The channel gains of a buffer at this volume and pan (both within range).
inline StereoGain GainsOf(std::int32_t volume, std::int32_t pan) {
    const std::int32_t leftDb = std::max(volume - std::max(pan, 0), kVolumeMin);
    const std::int32_t rightDb = std::max(volume + std::min(pan, 0), kVolumeMin);
    return {GainOf(leftDb), GainOf(rightDb)};
}

}  // namespace audio
