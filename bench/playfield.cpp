// One frame of the play field on the game's own banks in a crowded scene: all 128 enemy, 256
// bullet and 512 effect records in use (half of what is drawn turned), 32 player shots and the
// status, then the 8-to-32-bit conversion the presenter does. Goal: under 0.5 ms a frame,
// i.e. under 4 % of a 14 ms tick. Also the same frame during a bomb's quake (jitter, black
// flash and two lightning bolts).

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "core/data_path.h"
#include "game/tz_draw.h"
#include "game/tz_effect.h"
#include "game/tz_enemy.h"
#include "game/tz_enemymissile.h"
#include "game/tz_gamemain.h"
#include "game/tz_globals.h"
#include "game/tz_main.h"
#include "game/tz_map.h"
#include "game/tz_mymissile.h"
#include "game/tz_smooth.h"
#include "game/tz_unitlist.h"
#include "support/play_setup.h"
#include "platform/convert.h"
#include "platform/platform.h"

namespace {

using namespace tz;

constexpr double TickMicroseconds = 1000.0 / 70.0 * 1000.0;

struct TScene {
    test::TPlayWindow window;
    std::unique_ptr<TForm1>& form = window.form;
    plat::PaletteLookup lookup{};
    std::vector<std::uint32_t> out32 = std::vector<std::uint32_t>(640 * 480);
};

// Enemies by kind and picture: the ordinary craft of banks 1 and 2 and the homing mine,
// which is drawn turned.
constexpr std::array<std::pair<std::uint8_t, std::int16_t>, 8> EnemyLooks{{{EnemyKind::SwoopingFighter, 128},
                                                                          {EnemyKind::GunPod, 132},
                                                                          {EnemyKind::HomingMine, 231},
                                                                          {EnemyKind::Diver, 138},
                                                                          {EnemyKind::HomingMine, 231},
                                                                          {EnemyKind::FastDiver, 233},
                                                                          {EnemyKind::HomingMine, 231},
                                                                          {EnemyKind::MineLayer, 230}}};
// Bullets by kind and picture; every other one turned.
constexpr std::array<std::pair<std::uint8_t, std::int16_t>, 8> BulletLooks{{{Bullet::Aimed, 124},
                                                                           {Bullet::AimedSlowing, 127},
                                                                           {Bullet::Falling, 124},
                                                                           {Bullet::Spinning, 126},
                                                                           {Bullet::AimedFast, 124},
                                                                           {Bullet::Curving, 115},
                                                                           {Bullet::Turning, 126},
                                                                           {Bullet::Ring, 127}}};
// Effects as the game starts them: sparks that fly turned, smoke, debris, shards, labels.
constexpr std::array<std::uint8_t, 8> EffectKinds{Effect::HitSpark, Effect::Smoke,     Effect::BeamSpark, Effect::Debris,
                                                  Effect::Sparkle,  Effect::Shard,     Effect::SmokePuff, Effect::ScoreLabel};

std::int16_t Spread(int k, int mod, int base) { return static_cast<std::int16_t>(base + (k * 7919) % mod); }

bool BuildScene(TScene& sc) {
    // The game's data lie beside the benchmark, in the build's program folder.
    if (!sc.window.Open(ExecutableDir()) || !sc.window.StartDrawing()) return false;
    test::StartStage(2, 12345);
    SceneTimer = 1000;
    Score = 98765;
    MyShip.Weapon = 0;
    RandSeed = 1;

    for (int k = 0; k < EnemyCount; ++k) {
        TEnemy& e = Enemies[static_cast<std::size_t>(k)];
        const auto [kind, pattern] = EnemyLooks[static_cast<std::size_t>(k % 8)];
        e = TEnemy{};
        e.SubType = kind;
        e.Life = 10;
        e.Flash = static_cast<std::uint8_t>(k % 5 == 0 ? 3 : 0);
        if (!UnitList.AddCharacter(e, Spread(k, 400, 120), Spread(k * 3, 440, 10), 64, pattern, TCharType::ctEnemy, 30, 30, 30, 0, 0))
            return false;
        e.OnDraw = DrawCharacter;
        e.Rotation = static_cast<std::uint8_t>(kind == EnemyKind::HomingMine ? 17 + 29 * k : 0);
    }
    for (int k = 0; k < 32; ++k) SpawnMyShot(static_cast<std::uint8_t>(k % 4), MyShip, 0);
    for (int k = 0; k < EnemyShotCount; ++k) {
        TEnemyShot& b = EnemyShots[static_cast<std::size_t>(k)];
        const auto [kind, pattern] = BulletLooks[static_cast<std::size_t>(k % 8)];
        b.Index = 1;
        b.CharType = TCharType::ctEnemyShot;
        b.BulletKind = kind;
        b.Pattern = pattern;
        b.Rotation = static_cast<std::uint8_t>(k % 2 ? 11 + 37 * k : 0);
        b.SetXPos(Spread(k * 5, 384, 128));
        b.SetYPos(Spread(k * 11, 480, 0));
    }
    for (int k = 0; k < EffectCount; ++k) {
        TCharacter at{};
        at.SetXPos(Spread(k * 13, 384, 128));
        at.SetYPos(Spread(k * 17, 470, 5));
        SpawnEffect(EffectKinds[static_cast<std::size_t>(k % 8)], at, k % 8 == 7 ? 11 : 64 + k);
    }
    int active = 0;
    for (const TEffect& e : Effects) active += e.Index > 0;
    return active == EffectCount && UnitList.Count() == 1 + EnemyCount + 32;
}

void Frame(TScene& sc) {
    RefreshCount += 1;
    DrawPlayField();
    const engine::Surface& back = *sc.form->Sprite.BackBuffer();
    plat::buildLookup(sc.form->Sprite.DisplayPalette(), sc.lookup);
    plat::convertFrame(plat::FrameView{back.pixels.data(), back.pitch, back.width, back.height}, sc.lookup, sc.out32.data(),
                       640 * 4);
    benchmark::DoNotOptimize(sc.out32.data());
}

void Report(benchmark::State& state) {
    state.counters["us_per_frame"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * 1e-6, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["tick_share_pct"] = benchmark::Counter(static_cast<double>(state.iterations()) * 1e-6 * TickMicroseconds / 100.0,
                                                          benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_DrawPlayFieldCrowded(benchmark::State& state) {
    TScene sc;
    if (!BuildScene(sc)) {
        state.SkipWithError("the game's banks are not built or the scene did not fill the tables");
        return;
    }
    MyShip.QuakeTimer = 0;
    for (auto _ : state) Frame(sc);
    Report(state);
}
BENCHMARK(BM_DrawPlayFieldCrowded)->Unit(benchmark::kMicrosecond);

void BM_DrawPlayFieldCrowdedQuake(benchmark::State& state) {
    TScene sc;
    if (!BuildScene(sc)) {
        state.SkipWithError("the game's banks are not built or the scene did not fill the tables");
        return;
    }
    MyShip.QuakeTimer = 60;  // a quake frame on every odd frame: black flash and lightning
    for (auto _ : state) Frame(sc);
    Report(state);
}
BENCHMARK(BM_DrawPlayFieldCrowdedQuake)->Unit(benchmark::kMicrosecond);

// Smooth motion's share of a frame: the crowded frame drawn between two ticks, every object,
// star and the scroll blended from positions a few pixels back, then put back. The goal: the
// blend and the restore cost at most 5 % of the frame's drawing (compare with
// BM_DrawPlayFieldCrowded; BM_SmoothBlendOnly is the blend and the restore alone).
void ShiftBefore(TSmoothMotion& motion) {
    SmoothBeforeTick(motion, GameState.Play);
    auto back = [](TCharacter& c) {
        c.X -= 3 << 16;
        c.Y -= 5 << 16;
    };
    back(motion.Before.MyShip);
    for (auto& c : motion.Before.MyShots) back(c);
    for (auto& c : motion.Before.Enemies) back(c);
    for (auto& c : motion.Before.EnemyShots) back(c);
    for (auto& c : motion.Before.Effects) back(c);
    for (auto& star : motion.Before.StarField) star.Y -= 2 << 16;
    motion.Before.MapPos.y -= 1 << 16;
}

void BM_DrawPlayFieldCrowdedBlended(benchmark::State& state) {
    TScene sc;
    if (!BuildScene(sc)) {
        state.SkipWithError("the game's banks are not built or the scene did not fill the tables");
        return;
    }
    MyShip.QuakeTimer = 0;
    auto motion = std::make_unique<TSmoothMotion>();
    ShiftBefore(*motion);
    double alpha = -0.1;   // 0.1, 0.3 .. 0.9 in turn
    for (auto _ : state) {
        alpha = alpha >= 0.85 ? 0.1 : alpha + 0.2;
        if (!SmoothBlend(*motion, GameState.Play, alpha)) {
            state.SkipWithError("nothing to blend");
            return;
        }
        Frame(sc);
        SmoothRestore(*motion, GameState.Play);
    }
    Report(state);
}
BENCHMARK(BM_DrawPlayFieldCrowdedBlended)->Unit(benchmark::kMicrosecond);

void BM_SmoothBlendOnly(benchmark::State& state) {
    TScene sc;
    if (!BuildScene(sc)) {
        state.SkipWithError("the game's banks are not built or the scene did not fill the tables");
        return;
    }
    auto motion = std::make_unique<TSmoothMotion>();
    ShiftBefore(*motion);
    for (auto _ : state) {
        SmoothBlend(*motion, GameState.Play, 0.5);
        benchmark::DoNotOptimize(GameState.Play.Enemies[0].X);
        SmoothRestore(*motion, GameState.Play);
    }
    Report(state);
}
BENCHMARK(BM_SmoothBlendOnly)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
