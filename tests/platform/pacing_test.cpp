#include <gtest/gtest.h>

#include <array>
#include <chrono>

#include "platform/frame_pacer.h"
#include "platform/letterbox.h"

namespace {

using namespace std::chrono_literals;

TEST(FramePacer, SelfPacesOnlyAfterARunOfFastPresents) {
    plat::FramePacer pacer;
    pacer.setRate(60);
    for (int i = 0; i < plat::FramePacer::kFastPresentsToSelfPace - 1; ++i) EXPECT_FALSE(pacer.observe(1ms));
    // One present at the refresh period (a vsync wait) starts the count again.
    EXPECT_FALSE(pacer.observe(16ms));
    for (int i = 0; i < plat::FramePacer::kFastPresentsToSelfPace - 1; ++i) EXPECT_FALSE(pacer.observe(2ms));
    EXPECT_TRUE(pacer.observe(2ms));
    EXPECT_TRUE(pacer.observe(16ms));   // stays on
}

TEST(FramePacer, VsyncedIntervalsNeverSelfPace) {
    plat::FramePacer pacer;
    pacer.setRate(60);
    for (int i = 0; i < 100; ++i) EXPECT_FALSE(pacer.observe(i % 2 ? 16ms : 17ms));
    pacer.setRate(0);   // unknown rate falls back to 60 Hz
    EXPECT_EQ(std::chrono::duration_cast<std::chrono::microseconds>(pacer.period()).count(), 16666);
}

TEST(FramePacer, DeadlinesFollowAGridAndRestartWhenFarBehind) {
    plat::FramePacer pacer;
    pacer.setRate(50);   // 20 ms
    const auto t0 = plat::FramePacer::Clock::now();
    EXPECT_EQ(pacer.nextDeadline(t0), t0 + 20ms);
    // Shown a little late: the next deadline stays on the grid (no drift).
    EXPECT_EQ(pacer.nextDeadline(t0 + 23ms), t0 + 40ms);
    // Ready after its own deadline has passed: shown at once (no frame skipped), and the grid
    // goes on from there.
    EXPECT_EQ(pacer.nextDeadline(t0 + 100ms), t0 + 100ms);
    EXPECT_EQ(pacer.nextDeadline(t0 + 105ms), t0 + 120ms);
}

TEST(Letterbox, IntegerScaleCentredWhenItFits) {
    auto r = plat::letterbox(640, 480, 640, 480);
    EXPECT_EQ((std::array{r.x, r.y, r.w, r.h}), (std::array{0, 0, 640, 480}));
    r = plat::letterbox(640, 480, 1920, 1080);   // 2x with bars on all sides
    EXPECT_EQ((std::array{r.x, r.y, r.w, r.h}), (std::array{320, 60, 1280, 960}));
    r = plat::letterbox(640, 480, 1280, 1024);
    EXPECT_EQ((std::array{r.x, r.y, r.w, r.h}), (std::array{0, 32, 1280, 960}));
    r = plat::letterbox(320, 240, 1000, 700);    // 2x (3x would need 720 rows)
    EXPECT_EQ((std::array{r.x, r.y, r.w, r.h}), (std::array{180, 110, 640, 480}));
}

TEST(Letterbox, ShrinksKeepingAspectWhenTooSmall) {
    auto r = plat::letterbox(640, 480, 320, 400);
    EXPECT_EQ((std::array{r.x, r.y, r.w, r.h}), (std::array{0, 80, 320, 240}));
    r = plat::letterbox(640, 480, 600, 300);
    EXPECT_EQ((std::array{r.x, r.y, r.w, r.h}), (std::array{100, 0, 400, 300}));
    r = plat::letterbox(640, 480, 0, 480);
    EXPECT_EQ(r.w, 0);
    r = plat::letterbox(0, 480, 640, 480);
    EXPECT_EQ(r.w, 0);
}

}  // namespace
