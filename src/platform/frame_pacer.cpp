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
    if (next_ == Clock::time_point{} || now - next_ > period_) next_ = now;
    next_ += period_;
    return next_;
}

}  // namespace plat
