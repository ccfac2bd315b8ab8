#include "audio/sound_data.h"

namespace audio {

TSoundData DecodePcm(const TWaveFormat& format, std::span<const std::uint8_t> data) {
    TSoundData d;
    d.Rate = format.SamplesPerSec;
    d.Channels = format.Channels;
    d.Frames = format.BlockAlign == 0 ? 0 : static_cast<std::int64_t>(data.size() / format.BlockAlign);
    d.Samples.assign(d.Stride() * static_cast<std::size_t>(d.Channels), 0.0f);
    const bool wide = format.BitsPerSample == 16;
    const std::uint8_t* in = data.data();
    for (std::int64_t i = 0; i < d.Frames; ++i) {
        for (int c = 0; c < d.Channels; ++c) {
            float v = 0.0f;
            if (wide) {
                v = static_cast<float>(static_cast<std::int16_t>(in[0] | (in[1] << 8))) * (1.0f / 32768.0f);
                in += 2;
            } else {
                v = static_cast<float>(static_cast<int>(in[0]) - 128) * (1.0f / 128.0f);
                in += 1;
            }
            d.Samples[static_cast<std::size_t>(c) * d.Stride() + kSoundPad + static_cast<std::size_t>(i)] = v;
        }
    }
    return d;
}

}  // namespace audio
