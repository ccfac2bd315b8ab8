#include "engine/frame_log.h"

#include <chrono>
#include <ctime>

namespace engine {
namespace {

std::int64_t ClockUs(clockid_t id) {
    timespec ts{};
    clock_gettime(id, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1'000'000 + ts.tv_nsec / 1000;
}

}  // namespace

TFrameLog::~TFrameLog() { Close(); }

bool TFrameLog::Open(const std::string& path) {
    Close();
    FFile.reset(std::fopen(path.c_str(), "w"));
    if (!FFile) return false;
    std::fputs("# korrindal frame log: presents {t_us,tick,shown,draw_us,cpu_us,held[,handoff_us][,ready_us][,tick_age_us]}, presses {key_us,latency_us}\n",
               FFile.get());
    return true;
}

std::int64_t TFrameLog::SteadyUs() {
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::int64_t TFrameLog::ThreadCpuUs() { return ClockUs(CLOCK_THREAD_CPUTIME_ID); }

std::int64_t TFrameLog::ProcessCpuUs() { return ClockUs(CLOCK_PROCESS_CPUTIME_ID); }

void TFrameLog::Key(std::int64_t keyUs, std::uint64_t firstTick) {
    if (!FFile) return;
    if (FPendingCount == kMaxPending) {
        // Presses that wait this long are not going to be shown soon: log the oldest unshown.
        WriteKey(FPending[0], nullptr);
        for (std::size_t i = 1; i < FPendingCount; ++i) FPending[i - 1] = FPending[i];
        --FPendingCount;
    }
    FPending[FPendingCount++] = TPending{keyUs, firstTick};
}

void TFrameLog::WriteKey(const TPending& key, const std::int64_t* presentUs) {
    if (presentUs)
        std::fprintf(FFile.get(), "{\"key_us\":%lld,\"latency_us\":%lld}\n", static_cast<long long>(key.keyUs),
                     static_cast<long long>(*presentUs - key.keyUs));
    else
        std::fprintf(FFile.get(), "{\"key_us\":%lld}\n", static_cast<long long>(key.keyUs));
}

void TFrameLog::Present(const TFramePresent& frame) {
    if (!FFile) return;
    std::fprintf(FFile.get(),
                 "{\"t_us\":%lld,\"tick\":%llu,\"shown\":%.4f,\"draw_us\":%lld,\"cpu_us\":%lld,\"held\":%s",
                 static_cast<long long>(frame.tUs), static_cast<unsigned long long>(frame.tick), frame.shown,
                 static_cast<long long>(frame.drawUs), static_cast<long long>(frame.cpuUs),
                 frame.held ? "true" : "false");
    if (frame.handOffUs > 0)
        std::fprintf(FFile.get(), ",\"handoff_us\":%lld", static_cast<long long>(frame.handOffUs));
    if (frame.readyUs > 0)
        std::fprintf(FFile.get(), ",\"ready_us\":%lld", static_cast<long long>(frame.readyUs));
    if (frame.tickEndUs > 0)
        std::fprintf(FFile.get(), ",\"tick_age_us\":%lld", static_cast<long long>(frame.tUs - frame.tickEndUs));
    std::fputs("}\n", FFile.get());
    // A frame shows a tick once any of that tick's motion is in it: an interpolated frame
    // between ticks n-1 and n already shows tick n.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < FPendingCount; ++i) {
        const TPending& key = FPending[i];
        if (frame.shown > static_cast<double>(key.firstTick) - 1.0)
            WriteKey(key, &frame.tUs);
        else
            FPending[kept++] = key;
    }
    FPendingCount = kept;
}

void TFrameLog::Close() {
    if (!FFile) return;
    for (std::size_t i = 0; i < FPendingCount; ++i) WriteKey(FPending[i], nullptr);
    FPendingCount = 0;
    FFile.reset();
}

}  // namespace engine
