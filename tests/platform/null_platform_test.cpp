#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/platform.h"

namespace {

TEST(NullPlatform, QuietAndEmpty) {
    auto platform = plat::makeNullPlatform();
    ASSERT_TRUE(platform);
    EXPECT_TRUE(platform->headless());
    plat::Display& d = platform->display();
    for (auto step : {plat::DisplayStep::CreateDevice, plat::DisplayStep::SetLevel, plat::DisplayStep::CreatePrimary,
                      plat::DisplayStep::CreatePalette, plat::DisplayStep::QueryMode})
        EXPECT_EQ(d.runStep(step, 640, 480, false), 0);
    std::vector<std::uint8_t> pixels(640 * 480, 5);
    plat::Palette palette{};
    // Nothing is shown, nothing waited for, nothing kept.
    EXPECT_FALSE(d.present(plat::FrameView{pixels.data(), 640, 640, 480}, palette));
    std::vector<std::uint8_t> rgba;
    int w = -1, h = -1;
    EXPECT_FALSE(d.readback(rgba, w, h));
    plat::WindowEvent e;
    e.type = plat::WindowEventType::KeyDown;
    EXPECT_FALSE(d.pollEvent(e));
    EXPECT_EQ(e.type, plat::WindowEventType::None);
    EXPECT_GT(d.refreshRate(), 0);

    plat::Input& in = platform->input();
    for (int k = 0; k < static_cast<int>(plat::Key::Count); ++k) EXPECT_FALSE(in.keyDown(static_cast<plat::Key>(k)));
    EXPECT_EQ(in.joystickCount(), 0);
    plat::JoyPos pos;
    EXPECT_FALSE(in.joystickPos(0, pos));
    EXPECT_FALSE(platform->openWithDesktop("/nonexistent"));
}

TEST(NullPlatform, MessageBoxGoesToStderr) {
    auto platform = plat::makeNullPlatform();
    testing::internal::CaptureStderr();
    platform->messageBox(plat::BoxKind::Information, "MMgr", "SeeYou (3)");
    const std::string out = testing::internal::GetCapturedStderr();
    EXPECT_NE(out.find("MMgr"), std::string::npos);
    EXPECT_NE(out.find("SeeYou (3)"), std::string::npos);
}

TEST(NullPlatform, TimerRuns) {
    auto platform = plat::makeNullPlatform();
    std::atomic<int> n{0};
    EXPECT_GT(platform->timer().start(1, [&] { ++n; }), 0);
    while (n < 2) std::this_thread::yield();
    EXPECT_TRUE(platform->timer().stop());
}

}  // namespace

#include "platform/file_url.h"

namespace {

TEST(FileUrl, EncodesEverythingButPlainPathCharacters) {
    EXPECT_EQ(plat::fileUrl("/home/user/Korrindal.htm"), "file:///home/user/Korrindal.htm");
    EXPECT_EQ(plat::fileUrl("/a b/c#d?e%f"), "file:///a%20b/c%23d%3Fe%25f");
    EXPECT_EQ(plat::fileUrl("/\xE3\x81\x82.htm"), "file:///%E3%81%82.htm");
}

}  // namespace
