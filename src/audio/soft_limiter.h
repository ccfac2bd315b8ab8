#pragma once
// The limiter on the mixed sum: a peak follower with instant attack and a smooth release
// drives one gain for both channels, through a soft knee that bends toward the ceiling and
// never passes it. Below the knee the sum passes untouched; a bomb over a full screen is
// pressed down instead of clipping, and let up again over a tenth of a second.

#include <cstdint>

namespace audio {

class TSoftLimiter {
public:
    static constexpr float kKnee = 0.6f;      // about -4.4 dBFS: louder peaks are pressed down
    static constexpr float kCeiling = 0.98f;  // the output never goes beyond this
    static constexpr float kReleaseSeconds = 0.12f;

    explicit TSoftLimiter(int sampleRate);
    // Limits frames of the two channel planes in place.
    void Process(float* left, float* right, int frames);
    // The peak level the gain follows (for tests).
    float Envelope() const { return envelope_; }

    // The level a peak of this size is brought to: itself below the knee, then a curve that
    // bends toward the ceiling (and reaches it only for peaks far above it).
    static float Shape(float peak);

private:
    float release_ = 0.0f;
    float envelope_ = 0.0f;
};

}  // namespace audio
