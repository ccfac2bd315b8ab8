// The sound output on SDL's dummy driver, whose thread pulls at the real rate: effects played
// from a timer thread, as the game's ticks play them, while the main thread changes the
// music. Run under ThreadSanitizer (the tsan preset) this shows the three threads apart.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "audio/audio_output.h"
#include "audio/music.h"
#include "audio/se.h"
#include "audio/test_sounds.h"
#include "platform/platform.h"
#include "platform/timer_thread.h"

namespace {

std::filesystem::path Folder;

std::string InFolder(const std::string& name, const std::string& ext) { return (Folder / (name + ext)).string(); }

TEST(SdlOutput, EffectsFromATimerThreadWhileTheMusicChanges) {
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    Folder = testsound::TempFolder("sdl_output");
    for (int i = 0; i < 3; ++i) {
        testsound::WaveDesc desc;
        desc.rate = i == 0 ? 22050 : 44100;
        desc.channels = static_cast<std::uint16_t>(1 + i % 2);
        desc.samples = testsound::Sine(300.0 + 200.0 * i, desc.rate, 0.3, 0.4f, desc.channels);
        const std::string name(1, static_cast<char>('a' + i));
        testsound::WriteFile(Folder / (name + ".wav"), testsound::WaveBytes(desc));
        audio::SetSound(i, name, -6, InFolder);
    }
    testsound::WriteFile(Folder / "BGM1.mid", testsound::HeldNote(60, 3.0));
    testsound::WriteFile(Folder / "Boss.mid", testsound::HeldNote(67, 3.0));

    auto platform = plat::makeSdlPlatform();
    ASSERT_TRUE(audio::OpenAudio(*platform, audio::TAudioOptions{.Music = true})) << "the dummy driver opens";
    audio::TMixer* mixer = audio::AudioMixer();
    ASSERT_TRUE(audio::InitSound(mixer));
    ASSERT_TRUE(audio::LoadSounds(audio::kAllSounds));

    std::atomic<int> ticks{0};
    plat::ThreadTimer timer;
    ASSERT_GT(timer.start(14, [&ticks] {
        const int t = ticks.fetch_add(1);
        audio::PlaySE(t % 3, (t % 81) - 40, 0, 90 + t % 40);
        if (t % 5 == 0) audio::PlaySE(0, 0, -10, 300);
    }), 0);
    // The main thread meanwhile: music started, replaced and stopped.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    for (int round = 0; std::chrono::steady_clock::now() < until; ++round) {
        EXPECT_TRUE(audio::StartMusic(round % 2 ? "Boss" : "BGM1", InFolder));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        if (round % 3 == 2) audio::StopMusic();
    }
    timer.stop();

    const audio::TMixer::TStats stats = mixer->Stats();
    EXPECT_GT(ticks.load(), 0);
    EXPECT_GT(stats.FramesRendered, 0u);   // the device's thread pulled
    EXPECT_GT(stats.Restarts, 0u);         // and started the effects asked for
    EXPECT_EQ(stats.Dropped, 0u);
    audio::StopMusic();
    audio::ShutdownSound();
    audio::CloseAudio();
    for (int i = 0; i < 3; ++i) audio::SetSound(i, "", 0, nullptr);
    std::filesystem::remove_all(Folder);
}

}  // namespace
