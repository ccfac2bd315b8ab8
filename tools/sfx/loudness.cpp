#include "loudness.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <limits>
#include <numbers>

namespace sfx {

namespace {

struct Biquad {
  double b0, b1, b2, a1, a2;
  double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  double process(double x) {
    const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    return y;
  }
};

// The two stages of the ear weighting, designed for any sample rate.
Biquad shelf(double fs) {
  const double f0 = 1681.974450955533, gain_db = 3.999843853973347, q = 0.7071752369554196;
  const double k = std::tan(std::numbers::pi * f0 / fs);
  const double vh = std::pow(10.0, gain_db / 20.0);
  const double vb = std::pow(vh, 0.4996667741545416);
  const double a0 = 1.0 + k / q + k * k;
  return {(vh + vb * k / q + k * k) / a0, 2.0 * (k * k - vh) / a0, (vh - vb * k / q + k * k) / a0,
          2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
}

Biquad high_pass(double fs) {
  const double f0 = 38.13547087602444, q = 0.5003270373238773;
  const double k = std::tan(std::numbers::pi * f0 / fs);
  const double a0 = 1.0 + k / q + k * k;
  return {1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
}

}  // namespace

double loudness_db(std::span<const double> samples, int sample_rate) {
  if (samples.empty()) return -std::numeric_limits<double>::infinity();
  Biquad a = shelf(sample_rate), b = high_pass(sample_rate);
  std::vector<double> sq(samples.size());
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const double y = b.process(a.process(samples[i]));
    sq[i] = y * y;
  }
  const std::size_t window = std::min<std::size_t>(samples.size(), sample_rate / 20);
  double sum = 0.0, best = 0.0;
  for (std::size_t i = 0; i < sq.size(); ++i) {
    sum += sq[i];
    if (i >= window) sum -= sq[i - window];
    if (i + 1 >= window) best = std::max(best, sum);
  }
  return 10.0 * std::log10(std::max(best / window, 1e-20));
}

double peak_db(std::span<const double> samples) {
  double p = 0.0;
  for (double s : samples) p = std::max(p, std::abs(s));
  return p > 0.0 ? 20.0 * std::log10(p) : -std::numeric_limits<double>::infinity();
}

void limit(std::vector<double>& samples, double ceiling, int sample_rate) {
  const std::size_t n = samples.size();
  const std::size_t half = std::max<std::size_t>(1, sample_rate * 3 / 1000);
  std::vector<double> need(n);
  for (std::size_t i = 0; i < n; ++i) {
    const double a = std::abs(samples[i]);
    need[i] = a > ceiling ? ceiling / a : 1.0;
  }
  // The lowest gain needed within `half` samples either side (a sliding minimum)...
  std::vector<double> low(n);
  std::deque<std::size_t> window;
  for (std::size_t i = 0; i < n + half; ++i) {
    if (i < n) {
      while (!window.empty() && need[window.back()] >= need[i]) window.pop_back();
      window.push_back(i);
    }
    if (i >= half) {
      const std::size_t c = i - half;
      while (window.front() + half < c) window.pop_front();
      low[c] = need[window.front()];
    }
  }
  // ...then averaged over `half` samples centred on each sample: every value averaged lies
  // within half/2 of it, so the average never exceeds the gain that sample needs.
  const std::size_t r = half / 2;
  std::vector<double> prefix(n + 1, 0.0);
  for (std::size_t i = 0; i < n; ++i) prefix[i + 1] = prefix[i] + low[i];
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t a = i >= r ? i - r : 0, b = std::min(n, i + r + 1);
    samples[i] *= (prefix[b] - prefix[a]) / static_cast<double>(b - a);
  }
}

void fade_ends(std::vector<double>& samples, double fade_in, double fade_out, int sample_rate) {
  const std::size_t n = samples.size();
  const std::size_t in = std::min<std::size_t>(n, std::lround(fade_in * sample_rate));
  const std::size_t out = std::min<std::size_t>(n, std::lround(fade_out * sample_rate));
  for (std::size_t i = 0; i < in; ++i)
    samples[i] *= 0.5 - 0.5 * std::cos(std::numbers::pi * static_cast<double>(i) / in);
  for (std::size_t i = 0; i < out; ++i)
    samples[n - 1 - i] *= 0.5 - 0.5 * std::cos(std::numbers::pi * static_cast<double>(i) / out);
}

}  // namespace sfx
