#include "app/autopilot_judge.h"

#include <algorithm>
#include <cmath>

#include "game/tz_enemy.h"
#include "game/tz_enemymissile.h"
#include "game/tz_gamemain.h"
#include "game/tz_globals.h"
#include "game/tz_kinds.h"

namespace app {
namespace {

namespace K = tz::EnemyKind;

bool IsItem(std::uint8_t kind) { return kind == K::WeaponItem || kind == K::BonusItem; }
bool IsBoss(std::uint8_t kind) {
    return kind == K::BeamMidBoss || kind == K::Stage1Boss || kind == K::Stage2Boss || kind == K::ShardMidBoss ||
           kind == K::FinalBoss;
}
bool NeverDestroyed(std::uint8_t kind) {
    return kind == K::HeavyDrifterS || kind == K::HeavyDrifterM || kind == K::HeavyDrifterL;
}

// A craft the ship's shots can wear down now.
bool CanBeHurt(const tz::TEnemy& e) {
    if (e.Index <= 0 || e.OnCheck == nullptr || IsItem(e.SubType) || NeverDestroyed(e.SubType)) return false;
    if (e.State == tz::TPhase::phDown) return false;
    const bool shieldedWhileEntering = e.SubType == K::Stage1Boss || e.SubType == K::Stage2Boss ||
                                       e.SubType == K::ShardMidBoss || e.SubType == K::FinalBoss;
    return !(shieldedWhileEntering && e.State == tz::TPhase::phEnter);
}

// Where the weapon's shots leave the ship, sideways.
double MuzzleOffset(std::int32_t weapon) { return weapon == 1 ? 12.0 : 0.0; }

// Bullets that are on course for the ship within the foreseen ticks: the closer they pass,
// and the sooner, the worse.
double BulletThreat(double sx, double sy, const TJudgeSight& sight) {
    double threat = 0;
    for (const tz::TEnemyShot& b : tz::EnemyShots) {
        if (b.Index <= 0 || b.BulletKind == tz::Bullet::Cancelled) continue;
        const bool wide = b.BulletKind == tz::Bullet::BeamSegment || b.BulletKind == tz::Bullet::Spread ||
                          b.BulletKind == tz::Bullet::SideSpark;
        const double reach = wide ? 40.0 : 22.0;
        const double dx = b.XPos() - sx, dy = b.YPos() - sy;
        if (std::abs(dx) > 200 || std::abs(dy) > 200) continue;
        const double vx = tz::Cos(b.Direction()) * double(b.Speed) / 65536.0;
        const double vy = tz::Sin(b.Direction()) * double(b.Speed) / 65536.0;
        const double v2 = vx * vx + vy * vy;
        double t = v2 > 1e-6 ? -(dx * vx + dy * vy) / v2 : 0.0;
        t = std::clamp(t, 0.0, double(sight.BulletTicks));
        const double cx = dx + vx * t, cy = dy + vy * t;
        const double d2 = cx * cx + cy * cy;
        if (d2 < reach * reach) threat += (reach * reach - d2) / (1.0 + t / 8.0);
    }
    return threat;
}

}  // namespace

std::int32_t WeaponWish(std::int32_t W) {
    // Valcan, Canon, Thunder, Beam, Laser: by how fast each wears a big target down (the
    // Thunder strikes one target again and again); the Beam, slower on one target, pierces
    // rows, so it is tried as readily as the Valcan is kept.
    constexpr std::array<std::int32_t, 5> Wish{1, 2, 4, 1, 3};
    return W >= 0 && W < 5 ? Wish[static_cast<std::size_t>(W)] : 0;
}

TJudgeStart JudgeStart() {
    TJudgeStart s;
    s.Score = tz::Score;
    s.Bombs = tz::MyShip.Bombs;
    for (std::size_t i = 0; i < tz::Enemies.size(); ++i) {
        const tz::TEnemy& e = tz::Enemies[i];
        s.Life[i] = CanBeHurt(e) ? e.Life : -1;
        s.Kind[i] = e.SubType;
    }
    return s;
}

std::int32_t DamageSince(const TJudgeStart& Start) {
    std::int32_t damage = 0;
    for (std::size_t i = 0; i < tz::Enemies.size(); ++i) {
        if (Start.Life[i] < 0) continue;
        const tz::TEnemy& e = tz::Enemies[i];
        const bool same = e.Index > 0 && e.SubType == Start.Kind[i] && e.State != tz::TPhase::phDown;
        const std::int32_t now = same ? std::max<std::int32_t>(e.Life, 0) : 0;
        damage += std::max<std::int32_t>(Start.Life[i] - now, 0);
    }
    return damage;
}

double JudgeState(const TJudgeStart& Start, const TJudgeSight& Sight) {
    const double sx = tz::MyShip.XPos();
    const double sy = tz::MyShip.YPos();
    const std::int32_t weapon = tz::MyShip.Weapon;
    double value = 0;

    value -= Sight.Caution * 0.6 * BulletThreat(sx, sy, Sight);

    double aim = 1.0e9;
    for (const tz::TEnemy& e : tz::Enemies) {
        if (e.Index <= 0 || e.OnDraw == nullptr) continue;
        const double dx = e.XPos() - sx, dy = e.YPos() - sy;
        const double d = std::sqrt(dx * dx + dy * dy);
        if (e.SubType == K::WeaponItem) {
            if (e.Work3 != weapon && WeaponWish(e.Work3) >= WeaponWish(weapon))
                value -= d * 0.8;
            else if (WeaponWish(e.Work3) < WeaponWish(weapon) && d < 70)
                value -= (70 - d) * 8.0;
            continue;
        }
        if (e.SubType == K::BonusItem) {
            // Worth fetching once it has come down near the ship, not up among the enemies.
            if (e.YPos() < 470 && e.YPos() > sy - 200) value -= d * 0.4;
            continue;
        }
        if (e.OnCheck == nullptr) continue;
        // Keep clear of bodies: a shove near the bottom edge crushes, a shard kills.
        const double reach = std::min(e.Radius * 0.6 + 26.0, 140.0) * (e.SubType == K::Shard ? 1.6 : 1.0);
        if (d < reach) value -= (reach - d) * (e.SubType == K::Shard ? 12.0 : 4.0);
        if (!CanBeHurt(e) || dy > -30 || e.YPos() < 0) continue;
        // Lined up under it: the offset beyond its half width, bosses first.
        const double halfWidth = std::clamp(e.Radius / 3.0, 8.0, 40.0);
        double cost = std::max(std::abs(e.XPos() - (sx + MuzzleOffset(weapon))) - halfWidth, 0.0);
        if (IsBoss(e.SubType)) cost -= 60;
        cost += std::min(-dy, 400.0) * 0.05;  // nearer ones first
        aim = std::min(aim, cost);
    }
    if (aim < 1.0e9) value -= Sight.AimWeight * (aim + 60);

    // Room to dodge: not high up, not against the bottom edge where a shove crushes.
    if (sy < 300) value -= (300 - sy) * 1.2;
    if (sy > 440) value -= (sy - 440) * 6.0;
    if (sx < 50) value -= (50 - sx) * 2.0;
    if (sx > 590) value -= (sx - 590) * 2.0;

    value += DamageSince(Start) * 10.0;
    value += (tz::Score - Start.Score) * 0.03;
    value -= (Start.Bombs - tz::MyShip.Bombs) * 500.0;
    return value;
}

}  // namespace app
