#pragma once
// The resampler's interpolation kernel: a Kaiser-windowed sinc low-pass, tabulated once.
//
// Read back at the source rate (playback at or below the output rate) the kernel passes
// the sound's band and removes the images above it; stretched by the rate ratio (playback
// faster than the output rate) it also cuts what would fold back below the output's
// Nyquist frequency, so a sound played at 300 % does not alias.

#include <array>
#include <cstdint>

namespace audio {

inline constexpr int kKernelHalfWidth = 12;                 // zero crossings each side
inline constexpr int kKernelTaps = 2 * kKernelHalfWidth;    // source frames per output frame
inline constexpr int kPhaseBits = 8;
inline constexpr int kKernelPhases = 1 << kPhaseBits;       // table rows per source frame
inline constexpr double kKernelCutoff = 0.88;               // of the band's upper edge
inline constexpr double kKaiserBeta = 7.5;                  // about -75 dB side lobes

struct TSincKernel {
    // Row p holds the taps for a fractional position p / kKernelPhases: tap j weighs the
    // source frame (j - kKernelHalfWidth + 1) frames from the position's whole part. Each row
    // sums to 1. Row kKernelPhases closes the range, so rows p and p + 1 always interpolate.
    std::array<std::array<float, kKernelTaps>, kKernelPhases + 1> Rows{};
    // The same curve over x = -halfwidth .. +halfwidth at kKernelPhases points per unit.
    std::array<float, 2 * kKernelHalfWidth * kKernelPhases + 2> Curve{};

    // The curve at x (0 outside the kernel), interpolated between table points.
    float At(float x) const {
        const float u = (x + static_cast<float>(kKernelHalfWidth)) * static_cast<float>(kKernelPhases);
        if (!(u >= 0.0f) || u >= static_cast<float>(Curve.size() - 2)) return 0.0f;
        const auto i = static_cast<std::size_t>(u);
        const float t = u - static_cast<float>(i);
        return Curve[i] + t * (Curve[i + 1] - Curve[i]);
    }
};

// The one table, built on first use (thread-safe); the mixer asks for it when it is made,
// so the audio thread never builds it.
const TSincKernel& SincKernel();

}  // namespace audio
