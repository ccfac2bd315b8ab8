// The game step in a crowded scene: 400 records in the object list (the ship, 64 shots, 128
// enemies and still objects filling the rest), 256 enemy bullets and 512 effects. Reports
// microseconds per tick and the share of the 14.3 ms tick (goal: under 2 %).
#include <benchmark/benchmark.h>

#include <array>

#include "game/tz_effect.h"
#include "game/tz_enemymissile.h"
#include "game/tz_input.h"
#include "game/tz_mymissile.h"
#include "support/play_setup.h"

namespace {

using namespace tz;

constexpr int ListCapacity = 400;
constexpr double TickMicroseconds = 1e6 / ProcessPerSec;  // 14286 us
constexpr int RebuildEvery = 32;                          // ticks before the crowd thins out

// Still objects that fill the list up to its capacity (the ship, shots and enemies scan them).
std::array<TEnemy, ListCapacity> Fillers{};

void BuildCrowdedScene() {
    test::StartStage();  // lists the ship

    // Enemies spread over the play field, drifting down slowly.
    for (int i = 0; i < EnemyCount; ++i) {
        ScratchEntry = TSpawnEntry{static_cast<std::int16_t>(140 + (i % 16) * 24),
                                   static_cast<std::int16_t>(20 + (i / 16) * 50), 0, 9};
        SpawnEnemy(ScratchEntryIndex, 0);
    }
    for (TEnemy& e : Enemies) {
        if (e.Index <= 0) continue;
        e.SetYPos(static_cast<std::int16_t>(20 + (&e - Enemies.data()) / 16 * 50));
        UnitList.MoveCharacter(e, 0, 0, 0);
        e.Speed = 16;
        e.State = TPhase::phLeave;
    }
    // All 64 shots in flight.
    for (int i = 0; i < MyShotCount; ++i) {
        MyShip.FireSide = (i & 1) ? 1 : -1;
        SpawnMyShot(0, MyShip, 0);
    }
    int listed = 1 + EnemyCount + MyShotCount;
    for (TEnemy& f : Fillers) {
        if (listed >= ListCapacity) break;
        f = TEnemy{};
        const int k = static_cast<int>(&f - Fillers.data());
        if (UnitList.AddCharacter(f, static_cast<std::int16_t>(130 + (k * 37) % 380), static_cast<std::int16_t>((k * 53) % 480),
                                  64, 124, TCharType::ctEnemy, 20, 40, 20, 0, 1))
            ++listed;
    }
    // Every bullet and effect active, none near the ship.
    for (int i = 0; i < EnemyShotCount; ++i) {
        TEnemyShot& b = EnemyShots[static_cast<std::size_t>(i)];
        b.Index = 1;
        b.BulletKind = 1;
        b.X = (140 + (i % 32) * 11) * 65536;
        b.Y = (10 + (i / 32) * 30) * 65536;
        b.Speed = 8;
        b.SetDirection(64);
    }
    for (int i = 0; i < EffectCount; ++i) {
        TEffect& e = Effects[static_cast<std::size_t>(i)];
        e.Index = 1;
        e.EffectKind = 10;
        e.Timer = 1000;
        e.X = (140 + (i % 32) * 11) * 65536;
        e.Y = (10 + (i / 32) * 25) * 65536;
        e.Speed = 32;
        e.SetDirection(64);
    }
}

void BM_GameStepCrowded(benchmark::State& state) {
    // Fire held while weaving left and right.
    test::KeysFromReplayBuffer();
    for (int i = 0; i < ReplayBufferSize; ++i)
        ReplayBuffer[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(KeyFire | ((i / 40) % 2 ? KeyLeft : KeyRight));
    BuildCrowdedScene();
    if (UnitList.Count() != ListCapacity) {
        state.SkipWithError("the crowded scene does not fill the object list");
        return;
    }
    int ticks = 0;
    for (auto _ : state) {
        if (ticks == RebuildEvery) {
            state.PauseTiming();
            BuildCrowdedScene();
            ReplayPos = 0;
            ticks = 0;
            state.ResumeTiming();
        }
        test::PlayTick();
        ++ticks;
        benchmark::DoNotOptimize(MyShip.X);
    }
    state.counters["us_per_tick"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * 1e-6,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["tick_share_pct"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * 1e-6 * TickMicroseconds / 100.0,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_GameStepCrowded);

}  // namespace

BENCHMARK_MAIN();
