// Seeking in a replay: a whole recorded game (tests/e2e/data/AutopilotGame.KRREP, through the
// ending) played once with its keyframes, then seeks to the step just before each keyframe
// (the worst case: a restore and KeyframeInterval - 1 simulated steps), from the far end, so
// every seek restores. The goal: the worst seek under 10 ms. Each target is sought three
// times; worst_ms is the dearest target's cheapest seek, worst_any_ms the slowest seek of all
// (on a machine busy with other work, one the scheduler interrupted). The dearest seeks run a
// stage's set-up again (its banks' pictures are read from their files once, while a theatre
// keeps them).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>

#include "app/theatre.h"
#include "game/tz_main.h"
#include "platform/platform.h"

namespace {

constexpr std::int64_t kSteps = 21000;

struct Theatre {
    std::unique_ptr<plat::Platform> platform = plat::makeNullPlatform(plat::NullAudio::None);
    std::unique_ptr<tz::TForm1> form = std::make_unique<tz::TForm1>(*platform);
    std::unique_ptr<app::TTheatre> theatre = std::make_unique<app::TTheatre>(*form, kSteps);
    std::int64_t at = 0;

    Theatre() {
        if (!form->LoadReplay(KORRINDAL_REPLAY).Ok) std::fprintf(stderr, "cannot load %s\n", KORRINDAL_REPLAY);
        form->Show();
        form->Sprite.SetExternalClock(true);
        for (at = 1; at <= kSteps; ++at) {
            form->Sprite.HeadlessStep(false);
            theatre->AfterStep(at);
        }
        at = kSteps;
    }
};

Theatre& Shared() {
    static Theatre t;
    return t;
}

void BM_WorstSeek(benchmark::State& state) {
    Theatre& t = Shared();
    std::int64_t k = 1;
    double worstAny = 0;
    // Each target's cheapest seek: what the seek costs, without the times another program on
    // the machine took the processor in the middle of one.
    std::map<std::int64_t, double> cost;
    for (auto _ : state) {
        const std::int64_t target = std::min<std::int64_t>(k * app::KeyframeInterval + app::KeyframeInterval - 1, kSteps);
        // From the far end, or from far behind: always through a restore.
        const std::int64_t from = target > kSteps / 2 ? 1 : kSteps;
        state.PauseTiming();
        t.at = t.theatre->Seek(from, t.at);
        state.ResumeTiming();
        const auto begin = std::chrono::steady_clock::now();
        t.at = t.theatre->Seek(target, t.at);
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
        worstAny = std::max(worstAny, ms);
        const auto [it, first] = cost.emplace(target, ms);
        if (!first) it->second = std::min(it->second, ms);
        benchmark::DoNotOptimize(t.at);
        k = k * app::KeyframeInterval + app::KeyframeInterval >= kSteps ? 1 : k + 1;
    }
    const auto worst = std::max_element(cost.begin(), cost.end(),
                                        [](const auto& a, const auto& b) { return a.second < b.second; });
    state.counters["worst_ms"] = worst != cost.end() ? worst->second : 0.0;
    state.counters["worst_step"] = worst != cost.end() ? static_cast<double>(worst->first) : 0.0;
    state.counters["worst_any_ms"] = worstAny;
    state.counters["steps_per_seek"] = static_cast<double>(t.theatre->LastSeekSteps());
}
// Every target three times.
BENCHMARK(BM_WorstSeek)->Unit(benchmark::kMillisecond)->Iterations(3 * (kSteps / app::KeyframeInterval));

}  // namespace

BENCHMARK_MAIN();
