// The game-state record: a snapshot and restore of the whole record (what a look-ahead and
// --heavy pay per tick), and its hash (what --summary and --hash-trace pay).
#include <benchmark/benchmark.h>

#include <memory>

#include "game/state_hash.h"
#include "game/tz_gamemain.h"
#include "game/tz_globals.h"
#include "game/tz_state.h"
#include "game/tz_unitlist.h"
#include "support/play_setup.h"

namespace {

void Prepare() { tz::test::StartStage(2, 9000); }

void BM_SnapshotAndRestore(benchmark::State& state) {
    Prepare();
    auto snapshot = std::make_unique<tz::TGameState>();
    for (auto _ : state) {
        tz::SaveGameState(*snapshot);
        benchmark::ClobberMemory();
        tz::RestoreGameState(*snapshot);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 2 *
                            static_cast<std::int64_t>(sizeof(tz::TGameState)));
}
BENCHMARK(BM_SnapshotAndRestore);

void BM_StateHash(benchmark::State& state) {
    Prepare();
    for (auto _ : state) benchmark::DoNotOptimize(tz::GameStateHash());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(sizeof(tz::TPlayState)));
}
BENCHMARK(BM_StateHash);

}  // namespace

BENCHMARK_MAIN();
