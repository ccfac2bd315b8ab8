// The mixer at work: 32 effect voices at once (mono and stereo files at 22050, 44100 and
// 11025 Hz, played at 50 % to 300 %) plus a piece of music through FluidSynth (the game's
// boss piece when it lies beside the program), rendered in blocks of 10 ms. Reports the
// time per 10 ms of sound and its share of one core (goal: under 5 %).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "audio/file_bytes.h"
#include "audio/mixer.h"
#include "audio/sound_data.h"
#include "audio/test_sounds.h"
#include "platform/audio_device.h"
#include "platform/midi_synth.h"
#include "platform/platform.h"
#include "platform/soundfont.h"

namespace {

constexpr int kBlockFrames = plat::kAudioRate / 100;   // 10 ms
constexpr int kVoices = 32;
constexpr int kRestartEvery = 300;                     // blocks (3 s), within every sound's length
constexpr int kPieceRestartEvery = 2000;               // blocks (20 s), within the piece's length

// A noisy chord: something for the resampler to work on across the band.
std::unique_ptr<audio::TSoundData> MakeSound(int index) {
    const std::uint32_t rates[] = {22050, 44100, 11025};
    const std::uint32_t rate = rates[index % 3];
    const int channels = index % 4 == 3 ? 2 : 1;
    testsound::WaveDesc desc;
    desc.rate = rate;
    desc.channels = static_cast<std::uint16_t>(channels);
    desc.samples = testsound::Sine(220.0 + 31.0 * index, rate, 4.0, 0.2f, channels);
    std::uint32_t noise = 12345u + static_cast<std::uint32_t>(index);
    for (float& v : desc.samples) {
        noise = noise * 134775813u + 1u;
        v += 0.05f * (static_cast<float>(noise >> 8) / 8388608.0f - 1.0f);
    }
    const auto bytes = testsound::WaveBytes(desc);
    const audio::TWaveParse wave = audio::ParseWave(bytes);
    return std::make_unique<audio::TSoundData>(audio::DecodePcm(
        wave.Format, std::span<const std::uint8_t>(bytes).subspan(wave.DataOffset, wave.DataSize)));
}

// Four channels of chords, a bass line and drums, repeated for a minute.
std::vector<std::uint8_t> MakePiece() {
    std::vector<testsound::MidiTrack> tracks(4);
    tracks[0].Program(0, 48);    // strings
    tracks[1].Program(1, 33);    // bass
    tracks[2].Program(2, 80);    // lead
    for (int bar = 0; bar < 120; ++bar) {
        const auto root = static_cast<std::uint8_t>(48 + (bar % 4) * 2);
        tracks[0].Event(0, {0x90, root, 80});
        tracks[0].Event(0, {0x90, static_cast<std::uint8_t>(root + 4), 80});
        tracks[0].Event(0, {0x90, static_cast<std::uint8_t>(root + 7), 80});
        tracks[0].Event(192, {0x80, root, 0});
        tracks[0].Event(0, {0x80, static_cast<std::uint8_t>(root + 4), 0});
        tracks[0].Event(0, {0x80, static_cast<std::uint8_t>(root + 7), 0});
        for (int beat = 0; beat < 4; ++beat) {
            tracks[1].Note(1, static_cast<std::uint8_t>(root - 12), 44, 100, beat == 0 ? 0 : 4);
            tracks[2].Note(2, static_cast<std::uint8_t>(root + 12 + beat * 2), 40, 90, beat == 0 ? 0 : 8);
            tracks[3].Note(9, beat % 2 ? 38 : 36, 24, 110, beat == 0 ? 0 : 24);
            tracks[3].Note(9, 42, 24, 70);
        }
    }
    for (auto& t : tracks) t.End();
    return testsound::MidiBytes(tracks);
}

struct Scene {
    std::vector<std::unique_ptr<audio::TSoundData>> sounds;
    std::vector<audio::TVoiceHandle> voices;
    std::unique_ptr<plat::MidiSynth> synth;
    std::vector<std::uint8_t> piece;
    audio::TMixer mixer;

    void StartVoices() {
        for (std::size_t i = 0; i < voices.size(); ++i) {
            const auto pan = static_cast<std::int64_t>(i * 600) - 9000;
            const std::int64_t percent = i == 7 || i == 19 ? 100 : 50 + static_cast<std::int64_t>(i * 5 % 80);
            mixer.PostRestart(voices[i], pan, -1200, sounds[i]->Rate * percent / 100);
        }
    }
};

void Run(benchmark::State& state, bool effects, bool music) {
    Scene scene;
    if (effects) {
        for (int i = 0; i < kVoices; ++i) {
            scene.sounds.push_back(MakeSound(i));
            scene.voices.push_back(scene.mixer.CreateBuffer(*scene.sounds.back()));
        }
    }
    if (music) {
        std::string error;
        const std::string soundFont = plat::findSoundFont();
        scene.synth = soundFont.empty() ? nullptr : plat::MidiSynth::create(soundFont, plat::kAudioRate, error);
        if (!scene.synth) {
            state.SkipWithError(("no music: " + (soundFont.empty() ? std::string("no soundfont") : error)).c_str());
            return;
        }
        scene.mixer.SetMusic(scene.synth.get());
        // The game's own busiest piece when it lies beside the benchmark, else one made here.
        std::vector<std::uint8_t> piece;
        std::string unused;
        if (!audio::ReadFileBytes(plat::programDir() + "Boss.mid", 1u << 20, piece, unused)) piece = MakePiece();
        scene.piece = piece;
        scene.mixer.Exclusive([&] { scene.synth->play(scene.piece); });
    }
    std::vector<float> out(2 * kBlockFrames);
    // Into the piece, so every channel sounds.
    for (int i = 0; i < 200; ++i) scene.mixer.render(out.data(), kBlockFrames);
    int blocks = 0;
    for (auto _ : state) {
        if (blocks % kRestartEvery == 0) scene.StartVoices();
        if (scene.synth && blocks % kPieceRestartEvery == kPieceRestartEvery - 1)
            scene.mixer.Exclusive([&] { scene.synth->play(scene.piece); });
        ++blocks;
        scene.mixer.render(out.data(), kBlockFrames);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["us_per_10ms"] = benchmark::Counter(static_cast<double>(state.iterations()) * 1e-6,
                                                       benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    // Seconds per iteration / 10 ms, in percent.
    state.counters["core_pct"] = benchmark::Counter(static_cast<double>(state.iterations()) * 1e-4,
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_Mixer32VoicesAndMusic(benchmark::State& state) { Run(state, true, true); }
void BM_Mixer32Voices(benchmark::State& state) { Run(state, true, false); }
void BM_MixerMusicOnly(benchmark::State& state) { Run(state, false, true); }

BENCHMARK(BM_Mixer32VoicesAndMusic)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Mixer32Voices)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MixerMusicOnly)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
