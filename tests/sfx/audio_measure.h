#pragma once
// Measurements for the effect tests, written apart from the generator's own.
#include <vector>

namespace sfx_test {

// Highest mean square over any 50 ms window of the signal weighted like the ear (the
// two-stage weighting of broadcast loudness meters), in dB; a shorter signal is taken whole.
double weighted_loudness_db(const std::vector<double>& x, double rate);
double peak_db(const std::vector<double>& x);
double mean(const std::vector<double>& x);
// Fraction of the signal's energy above `hz` (power spectrum of the whole signal).
double energy_above(const std::vector<double>& x, double rate, double hz);

}  // namespace sfx_test
