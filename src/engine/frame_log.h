#pragma once
// The frame log: one JSON line per present (when, which tick, the game time shown, the
// drawing's CPU time) and one per key or pad press (when it was taken and how long until
// the first present showing a tick that read it). Main thread only.

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace engine {

struct TFramePresent {
    std::int64_t tUs = 0;      // steady clock (or the headless virtual clock) at the present
    std::uint64_t tick = 0;    // ticks of play completed when the frame was drawn
    double shown = 0.0;        // the game time the frame shows, in ticks
    std::int64_t drawUs = 0;   // CPU time of drawing and conversion
    std::int64_t cpuUs = 0;    // the process's CPU time so far
    bool held = false;         // the ticks were held (a scene set-up pending, pause)
    std::int64_t tickEndUs = 0;  // when the last tick in the frame ended (0: none yet)
    std::int64_t handOffUs = 0;  // when the display took the frame, before its upload (0: not known)
    std::int64_t readyUs = 0;    // when its upload had returned (0: not known)
};

class TFrameLog {
public:
    TFrameLog() = default;
    TFrameLog(const TFrameLog&) = delete;
    TFrameLog& operator=(const TFrameLog&) = delete;
    ~TFrameLog();

    // False when the file cannot be written.
    bool Open(const std::string& path);
    bool IsOpen() const { return static_cast<bool>(FFile); }

    // A press taken at keyUs is read by the first tick that starts after it: the one that
    // completes tick number firstTick.
    void Key(std::int64_t keyUs, std::uint64_t firstTick);
    // Writes the present and the presses it is the first to show.
    void Present(const TFramePresent& frame);
    // Writes the presses never shown (without a latency) and closes the file.
    void Close();

    // Microseconds of the steady clock, and CPU time of this thread and of the process.
    static std::int64_t SteadyUs();
    static std::int64_t ThreadCpuUs();
    static std::int64_t ProcessCpuUs();

private:
    struct TPending {
        std::int64_t keyUs;
        std::uint64_t firstTick;
    };
    static constexpr std::size_t kMaxPending = 64;

    void WriteKey(const TPending& key, const std::int64_t* presentUs);

    struct FileCloser {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, FileCloser> FFile;
    std::array<TPending, kMaxPending> FPending{};
    std::size_t FPendingCount = 0;
};

}  // namespace engine
