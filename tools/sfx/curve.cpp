#include "curve.h"

#include <cmath>

namespace sfx {

namespace {

// Exponential slides need two values of one sign away from zero; toward or from zero a
// cubic ease stands in, which has the same fast-then-slow character for amplitudes.
double slide(double from, double to, double x, Shape shape) {
  switch (shape) {
    case Shape::Hold:
      return from;
    case Shape::Linear:
      return from + (to - from) * x;
    case Shape::Exponential:
      if (from * to > 0.0) return from * std::pow(to / from, x);
      if (std::abs(to) < std::abs(from)) {
        const double k = 1.0 - x;
        return to + (from - to) * k * k * k;
      }
      return from + (to - from) * x * x * x;
  }
  return to;
}

}  // namespace

double Curve::value(double t) const {
  double from = start_;
  double t0 = 0.0;
  for (const Segment& s : segments_) {
    if (t < t0 + s.duration) return slide(from, s.target, (t - t0) / s.duration, s.shape);
    from = s.target;
    t0 += s.duration;
  }
  return from;
}

double Curve::end() const {
  double t = 0.0;
  for (const Segment& s : segments_) t += s.duration;
  return t;
}

void Curve::scale(double f) {
  start_ *= f;
  for (Segment& s : segments_) s.target *= f;
}

}  // namespace sfx
