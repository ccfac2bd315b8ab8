// The process loop across threads: a timer thread running OnProcess against the main
// thread's refreshes and user events. Run these under the tsan preset as well.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engine/sprite_ex.h"
#include "support/fake_platform.h"

using engine::TSpriteEx;
using testplat::FakePlatform;

namespace {

// Game-like state the tick writes and the refresh reads, with no lock of its own: the
// engine lock is what keeps a refresh from seeing a half-made change.
struct Shared {
    std::int64_t a = 0;
    std::int64_t b = 0;
    std::int64_t ticks = 0;
};

TEST(EngineThreads, OneMillisecondTimerAgainstRefreshLoop) {
    FakePlatform platform;
    platform.timerImpl.threaded = true;
    auto sprite = std::make_unique<TSpriteEx>(platform);
    sprite->SetFullScreenMode(false);
    sprite->SetProcessPerSec(1000);
    Shared s;
    int torn = 0;
    int userEvents = 0;
    bool pausedInEvent = true;
    sprite->OnProcess = [&] {
        s.a += 1;
        std::this_thread::yield();
        s.b += 1;
        s.ticks += 1;
        // A scene change asked for from the tick: runs on the main thread after a refresh.
        if (s.ticks % 97 == 0) sprite->OnUserEvent = [&] {
            ++userEvents;
            pausedInEvent = pausedInEvent && sprite->Paused();
            s.a += 1000;
            s.b += 1000;
        };
    };
    sprite->OnRefresh = [&] {
        if (s.a != s.b) ++torn;
        sprite->BackBuffer()->row(0)[0] = static_cast<std::uint8_t>(s.ticks);
    };
    sprite->Paint();
    ASSERT_FALSE(sprite->Paused());

    // At least 2 s and enough ticks for several scene changes: on a busy machine the timer
    // thread can be starved for a while, which is not what this test is about.
    const auto start = std::chrono::steady_clock::now();
    const auto minimum = start + std::chrono::seconds(2);
    const auto limit = start + std::chrono::seconds(60);
    // Pauses come by the clock, not by a count of refreshes: on a fast machine 500 refreshes
    // take less than a tick, and a timer restarted that often would hardly ever tick.
    auto nextPause = start + std::chrono::milliseconds(20);
    int refreshes = 0;
    for (;;) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= limit || (now >= minimum && sprite->UserEventCount() >= 3)) break;
        sprite->IdleRefresh();
        ++refreshes;
        if (now >= nextPause) {
            nextPause = now + std::chrono::milliseconds(20);
            // Pausing: once SetPause returns no tick runs until the loop goes on.
            ASSERT_FALSE(sprite->SetPause(true));
            const auto ticks = s.ticks;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            ASSERT_EQ(s.ticks, ticks);
            sprite->SetPause(false);
        }
    }
    sprite->SetPause(true);
    EXPECT_EQ(torn, 0);
    EXPECT_GT(s.ticks, 0);
    EXPECT_GT(refreshes, 0);
    EXPECT_GT(userEvents, 0);
    EXPECT_TRUE(pausedInEvent);
    EXPECT_EQ(s.a, s.b);
    sprite->Close();
}

TEST(EngineThreads, PauseAskedForInsideARefreshStopsTheTimerAfterIt) {
    FakePlatform platform;
    platform.timerImpl.threaded = true;
    TSpriteEx sprite(platform);
    sprite.SetFullScreenMode(false);
    sprite.SetProcessPerSec(1000);
    std::atomic<int> ticks{0};
    sprite.OnProcess = [&] { ticks.fetch_add(1); };
    bool once = true;
    bool previous = true;
    sprite.OnRefresh = [&] {
        if (once) previous = sprite.SetPause(true);   // must not wait for the timer here
        once = false;
    };
    sprite.Paint();
    sprite.RefreshFrame();
    EXPECT_FALSE(previous);
    EXPECT_TRUE(sprite.Paused());
    EXPECT_FALSE(platform.timerImpl.running);
    const int after = ticks.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(ticks.load(), after);
    sprite.Close();
}

TEST(EngineThreads, PauseAskedForByATickIsFinishedByTheMainThread) {
    FakePlatform platform;
    platform.timerImpl.threaded = true;
    TSpriteEx sprite(platform);
    sprite.SetFullScreenMode(false);
    sprite.SetProcessPerSec(1000);
    std::atomic<int> ticks{0};
    bool previous = true;
    sprite.OnProcess = [&] {
        if (ticks.fetch_add(1) + 1 == 5) previous = sprite.SetPause(true);
    };
    sprite.Paint();
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!sprite.Paused() && std::chrono::steady_clock::now() < limit)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_TRUE(sprite.Paused());
    sprite.IdleRefresh();   // the main thread stops the timer the tick could not stop
    EXPECT_FALSE(platform.timerImpl.running);
    EXPECT_FALSE(previous);
    EXPECT_EQ(ticks.load(), 5);   // no game step after the pause
    EXPECT_TRUE(sprite.SetPause(false));   // it was paused; the loop runs again
    EXPECT_TRUE(platform.timerImpl.running);
    sprite.Close();
}

// A tick that arrives while OnProcess runs is dropped; pausing waits for the running one.
TEST(EngineThreads, TicksWaitForAPendingSetUpOnASlowMainThread) {
    FakePlatform platform;
    TSpriteEx sprite(platform);
    sprite.SetFullScreenMode(false);
    sprite.SetExternalClock(true);
    std::vector<char> order;   // 't' a tick, 's' a set-up
    sprite.OnProcess = [&] {
        order.push_back('t');
        if (order.size() == 2) sprite.OnUserEvent = [&] { order.push_back('s'); };
    };
    sprite.Paint();
    sprite.TimerTick();
    sprite.TimerTick();   // asks for a set-up
    // The main thread is late: the timer goes on firing.
    sprite.TimerTick();
    sprite.TimerTick();
    EXPECT_EQ(std::string(order.begin(), order.end()), "tt");
    EXPECT_EQ(sprite.HeldTicks(), 2u);
    EXPECT_EQ(sprite.DroppedTicks(), 0u);
    sprite.IdleRefresh();   // the refresh runs the set-up
    sprite.TimerTick();
    EXPECT_EQ(std::string(order.begin(), order.end()), "ttst");
    sprite.Close();
}

TEST(EngineThreads, BusyTickDropsLateTicksAndPauseWaitsForIt) {
    FakePlatform platform;
    TSpriteEx sprite(platform);
    sprite.SetFullScreenMode(false);
    sprite.SetExternalClock(true);
    std::mutex m;
    std::condition_variable cv;
    bool inside = false, release = false;
    std::atomic<int> calls{0};
    std::atomic<bool> finished{false};
    sprite.OnProcess = [&] {
        calls.fetch_add(1);
        std::unique_lock lock(m);
        inside = true;
        cv.notify_all();
        cv.wait(lock, [&] { return release; });
        finished = true;
    };
    sprite.Paint();
    std::thread first([&] { sprite.TimerTick(); });
    {
        std::unique_lock lock(m);
        cv.wait(lock, [&] { return inside; });
    }
    sprite.TimerTick();   // arrives while the first runs
    sprite.TimerTick();
    EXPECT_EQ(sprite.DroppedTicks(), 2u);
    EXPECT_EQ(calls.load(), 1);

    std::thread releaser([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        std::lock_guard lock(m);
        release = true;
        cv.notify_all();
    });
    sprite.SetPause(true);
    EXPECT_TRUE(finished.load());   // the pause returned only after the tick ended
    first.join();
    releaser.join();
    sprite.TimerTick();   // paused: nothing runs
    EXPECT_EQ(calls.load(), 1);
    sprite.Close();
}

}  // namespace
