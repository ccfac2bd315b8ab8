#include "audio/sinc_kernel.h"

#include <cmath>
#include <numbers>

namespace audio {
namespace {

// The modified Bessel function of the first kind, order 0, by its power series.
double BesselI0(double x) {
    double sum = 1.0, term = 1.0;
    const double q = x * x / 4.0;
    for (int k = 1; k < 64; ++k) {
        term *= q / (static_cast<double>(k) * static_cast<double>(k));
        sum += term;
        if (term < sum * 1e-17) break;
    }
    return sum;
}

// The unstretched kernel at x source frames from the position (0 from the half width on).
double Prototype(double x) {
    const double w = static_cast<double>(kKernelHalfWidth);
    if (std::abs(x) >= w) return 0.0;
    const double r = x / w;
    const double window = BesselI0(kKaiserBeta * std::sqrt(1.0 - r * r)) / BesselI0(kKaiserBeta);
    const double a = std::numbers::pi * kKernelCutoff * x;
    const double sinc = std::abs(a) < 1e-12 ? 1.0 : std::sin(a) / a;
    return kKernelCutoff * sinc * window;
}

}  // namespace

TSincKernel::TSincKernel() {
    for (int index = 0; index < kKernelBands; ++index) {
        TKernelBand& b = bands_[static_cast<std::size_t>(index)];
        b.Reach = kernel_layout::Reach(index);
        b.Taps = kernel_layout::Taps(index);
        b.MaxRatio = kernel_layout::Stretch(index);
        float* rows = table_.data() + kernel_layout::Offset(index);
        b.Rows = rows;
        // Band 0 is the kernel at the source rate; the others narrow it to the output's band.
        const double scale = index == 0 ? 1.0 : kStretchMargin / b.MaxRatio;
        std::array<double, kMaxKernelTaps> taps{};
        for (int p = 0; p <= kKernelPhases; ++p) {
            const double frac = static_cast<double>(p) / kKernelPhases;
            double sum = 0.0;
            for (int j = 0; j < 2 * b.Reach; ++j) {
                taps[static_cast<std::size_t>(j)] = Prototype((static_cast<double>(j - b.Reach + 1) - frac) * scale);
                sum += taps[static_cast<std::size_t>(j)];
            }
            float* row = rows + static_cast<std::size_t>(p) * static_cast<std::size_t>(b.Taps);
            for (int j = 0; j < 2 * b.Reach; ++j) row[j] = static_cast<float>(taps[static_cast<std::size_t>(j)] / sum);
        }
    }
}

const TSincKernel& SincKernel() {
    static const TSincKernel kernel;
    return kernel;
}

}  // namespace audio
