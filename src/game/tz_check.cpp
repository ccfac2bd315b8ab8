#include "game/tz_check.h"

#include "game/tz_check_rules.h"
#include "game/tz_effect.h"
#include "game/tz_enemy.h"
#include "game/tz_globals.h"
#include "game/tz_mymissile.h"
#include "game/tz_patterns.h"

namespace tz {

namespace {

// The record's place in the enemy table, -1 when it is not one of its records.
std::int32_t EnemyIndex(const TCharacter& c) {
    const auto at = reinterpret_cast<std::uintptr_t>(&c);
    const auto base = reinterpret_cast<std::uintptr_t>(Enemies.data());
    if (at < base || at >= base + sizeof(Enemies) || (at - base) % sizeof(TEnemy) != 0) return -1;
    return static_cast<std::int32_t>((at - base) / sizeof(TEnemy));
}

bool IsItem(const TEnemy& e) { return e.SubType == EnemyKind::WeaponItem || e.SubType == EnemyKind::BonusItem; }

// The shot's push on what it struck, d being the weapon's push strength.
void Push(TEnemy& e, const TMyShot& shot, std::int32_t d) {
    const std::int32_t turn = SignedTurn(e.Direction(), GetDirection(e.XPos() - shot.XPos(), e.YPos() - shot.YPos()));
    switch (e.SubType) {
    case EnemyKind::GunPod:
    case EnemyKind::Diver:
    case EnemyKind::RingMine:  // knocked upward
        e.Work1 = 0;
        e.Work2 = -2 * d * 65536;
        break;
    case EnemyKind::SideGunship:
        e.Work1 = 0;
        e.Work2 = -d * 65536;
        break;
    case EnemyKind::FallingHeavy:  // turned away along the line of fire
        e.SetDirection(static_cast<std::uint8_t>(e.Direction() + turn / (10 - d)));
        break;
    case EnemyKind::HeavyDrifterS:
    case EnemyKind::HeavyDrifterM:
    case EnemyKind::HeavyDrifterL:  // never flash, turn slowly
        e.Flash = 0;
        e.SetDirection(static_cast<std::uint8_t>(e.Direction() + turn / (64 - 4 * d)));
        break;
    case EnemyKind::BeamMidBoss:  // 100 points a hit once it has entered
        if (e.State != TPhase::phEnter) {
            SpawnEffect(Effect::ScoreLabel, e, 10);
            Score += 100;
        } else {
            e.Flash = 0;
        }
        break;
    case EnemyKind::Stage1Boss:
    case EnemyKind::Stage2Boss:
    case EnemyKind::ShardMidBoss:
    case EnemyKind::FinalBoss:  // unharmed while entering
        if (e.State == TPhase::phEnter) {
            e.Life = static_cast<std::int16_t>(e.Life + 1);
            e.Flash = 0;
        }
        break;
    default: break;
    }
}

}  // namespace

void ShotMeetsEnemy(TMyShot& Shot, TEnemy& Target, std::uint8_t& ContinueFlags) {
    const std::int32_t index = EnemyIndex(Target);
    if (index < 0 || index == Shot.LastHit || !Target.OnCheck || IsItem(Target)) return;
    if (SceneState == Scene::TimeOver) return;  // shots pass through everything in time over
    if (!PatternsTouch(Shot, Target)) return;
    ContinueFlags = cfStop;
    ShotStrikes(Shot, Target);
    Target.Life = static_cast<std::int16_t>(Target.Life - 1);
    Target.Flash = static_cast<std::uint8_t>(Target.Flash + 4);
    Push(Target, Shot, ShotPush[Shot.ShotKind % ShotPush.size()]);
}

void CheckHit(TCharacter& ownObject, TCharacter& dstObject, std::uint8_t& ContinueFlags) {
    const TCharType partner = dstObject.CharType;
    switch (ownObject.CharType) {
    case TCharType::ctOwnShot:
        if (partner == TCharType::ctEnemy || partner == TCharType::ctDying)
            ShotMeetsEnemy(static_cast<TMyShot&>(ownObject), static_cast<TEnemy&>(dstObject), ContinueFlags);
        break;
    case TCharType::ctEnemy:
    case TCharType::ctDying: {
        auto& own = static_cast<TEnemy&>(ownObject);
        if (partner == TCharType::ctOwnShot)
            CheckHit(dstObject, ownObject, ContinueFlags);
        else if (partner == TCharType::ctEnemy)
            EnemyMeetsEnemy(own, static_cast<TEnemy&>(dstObject));
        else if (partner == TCharType::ctOwnShip)
            EnemyMeetsShip(own, static_cast<TMyShip&>(dstObject), ContinueFlags);
        break;
    }
    case TCharType::ctEnemyShot:
        if (partner == TCharType::ctOwnShip)
            BulletMeetsShip(static_cast<TEnemyShot&>(ownObject), static_cast<TMyShip&>(dstObject), ContinueFlags);
        break;
    default:  // the ship's own sweep: its contacts are decided from the other side
        break;
    }
}

}  // namespace tz
