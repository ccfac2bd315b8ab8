// Playing and mixing allocate nothing: the heap-block count is the same before and after
// thousands of plays and renders.
#include "audio/se_fixture.h"
#include "diagnostics/memcheck.h"

namespace {

TEST_F(SoundUnitTest, PlayingAndMixingAllocateNothing) {
    ASSERT_TRUE(memcheck::Active());
    for (int i = 0; i < 4; ++i) Register(i, Tone(200.0 + 100.0 * i, i % 2 ? 44100 : 22050, 0.2, 0.3f, 1 + i % 2));
    ASSERT_TRUE(audio::LoadSounds(audio::kAllSounds));
    std::vector<float> out(2 * plat::kAudioDeviceFrames);
    const std::int32_t before = memcheck::BlockCount();
    for (int t = 0; t < 5000; ++t) {
        audio::PlaySE(t % 4, t % 81 - 40, -(t % 7), 50 + t % 260);
        if (t % 3 == 0) mixer->render(out.data(), plat::kAudioDeviceFrames);
    }
    audio::StopSounds();
    EXPECT_EQ(memcheck::BlockCount(), before);
    EXPECT_GT(mixer->Stats().Restarts, 4000u);
}

}  // namespace
