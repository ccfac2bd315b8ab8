#pragma once
// Keeps the presenter at the display's rate where the renderer does not wait for the
// vertical blank (virtual displays, the dummy and offscreen drivers, some GL drivers under
// Xvfb): it watches the time between presents and, once they keep coming much faster than
// the refresh period, sleeps each frame to an absolute deadline instead. No SDL.

#include <chrono>

namespace plat {

class FramePacer {
public:
    using Clock = std::chrono::steady_clock;

    // Presents this much faster than half a period in a row mean vsync is not honoured.
    // (A driver that queues a few frames ahead returns early only for the first few.)
    static constexpr int kFastPresentsToSelfPace = 12;

    void setRate(int hz);
    Clock::duration period() const { return period_; }

    void forceSelfPaced() { selfPaced_ = true; }
    bool selfPaced() const { return selfPaced_; }

    // Records the time between two presents; returns selfPaced().
    bool observe(Clock::duration interval);

    // The absolute deadline for the frame ready at `now`: one period after the previous
    // deadline, or `now` itself when that has passed already (the frame goes out at once and
    // the grid goes on from there: no skipped frame, no burst of catch-up frames).
    Clock::time_point nextDeadline(Clock::time_point now);
    // What nextDeadline(now) would return, without taking it.
    Clock::time_point peekDeadline(Clock::time_point now) const;

private:
    Clock::duration period_ = std::chrono::microseconds(16667);
    Clock::time_point next_{};
    int fastCount_ = 0;
    bool selfPaced_ = false;
};

}  // namespace plat
