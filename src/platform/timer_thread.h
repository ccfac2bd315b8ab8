#pragma once
// A periodic timer on a thread of its own. Ticks fall on absolute deadlines of the steady
// clock (start + n * period), so the rate does not drift however long each tick takes;
// deadlines missed while a tick ran are skipped, not caught up in a burst. No SDL.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/platform.h"

namespace plat {

class ThreadTimer final : public Timer {
public:
    ThreadTimer() = default;
    ~ThreadTimer() override;
    ThreadTimer(const ThreadTimer&) = delete;
    ThreadTimer& operator=(const ThreadTimer&) = delete;

    // Starts ticking every periodMs (> 0) milliseconds, the first tick one period from now.
    // A running timer is stopped first. Returns the new timer's id (> 0), 0 when refused.
    int start(int periodMs, std::function<void()> tick) override;
    // Stops the timer and waits for a running tick to return: once stop() returns, no tick
    // runs any more. Called from inside a tick, it ends the ticking after that tick.
    bool stop() override;

    bool running() const;

private:
    void run(std::chrono::milliseconds period, std::function<void()> tick);

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool stopRequested_ = false;
    bool running_ = false;
    int lastId_ = 0;
    std::thread thread_;
};

}  // namespace plat
