#include "audio_measure.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

namespace sfx_test {

namespace {

// Direct-form biquad from its analogue prototype via the bilinear transform.
struct Section {
  double b0, b1, b2, a1, a2, z1 = 0, z2 = 0;
  double run(double x) {
    const double y = b0 * x + z1;
    z1 = b1 * x - a1 * y + z2;
    z2 = b2 * x - a2 * y;
    return y;
  }
};

std::vector<double> weight(const std::vector<double>& x, double fs) {
  const double pi = std::numbers::pi;
  // High shelf, +4 dB above about 1.68 kHz.
  double k = std::tan(pi * 1681.974450955533 / fs), q = 0.7071752369554196;
  const double vh = std::pow(10.0, 3.999843853973347 / 20.0), vb = std::pow(vh, 0.4996667741545416);
  double a0 = 1.0 + k / q + k * k;
  Section shelf{(vh + vb * k / q + k * k) / a0, 2.0 * (k * k - vh) / a0, (vh - vb * k / q + k * k) / a0,
                2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
  // High-pass at about 38 Hz.
  k = std::tan(pi * 38.13547087602444 / fs);
  q = 0.5003270373238773;
  a0 = 1.0 + k / q + k * k;
  Section hp{1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
  std::vector<double> y(x.size());
  for (std::size_t i = 0; i < x.size(); ++i) y[i] = hp.run(shelf.run(x[i]));
  return y;
}

void fft(std::vector<std::complex<double>>& a) {
  const std::size_t n = a.size();
  if (n < 2) return;
  std::vector<std::complex<double>> even(n / 2), odd(n / 2);
  for (std::size_t i = 0; i < n / 2; ++i) {
    even[i] = a[2 * i];
    odd[i] = a[2 * i + 1];
  }
  fft(even);
  fft(odd);
  for (std::size_t k = 0; k < n / 2; ++k) {
    const auto t = std::polar(1.0, -2.0 * std::numbers::pi * k / n) * odd[k];
    a[k] = even[k] + t;
    a[k + n / 2] = even[k] - t;
  }
}

}  // namespace

double weighted_loudness_db(const std::vector<double>& x, double rate) {
  const std::vector<double> y = weight(x, rate);
  const std::size_t w = std::min<std::size_t>(y.size(), static_cast<std::size_t>(rate * 0.05));
  double best = 0.0;
  for (std::size_t start = 0; start + w <= y.size(); ++start) {
    // Recomputed per window on purpose: slow but obviously right for these short files.
    if (start % 16 && start + w != y.size()) continue;
    double s = 0.0;
    for (std::size_t i = start; i < start + w; ++i) s += y[i] * y[i];
    best = std::max(best, s / w);
  }
  return 10.0 * std::log10(std::max(best, 1e-20));
}

double peak_db(const std::vector<double>& x) {
  double p = 0.0;
  for (double v : x) p = std::max(p, std::abs(v));
  return 20.0 * std::log10(std::max(p, 1e-12));
}

double mean(const std::vector<double>& x) {
  double s = 0.0;
  for (double v : x) s += v;
  return x.empty() ? 0.0 : s / x.size();
}

double energy_above(const std::vector<double>& x, double rate, double hz) {
  std::size_t n = 1;
  while (n < x.size()) n <<= 1;
  std::vector<std::complex<double>> a(n);
  for (std::size_t i = 0; i < x.size(); ++i) a[i] = x[i];
  fft(a);
  double total = 0.0, above = 0.0;
  for (std::size_t k = 1; k < n / 2; ++k) {
    const double p = std::norm(a[k]);
    total += p;
    if (k * rate / n > hz) above += p;
  }
  return total > 0.0 ? above / total : 0.0;
}

}  // namespace sfx_test
