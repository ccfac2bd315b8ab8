// The music through the sound output: pieces rendered offline through FluidSynth with the
// soundfont the game finds, measured on the output.
#include <gtest/gtest.h>

#include "audio/audio_output.h"
#include "audio/music.h"
#include "audio/se.h"
#include "audio/test_sounds.h"
#include "platform/midi_synth.h"
#include "platform/platform.h"
#include "platform/soundfont.h"

namespace {

using testsound::Rms;
using testsound::ToneAmplitude;
using testsound::ToneNear;

constexpr double kRate = plat::kAudioRate;

std::filesystem::path MusicFolder;

// The data-file rule of these tests: Name + Ext in the test's folder ("" when missing, as the
// game's rule gives).
std::string InFolder(const std::string& name, const std::string& ext) {
    const auto path = MusicFolder / (name + ext);
    return std::filesystem::exists(path) ? path.string() : std::string();
}

class MusicTest : public ::testing::Test {
protected:
    std::unique_ptr<plat::Platform> platform = plat::makeNullPlatform(plat::NullAudio::Offline);

    void SetUp() override {
        MusicFolder = testsound::TempFolder(std::string("music_") +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        ASSERT_FALSE(plat::findSoundFont().empty()) << "no soundfont: scripts/install-deps.sh installs TimGM6mb";
    }
    void TearDown() override {
        audio::CloseAudio();
        std::filesystem::remove_all(MusicFolder);
    }
    void Open(bool music = true) { ASSERT_TRUE(audio::OpenAudio(*platform, audio::TAudioOptions{.Music = music})); }

    static void Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        testsound::WriteFile(MusicFolder / (name + ".mid"), bytes);
    }
    static std::vector<float> Pull(double seconds) {
        std::vector<float> out(2 * static_cast<std::size_t>(seconds * kRate));
        // In pieces the size of a tick, as the headless runner pulls.
        for (std::size_t done = 0; done < out.size() / 2;) {
            const int n = static_cast<int>(std::min<std::size_t>(686, out.size() / 2 - done));
            EXPECT_TRUE(audio::PullAudio(out.data() + 2 * done, n));
            done += static_cast<std::size_t>(n);
        }
        return out;
    }
};

TEST_F(MusicTest, PieceSoundsAndStopSilencesIt) {
    Open();
    Write("BGM1", testsound::HeldNote(69, 4.0));   // A4, 440 Hz, on a flute
    EXPECT_TRUE(audio::StartMusic("BGM1", InFolder));
    EXPECT_TRUE(audio::MusicPlaying());
    const auto playing = Pull(2.0);
    EXPECT_GT(Rms(playing, 0, 24000), 0.005);   // one quiet note: above -46 dBFS
    EXPECT_GT(ToneNear(playing, 0, 440.0, kRate, 24000, 96000), 0.005);
    audio::StopMusic();
    EXPECT_FALSE(audio::MusicPlaying());
    const auto stopped = Pull(0.5);
    EXPECT_LT(Rms(stopped, 0, 2400), 1e-5);   // after the first 50 ms, nothing
}

TEST_F(MusicTest, BossPieceReplacesTheStageThreePiece) {
    Open();
    Write("BGM3", testsound::HeldNote(60, 8.0));   // C4, 262 Hz
    Write("Boss", testsound::HeldNote(78, 8.0));   // F#5, 740 Hz: no harmonic of the other
    ASSERT_TRUE(audio::StartMusic("BGM3", InFolder));
    const auto stage = Pull(1.5);
    const double low = ToneNear(stage, 0, 261.6, kRate, 24000, 72000);
    EXPECT_GT(low, 0.005);
    EXPECT_LT(ToneNear(stage, 0, 740.0, kRate, 24000, 72000), low / 10.0);
    ASSERT_TRUE(audio::StartMusic("Boss", InFolder));
    const auto boss = Pull(1.5);
    EXPECT_GT(ToneNear(boss, 0, 740.0, kRate, 24000, 72000), 0.005);
    EXPECT_LT(ToneNear(boss, 0, 261.6, kRate, 24000, 72000), low / 100.0);   // the stage piece is gone
}

// A flute on A4 for the first second (120 beats a minute), then, from a tempo change to 60,
// on F#5 for two: 3 s in all, in notes of 24 ticks (a seek plays from the next note on).
std::vector<std::uint8_t> TwoTempoPiece() {
    testsound::MidiTrack tempo;
    tempo.Event(0, {0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20});     // 500000 us a quarter
    tempo.Event(192, {0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40});   // 1000000 us a quarter
    tempo.End();
    testsound::MidiTrack notes;
    notes.Program(0, 73);
    for (int i = 0; i < 16; ++i) notes.Note(0, i < 8 ? 69 : 78, 24);
    notes.End();
    return testsound::MidiBytes({tempo, notes});
}

TEST_F(MusicTest, PieceStartsAndFollowsFromAPlaceInIt) {
    Open();
    Write("BGM1", TwoTempoPiece());
    const auto position = [] { return audio::MusicNow().PositionMs; };
    ASSERT_TRUE(audio::StartMusic("BGM1", InFolder, 2000.0));
    EXPECT_EQ(audio::MusicNow().Name, "BGM1");
    EXPECT_NEAR(position(), 2000.0, 15.0);
    const auto late = Pull(0.5);
    EXPECT_NEAR(position(), 2500.0, 15.0);
    EXPECT_GT(ToneNear(late, 0, 740.0, kRate, 4800, 24000), 0.005);
    EXPECT_LT(ToneNear(late, 0, 440.0, kRate, 4800, 24000), 0.001);

    // Where it is already: nothing is started; elsewhere in it: it plays from there.
    const std::uint32_t starts = audio::MusicNow().Starts;
    EXPECT_TRUE(audio::FollowMusic("BGM1", InFolder, 2510.0));
    EXPECT_EQ(audio::MusicNow().Starts, starts);
    EXPECT_TRUE(audio::FollowMusic("BGM1", InFolder, 300.0));
    EXPECT_EQ(audio::MusicNow().Starts, starts + 1);
    const auto early = Pull(0.5);
    EXPECT_NEAR(position(), 800.0, 15.0);
    EXPECT_GT(ToneNear(early, 0, 440.0, kRate, 4800, 24000), 0.005);

    // Past its end: the piece counts as playing, at its end, and plays nothing more.
    EXPECT_TRUE(audio::FollowMusic("BGM1", InFolder, 9000.0));
    EXPECT_TRUE(audio::MusicPlaying());
    EXPECT_LT(Rms(Pull(1.0), 0, 24000), 1e-4);   // once the reverb of the notes before has died away
    EXPECT_NEAR(position(), 3000.0, 1e-6);
    // No piece: silence.
    EXPECT_FALSE(audio::FollowMusic("", InFolder, 0.0));
    EXPECT_FALSE(audio::MusicPlaying());
    EXPECT_EQ(audio::MusicNow().Name, "");
}

TEST_F(MusicTest, MissingOrBrokenPieceIsReportedOnceAndNothingPlays) {
    Open();
    auto broken = testsound::HeldNote(60, 2.0);
    broken.resize(broken.size() - 6);   // the track ends early
    Write("BGM2", broken);
    Write("BGM1", testsound::HeldNote(69, 4.0));
    ASSERT_TRUE(audio::StartMusic("BGM1", InFolder));
    ::testing::internal::CaptureStderr();
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(audio::StartMusic("Ending", InFolder));   // no such file
        EXPECT_FALSE(audio::MusicPlaying());
        EXPECT_FALSE(audio::StartMusic("BGM2", InFolder));
        EXPECT_FALSE(audio::MusicPlaying());
    }
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(errors.find("'Ending'"), errors.rfind("'Ending'")) << errors;
    EXPECT_NE(errors.find("'Ending'"), std::string::npos) << errors;
    EXPECT_EQ(errors.find("BGM2.mid"), errors.rfind("BGM2.mid")) << errors;
    EXPECT_NE(errors.find("BGM2.mid"), std::string::npos) << errors;
    // The piece that played before was stopped by the start that failed.
    EXPECT_LT(Rms(Pull(0.5), 0, 2400), 1e-5);
}

TEST_F(MusicTest, WithoutASynthesizerTheCallsKeepTheirState) {
    Open(false);
    EXPECT_EQ(audio::AudioSynth(), nullptr);
    Write("BGM1", testsound::HeldNote(69, 4.0));
    EXPECT_TRUE(audio::StartMusic("BGM1", InFolder));
    EXPECT_TRUE(audio::MusicPlaying());
    EXPECT_EQ(testsound::Peak(Pull(0.5)), 0.0);
    EXPECT_FALSE(audio::StartMusic("Boss", InFolder));   // missing: the same answer as with music
    audio::StopMusic();
    EXPECT_FALSE(audio::MusicPlaying());
}

TEST_F(MusicTest, EffectsSitOverTheMusic) {
    Open();
    // A loud chord of four organ notes for the music; a tone at the loudest base volume of the
    // game's quieter effects (-10 dB) for the effect.
    testsound::MidiTrack t;
    t.Program(0, 19);
    for (std::uint8_t key : {48, 55, 60, 64}) t.Event(0, {0x90, key, 127});
    t.Event(4 * 192, {0x80, 48, 0});
    t.End();
    Write("BGM1", testsound::MidiBytes({t}));
    testsound::WaveDesc desc;
    desc.rate = 44100;
    desc.samples = testsound::Sine(1000.0, 44100, 1.0, 0.9f);
    testsound::WriteFile(MusicFolder / "Effect.wav", testsound::WaveBytes(desc));
    audio::SetSound(0, (MusicFolder / "Effect.wav").string(), -10, nullptr);
    ASSERT_TRUE(audio::InitSound(audio::AudioMixer()));
    ASSERT_TRUE(audio::LoadSounds(audio::kAllSounds));
    ASSERT_TRUE(audio::StartMusic("BGM1", InFolder));
    const auto music = Pull(1.0);
    audio::PlaySE(0, 0, 0, 100);
    const auto both = Pull(0.5);
    const double musicLevel = Rms(music, 0, 24000);
    const double effectLevel = ToneAmplitude(both, 0, 1000.0, kRate, 2400, 21600) / 1.4142135623730951;
    EXPECT_GT(musicLevel, 0.01);
    EXPECT_GT(testsound::Db(effectLevel / musicLevel), 3.0) << "music " << musicLevel << ", effect " << effectLevel;
    audio::SetSound(0, "", 0, nullptr);
}

}  // namespace
