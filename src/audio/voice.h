#pragma once
// One playing copy of a sound (what a sound buffer or its duplicate is on a sound card):
// its controls, its play position and the resampling that turns it into output frames.
// Only the mixer touches voices, on the audio thread or under the mixer's lock.

#include <cstdint>

#include "audio/buffer_controls.h"
#include "audio/sound_data.h"

namespace audio {

class TVoice {
public:
    // Gives the voice a sound with the controls reset (volume 0, pan 0, the sound's own rate),
    // stopped at its start; nullptr leaves it without one.
    void Bind(const TSoundData* data);
    const TSoundData* Data() const { return data_; }

    // The buffer operations. A setter given a value outside its range changes nothing.
    void Stop() { playing_ = false; }
    void SetCurrentPosition(std::uint32_t frame) { position_ = static_cast<std::uint64_t>(frame) << 32; }
    void SetPan(std::int64_t pan);
    void SetVolume(std::int64_t volume);
    void SetFrequency(std::int64_t hz);   // 0: the sound's own rate
    // Plays once from the current position to the end (nothing without a sound).
    void Play() { playing_ = data_ != nullptr; }

    bool Playing() const { return playing_; }
    std::int32_t Pan() const { return pan_; }
    std::int32_t Volume() const { return volume_; }
    std::uint32_t Frequency() const;   // in effect, Hz

    // Adds the next frames of the voice at outputRate into the two channel accumulators;
    // stops the voice when the sound has played out.
    void MixInto(float* left, float* right, int frames, int outputRate);

private:
    const TSoundData* data_ = nullptr;
    bool playing_ = false;
    std::uint64_t position_ = 0;   // source frames, 32.32 fixed point
    std::int32_t pan_ = 0;
    std::int32_t volume_ = 0;
    std::uint32_t frequency_ = 0;  // 0 = the sound's own rate
    StereoGain gain_{};
};

}  // namespace audio
