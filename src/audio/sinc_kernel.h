#pragma once
// The resampler's interpolation kernels: Kaiser-windowed sinc low-passes, tabulated once.
//
// Played at or below the output rate, a sound is read through the kernel at its own rate:
// it passes the sound's band and removes the images above it. Played faster, the kernel is
// stretched by the rate ratio so that it cuts at the output's band edge instead, and what
// would fold back below the output's Nyquist frequency is removed too (a sound played at
// 300 % does not alias). The stretch comes in bands 10 % apart, each a table of its own; a
// ratio uses the band just above it, which puts the cut a little lower, never higher.

#include <array>
#include <cstdint>
#include <vector>

namespace audio {

inline constexpr int kKernelHalfWidth = 12;                 // zero crossings each side
inline constexpr int kPhaseBits = 8;
inline constexpr int kKernelPhases = 1 << kPhaseBits;       // table rows per source frame
inline constexpr double kKernelCutoff = 0.95;               // of the band's upper edge
inline constexpr double kKaiserBeta = 7.0;                  // about -75 dB beyond the band
inline constexpr double kBandStep = 1.1;                    // stretch from one band to the next
inline constexpr int kKernelBands = 16;                     // band 15 stretches 4.18 times
// No band has more taps than this (the widest has 108).
inline constexpr int kMaxKernelTaps = 128;
// A stretched kernel cuts this far below the output's Nyquist frequency, so that what lies
// just above it is in the stop band as well.
inline constexpr double kStretchMargin = 0.95;

struct TKernelBand {
    // Tap j of a row weighs the source frame (j - Reach + 1) frames from the position's
    // whole part; taps beyond 2 * Reach are zero (Taps is a multiple of 4).
    int Reach = 0;
    int Taps = 0;
    // Row p (0 .. kKernelPhases) is for a fractional position p / kKernelPhases and sums to
    // 1; row kKernelPhases closes the range, so rows p and p + 1 always interpolate.
    std::vector<float> Rows;
    double MaxRatio = 1.0;   // the largest rate ratio this band serves

    const float* Row(std::uint32_t p) const { return Rows.data() + static_cast<std::size_t>(p) * static_cast<std::size_t>(Taps); }
};

struct TSincKernel {
    std::array<TKernelBand, kKernelBands> Bands;
    int MaxTaps = 0;

    // The band for playing ratio source frames per output frame (the last one beyond it).
    const TKernelBand& BandFor(double ratio) const {
        for (const TKernelBand& b : Bands)
            if (ratio <= b.MaxRatio) return b;
        return Bands.back();
    }
};

// Built on first use (thread-safe); the mixer asks for it when it is made, so the audio
// thread never builds it.
const TSincKernel& SincKernel();

}  // namespace audio
