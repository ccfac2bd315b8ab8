#include "audio/sinc_kernel.h"

#include <algorithm>
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

TKernelBand BuildBand(int index) {
    TKernelBand b;
    b.MaxRatio = std::pow(kBandStep, index);
    // Band 0 is the kernel at the source rate; the others narrow it to the output's band.
    const double scale = index == 0 ? 1.0 : kStretchMargin / b.MaxRatio;
    b.Reach = std::min(static_cast<int>(std::ceil(kKernelHalfWidth / scale - 1e-9)), (kMaxKernelTaps - 3) / 2);
    b.Taps = (2 * b.Reach + 3) / 4 * 4;
    b.Rows.assign(static_cast<std::size_t>(kKernelPhases + 1) * static_cast<std::size_t>(b.Taps), 0.0f);
    std::vector<double> taps(static_cast<std::size_t>(b.Taps));
    for (int p = 0; p <= kKernelPhases; ++p) {
        const double frac = static_cast<double>(p) / kKernelPhases;
        double sum = 0.0;
        for (int j = 0; j < 2 * b.Reach; ++j) {
            taps[static_cast<std::size_t>(j)] = Prototype((static_cast<double>(j - b.Reach + 1) - frac) * scale);
            sum += taps[static_cast<std::size_t>(j)];
        }
        float* row = b.Rows.data() + static_cast<std::size_t>(p) * static_cast<std::size_t>(b.Taps);
        for (int j = 0; j < 2 * b.Reach; ++j) row[j] = static_cast<float>(taps[static_cast<std::size_t>(j)] / sum);
    }
    return b;
}

TSincKernel Build() {
    TSincKernel k;
    for (int i = 0; i < kKernelBands; ++i) {
        k.Bands[static_cast<std::size_t>(i)] = BuildBand(i);
        k.MaxTaps = std::max(k.MaxTaps, k.Bands[static_cast<std::size_t>(i)].Taps);
    }
    return k;
}

}  // namespace

const TSincKernel& SincKernel() {
    static const TSincKernel kernel = Build();
    return kernel;
}

}  // namespace audio
