#include "filter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace sfx {

double StateVariableFilter::process(double x, double cutoff, double q) {
  const double fc = std::clamp(cutoff, 10.0, rate_ * 0.49);
  const double g = std::tan(std::numbers::pi * fc / rate_);
  const double k = 1.0 / std::max(q, 0.05);
  const double hp = (x - (k + g) * s1_ - s2_) / (1.0 + g * (g + k));
  const double bp = g * hp + s1_;
  const double lp = g * bp + s2_;
  s1_ = g * hp + bp;
  s2_ = g * bp + lp;
  switch (type_) {
    case FilterType::Lowpass:
      return lp;
    case FilterType::Highpass:
      return hp;
    case FilterType::Bandpass:
      return bp * k;  // unity gain at the centre
    case FilterType::Notch:
      return x - k * bp;
  }
  return lp;
}

DcBlocker::DcBlocker(double sample_rate) : r_(1.0 - 2.0 * std::numbers::pi * 10.0 / sample_rate) {}

double DcBlocker::process(double x) {
  const double y = x - x1_ + r_ * y1_;
  x1_ = x;
  y1_ = y;
  return y;
}

}  // namespace sfx
