#include "platform/timer_thread.h"

#include <utility>

namespace plat {

ThreadTimer::~ThreadTimer() { stop(); }

int ThreadTimer::start(int periodMs, std::function<void()> tick) {
    if (periodMs <= 0 || !tick) return 0;
    stop();
    std::lock_guard lock(mutex_);
    if (thread_.joinable()) return 0;   // stop() was called from our own tick: still unwinding
    stopRequested_ = false;
    running_ = true;
    thread_ = std::thread(&ThreadTimer::run, this, std::chrono::milliseconds(periodMs), std::move(tick));
    return ++lastId_;
}

bool ThreadTimer::stop() {
    std::unique_lock lock(mutex_);
    stopRequested_ = true;
    wake_.notify_all();
    if (!thread_.joinable()) return true;
    if (thread_.get_id() == std::this_thread::get_id()) {
        // Called by the tick itself: the loop sees the request when the tick returns.
        return true;
    }
    std::thread finished = std::move(thread_);
    lock.unlock();
    finished.join();
    return true;
}

bool ThreadTimer::running() const {
    std::lock_guard lock(mutex_);
    return running_ && !stopRequested_;
}

void ThreadTimer::run(std::chrono::milliseconds period, std::function<void()> tick) {
    using Clock = std::chrono::steady_clock;
    auto next = Clock::now() + period;
    std::unique_lock lock(mutex_);
    for (;;) {
        if (wake_.wait_until(lock, next, [this] { return stopRequested_; })) break;
        lock.unlock();
        tick();
        lock.lock();
        if (stopRequested_) break;
        next += period;
        const auto now = Clock::now();
        if (next <= now) {
            // The tick overran one or more deadlines: skip them, keep the phase.
            const auto behind = (now - next) / period + 1;
            next += behind * period;
        }
    }
    running_ = false;
}

}  // namespace plat
