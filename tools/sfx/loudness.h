#pragma once
// How loud an effect is, and the steps that bring it to its level without clipping.
#include <span>
#include <vector>

namespace sfx {

// The loudness of an effect: the highest mean square, over any 50 ms stretch, of the signal
// weighted like the ear (a high shelf of +4 dB above about 1.7 kHz and a high-pass at about
// 38 Hz, as broadcast loudness meters weight it), in dB relative to full scale. Shorter
// sounds are measured whole.
double loudness_db(std::span<const double> samples, int sample_rate);

// The highest absolute sample, in dB relative to full scale (-inf for silence).
double peak_db(std::span<const double> samples);

// Lowers the gain around every sample above `ceiling` (linear) so that none exceeds it; the
// gain changes smoothly over about 3 ms on either side of each peak.
void limit(std::vector<double>& samples, double ceiling, int sample_rate);

// Raised-cosine fades at the ends (seconds), so playback starts and stops without a click.
void fade_ends(std::vector<double>& samples, double fade_in, double fade_out, int sample_rate);

}  // namespace sfx
