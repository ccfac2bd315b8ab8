#include "audio/soft_limiter.h"

#include <algorithm>
#include <cmath>

namespace audio {

TSoftLimiter::TSoftLimiter(int sampleRate)
    : release_(static_cast<float>(std::exp(-1.0 / (kReleaseSeconds * static_cast<double>(sampleRate))))) {}

float TSoftLimiter::Shape(float peak) {
    if (peak <= kKnee) return peak;
    const float room = kCeiling - kKnee;
    return kKnee + room * std::tanh((peak - kKnee) / room);
}

void TSoftLimiter::Process(float* left, float* right, int frames) {
    float env = envelope_;
    for (int n = 0; n < frames; ++n) {
        const float peak = std::max(std::abs(left[n]), std::abs(right[n]));
        env = std::max(peak, env * release_);
        if (env > kKnee) {
            // |sample| <= env, so the result is at most Shape(env) <= kCeiling.
            const float gain = Shape(env) / env;
            left[n] *= gain;
            right[n] *= gain;
        }
    }
    // Denormals would slow the follower down once everything is quiet.
    envelope_ = env < 1e-12f ? 0.0f : env;
}

}  // namespace audio
