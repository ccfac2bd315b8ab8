#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/timer_thread.h"

namespace {

using namespace std::chrono_literals;

// Counts ticks and lets the test wait for a number of them (with a generous limit, so a
// busy machine only makes the test slower, never wrong).
struct TickCounter {
    std::mutex m;
    std::condition_variable cv;
    int count = 0;
    void tick() {
        std::lock_guard lock(m);
        ++count;
        cv.notify_all();
    }
    bool waitFor(int n) {
        std::unique_lock lock(m);
        return cv.wait_for(lock, 20s, [&] { return count >= n; });
    }
    int get() {
        std::lock_guard lock(m);
        return count;
    }
};

TEST(ThreadTimer, TicksUntilStoppedAndNeverAfter) {
    plat::ThreadTimer timer;
    TickCounter ticks;
    std::atomic<bool> stopped{false};
    std::atomic<int> lateTicks{0};
    const int id = timer.start(1, [&] {
        if (stopped.load()) ++lateTicks;
        ticks.tick();
    });
    ASSERT_GT(id, 0);
    EXPECT_TRUE(timer.running());
    ASSERT_TRUE(ticks.waitFor(5));
    EXPECT_TRUE(timer.stop());
    stopped = true;
    EXPECT_FALSE(timer.running());
    const int atStop = ticks.get();
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(ticks.get(), atStop);
    EXPECT_EQ(lateTicks.load(), 0);
    EXPECT_TRUE(timer.stop());   // stopping twice is harmless
}

TEST(ThreadTimer, StopWaitsForARunningTick) {
    plat::ThreadTimer timer;
    std::atomic<bool> inTick{false}, entered{false};
    timer.start(1, [&] {
        inTick = true;
        entered = true;
        std::this_thread::sleep_for(20ms);
        inTick = false;
    });
    while (!entered) std::this_thread::yield();
    timer.stop();
    EXPECT_FALSE(inTick.load());
}

TEST(ThreadTimer, RefusesBadArgumentsAndRestartsWithNewIds) {
    plat::ThreadTimer timer;
    EXPECT_EQ(timer.start(0, [] {}), 0);
    EXPECT_EQ(timer.start(-14, [] {}), 0);
    EXPECT_EQ(timer.start(14, nullptr), 0);
    EXPECT_FALSE(timer.running());

    TickCounter first, second;
    const int a = timer.start(1, [&] { first.tick(); });
    ASSERT_TRUE(first.waitFor(2));
    // Starting again replaces the running timer: the first callback stops for good.
    const int b = timer.start(1, [&] { second.tick(); });
    EXPECT_GT(a, 0);
    EXPECT_GT(b, a);
    const int firstAtRestart = first.get();
    ASSERT_TRUE(second.waitFor(3));
    EXPECT_EQ(first.get(), firstAtRestart);
    timer.stop();
    const int c = timer.start(1, [&] { first.tick(); });
    EXPECT_GT(c, b);
    ASSERT_TRUE(first.waitFor(firstAtRestart + 2));
}

TEST(ThreadTimer, StopFromInsideATickEndsTicking) {
    plat::ThreadTimer timer;
    TickCounter ticks;
    timer.start(1, [&] {
        ticks.tick();
        timer.stop();
    });
    ASSERT_TRUE(ticks.waitFor(1));
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(ticks.get(), 1);
    // And it can be started again afterwards.
    EXPECT_GT(timer.start(1, [&] { ticks.tick(); }), 0);
    ASSERT_TRUE(ticks.waitFor(3));
}

// Deadlines are absolute: n ticks can never come sooner than n periods after the start
// (only a lower bound is checked; a slow machine makes them later, never earlier).
TEST(ThreadTimer, TicksAreNotEarly) {
    plat::ThreadTimer timer;
    TickCounter ticks;
    const auto start = std::chrono::steady_clock::now();
    timer.start(5, [&] { ticks.tick(); });
    ASSERT_TRUE(ticks.waitFor(10));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    timer.stop();
    EXPECT_GE(elapsed, 50ms);
}

TEST(ThreadTimer, TicksNeverOverlap) {
    plat::ThreadTimer timer;
    std::atomic<int> inside{0}, worst{0};
    TickCounter ticks;
    timer.start(1, [&] {
        const int now = ++inside;
        if (now > worst) worst = now;
        std::this_thread::sleep_for(3ms);   // longer than the period
        --inside;
        ticks.tick();
    });
    ASSERT_TRUE(ticks.waitFor(5));
    timer.stop();
    EXPECT_EQ(worst.load(), 1);
}

}  // namespace
