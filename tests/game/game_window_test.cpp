// The game window on the engine: what its start leaves in the engine's managed list.

#include <gtest/gtest.h>

#include <algorithm>

#include "support/fake_platform.h"
#include "game/tz_globals.h"
#include "game/tz_main.h"

namespace {

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

}  // namespace
