// The game step in a crowded fight with real enemies firing: all 128 enemy records in use by
// kinds that fire (fast divers, climbing fighters, gun pods, divers halted to fire, side
// crossers dropping generators, a stage boss), the enemy bullets in flight and all 512
// effects active, the ship firing. With the argument 0 all 256 bullets fly, so every new
// bullet searches the whole table and is dropped; with 1 half the table starts free and the
// enemies fill it. Reports microseconds per tick and the share of the 14.3 ms tick (goal:
// under 2 %), and how many bullets a tick started on average.
#include <benchmark/benchmark.h>

#include "game/tz_effect.h"
#include "game/tz_enemymissile.h"
#include "game/tz_input.h"
#include "support/play_setup.h"

namespace {

using namespace tz;

constexpr double TickMicroseconds = 1e6 / ProcessPerSec;  // 14286 us
constexpr int RebuildEvery = 32;                          // ticks before the crowd thins out

TEnemy& Start(std::uint8_t kind, int x, int y, std::int32_t param = 0) {
    ScratchEntry = TSpawnEntry{static_cast<std::int16_t>(x), static_cast<std::int16_t>(y), 0, kind};
    const std::int32_t i = SpawnEnemy(ScratchEntryIndex, param);
    return Enemies[static_cast<std::size_t>(i < 0 ? 0 : i)];
}

// Puts e at (x, y) in the given state, as if it had come there on its course.
void Place(TEnemy& e, int x, int y, TPhase state, std::int32_t timer) {
    UnitList.MoveCharacter(e, (x - e.XPos()) * 65536, (y - e.YPos()) * 65536, 0);
    e.State = state;
    e.Timer = timer;
}

void BuildCrowdedFight(int freeBullets) {
    test::StartStage();  // lists the ship, empties the tables

    int n = 0;
    // The stage boss holding at the top, sweeping and firing its arm guns.
    TEnemy& boss = Start(EnemyKind::Stage2Boss, 320, 0);
    Place(boss, 320, 79, TPhase::phEnter, 0);
    ++n;
    for (int i = 0; i < 36; ++i, ++n)  // fast divers in the band where they fire every 4 ticks
        Place(Start(EnemyKind::FastDiver, 150 + (i % 12) * 30, 0), 150 + (i % 12) * 30, 250 + (i / 12) * 50,
              TPhase::phEnter, 40);
    for (int i = 0; i < 30; ++i, ++n)  // fighters climbing away, firing
        Place(Start(EnemyKind::SwoopingFighter, 160 + (i % 10) * 32, 0), 160 + (i % 10) * 32, 60 + (i / 10) * 40,
              TPhase::phLeave, 16 * (i % 4));
    for (int i = 0; i < 30; ++i, ++n)  // gun pods, their fans due
        Place(Start(EnemyKind::GunPod, 150 + (i % 10) * 34, 0), 150 + (i % 10) * 34, 100 + (i / 10) * 60,
              TPhase::phEnter, 50 * (1 + i % 2) + (i % 3));
    for (int i = 0; i < 20; ++i, ++n)  // divers halted to fire their pairs
        Place(Start(EnemyKind::Diver, 150 + (i % 10) * 34, 0), 150 + (i % 10) * 34, 120 + (i / 10) * 40,
              TPhase::phAttack, 25 + (i % 3) * 5);
    while (n < EnemyCount) {  // side crossers on their way back, dropping generators
        TEnemy& c = Start(EnemyKind::SideCrosser, 100, 0);
        Place(c, 200 + (n % 8) * 40, 200 + (n % 3) * 30, TPhase::phAttack, 20 * (n % 2));
        ++n;
    }
    // Every bullet in flight, of the common kinds, none near the ship.
    constexpr std::uint8_t kinds[] = {Bullet::Aimed, Bullet::Turning, Bullet::Spinning, Bullet::Ring, Bullet::Directed};
    // The free slots follow the one last taken, so the slot search runs through them in order.
    EnemyShotNext = 0;
    for (int i = freeBullets + 1; i < EnemyShotCount + 1; ++i) {
        TEnemyShot& b = EnemyShots[static_cast<std::size_t>(i % EnemyShotCount)];
        b.Index = 1;
        b.CharType = TCharType::ctEnemyShot;
        b.BulletKind = kinds[i % 5];
        b.Timer = 1000;
        b.X = (140 + (i % 32) * 11) * 65536;
        b.Y = (10 + (i / 32) * 30) * 65536;
        b.Speed = 8;
        b.Pattern = 124;
        b.SetDirection(64);
    }
    for (int i = 0; i < EffectCount; ++i) {
        TEffect& e = Effects[static_cast<std::size_t>(i)];
        e.Index = 1;
        e.EffectKind = Effect::Smoke;
        e.Timer = 1000;
        e.X = (140 + (i % 32) * 11) * 65536;
        e.Y = (10 + (i / 32) * 25) * 65536;
        e.Speed = 32;
        e.SetDirection(64);
    }
}

int ListedEnemies() {
    int n = 0;
    for (const TEnemy& e : Enemies) n += e.Index > 0;
    return n;
}

void BM_GameStepEnemiesFiring(benchmark::State& state) {
    // Fire held while weaving left and right.
    test::KeysFromReplayBuffer();
    for (int i = 0; i < ReplayBufferSize; ++i)
        ReplayBuffer[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(KeyFire | ((i / 40) % 2 ? KeyLeft : KeyRight));
    const int freeBullets = state.range(0) == 0 ? 0 : EnemyShotCount / 2;
    BuildCrowdedFight(freeBullets);
    if (ListedEnemies() != EnemyCount) {
        state.SkipWithError("the crowded fight does not fill the enemy table");
        return;
    }
    int ticks = 0;
    std::int64_t started = 0;  // bullets the enemies started (the slot search never wraps past a free slot)
    for (auto _ : state) {
        if (ticks == RebuildEvery) {
            state.PauseTiming();
            BuildCrowdedFight(freeBullets);
            ReplayPos = 0;
            ticks = 0;
            state.ResumeTiming();
        }
        const std::int32_t next = EnemyShotNext;
        test::PlayTick();
        ++ticks;
        started += (EnemyShotNext - next + EnemyShotCount) % EnemyShotCount;
        benchmark::DoNotOptimize(MyShip.X);
    }
    state.counters["us_per_tick"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * 1e-6,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["tick_share_pct"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * 1e-6 * TickMicroseconds / 100.0,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["bullets_per_tick"] =
        benchmark::Counter(static_cast<double>(started) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_GameStepEnemiesFiring)->Arg(0)->Arg(1);

}  // namespace

BENCHMARK_MAIN();
