#pragma once
// The sound-effect unit on a mixer of its own, rendered straight from the mixer: wave files
// written into a fresh folder, slots registered by path, the output taken as frames.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "audio/mixer.h"
#include "audio/se.h"
#include "audio/test_sounds.h"

class SoundUnitTest : public ::testing::Test {
protected:
    std::filesystem::path dir = testsound::TempFolder("se_" + std::string(
        ::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::unique_ptr<audio::TMixer> mixer;

    void SetUp() override { Ready(audio::kDefaultVoices); }

    void TearDown() override {
        audio::ShutdownSound();
        audio::SEReverse = false;
        for (int i = 0; i < audio::kSoundSlots; ++i) audio::SetSound(i, "", 0, nullptr);
        std::filesystem::remove_all(dir);
    }

    // A fresh unit on a mixer with this many voices.
    void Ready(int voices) {
        audio::ShutdownSound();
        mixer = std::make_unique<audio::TMixer>(voices);
        ASSERT_TRUE(audio::InitSound(mixer.get()));
    }

    // Writes the wave and registers it in slot index with a base volume in dB.
    std::string Register(int index, const testsound::WaveDesc& desc, int baseDb = 0) {
        const std::string path = (dir / ("slot" + std::to_string(index) + ".wav")).string();
        testsound::WriteFile(path, testsound::WaveBytes(desc));
        audio::SetSound(index, path, baseDb, nullptr);
        return path;
    }

    static testsound::WaveDesc Tone(double hz, std::uint32_t rate = 22050, double seconds = 1.0, float amplitude = 0.5f,
                                    int channels = 1, std::uint16_t bits = 16) {
        testsound::WaveDesc s;
        s.channels = static_cast<std::uint16_t>(channels);
        s.rate = rate;
        s.bits = bits;
        s.samples = testsound::Sine(hz, rate, seconds, amplitude, channels);
        return s;
    }

    // The next frames of the output, appended to out when given.
    std::vector<float> Render(double seconds) {
        std::vector<float> out(2 * static_cast<std::size_t>(seconds * plat::kAudioRate));
        mixer->render(out.data(), static_cast<int>(out.size() / 2));
        return out;
    }
};
