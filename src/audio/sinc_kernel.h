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
#include <cstddef>
#include <cstdint>

namespace audio {

inline constexpr int kKernelHalfWidth = 12;                 // zero crossings each side
inline constexpr int kPhaseBits = 8;
inline constexpr int kKernelPhases = 1 << kPhaseBits;       // table rows per source frame
inline constexpr double kKernelCutoff = 0.95;               // of the band's upper edge
inline constexpr double kKaiserBeta = 7.0;                  // about -75 dB beyond the band
inline constexpr double kBandStep = 1.1;                    // stretch from one band to the next
inline constexpr int kKernelBands = 16;                     // band 15 stretches 4.18 times
// A stretched kernel cuts this far below the output's Nyquist frequency, so that what lies
// just above it is in the stop band as well.
inline constexpr double kStretchMargin = 0.95;

namespace kernel_layout {

constexpr double Stretch(int band) {
    double s = 1.0;
    for (int i = 0; i < band; ++i) s *= kBandStep;
    return s;
}

// Source frames the kernel reaches on either side of a position.
constexpr int Reach(int band) {
    const double r = band == 0 ? kKernelHalfWidth : kKernelHalfWidth * Stretch(band) / kStretchMargin;
    const int whole = static_cast<int>(r);
    return whole < r - 1e-9 ? whole + 1 : whole;
}

// Taps of a row: the frames reached, rounded up to a multiple of 4 (the extra taps are 0).
constexpr int Taps(int band) { return (2 * Reach(band) + 3) / 4 * 4; }

constexpr std::size_t RowsSize(int band) { return static_cast<std::size_t>(kKernelPhases + 1) * Taps(band); }

constexpr std::size_t Offset(int band) {
    std::size_t at = 0;
    for (int b = 0; b < band; ++b) at += RowsSize(b);
    return at;
}

}  // namespace kernel_layout

inline constexpr int kMaxKernelTaps = kernel_layout::Taps(kKernelBands - 1);
inline constexpr std::size_t kKernelTableSize = kernel_layout::Offset(kKernelBands);

struct TKernelBand {
    // Tap j of a row weighs the source frame (j - Reach + 1) frames from the position's
    // whole part; taps from 2 * Reach on are zero.
    int Reach = 0;
    int Taps = 0;
    double MaxRatio = 1.0;        // the largest rate ratio this band serves
    const float* Rows = nullptr;  // kKernelPhases + 1 rows of Taps

    // Row p (0 .. kKernelPhases) is for a fractional position p / kKernelPhases and sums to
    // 1; row kKernelPhases closes the range, so rows p and p + 1 always interpolate.
    const float* Row(std::uint32_t p) const {
        return Rows + static_cast<std::size_t>(p) * static_cast<std::size_t>(Taps);
    }
};

class TSincKernel {
public:
    TSincKernel();   // fills the tables (a few milliseconds)
    TSincKernel(const TSincKernel&) = delete;
    TSincKernel& operator=(const TSincKernel&) = delete;

    // The band for playing ratio source frames per output frame (the last one beyond it).
    const TKernelBand& BandFor(double ratio) const {
        for (const TKernelBand& b : bands_)
            if (ratio <= b.MaxRatio) return b;
        return bands_.back();
    }
    const TKernelBand& Band(int index) const { return bands_[static_cast<std::size_t>(index)]; }

private:
    std::array<TKernelBand, kKernelBands> bands_{};
    std::array<float, kKernelTableSize> table_{};
};

// Built on first use (thread-safe) in static storage; the mixer asks for it when it is
// made, so the audio thread never builds it.
const TSincKernel& SincKernel();

}  // namespace audio
