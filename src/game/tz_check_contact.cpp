// The hit rules of the enemy side: enemies, bosses and items touching the ship or each other,
// enemy bullets reaching the ship, and the ship's destruction.
#include "game/tz_check.h"

#include "game/tz_check_rules.h"
#include "game/tz_effect.h"
#include "game/tz_gamemain.h"
#include "game/tz_globals.h"
#include "game/tz_outlet.h"
#include "game/tz_patterns.h"
#include "game/tz_unitlist.h"

namespace tz {

namespace {

constexpr std::int32_t WeaponShieldTicks = 140;  // invulnerability against bullets after a pick-up
constexpr std::int16_t CrushLine = 490;          // below it, touching an enemy destroys the ship
constexpr std::int32_t MaxBonusRate = 8;
constexpr std::int32_t MaxBonusSound = 3000;

void PickUpWeapon(TEnemy& item, TMyShip& ship) {
    PlaySE(Sound::Weapon, -60, 0, 120);
    PlaySE(Sound::Weapon, 60, 0, 123);
    item.State = TPhase::phDown;
    ship.Weapon = static_cast<std::uint8_t>(item.Work3);
    ship.Invincible = WeaponShieldTicks;
}

// The bonus sound rises with small values, falls with large ones and widens for the largest.
void BonusSounds(TEnemy& item, std::int32_t v) {
    if (v >= 0 && v < 500) {
        PlaySE(Sound::Bonus, -40, v / 200 - 3, v / 20 + 140);
        PlaySE(Sound::Bonus, 40, v / 200 - 3, v / 20 + 141);
    } else if (v >= 500 && v < 1000) {
        PlaySE(Sound::Bonus, -40, v / 200, 120 - v / 40);
        PlaySE(Sound::Bonus, 40, v / 200, 123 - v / 40);
    } else {
        if (v > MaxBonusSound) item.Work3 = MaxBonusSound;
        const std::int32_t w = item.Work3;
        PlaySE(Sound::Bonus, -70, w / 400 - 1, 90 - w / 90);
        PlaySE(Sound::Bonus, 70, w / 400 - 1, 93 - w / 90);
    }
}

void PickUpBonus(TEnemy& item) {
    const std::int32_t v = item.Work3;
    if (BonusRate < MaxBonusRate) BonusRate += 1;
    Score = WrapAdd(Score, WrapMul(v, BonusRate));
    SpawnEffect(Effect::BonusLabel, item, v);
    BonusSounds(item, v);
    item.State = TPhase::phDown;
}

// Whether the contact of the two is close enough for this bullet kind to hit.
bool BulletReaches(const TEnemyShot& b, const TMyShip& ship) {
    if (b.BulletKind == Bullet::BeamSegment || b.BulletKind == Bullet::Spread || b.BulletKind == Bullet::SideSpark)
        return PatternsTouch(b, ship);
    return GetDistance(b.XPos() - ship.XPos(), b.YPos() - ship.YPos()) <= 4;
}

}  // namespace

void DestroyShip(bool ByBullet) {
    PlaySE(Sound::Dead, -50, 0, 100);
    PlaySE(Sound::Dead, 50, 0, 120);
    for (int i = 0; i < 8; ++i) SpawnEffect(Effect::Shard, MyShip, 0);
    for (int i = 0; i < 8; ++i) SpawnEffect(Effect::Wreckage, MyShip, 0);
    if (ByBullet) {
        SpawnEffect(Effect::ExplosionRay, MyShip, 0);
        SpawnEffect(Effect::ExplosionRay, MyShip, 128);
    }
    DeadTimer = 1;
}

void EnemyMeetsShip(TEnemy& Own, TMyShip& Ship, std::uint8_t& ContinueFlags) {
    if (!PatternsTouch(Own, Ship)) return;
    switch (Own.SubType) {
    case EnemyKind::WeaponItem: PickUpWeapon(Own, Ship); break;
    case EnemyKind::BonusItem: PickUpBonus(Own); break;
    default:
        // Shoved aside; crushed against the bottom edge, or cut by a shard, whatever the shield.
        UnitList.PushAway(Own, Ship, 4);
        if (Ship.YPos() > CrushLine || Own.SubType == EnemyKind::Shard) DestroyShip(false);
        break;
    }
    ContinueFlags = cfStop;
}

void EnemyMeetsEnemy(TEnemy& Own, TEnemy& Other) {
    if (Own.SubType != EnemyKind::HeavyDrifterS && Own.SubType != EnemyKind::HeavyDrifterM &&
        Own.SubType != EnemyKind::HeavyDrifterL)
        return;
    if (PatternsTouch(Own, Other)) UnitList.PushAway(Own, Other, 6);
    // Mines, darts and attacking fighters and divers in a drifter's way are crushed (their
    // next step destroys them with their score).
    const bool fragile = Other.SubType == EnemyKind::HomingMine || Other.SubType == EnemyKind::Dart ||
                         ((Other.SubType == EnemyKind::SwoopingFighter || Other.SubType == EnemyKind::Diver) &&
                          Other.State != TPhase::phEnter);
    if (fragile) Other.Life = 0;
}

void BulletMeetsShip(TEnemyShot& Bullet, TMyShip& Ship, std::uint8_t& ContinueFlags) {
    if (Ship.Index <= 0 || !BulletReaches(Bullet, Ship)) return;
    if (Ship.Invincible == 0) DestroyShip(true);
    ContinueFlags = cfStop;
}

}  // namespace tz
