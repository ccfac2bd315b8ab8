// The game window on the engine: what its start leaves in the engine's managed list.

#include <gtest/gtest.h>

#include <algorithm>

#include "support/fake_platform.h"
#include "game/tz_globals.h"
#include "game/tz_main.h"
#include "platform/audio_device.h"

namespace {

// A sound device that only remembers whether it is held.
class HoldRecorder final : public plat::AudioDevice {
public:
    explicit HoldRecorder(bool& held) : held_(held) {}
    bool realTime() const override { return true; }
    bool pull(float*, int) override { return false; }
    int bufferFrames() const override { return 0; }
    std::string name() const override { return "hold recorder"; }
    void hold(bool on) override { held_ = on; }

private:
    bool& held_;
};

class PlatformWithSound final : public testplat::FakePlatform {
public:
    bool held = false;
    int opened = 0;
    std::unique_ptr<plat::AudioDevice> openAudio(plat::AudioSource&) override {
        ++opened;
        return std::make_unique<HoldRecorder>(held);
    }
};

TEST(GameWindow, BackdropKeepsItsPictureAcrossFocusLossAndScreenChange) {
    testplat::FakePlatform platform;
    const bool fullScreen = tz::FullScreen;
    const bool enableSE = tz::EnableSE;
    tz::FullScreen = false;
    tz::EnableSE = false;
    {
        auto form = std::make_unique<tz::TForm1>(platform);
        form->Sprite.SetExternalClock(true);
        form->Show();
        ASSERT_TRUE(tz::BgSurface);
        auto& bg = *tz::BgSurface;
        EXPECT_EQ(bg.width, 640);
        EXPECT_EQ(bg.height, 480);
        for (int y = 0; y < bg.height; ++y)
            for (int x = 0; x < bg.width; ++x) bg.row(y)[x] = static_cast<std::uint8_t>(x ^ y);
        const auto picture = bg.pixels;

        form->Sprite.HookDeactivate();
        EXPECT_FALSE(tz::BgSurface);
        form->Sprite.HookActivate();
        ASSERT_TRUE(tz::BgSurface);
        EXPECT_EQ(tz::BgSurface->pixels, picture);

        form->Sprite.SetFullScreenMode(true);
        ASSERT_TRUE(tz::BgSurface);
        EXPECT_EQ(tz::BgSurface->pixels, picture);

        form->Sprite.Close();
        EXPECT_FALSE(tz::BgSurface);
    }
    tz::FullScreen = fullScreen;
    tz::EnableSE = enableSE;
}

TEST(GameWindow, FocusLossHoldsTheSoundAndFocusLetsItGoOn) {
    PlatformWithSound platform;
    const bool enableSE = tz::EnableSE;
    const bool enableBGM = tz::EnableBGM;
    tz::EnableSE = true;
    tz::EnableBGM = false;
    {
        auto form = std::make_unique<tz::TForm1>(platform);
        form->Sprite.SetExternalClock(true);
        form->Show();
        ASSERT_EQ(platform.opened, 1);
        EXPECT_FALSE(platform.held);
        form->Sprite.HookDeactivate();
        EXPECT_TRUE(platform.held);
        form->Sprite.HookActivate();
        EXPECT_FALSE(platform.held);
        form->Sprite.Close();
    }
    tz::EnableSE = enableSE;
    tz::EnableBGM = enableBGM;
}

}  // namespace
