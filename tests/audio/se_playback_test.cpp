// What PlaySE sounds like, measured on the mixer's output: level, pan, pitch, the two
// alternating voices of a slot, formats and rates, and the limiter on the sum.
#include "audio/se_fixture.h"

namespace {

using testsound::Db;
using testsound::Rms;
using testsound::ToneAmplitude;
using testsound::ZeroCrossingHz;

constexpr double kRate = plat::kAudioRate;
constexpr double kSineRms = 0.5 / 1.4142135623730951;   // a sine of amplitude 0.5
// Frames of the steady middle of a render, away from the start.
constexpr std::size_t kFrom = 2400, kTo = 21600;

TEST_F(SoundUnitTest, MirroredPlayOfTheValcanHitIsPannedAttenuatedAndRaisedAsAsked) {
    Register(5, Tone(1000.0), -18);   // the ValcanHit slot with its base volume
    ASSERT_TRUE(audio::LoadSounds(audio::kAllSounds));
    audio::SEReverse = true;
    audio::PlaySE(5, 40, 0, 110);   // pan -4000, volume -1800, 24255 Hz
    const auto out = Render(0.5);
    const double left = Rms(out, 0, kFrom, kTo), right = Rms(out, 1, kFrom, kTo);
    EXPECT_NEAR(Db(left / kSineRms), -18.0, 0.1);     // the base volume, on the louder side
    EXPECT_NEAR(Db(right / left), -40.0, 0.1);        // the mirrored pan lowers the right channel
    EXPECT_NEAR(ZeroCrossingHz(out, 0, kRate, kFrom, kTo), 1100.0, 0.5);

    // Unmirrored, the same call favours the right.
    audio::StopSounds();
    audio::SEReverse = false;
    audio::PlaySE(5, 40, 0, 110);
    const auto plain = Render(0.5);
    EXPECT_NEAR(Db(Rms(plain, 0, kFrom, kTo) / Rms(plain, 1, kFrom, kTo)), -40.0, 0.1);
}

TEST_F(SoundUnitTest, VolumeStepsAddToTheBaseAndOutOfRangeValuesAreRefused) {
    Ready(1);   // one voice: every play restarts the same buffer
    Register(0, Tone(440.0), -10);
    ASSERT_TRUE(audio::LoadSounds(audio::kAllSounds));
    audio::PlaySE(0, 0, -6, 100);
    EXPECT_NEAR(Db(Rms(Render(0.5), 0, kFrom, kTo) / kSineRms), -16.0, 0.1);
    // +15 dB on a -10 dB base is above full level: the buffer keeps the volume it had, and a
    // pan of -150 dB is refused the same way.
    audio::PlaySE(0, -150, 15, 100);
    const auto out = Render(0.5);
    EXPECT_NEAR(Db(Rms(out, 0, kFrom, kTo) / kSineRms), -16.0, 0.1);
    EXPECT_NEAR(Db(Rms(out, 1, kFrom, kTo) / kSineRms), -16.0, 0.1);
    // -100 dB in all is silence.
    audio::PlaySE(0, 0, -90, 100);
    EXPECT_EQ(testsound::Peak(Render(0.2)), 0.0);
}

TEST_F(SoundUnitTest, ThirdTriggerOfASlotCutsTheFirstVoice) {
    Register(0, Tone(500.0, 22050, 2.0));
    ASSERT_TRUE(audio::LoadSounds(audio::kAllSounds));
    audio::PlaySE(0, -100, 0, 100);   // Buffer, left only
    (void)Render(0.1);
    audio::PlaySE(0, 100, 0, 100);    // Twin, right only
    (void)Render(0.1);
    audio::PlaySE(0, -100, -6, 100);  // Buffer again, restarted 6 dB lower
    const auto out = Render(0.5);
    // Left holds the restarted voice alone; right still the second.
    EXPECT_NEAR(Db(Rms(out, 0, kFrom, kTo) / kSineRms), -6.0, 0.1);
    EXPECT_NEAR(Db(Rms(out, 1, kFrom, kTo) / kSineRms), 0.0, 0.1);
}

TEST_F(SoundUnitTest, SlotWithoutASecondVoicePlaysItsBufferEveryTime) {
    Ready(1);   // room for one buffer, none for its duplicate
    Register(0, Tone(500.0, 22050, 2.0));
    ASSERT_TRUE(audio::LoadSounds(audio::kAllSounds));
    EXPECT_TRUE(audio::Sounds[0].Buffer.Valid());
    EXPECT_FALSE(audio::Sounds[0].Twin.Valid());
    audio::PlaySE(0, -100, 0, 100);
    (void)Render(0.1);
    audio::PlaySE(0, 100, 0, 100);   // would be the missing Twin's turn: the Buffer restarts
    const auto out = Render(0.5);
    EXPECT_LT(Rms(out, 0, kFrom, kTo), 1e-6);
    EXPECT_NEAR(Db(Rms(out, 1, kFrom, kTo) / kSineRms), 0.0, 0.1);
}

TEST_F(SoundUnitTest, StopSoundsSilencesAndTheNextPlayUsesTheBuffer) {
    Ready(2);
    Register(0, Tone(500.0, 22050, 2.0));
    ASSERT_TRUE(audio::LoadSounds(audio::kAllSounds));
    audio::PlaySE(0, 0, 0, 100);
    audio::PlaySE(0, 0, 0, 100);
    (void)Render(0.1);
    audio::StopSounds();
    EXPECT_EQ(testsound::Peak(Render(0.1)), 0.0);
    // A play after the stop restarts the Buffer: the volume it brings is its own, not -100 dB.
    audio::PlaySE(0, 0, -3, 100);
    EXPECT_NEAR(Db(Rms(Render(0.5), 0, kFrom, kTo) / kSineRms), -3.0, 0.1);
}

TEST_F(SoundUnitTest, EightAndSixteenBitMonoAndStereoAtAnyRateKeepLevelAndPitch) {
    struct Case {
        std::uint32_t rate;
        std::uint16_t bits;
        int channels;
    };
    for (const Case c : {Case{11025, 8, 1}, Case{22050, 16, 1}, Case{44100, 16, 2}, Case{48000, 8, 2},
                         Case{96000, 16, 1}, Case{8000, 16, 2}}) {
        SCOPED_TRACE(std::to_string(c.rate) + " Hz, " + std::to_string(c.bits) + " bits, " +
                     std::to_string(c.channels) + " channels");
        testsound::WaveDesc desc = Tone(700.0, c.rate, 1.0, 0.5f, c.channels, c.bits);
        if (c.channels == 2)   // the right channel a fifth higher
            for (std::size_t i = 0; i < desc.samples.size() / 2; ++i)
                desc.samples[2 * i + 1] = 0.5f * static_cast<float>(std::sin(2.0 * std::numbers::pi * 1050.0 * i / c.rate));
        Register(1, desc);
        ASSERT_TRUE(audio::LoadSounds(audio::kAllSounds));
        EXPECT_EQ(audio::Sounds[1].Format.SamplesPerSec, c.rate);
        audio::PlaySE(1, 0, 0, 100);
        const auto out = Render(0.5);
        const double tolerance = c.bits == 8 ? 0.15 : 0.05;
        EXPECT_NEAR(Db(Rms(out, 0, kFrom, kTo) / kSineRms), 0.0, tolerance);
        EXPECT_NEAR(ZeroCrossingHz(out, 0, kRate, kFrom, kTo), 700.0, 0.5);
        EXPECT_NEAR(ZeroCrossingHz(out, 1, kRate, kFrom, kTo), c.channels == 2 ? 1050.0 : 700.0, 0.5);
    }
}

TEST_F(SoundUnitTest, RateChangesAddNoImagesOrAliases) {
    // A 9 kHz tone near the top of a 22050 Hz file. At 110 % (the Valcan) it sounds at 9.9
    // kHz; the resampler's first image would sit at 24255 - 9900 Hz.
    Register(0, Tone(9000.0, 22050, 1.0));
    ASSERT_TRUE(audio::LoadSounds(audio::kAllSounds));
    audio::PlaySE(0, 0, 0, 110);
    const auto valcan = Render(0.5);
    const double tone = ToneAmplitude(valcan, 0, 9900.0, kRate, kFrom, kTo);
    EXPECT_NEAR(Db(tone / 0.5), 0.0, 0.5);
    EXPECT_LT(Db(ToneAmplitude(valcan, 0, 24255.0 - 9900.0, kRate, kFrom, kTo) / tone), -60.0);
    EXPECT_LT(Db(ToneAmplitude(valcan, 0, 24255.0 + 9900.0 - kRate, kRate, kFrom, kTo) / tone), -60.0);

    // At 300 % the tone (27 kHz) is above what 48 kHz can carry: it is removed, not folded
    // back to 21 kHz. A 3 kHz tone at 300 % comes through at 9 kHz.
    audio::PlaySE(0, 0, 0, 300);
    const auto beam = Render(0.3);
    EXPECT_LT(Db(ToneAmplitude(beam, 0, kRate - 27000.0, kRate, 1200, 12000) / 0.5), -60.0);
    Register(2, Tone(3000.0, 22050, 1.0));
    ASSERT_TRUE(audio::LoadSounds(audio::kAllSounds));
    audio::PlaySE(2, 0, 0, 300);
    EXPECT_NEAR(Db(ToneAmplitude(Render(0.3), 0, 9000.0, kRate, 1200, 12000) / 0.5), 0.0, 0.5);
}

TEST_F(SoundUnitTest, LimiterKeepsThirtyTwoFullScaleVoicesBelowClipping) {
    for (int i = 0; i < 16; ++i) Register(i, Tone(200.0 + 37.0 * i, 22050, 1.0, 1.0f));
    ASSERT_TRUE(audio::LoadSounds(audio::kAllSounds));
    for (int i = 0; i < 16; ++i) {
        audio::PlaySE(i, 0, 0, 100);
        audio::PlaySE(i, 0, 0, 100);
    }
    const auto out = Render(0.5);
    EXPECT_LE(testsound::Peak(out), audio::TSoftLimiter::kCeiling + 1e-6);
    EXPECT_GT(testsound::Peak(out), audio::TSoftLimiter::kKnee);   // pressed down, not muted
}

TEST_F(SoundUnitTest, PlaysBeyondTheQueueAreDroppedWithoutWaiting) {
    Register(0, Tone(500.0));
    ASSERT_TRUE(audio::LoadSounds(audio::kAllSounds));
    for (std::size_t i = 0; i < audio::kRequestCapacity + 10; ++i) audio::PlaySE(0, 0, 0, 100);
    EXPECT_EQ(mixer->Stats().Dropped, 10u);
    (void)Render(0.01);
    EXPECT_EQ(mixer->Stats().Restarts, audio::kRequestCapacity);
}

}  // namespace
