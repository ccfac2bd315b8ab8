#pragma once
// --audio-out: the game's sound rendered in step with the headless run's ticks, each tick
// the engine's timer period of sound, as in the window (the remainder carried, so no frame
// is lost or added), written as a wave file.

#include <cstdint>
#include <string>

#include "audio/wave_writer.h"

namespace app {

class TTickAudio {
public:
    // Creates the file for ticks of periodUs microseconds; false when it cannot be written.
    bool Open(const std::string& path, std::int64_t periodUs);
    // Renders and writes the frames of one more tick (silence while no sound output is open).
    void AfterTick();
    // Finishes the file; false when a write failed.
    bool Close();

    std::uint64_t Frames() const { return writer_.Frames(); }
    std::uint64_t ClippedSamples() const { return writer_.ClippedSamples(); }

private:
    audio::TWaveWriter writer_;
    std::int64_t ticks_ = 0;
    std::int64_t periodUs_ = 0;
    bool open_ = false;
};

}  // namespace app
