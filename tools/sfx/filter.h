#pragma once
// A state-variable filter (trapezoidal integration): stable while its cutoff moves every
// sample, which the sweeps of the effects need.
namespace sfx {

enum class FilterType { Lowpass, Highpass, Bandpass, Notch };

class StateVariableFilter {
 public:
  StateVariableFilter(FilterType type, double sample_rate) : type_(type), rate_(sample_rate) {}
  // cutoff in Hz (clamped below the Nyquist frequency), q > 0 (0.707: no resonance peak).
  double process(double x, double cutoff, double q);

 private:
  FilterType type_;
  double rate_;
  double s1_ = 0.0;
  double s2_ = 0.0;
};

// A one-pole high-pass that removes any constant offset (about 10 Hz).
class DcBlocker {
 public:
  explicit DcBlocker(double sample_rate);
  double process(double x);

 private:
  double r_;
  double x1_ = 0.0;
  double y1_ = 0.0;
};

}  // namespace sfx
