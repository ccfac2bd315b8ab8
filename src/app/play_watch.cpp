#include "app/play_watch.h"

#include "game/tz_enemy.h"
#include "game/tz_enemymissile.h"
#include "game/tz_gamemain.h"
#include "game/tz_globals.h"
#include "game/tz_kinds.h"
#include "game/tz_map.h"

namespace app {
namespace {

std::int32_t ScrollPosition() { return -tz::WholePart(tz::MapPos.y); }

// What the screen is busy with: the craft drawn and the enemy bullets in flight.
std::int32_t ObjectsInPlay() {
    std::int32_t n = 0;
    for (const tz::TEnemy& e : tz::Enemies) n += e.Index > 0 && e.OnDraw != nullptr;
    for (const tz::TEnemyShot& b : tz::EnemyShots) n += b.Index > 0 && b.BulletKind != tz::Bullet::Cancelled;
    return n;
}

// Something on screen the ship's shots can destroy: not an item, not a hulk that only turns.
// The view is 384 pixels of the field's 640, from the camera's position.
bool TargetOnScreen() {
    namespace K = tz::EnemyKind;
    const std::int32_t left = tz::WholePart(tz::MapPos.x);
    for (const tz::TEnemy& e : tz::Enemies) {
        if (e.Index <= 0 || e.OnCheck == nullptr || e.State == tz::TPhase::phDown) continue;
        if (e.SubType == K::WeaponItem || e.SubType == K::BonusItem || e.SubType == K::HeavyDrifterS ||
            e.SubType == K::HeavyDrifterM || e.SubType == K::HeavyDrifterL)
            continue;
        // Big craft show part of their bodies with their centres just off the view.
        const std::int32_t m = e.Radius / 2;
        if (e.XPos() >= left - m && e.XPos() < left + 384 + m && e.YPos() >= -m && e.YPos() < 480 + m) return true;
    }
    return false;
}

// What most likely destroyed the ship: a bullet within 24 pixels of it (its kind), else the
// nearest craft within 160 (its kind); -1 for none.
void Culprit(std::int32_t& bullet, std::int32_t& enemy) {
    const std::int32_t sx = tz::MyShip.XPos(), sy = tz::MyShip.YPos();
    auto distance2 = [&](const tz::TCharacter& c) {
        const std::int32_t dx = c.XPos() - sx, dy = c.YPos() - sy;
        return dx * dx + dy * dy;
    };
    bullet = enemy = -1;
    std::int32_t best = 24 * 24 + 1;
    for (const tz::TEnemyShot& b : tz::EnemyShots)
        if (b.Index > 0 && b.BulletKind != tz::Bullet::Cancelled && distance2(b) < best) {
            best = distance2(b);
            bullet = b.BulletKind;
        }
    best = 160 * 160 + 1;
    for (const tz::TEnemy& e : tz::Enemies)
        if (e.Index > 0 && e.OnCheck != nullptr && e.SubType != tz::EnemyKind::WeaponItem &&
            e.SubType != tz::EnemyKind::BonusItem && distance2(e) < best) {
            best = distance2(e);
            enemy = e.SubType;
        }
}

}  // namespace

bool IsBossKind(std::uint8_t kind) {
    namespace K = tz::EnemyKind;
    return kind == K::BeamMidBoss || kind == K::Stage1Boss || kind == K::Stage2Boss || kind == K::ShardMidBoss ||
           kind == K::FinalBoss;
}

void TPlayWatch::LifeLost(std::int64_t Step) {
    if (FLog == nullptr) return;
    std::int32_t bullet = -1, enemy = -1;
    Culprit(bullet, enemy);
    std::fprintf(FLog,
                 "{\"event\":\"life\",\"stage\":%d,\"pos\":%d,\"tick\":%lld,\"x\":%d,\"y\":%d,\"bullet\":%d,"
                 "\"enemy\":%d}\n",
                 tz::StageNo, ScrollPosition(), static_cast<long long>(Step), tz::MyShip.XPos(), tz::MyShip.YPos(),
                 bullet, enemy);
}

void TPlayWatch::Event(const char* Name, std::int64_t Step, const char* Extra, std::int64_t Value) {
    if (FLog == nullptr) return;
    std::fprintf(FLog, "{\"event\":\"%s\",\"stage\":%d,\"pos\":%d,\"tick\":%lld", Name, tz::StageNo, ScrollPosition(),
                 static_cast<long long>(Step));
    if (Extra != nullptr) std::fprintf(FLog, ",\"%s\":%lld", Extra, static_cast<long long>(Value));
    std::fputs("}\n", FLog);
}

void TPlayWatch::NewGame() {
    FStage = 0;
    FBossesDestroyed = 0;
    FEnding = false;
    FDeadTimer = 0;
    FBombs = tz::MyShip.Bombs;
}

void TPlayWatch::FlushBusy() {
    for (TBusiest* b : {&FBusy, &FBusyWaves}) {
        if (FLog != nullptr && b->Objects >= 0)
            std::fprintf(FLog, "{\"event\":\"%s\",\"stage\":%d,\"pos\":%d,\"tick\":%lld,\"objects\":%d}\n",
                         b == &FBusy ? "busy" : "busy_waves", FStage, b->Pos, static_cast<long long>(b->Step),
                         b->Objects);
        *b = TBusiest{};
    }
}

void TPlayWatch::WatchLull(std::int64_t Step, bool InPlay) {
    const bool quiet = InPlay && !TargetOnScreen();
    if (quiet && FLullStep < 0) {
        FLullStep = Step;
        FLullPos = ScrollPosition();
    }
    if (!quiet && FLullStep >= 0) {
        const std::int64_t ticks = Step - FLullStep;
        if (FLog != nullptr && ticks >= LullTicks)
            std::fprintf(FLog, "{\"event\":\"lull\",\"stage\":%d,\"pos\":%d,\"tick\":%lld,\"ticks\":%lld}\n",
                         FStage, FLullPos, static_cast<long long>(FLullStep), static_cast<long long>(ticks));
        FLullStep = -1;
    }
}

void TPlayWatch::WatchEnemies(std::int64_t Step) {
    for (std::size_t i = 0; i < tz::Enemies.size(); ++i) {
        const tz::TEnemy& e = tz::Enemies[i];
        const bool listed = e.Index > 0;
        // A boss whose record was freed (or taken by another object) without being destroyed.
        if (FBossKind[i] >= 0 && (!listed || e.SubType != FBossKind[i])) {
            if (!FCounted[i]) Event("boss_gone", Step, "kind", FBossKind[i]);
            FBossKind[i] = -1;
            FCounted[i] = false;
        }
        if (!listed) {
            FCounted[i] = false;
            continue;
        }
        if (IsBossKind(e.SubType) && FBossKind[i] < 0) {
            FBossKind[i] = e.SubType;
            FCounted[i] = false;
            Event("boss_in", Step, "kind", e.SubType);
        }
        if (e.State != tz::TPhase::phDown || FCounted[i]) continue;
        if (IsBossKind(e.SubType)) {
            FCounted[i] = true;
            ++FBossesDestroyed;
            Event("boss_down", Step, "kind", e.SubType);
        } else if (e.SubType == tz::EnemyKind::WeaponItem) {
            FCounted[i] = true;
            Event("weapon", Step, "weapon", e.Work3);
        }
    }
}

void TPlayWatch::Observe(std::int64_t Step) {
    const std::uint8_t scene = tz::SceneState;
    if (scene >= tz::Scene::StageSetup && FScene <= tz::Scene::Title) NewGame();
    if (scene == tz::Scene::EndingSetup || scene == tz::Scene::Credits) FEnding = true;
    if (scene == tz::Scene::Play && tz::StageNo != FStage) {
        FlushBusy();
        FStage = tz::StageNo;
        if (FLog != nullptr)
            std::fprintf(FLog, "{\"event\":\"stage\",\"stage\":%d,\"tick\":%lld,\"time_left\":%d}\n", FStage,
                         static_cast<long long>(Step), tz::TimeLeft);
    }
    const bool inPlay = scene >= tz::Scene::Play && scene <= tz::Scene::TimeOver;
    if (inPlay) {
        if (FDeadTimer == 0 && tz::DeadTimer > 0) {
            if (scene == tz::Scene::TimeOver)
                Event("time_over", Step);
            else
                LifeLost(Step);
        }
        if (tz::MyShip.Bombs < FBombs) Event("bomb", Step);
        if (scene == tz::Scene::Play) {
            const std::int32_t n = ObjectsInPlay();
            const TBusiest now{n, ScrollPosition(), Step};
            if (n > FBusy.Objects) FBusy = now;
            bool boss = false;
            for (const std::int16_t k : FBossKind) boss = boss || k >= 0;
            if (!boss && n > FBusyWaves.Objects) FBusyWaves = now;
        }
    }
    WatchEnemies(Step);
    // The clock runs (stage 1 after the launch) and the ship is in play.
    WatchLull(Step, scene == tz::Scene::Play && tz::TimeLeft > 0 && tz::DeadTimer == 0);
    FLastStep = Step;
    FDeadTimer = tz::DeadTimer;
    FBombs = tz::MyShip.Bombs;
    FScene = scene;
}

void TPlayWatch::Finish() {
    WatchLull(FLastStep + 1, false);
    for (std::size_t i = 0; i < FBossKind.size(); ++i)
        if (FBossKind[i] >= 0 && !FCounted[i]) {
            if (FLog != nullptr)
                std::fprintf(FLog, "{\"event\":\"boss_gone\",\"stage\":%d,\"pos\":%d,\"tick\":-1,\"kind\":%d}\n",
                             tz::StageNo, ScrollPosition(), FBossKind[i]);
            FBossKind[i] = -1;
        }
    FlushBusy();
}

}  // namespace app
