#include "oscillator.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace sfx {

namespace {

// The polynomial correction that removes most of the aliasing of a jump in the waveform
// at phase 0 (t: phase in periods, dt: phase step).
double blep(double t, double dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1.0;
  }
  if (t > 1.0 - dt) {
    t = (t - 1.0) / dt;
    return t * t + t + t + 1.0;
  }
  return 0.0;
}

double wrap(double p) { return p - std::floor(p); }

}  // namespace

Oscillator::Oscillator(Wave wave, double sample_rate, std::uint64_t seed)
    : wave_(wave), rate_(sample_rate), random_(seed) {}

double Oscillator::next(double freq, double duty, double phase_mod) {
  const double dt = std::min(std::abs(freq) / rate_, 0.5);
  const double p = wrap(phase_ + phase_mod);
  double out = 0.0;
  switch (wave_) {
    case Wave::Sine:
      out = std::sin(2.0 * std::numbers::pi * p);
      break;
    case Wave::Triangle:
      out = p < 0.5 ? 4.0 * p - 1.0 : 3.0 - 4.0 * p;
      break;
    case Wave::Saw:
      out = 2.0 * p - 1.0 - blep(p, dt);
      break;
    case Wave::Square: {
      const double d = std::clamp(duty, 0.02, 0.98);
      out = (p < d ? 1.0 : -1.0) + blep(p, dt) - blep(wrap(p - d + 1.0), dt);
      // Keep the mean at zero whatever the duty.
      out -= 2.0 * d - 1.0;
      break;
    }
    case Wave::Noise:
      // A new value whenever the phase wraps: the lower the rate, the darker the hiss.
      if (phase_ + std::abs(freq) / rate_ >= 1.0 || freq <= 0.0) held_ = random_.bipolar();
      out = held_;
      break;
    case Wave::Crackle:
      out = random_.unit() < std::abs(freq) / rate_ ? random_.bipolar() * 4.0 : 0.0;
      break;
  }
  phase_ = wrap(phase_ + (wave_ == Wave::Noise ? std::abs(freq) / rate_ : dt));
  return out;
}

}  // namespace sfx
