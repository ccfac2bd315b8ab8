// End to end: a game's sound rendered with --audio-out, from the game's own waves and music,
// measured in the file: its length in step with the ticks, level, clipping, and the effects
// over the music.
#include <cmath>

#include "audio/wave_format.h"
#include "e2e_support.h"

namespace {

using namespace e2e;

struct Render {
    std::vector<std::int16_t> samples;   // interleaved stereo
    audio::TWaveFormat format;
};

Render ReadRender(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    const audio::TWaveParse wave = audio::ParseWave(bytes);
    Render r;
    EXPECT_TRUE(wave.Ok) << wave.Error;
    if (!wave.Ok) return r;
    r.format = wave.Format;
    r.samples.resize(wave.DataSize / 2);
    for (std::size_t i = 0; i < r.samples.size(); ++i)
        r.samples[i] = static_cast<std::int16_t>(bytes[wave.DataOffset + 2 * i] | (bytes[wave.DataOffset + 2 * i + 1] << 8));
    return r;
}

double RmsDb(const std::vector<double>& v) {
    double sum = 0.0;
    for (double x : v) sum += x * x;
    return 10.0 * std::log10(sum / static_cast<double>(v.size()) + 1e-30);
}

std::vector<double> Scaled(const Render& r) {
    std::vector<double> v(r.samples.size());
    for (std::size_t i = 0; i < v.size(); ++i) v[i] = r.samples[i] / 32768.0;
    return v;
}

TEST(EndToEnd, AudioOutRendersTheGamesSoundInStepWithTheTicks) {
    const fs::path home = MakeHome("audioout");
    ASSERT_TRUE(fs::exists(home / "Valcan.wav") && fs::exists(home / "BGM2.mid")) << "the game's sound files";
    WriteInput(home / "input.bin", 4201);
    // 4201 ticks of the engine's 14 ms: 672 frames each.
    const std::string common = "--start-from 2 --no-draw --ticks 4201 --input " + (home / "input.bin").string();
    const RunResult full = RunGame(home, common + " --audio-out " + (home / "full.wav").string());
    const RunResult music = RunGame(home, common + " --no-sound-effects --audio-out " + (home / "music.wav").string());
    const RunResult silent = RunGame(home, common);
    ASSERT_EQ(full.exitCode, 0) << full.errors;
    ASSERT_EQ(music.exitCode, 0) << music.errors;
    ASSERT_EQ(silent.exitCode, 0) << silent.errors;
    // Rendering the sound changes nothing in the game.
    EXPECT_EQ(TextField(full.summary, "state"), TextField(silent.summary, "state"));
    EXPECT_EQ(full.errors.find("music"), std::string::npos) << full.errors;

    const Render a = ReadRender(home / "full.wav");
    const Render m = ReadRender(home / "music.wav");
    EXPECT_EQ(a.format.SamplesPerSec, 48000u);
    EXPECT_EQ(a.format.Channels, 2);
    EXPECT_EQ(a.format.BitsPerSample, 16);
    EXPECT_EQ(a.samples.size(), 2u * 672u * 4201u);
    ASSERT_EQ(a.samples.size(), m.samples.size());

    const std::vector<double> mix = Scaled(a), tune = Scaled(m);
    std::vector<double> effects(mix.size());
    for (std::size_t i = 0; i < mix.size(); ++i) effects[i] = mix[i] - tune[i];
    const double mixDb = RmsDb(mix), musicDb = RmsDb(tune), effectsDb = RmsDb(effects);
    EXPECT_GT(mixDb, -30.0);
    EXPECT_GT(musicDb, -35.0);   // the stage piece plays throughout
    // The ship fires most of the time: the effects stand over the music.
    EXPECT_GT(effectsDb - musicDb, 3.0) << "effects " << effectsDb << " dB, music " << musicDb << " dB";
    std::size_t clipped = 0;
    for (std::int16_t s : a.samples) clipped += s >= 32767 || s <= -32767;
    EXPECT_LE(clipped, 4u);
    fs::remove_all(home);
}

}  // namespace
