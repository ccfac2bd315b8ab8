#pragma once
// Band-limited oscillators and noise sources, one sample at a time.
#include <cstdint>

#include "random.h"

namespace sfx {

enum class Wave { Sine, Triangle, Saw, Square, Noise, Crackle };

class Oscillator {
 public:
  Oscillator(Wave wave, double sample_rate, std::uint64_t seed);

  // freq: Hz (for Noise the rate at which a new random value is drawn, for Crackle the mean
  // number of impulses per second); duty: the high part of a Square's period (0..1);
  // phase_mod: an offset of the phase in periods (frequency modulation).
  double next(double freq, double duty, double phase_mod);

 private:
  Wave wave_;
  double rate_;
  double phase_ = 0.0;
  double held_ = 0.0;
  Random random_;
};

}  // namespace sfx
