#include "game/tz_enemy.h"

#include "game/tz_check.h"
#include "game/tz_draw.h"
#include "game/tz_effect.h"
#include "game/tz_enemy_boss.h"
#include "game/tz_enemy_carrier.h"
#include "game/tz_enemy_common.h"
#include "game/tz_enemy_drifters.h"
#include "game/tz_enemy_fighters.h"
#include "game/tz_enemy_gunships.h"
#include "game/tz_enemy_mines.h"
#include "game/tz_enemy_spawners.h"
#include "game/tz_gamemain.h"
#include "game/tz_globals.h"
#include "game/tz_items.h"
#include "game/tz_map.h"
#include "game/tz_outlet.h"
#include "game/tz_unitlist.h"

namespace tz {

namespace {

constexpr bool T = true, F = false;
constexpr std::int32_t NoTimer = 0;

// What the carriers (kinds 2, 16, 22) leave: their weapon item, a heavy crash, and 500.
constexpr TWreck CarrierWreck(std::int8_t weapon) {
    return {.Weapon = weapon, .Sound = Sound::CrashM, .Volume = 5, .Rate = 60, .RateSpread = 0, .SmokeCount = 12,
            .SmokeSpread = 1920, .DebrisCount = 20, .DebrisMomentum = 3200, .Label = 12, .Points = 500};
}

// What the small craft leave: a crash at base + Random(20), one smoke, n pieces of debris.
constexpr TWreck SmallWreck(std::int32_t sound, std::int16_t rate, std::uint8_t debris, std::int16_t label,
                            std::int32_t points) {
    return {.Sound = sound, .Rate = rate, .SmokeCount = 1, .DebrisCount = debris, .Label = label, .Points = points};
}

}  // namespace

// The 30 kinds. Start values: Radius / Range / Margin, Pattern, Direction (before the kind's
// own rule), whether the Timer is set and to what, Speed, Life, collision and drawing;
// positions, aimed or random directions, spawn sounds and extra fields are the Start
// procedures. Then the push decay, the step, and the destruction.
const std::array<TEnemyKind, EnemyKind::Count> EnemyKinds = {{
    /* 0 swooping fighter */
    {.Radius = 40, .Range = 40, .Margin = 40, .Pattern = 128, .Direction = 64, .SetsTimer = T, .Timer = 80,
     .Speed = 600, .Life = 1, .Collides = T, .Drawn = T, .Start = StartSwoopingFighter, .Step = StepSwoopingFighter,
     .Decay = DecayFull, .Recipe = WreckEnemy, .Wreck = SmallWreck(Sound::CrashL, 100, 5, 10, 100)},
    /* 1 gun pod */
    {.Radius = 40, .Range = 40, .Margin = 40, .Pattern = 132, .Direction = 64, .SetsTimer = T, .Timer = 80,
     .Speed = 30, .Life = 1, .Collides = T, .Drawn = T, .Start = nullptr, .Step = StepGunPod, .Decay = DecayDouble,
     .Recipe = WreckEnemy,
     .Wreck = {.Sound = Sound::CrashM, .Rate = 90, .SmokeCount = 6, .SmokeSpread = 256, .Label = 11, .Points = 300,
               .TimerAfter = -1}},
    /* 2 side gunship (drops the Beam) */
    {.Radius = 60, .Range = 60, .Margin = 60, .Pattern = 135, .Direction = 64, .SetsTimer = T, .Timer = 200,
     .Speed = 440, .Life = 8, .Collides = T, .Drawn = T, .Start = StartSideGunship, .Step = StepSideGunship,
     .Decay = DecayFull, .Recipe = WreckEnemy, .Wreck = CarrierWreck(3)},
    /* 3 diver */
    {.Radius = 30, .Range = 30, .Margin = 30, .Pattern = 138, .Direction = 64, .SetsTimer = T, .Timer = 60,
     .Speed = 600, .Life = 2, .Collides = T, .Drawn = T, .Start = StartDiver, .Step = StepDiver, .Decay = DecayFull,
     .Recipe = WreckEnemy, .Wreck = SmallWreck(Sound::CrashL, 100, 10, 11, 300)},
    /* 4 falling heavy craft */
    {.Radius = 80, .Range = 80, .Margin = 80, .Pattern = 144, .Direction = 64, .SetsTimer = T, .Timer = 100,
     .Speed = 500, .Life = 2, .Collides = T, .Drawn = T, .Start = StartFallingHeavy, .Step = nullptr,
     .Decay = DecayFull, .Recipe = WreckEnemy,
     .Wreck = {.Sound = Sound::CrashM, .Rate = 90, .SmokeCount = 6, .SmokeSpread = 768, .DebrisCount = 10,
               .DebrisMomentum = 1920, .Label = 10, .Points = 100}},
    /* 5 spawner of swooping fighters */
    {.Radius = 0, .Range = 0, .Margin = 0, .Pattern = 124, .Direction = 64, .SetsTimer = T, .Timer = 70, .Speed = 0,
     .Life = 99, .Collides = F, .Drawn = F, .Start = StartSpawner, .Step = StepFighterSpawner},
    /* 6 warning marker */
    {.Radius = 0, .Range = 0, .Margin = 0, .Pattern = 124, .Direction = 64, .SetsTimer = T, .Timer = 30, .Speed = 0,
     .Life = 99, .Collides = F, .Drawn = F, .Start = StartWarningMarker, .Step = StepWarningMarker,
     .Decay = DecayFull},
    /* 7 mid-boss with a beam */
    {.Radius = 90, .Range = 90, .Margin = 90, .Pattern = 203, .Direction = 64, .SetsTimer = F, .Timer = NoTimer,
     .Speed = 512, .Life = 999, .Collides = T, .Drawn = T, .Start = StartBeamMidBoss, .Step = StepBeamMidBoss,
     .Decay = DecayDouble, .Recipe = WreckBeamMidBoss},
    /* 8 background drifter */
    {.Radius = 0, .Range = 0, .Margin = 100, .Pattern = 219, .Direction = 64, .SetsTimer = F, .Timer = NoTimer,
     .Speed = 200, .Life = 127, .Collides = F, .Drawn = T, .Start = StartBackgroundDrifter, .Step = nullptr,
     .Decay = DecayFull},
    /* 9 carrier */
    {.Radius = 0, .Range = 0, .Margin = 200, .Pattern = 220, .Direction = 64, .SetsTimer = F, .Timer = NoTimer,
     .Speed = 1024, .Life = 127, .Collides = F, .Drawn = T, .Start = StartCarrier, .Step = StepCarrier},
    /* 10 stage-1 boss */
    {.Radius = 120, .Range = 120, .Margin = 120, .Pattern = 221, .Direction = 64, .SetsTimer = F, .Timer = NoTimer,
     .Speed = 500, .Life = 220, .Collides = T, .Drawn = T, .Start = StartStage1Boss, .Step = StepStage1Boss,
     .Decay = DecayFull, .Recipe = WreckStage1Boss},
    /* 11 weapon item       */ {40, 40, 40, 95, 64, F, NoTimer, 64, 127, T, T, StartWeaponItem, StepWeaponItem},
    /* 12 bonus item        */ {40, 40, 40, 47, 64, F, NoTimer, 48, 127, T, T, StartBonusItem, StepBonusItem},
    /* 13 heavy drifter, small */
    {.Radius = 70, .Range = 70, .Margin = 70, .Pattern = 224, .Direction = 64, .SetsTimer = F, .Timer = NoTimer,
     .Speed = 128, .Life = 300, .Collides = T, .Drawn = T, .Start = StartHeavyDrifterS, .Step = nullptr},
    /* 14 heavy drifter, medium */
    {.Radius = 100, .Range = 100, .Margin = 100, .Pattern = 225, .Direction = 64, .SetsTimer = F, .Timer = NoTimer,
     .Speed = 64, .Life = 300, .Collides = T, .Drawn = T, .Start = StartHeavyDrifterM, .Step = nullptr},
    /* 15 heavy drifter, large */
    {.Radius = 100, .Range = 100, .Margin = 100, .Pattern = 226, .Direction = 64, .SetsTimer = F, .Timer = NoTimer,
     .Speed = 48, .Life = 300, .Collides = T, .Drawn = T, .Start = StartHeavyDrifterL, .Step = nullptr},
    /* 16 launcher (drops the Canon) */
    {.Radius = 100, .Range = 100, .Margin = 100, .Pattern = 227, .Direction = 192, .SetsTimer = F, .Timer = NoTimer,
     .Speed = 512, .Life = 5, .Collides = T, .Drawn = T, .Start = StartLauncher, .Step = StepLauncher,
     .Decay = DecayFull, .Recipe = WreckEnemy, .Wreck = CarrierWreck(1)},
    /* 17 spawner of stalkers */
    {.Radius = 0, .Range = 0, .Margin = 0, .Pattern = 124, .Direction = 64, .SetsTimer = T, .Timer = 70, .Speed = 0,
     .Life = 99, .Collides = F, .Drawn = F, .Start = StartSpawner, .Step = StepStalkerSpawner},
    /* 18 mine layer */
    {.Radius = 60, .Range = 60, .Margin = 60, .Pattern = 230, .Direction = 64, .SetsTimer = T, .Timer = 40,
     .Speed = 512, .Life = 4, .Collides = T, .Drawn = T, .Start = StartMineLayer, .Step = StepMineLayer,
     .Decay = DecayFull, .Recipe = WreckEnemy,
     .Wreck = {.Sound = Sound::CrashM, .Volume = 5, .Rate = 60, .RateSpread = 0, .SmokeCount = 12,
               .SmokeSpread = 1920, .DebrisCount = 20, .DebrisMomentum = 3200, .Label = 12, .Points = 500}},
    /* 19 homing mine */
    {.Radius = 10, .Range = 20, .Margin = 10, .Pattern = 231, .Direction = 64, .SetsTimer = T, .Timer = 210,
     .Speed = 0, .Life = 1, .Collides = T, .Drawn = T, .Start = StartHomingMine, .Step = StepHomingMine,
     .Decay = DecayFull, .Recipe = WreckEnemy, .Wreck = SmallWreck(Sound::CrashL, 100, 10, 10, 100)},
    /* 20 fast diver */
    {.Radius = 60, .Range = 60, .Margin = 60, .Pattern = 233, .Direction = 64, .SetsTimer = T, .Timer = 40,
     .Speed = 700, .Life = 1, .Collides = T, .Drawn = T, .Start = StartFastDiver, .Step = StepFastDiver,
     .Recipe = WreckEnemy,
     .Wreck = {.Sound = Sound::CrashL, .SmokeCount = 1, .DebrisCount = 10, .Label = 10, .Points = 100,
               .LifeAfter = 0}},
    /* 21 stage-2 boss */
    {.Radius = 100, .Range = 100, .Margin = 100, .Pattern = 234, .Direction = 192, .SetsTimer = F, .Timer = NoTimer,
     .Speed = 128, .Life = 280, .Collides = T, .Drawn = T, .Start = StartStage2Boss, .Step = StepStage2Boss,
     .Recipe = WreckStage2Boss},
    /* 22 side crosser (drops the Thunder) */
    {.Radius = 100, .Range = 100, .Margin = 100, .Pattern = 239, .Direction = 64, .SetsTimer = F, .Timer = NoTimer,
     .Speed = 512, .Life = 8, .Collides = T, .Drawn = T, .Start = StartSideCrosser, .Step = StepSideCrosser,
     .Recipe = WreckEnemy, .Wreck = CarrierWreck(2)},
    /* 23 ring spawner */
    {.Radius = 0, .Range = 0, .Margin = 0, .Pattern = 124, .Direction = 64, .SetsTimer = T, .Timer = 79, .Speed = 0,
     .Life = 99, .Collides = F, .Drawn = F, .Start = StartSpawner, .Step = StepRingSpawner, .Decay = DecayFull},
    /* 24 mid-boss that teleports */
    {.Radius = 90, .Range = 90, .Margin = 90, .Pattern = 207, .Direction = 192, .SetsTimer = T, .Timer = 70,
     .Speed = 0, .Life = 100, .Collides = T, .Drawn = T, .Start = StartShardMidBoss, .Step = StepShardMidBoss,
     .Recipe = WreckShardMidBoss},
    /* 25 final boss */
    {.Radius = 400, .Range = 400, .Margin = 400, .Pattern = 244, .Direction = 64, .SetsTimer = F, .Timer = NoTimer,
     .Speed = 128, .Life = 950, .Collides = T, .Drawn = T, .Start = StartFinalBoss, .Step = StepFinalBoss,
     .EveryTick = WatchFinalBoss, .Recipe = WreckFinalBoss},
    /* 26 dart */
    {.Radius = 10, .Range = 20, .Margin = 10, .Pattern = 109, .Direction = 64, .SetsTimer = T, .Timer = 70,
     .Speed = 256, .Life = 1, .Collides = T, .Drawn = T, .Start = StartDart, .Step = StepDart, .Recipe = WreckEnemy,
     .Wreck = {.Sound = Sound::CrashL, .DebrisCount = 10, .Label = 10, .Points = 100}},
    /* 27 stalker */
    {.Radius = 10, .Range = 20, .Margin = 10, .Pattern = 229, .Direction = 64, .SetsTimer = F, .Timer = NoTimer,
     .Speed = 300, .Life = 1, .Collides = T, .Drawn = T, .Start = StartStalker, .Step = StepStalker,
     .Recipe = WreckEnemy,
     .Wreck = {.Sound = Sound::Kani, .VolumeFromHeight = F, .Rate = 60, .SmokeCount = 1, .DebrisCount = 10,
               .Label = 10, .Points = 100}},
    /* 28 shard */
    {.Radius = 30, .Range = 30, .Margin = 30, .Pattern = 243, .Direction = 64, .SetsTimer = T, .Timer = 12,
     .Speed = 512, .Life = 1, .Collides = T, .Drawn = T, .Start = StartShard, .Step = StepShard, .Decay = DecayFull,
     .Recipe = WreckEnemy,
     .Wreck = {.Sound = Sound::CrashL, .Rate = 90, .SmokeCount = 1, .SmokeSpread = 768, .DebrisCount = 10,
               .DebrisMomentum = 1920, .Label = 10, .Points = 100}},
    /* 29 ring mine */
    {.Radius = 30, .Range = 30, .Margin = 30, .Pattern = 242, .Direction = 64, .SetsTimer = T, .Timer = 30,
     .Speed = -64, .Life = 7, .Collides = T, .Drawn = T, .Start = StartRingMine, .Step = StepRingMine,
     .Decay = DecayHalf, .Recipe = WreckEnemy,
     .Wreck = {.Sound = Sound::CrashM, .Rate = 90, .SmokeCount = 1, .SmokeSpread = 768, .DebrisCount = 10,
               .DebrisMomentum = 1920, .Label = 10, .Points = 100}},
}};

void DecayPush(TEnemy& e, std::int32_t Decay) {
    Approach(e.Work1, 0, Decay);
    Approach(e.Work2, 0, Decay);
}

std::int32_t SpawnEnemy(std::int32_t Entry, std::int32_t Param) {
    if (Entry < 0 || Entry >= SpawnListSize) return -1;
    const TSpawnEntry& entry = SpawnList[static_cast<std::size_t>(Entry)];
    if (entry.Kind >= EnemyKinds.size()) return -1;  // not a kind of this game
    const TEnemyKind& kind = EnemyKinds[entry.Kind];

    TEnemy* e = nullptr;
    for (TEnemy& r : Enemies)
        if (r.Index < 0) { e = &r; break; }
    if (!e) return -1;

    e->SubType = entry.Kind;
    e->State = TPhase::phEnter;
    e->SetXPos(entry.X);
    e->SetYPos(entry.Y);
    e->SetDirection(192);
    e->Work1 = 0;
    e->Work2 = 0;
    e->Flash = 0;
    e->Param1 = static_cast<std::uint8_t>(entry.Param & 0xFF);
    e->Param2 = static_cast<std::uint8_t>(entry.Param >> 8);

    e->Pattern = kind.Pattern;
    e->SetDirection(static_cast<std::uint8_t>(kind.Direction));
    if (kind.SetsTimer) e->Timer = kind.Timer;
    e->Speed = kind.Speed;
    e->Life = kind.Life;
    if (kind.Start) kind.Start(*e, Param);

    if (!UnitList.AddCharacter(*e, e->XPos(), e->YPos(), e->Direction(), e->Pattern, TCharType::ctEnemy, kind.Radius,
                               kind.Range, kind.Margin, 0, 0))
        return -1;  // the list is full: the record stays free
    e->OnCheck = kind.Collides ? CheckHit : nullptr;
    e->OnDraw = kind.Drawn ? DrawCharacter : nullptr;
    return EnemyRecordIndex(*e);
}

namespace {

// The behaviour part of one tick: the push decays, the kind's every-tick watch runs, then a
// kind that can be destroyed is removed a tick after its destruction or destroyed once its
// life has run out; otherwise its own step runs.
void StepEnemy(TEnemy& e) {
    if (e.SubType >= EnemyKinds.size()) return;
    const TEnemyKind& kind = EnemyKinds[e.SubType];
    if (kind.Decay > 0) DecayPush(e, kind.Decay);
    if (kind.EveryTick) kind.EveryTick(e);
    if (kind.Recipe) {
        if (e.State == TPhase::phDown) {
            if (e.Life < 1 || e.Timer < 1) UnitList.RemoveCharacter(e);
            return;
        }
        if (e.Life < 1) {
            kind.Recipe(e);
            return;
        }
    }
    if (kind.Step) kind.Step(e);
}

}  // namespace

void MoveEnemies() {
    for (TEnemy& e : Enemies) {
        if (e.Index <= 0) continue;
        StepEnemy(e);
        e.Timer -= 1;
        if (e.Flash > 0) e.Flash -= 1;
        if (e.Index <= 0) continue;  // the step removed it
        const std::int16_t x = e.XPos(), y = e.YPos();
        if (y > 600 || (y < -120 && e.State != TPhase::phEnter) || x < -120 || x > 760) {
            UnitList.RemoveCharacter(e);  // leaving the area is no loss to its groups
            continue;
        }
        const std::uint8_t dir = e.Direction();
        UnitList.MoveCheck(e, WrapAdd(WrapMul(Cos(dir), e.Speed), e.Work1), WrapAdd(WrapMul(Sin(dir), e.Speed), e.Work2),
                           0);
    }
}

std::int32_t GroupDown(std::int32_t i) {
    if (i < 0 || i >= EnemyCount) return 0;
    TEnemy& e = Enemies[static_cast<std::size_t>(i)];
    std::int32_t bonus = 0;
    for (const std::uint8_t g : {e.Param1, e.Param2}) {
        if (g == 0) continue;
        GroupCount[g] = static_cast<std::int16_t>(GroupCount[g] - 1);
        if (GroupCount[g] == 0) bonus += GroupBonus[g];
    }
    if (bonus >= 1) SpawnFromScratch(e.XPos(), e.YPos(), EnemyKind::BonusItem, bonus);
    return bonus;
}

void FinishWreck(TEnemy& e, std::int16_t LifeAfter, std::int32_t TimerAfter, bool CountOutOfGroups) {
    e.CharType = TCharType::ctDying;
    e.State = TPhase::phDown;
    e.Life = LifeAfter;
    e.Timer = TimerAfter;
    if (CountOutOfGroups) GroupDown(EnemyRecordIndex(e));
    KilledCount += 1;
}

void WreckEnemy(TEnemy& e) {
    const TWreck& w = EnemyKinds[e.SubType].Wreck;
    if (w.Weapon >= 0) SpawnFromScratch(e.XPos(), e.YPos(), EnemyKind::WeaponItem, w.Weapon);
    const std::int32_t volume = w.VolumeFromHeight ? e.YPos() / 100 + w.Volume : w.Volume;
    const std::int32_t rate = w.RateSpread > 0 ? w.Rate + Random(w.RateSpread) : w.Rate;
    PlaySE(w.Sound, PanOf(e), volume, rate);
    for (int k = 0; k < w.SmokeCount; ++k) SpawnEffect(Effect::Smoke, e, w.SmokeSpread);
    for (int k = 0; k < w.DebrisCount; ++k) SpawnEffect(Effect::Debris, e, w.DebrisMomentum);
    if (w.Label != 0) {
        SpawnEffect(Effect::ScoreLabel, e, w.Label);
        Score += w.Points;
    }
    FinishWreck(e, w.LifeAfter, w.TimerAfter, true);
}

}  // namespace tz
