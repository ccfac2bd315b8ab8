// Sound-effect waves through the unit's own loading (LoadSounds): a file is played only when
// its data chunk lies inside it, and then the decoded sound holds exactly that chunk's whole
// frames; any other file leaves its slot silent. A loaded sound is played through the mixer
// and resampled from its last frames, so no speed reads outside the sound's padding.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "audio/mixer.h"
#include "audio/se.h"
#include "audio/sinc_kernel.h"
#include "audio/wave_format.h"
#include "fuzz_input.h"

namespace {

// What a sample of the data chunk decodes to, read straight from the file's bytes.
float SampleAt(std::span<const std::uint8_t> file, std::size_t at, bool wide) {
    if (wide) return static_cast<float>(static_cast<std::int16_t>(file[at] | (file[at + 1] << 8))) / 32768.0f;
    return static_cast<float>(static_cast<int>(file[at]) - 128) / 128.0f;
}

void Check(bool condition) {
    if (!condition) std::abort();
}

// The decoded planes against the chunk's bytes at the first and last frame, and the padding
// on both sides still silent.
void CheckDecoded(std::span<const std::uint8_t> file, const audio::TWaveParse& wave, const audio::TSoundData& d) {
    const audio::TWaveFormat& f = wave.Format;
    Check(d.Channels == f.Channels && d.Rate == f.SamplesPerSec);
    Check(d.Frames == static_cast<std::int64_t>(wave.DataSize / f.BlockAlign));
    Check(d.Samples.size() == d.Stride() * static_cast<std::size_t>(d.Channels));
    const bool wide = f.BitsPerSample == 16;
    const std::size_t bytesPerSample = wide ? 2 : 1;
    for (int c = 0; c < d.Channels; ++c) {
        const float* plane = d.Plane(c);
        for (const std::int64_t frame : {std::int64_t{0}, d.Frames - 1}) {
            if (frame < 0) continue;
            const std::size_t at = wave.DataOffset + static_cast<std::size_t>(frame) * f.BlockAlign +
                                   static_cast<std::size_t>(c) * bytesPerSample;
            Check(plane[frame] == SampleAt(file, at, wide));
        }
        Check(plane[-1] == 0.0f && plane[-audio::kSoundPad] == 0.0f);
        Check(plane[d.Frames] == 0.0f && plane[d.Frames + audio::kSoundPad - 1] == 0.0f);
    }
}

// Plays the sound's first frames, then its last ones as they ring out, at speeds from the
// slowest to the fastest a buffer takes: the kernel's reach before the start and past the
// end must stay in the padding.
void RingOut(const audio::TSoundData& d) {
    std::array<float, 64> left{}, right{};
    for (const std::int64_t hz : {std::int64_t{100}, std::int64_t{d.Rate}, std::int64_t{48000}, std::int64_t{200000}}) {
        const std::uint64_t step = (static_cast<std::uint64_t>(hz) << 32) / plat::kAudioRate;
        const int reach = audio::SincKernel().BandFor(static_cast<double>(step) / 4294967296.0).Reach;
        for (const std::int64_t from : {std::int64_t{0}, d.Frames + reach - 2}) {
            audio::TVoice voice;
            voice.Bind(&d);
            voice.SetFrequency(hz);
            voice.SetCurrentPosition(static_cast<std::uint32_t>(std::max<std::int64_t>(from, 0)));
            voice.Play();
            voice.MixInto(left.data(), right.data(), static_cast<int>(left.size()), plat::kAudioRate);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static audio::TMixer mixer;
    static const bool ready = audio::InitSound(&mixer);
    Check(ready);
    fuzz::MemoryFile file(data, size);
    if (!file.ok()) return 0;
    const std::span<const std::uint8_t> bytes(data, size);

    audio::SetSound(0, file.path(), 0, nullptr);
    const bool loaded = audio::LoadSounds(audio::TSoundMask{}.set(0));
    const audio::TSoundSlot& slot = audio::Sounds[0];

    const audio::TWaveParse wave = audio::ParseWave(bytes);
    const bool playable = wave.Ok && wave.DataSize >= 4 && wave.DataSize <= 0x0FFFFFFF;
    Check(loaded == playable);
    Check(wave.Ok || !wave.Error.empty());
    if (wave.Ok) Check(wave.DataOffset <= size && wave.DataSize <= size - wave.DataOffset);

    const std::uint64_t restartsBefore = mixer.Stats().Restarts;
    audio::PlaySE(0, -3, -2, 100);
    std::array<float, 2 * 64> out{};
    mixer.render(out.data(), 64);
    const std::uint64_t restarts = mixer.Stats().Restarts - restartsBefore;

    if (!loaded) {
        // Silent: no buffer, nothing decoded, and a play posts nothing.
        Check(!slot.Buffer.Valid() && !slot.Twin.Valid() && slot.Data == nullptr && restarts == 0);
        return 0;
    }
    Check(slot.Buffer.Valid() && slot.Data != nullptr && restarts == 1);
    CheckDecoded(bytes, wave, *slot.Data);
    RingOut(*slot.Data);
    audio::ReleaseSounds();
    return 0;
}
