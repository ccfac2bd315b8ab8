#pragma once
// Writes a stream of interleaved stereo float frames as a 16-bit PCM wave file, the sizes
// in its header filled in when it is closed.

#include <cstdint>
#include <cstdio>
#include <string>

namespace audio {

class TWaveWriter {
public:
    TWaveWriter() = default;
    ~TWaveWriter();
    TWaveWriter(const TWaveWriter&) = delete;
    TWaveWriter& operator=(const TWaveWriter&) = delete;

    // Creates the file for stereo frames at rate; false when it cannot be written.
    bool Open(const std::string& path, std::uint32_t rate);
    // Appends frames (values beyond -1..1 are clipped, and counted).
    void Write(const float* interleaved, int frames);
    // Fills in the header and closes; false when any write failed.
    bool Close();

    std::uint64_t Frames() const { return frames_; }
    std::uint64_t ClippedSamples() const { return clipped_; }

private:
    std::FILE* file_ = nullptr;
    std::uint32_t rate_ = 0;
    std::uint64_t frames_ = 0;
    std::uint64_t clipped_ = 0;
    bool failed_ = false;
};

}  // namespace audio
