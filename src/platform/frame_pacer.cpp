#include "platform/frame_pacer.h"

namespace plat {

void FramePacer::setRate(int hz) {
    if (hz <= 0) hz = 60;
    period_ = std::chrono::duration_cast<Clock::duration>(std::chrono::microseconds(1'000'000 / hz));
}

bool FramePacer::observe(Clock::duration interval) {
    if (selfPaced_) return true;
    if (interval < period_ / 2) {
        if (++fastCount_ >= kFastPresentsToSelfPace) selfPaced_ = true;
    } else {
        fastCount_ = 0;
    }
    return selfPaced_;
}

FramePacer::Clock::time_point FramePacer::nextDeadline(Clock::time_point now) {
    next_ = peekDeadline(now);
    return next_;
}

FramePacer::Clock::time_point FramePacer::peekDeadline(Clock::time_point now) const {
    if (next_ == Clock::time_point{}) return now + period_;
    // Ready after its own deadline: out at once rather than a whole period later.
    if (now - next_ > period_) return now;
    return next_ + period_;
}

}  // namespace plat
