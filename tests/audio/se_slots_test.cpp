// The sound-effect unit's slots and loading: registration, masks, damaged files, readiness.
#include "audio/se_fixture.h"

namespace {

TEST_F(SoundUnitTest, SlotIndexOutsideTheTableIsIgnored) {
    const std::string path = Register(3, Tone(440.0), -7);
    audio::SetSound(-1, path, -1, nullptr);
    audio::SetSound(64, path, -2, nullptr);
    for (int i = 0; i < audio::kSoundSlots; ++i) {
        EXPECT_EQ(audio::Sounds[static_cast<std::size_t>(i)].FileName.empty(), i != 3) << i;
        EXPECT_EQ(audio::Sounds[static_cast<std::size_t>(i)].VolumeBase, i == 3 ? -700 : 0) << i;
    }
    ASSERT_TRUE(audio::LoadSounds(audio::kAllSounds));
    audio::PlaySE(64, 0, 0, 100);   // nothing, and nothing out of bounds
    audio::PlaySE(-1, 0, 0, 100);
    EXPECT_EQ(testsound::Peak(Render(0.05)), 0.0);
}

TEST_F(SoundUnitTest, FmtChunkWithExtraBytesAndAChunkBeforeTheDataLoads) {
    testsound::WaveDesc desc = Tone(440.0, 44100, 0.5, 0.5f, 2);
    desc.fmtExtra = 22;   // as long as an extensible header's extra part, with "d" bytes in it
    desc.listChunk = true;
    Register(0, desc);
    ASSERT_TRUE(audio::LoadSounds(audio::kAllSounds));
    const audio::TWaveFormat& f = audio::Sounds[0].Format;
    EXPECT_EQ(f.FormatTag, 1);
    EXPECT_EQ(f.Channels, 2);
    EXPECT_EQ(f.SamplesPerSec, 44100u);
    EXPECT_EQ(f.AvgBytesPerSec, 44100u * 4);
    EXPECT_EQ(f.BlockAlign, 4);
    EXPECT_EQ(f.BitsPerSample, 16);
    EXPECT_EQ(f.Size, 0);
    ASSERT_TRUE(audio::Sounds[0].Data);
    EXPECT_EQ(audio::Sounds[0].Data->Frames, 22050);
    audio::PlaySE(0, 0, 0, 100);
    EXPECT_GT(testsound::Rms(Render(0.2), 0), 0.3);
}

TEST_F(SoundUnitTest, EmptyMaskReleasesEverySound) {
    Ready(4);
    Register(0, Tone(440.0, 22050, 2.0));
    Register(1, Tone(660.0, 22050, 2.0));
    ASSERT_TRUE(audio::LoadSounds(audio::kAllSounds));
    audio::PlaySE(0, 0, 0, 100);
    (void)Render(0.05);
    EXPECT_TRUE(audio::LoadSounds(audio::TSoundMask{}));
    for (const auto& slot : audio::Sounds) {
        EXPECT_FALSE(slot.Buffer.Valid());
        EXPECT_FALSE(slot.Twin.Valid());
        EXPECT_FALSE(slot.Data);
    }
    EXPECT_EQ(testsound::Peak(Render(0.05)), 0.0);   // the playing voice went with it
    audio::PlaySE(0, 0, 0, 100);
    EXPECT_EQ(testsound::Peak(Render(0.05)), 0.0);
    // Every voice came back: the four are enough to load both slots again.
    ASSERT_TRUE(audio::LoadSounds(audio::kAllSounds));
    EXPECT_TRUE(audio::Sounds[1].Twin.Valid());
}

TEST_F(SoundUnitTest, MaskChoosesTheSlotsAndMissingFilesStaySilent) {
    Register(0, Tone(440.0));
    Register(1, Tone(440.0));
    audio::SetSound(2, (dir / "absent.wav").string(), 0, nullptr);
    audio::TSoundMask mask;
    mask.set(1).set(2);
    EXPECT_TRUE(audio::LoadSounds(mask));   // a missing file is not a failure
    EXPECT_FALSE(audio::Sounds[0].Buffer.Valid());
    EXPECT_TRUE(audio::Sounds[1].Buffer.Valid());
    EXPECT_FALSE(audio::Sounds[2].Buffer.Valid());
}

TEST_F(SoundUnitTest, DamagedFileLeavesItsSlotSilentAndTheOthersLoad) {
    Register(0, Tone(440.0));
    auto bytes = testsound::WaveBytes(Tone(440.0));
    bytes.resize(bytes.size() / 2);   // ends inside the announced data
    const auto broken = dir / "broken.wav";
    testsound::WriteFile(broken, bytes);
    audio::SetSound(1, broken.string(), 0, nullptr);
    Register(2, Tone(440.0));
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(audio::LoadSounds(audio::kAllSounds));
    EXPECT_FALSE(audio::LoadSounds(audio::kAllSounds));   // loaded again: reported once
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("broken.wav"), std::string::npos) << errors;
    EXPECT_EQ(errors.find("broken.wav"), errors.rfind("broken.wav")) << errors;
    EXPECT_TRUE(audio::Sounds[0].Buffer.Valid());
    EXPECT_FALSE(audio::Sounds[1].Buffer.Valid());
    EXPECT_TRUE(audio::Sounds[2].Buffer.Valid());
    audio::PlaySE(1, 0, 0, 100);
    EXPECT_EQ(testsound::Peak(Render(0.05)), 0.0);
}

TEST_F(SoundUnitTest, NotReadyUnitIgnoresEveryCall) {
    Register(0, Tone(440.0));
    audio::ShutdownSound();
    EXPECT_FALSE(audio::SoundReady);
    EXPECT_FALSE(audio::LoadSounds(audio::kAllSounds));
    audio::PlaySE(0, 0, 0, 100);
    audio::StopSounds();
    EXPECT_EQ(testsound::Peak(Render(0.05)), 0.0);
    EXPECT_FALSE(audio::InitSound(nullptr));   // no device: stays not ready
    EXPECT_FALSE(audio::SoundReady);
}

}  // namespace

namespace {

TEST_F(SoundUnitTest, InitialisingAgainKeepsTheRegistrationsAndShutdownForgetsThem) {
    Register(0, Tone(440.0));
    ASSERT_TRUE(audio::LoadSounds(audio::kAllSounds));
    ASSERT_TRUE(audio::InitSound(mixer.get()));   // ready already: buffers released, names kept
    EXPECT_FALSE(audio::Sounds[0].Buffer.Valid());
    ASSERT_TRUE(audio::LoadSounds(audio::kAllSounds));
    EXPECT_TRUE(audio::Sounds[0].Buffer.Valid());
    audio::ShutdownSound();
    EXPECT_TRUE(audio::Sounds[0].FileName.empty());
}

}  // namespace
