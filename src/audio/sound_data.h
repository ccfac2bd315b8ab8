#pragma once
// A sound decoded for mixing: one plane of float samples per channel, with silent frames
// padded on both sides so the resampler's kernel may reach past either end unchecked.

#include <cstdint>
#include <span>
#include <vector>

#include "audio/sinc_kernel.h"
#include "audio/wave_format.h"

namespace audio {

// Zero frames before and after the sound: the resampler reads up to a kernel's reach before
// the start and, while the last frames ring out, up to a row of taps past the end.
inline constexpr int kSoundPad = 128;
static_assert(kSoundPad >= kMaxKernelTaps, "the padding covers the widest kernel");

struct TSoundData {
    std::uint32_t Rate = 0;
    int Channels = 0;
    std::int64_t Frames = 0;
    std::vector<float> Samples;   // Channels planes of kSoundPad + Frames + kSoundPad

    std::size_t Stride() const { return static_cast<std::size_t>(Frames) + 2 * kSoundPad; }
    // Frame 0 of channel c; frames -kSoundPad .. Frames + kSoundPad - 1 may be read.
    const float* Plane(int c) const { return Samples.data() + static_cast<std::size_t>(c) * Stride() + kSoundPad; }
};

// Decodes whole frames of 8-bit (unsigned) or 16-bit (signed little-endian) PCM to floats
// in -1..1; a partial frame at the end is dropped. The format must have passed ParseWave.
TSoundData DecodePcm(const TWaveFormat& format, std::span<const std::uint8_t> data);

}  // namespace audio
