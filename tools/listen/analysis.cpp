#include "analysis.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

namespace listen {

namespace {

void fft(std::vector<std::complex<double>>& a) {
  const std::size_t n = a.size();
  for (std::size_t i = 1, j = 0; i < n; ++i) {
    std::size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(a[i], a[j]);
  }
  for (std::size_t len = 2; len <= n; len <<= 1) {
    const std::complex<double> w = std::polar(1.0, -2.0 * std::numbers::pi / static_cast<double>(len));
    for (std::size_t i = 0; i < n; i += len) {
      std::complex<double> u(1.0);
      for (std::size_t k = 0; k < len / 2; ++k) {
        const auto x = a[i + k], y = a[i + k + len / 2] * u;
        a[i + k] = x + y;
        a[i + k + len / 2] = x - y;
        u *= w;
      }
    }
  }
}

double db(double power) { return 10.0 * std::log10(std::max(power, 1e-20)); }

}  // namespace

std::vector<float> to_mono(std::span<const float> s) {
  std::vector<float> m(s.size() / 2);
  for (std::size_t i = 0; i < m.size(); ++i) m[i] = 0.5f * (s[2 * i] + s[2 * i + 1]);
  return m;
}

Measures measure(std::span<const float> x, int rate, double until) {
  Measures m;
  m.seconds = static_cast<double>(x.size()) / rate;
  double peak = 0.0, sum = 0.0;
  for (float v : x) {
    peak = std::max(peak, static_cast<double>(std::abs(v)));
    sum += static_cast<double>(v) * v;
  }
  m.peak_db = 20.0 * std::log10(std::max(peak, 1e-10));
  m.rms_db = db(sum / std::max<std::size_t>(x.size(), 1));

  // Gaps: 50 ms frames quieter than -50 dBFS.
  const std::size_t frame = rate / 20;
  const std::size_t last = std::min(x.size(), static_cast<std::size_t>(until * rate));
  double run = 0.0;
  bool leading = true;
  for (std::size_t i = 0; i + frame <= last; i += frame) {
    double e = 0.0;
    for (std::size_t k = i; k < i + frame; ++k) e += static_cast<double>(x[k]) * x[k];
    if (db(e / frame) < -50.0) {
      run += 0.05;
      if (leading) m.leading_silence = run;
    } else {
      leading = false;
      run = 0.0;
    }
    m.longest_silence = std::max(m.longest_silence, run);
  }

  // Spectrum and onsets: 2048-sample frames, hop 1024.
  constexpr std::size_t kN = 2048, kHop = 1024;
  std::vector<double> window(kN), previous(kN / 2, 0.0), flux;
  for (std::size_t i = 0; i < kN; ++i) window[i] = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * i / kN);
  double weighted = 0.0, total = 0.0, low = 0.0, mid = 0.0, high = 0.0;
  std::vector<std::complex<double>> buf(kN);
  for (std::size_t start = 0; start + kN <= x.size(); start += kHop) {
    for (std::size_t i = 0; i < kN; ++i) buf[i] = x[start + i] * window[i];
    fft(buf);
    double f_sum = 0.0;
    for (std::size_t k = 1; k < kN / 2; ++k) {
      const double p = std::norm(buf[k]);
      const double hz = static_cast<double>(k) * rate / kN;
      weighted += p * hz;
      total += p;
      (hz < 250.0 ? low : hz < 4000.0 ? mid : high) += p;
      const double mag = std::sqrt(p);
      f_sum += std::max(0.0, std::log1p(100.0 * mag) - std::log1p(100.0 * previous[k]));
      previous[k] = mag;
    }
    flux.push_back(f_sum);
  }
  if (total > 0.0) {
    m.centroid_hz = weighted / total;
    m.low = low / total;
    m.mid = mid / total;
    m.high = high / total;
  }
  // Onsets: local maxima of the flux above its running median plus a margin.
  int onsets = 0;
  for (std::size_t i = 1; i + 1 < flux.size(); ++i) {
    const std::size_t a = i >= 8 ? i - 8 : 0, b = std::min(flux.size(), i + 9);
    std::vector<double> near(flux.begin() + a, flux.begin() + b);
    std::nth_element(near.begin(), near.begin() + near.size() / 2, near.end());
    const double threshold = near[near.size() / 2] * 1.3 + 1.0;
    if (flux[i] > threshold && flux[i] >= flux[i - 1] && flux[i] > flux[i + 1]) ++onsets;
  }
  m.onsets_per_second = m.seconds > 0.0 ? onsets / m.seconds : 0.0;
  return m;
}

}  // namespace listen
