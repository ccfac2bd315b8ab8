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

double Prototype(double x) {
    const double w = static_cast<double>(kKernelHalfWidth);
    if (std::abs(x) >= w) return 0.0;
    const double r = x / w;
    const double window = BesselI0(kKaiserBeta * std::sqrt(1.0 - r * r)) / BesselI0(kKaiserBeta);
    const double a = std::numbers::pi * kKernelCutoff * x;
    const double sinc = std::abs(a) < 1e-12 ? 1.0 : std::sin(a) / a;
    return kKernelCutoff * sinc * window;
}

TSincKernel Build() {
    TSincKernel k;
    for (int p = 0; p <= kKernelPhases; ++p) {
        const double frac = static_cast<double>(p) / kKernelPhases;
        double sum = 0.0;
        std::array<double, kKernelTaps> taps{};
        for (int j = 0; j < kKernelTaps; ++j) {
            taps[static_cast<std::size_t>(j)] = Prototype(static_cast<double>(j - kKernelHalfWidth + 1) - frac);
            sum += taps[static_cast<std::size_t>(j)];
        }
        for (int j = 0; j < kKernelTaps; ++j)
            k.Rows[static_cast<std::size_t>(p)][static_cast<std::size_t>(j)] =
                static_cast<float>(taps[static_cast<std::size_t>(j)] / sum);
    }
    for (std::size_t m = 0; m < k.Curve.size(); ++m)
        k.Curve[m] = static_cast<float>(
            Prototype(static_cast<double>(m) / kKernelPhases - static_cast<double>(kKernelHalfWidth)));
    return k;
}

}  // namespace

const TSincKernel& SincKernel() {
    static const TSincKernel kernel = Build();
    return kernel;
}

}  // namespace audio
