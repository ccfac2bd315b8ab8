#include "game/tz_objects_hash.h"

#include "game/tz_effect.h"
#include "game/tz_enemy.h"
#include "game/tz_enemymissile.h"
#include "game/tz_gamemain.h"
#include "game/tz_map.h"
#include "game/tz_mymissile.h"

namespace tz {
namespace {

// Procedures are hashed as assigned or not; the game installs only one of each kind.
void HashCharacter(StateHasher& h, const TCharacter& c) {
    h.I16(c.Index);
    h.U8(static_cast<std::uint8_t>(c.CharType));
    h.I16(c.Radius);
    h.I16(c.Range);
    h.Bool(c.OnCheck != nullptr);
    h.I16(c.Margin);
    h.Bool(c.OnDraw != nullptr);
    h.I32(c.Timer);
    h.I8(c.Visibility);
    h.I16(c.Speed);
    h.I32(c.X);
    h.I32(c.Y);
    h.U8(c.Rotation);
    h.I16(c.Pattern);
    h.U16(c.Angle);
}

// A shot's last target as a position in the enemy table (-1 none, -2 anything else).
std::int32_t EnemySlotOf(const TCharacter* c) {
    if (c == nullptr) return -1;
    for (std::size_t i = 0; i < Enemies.size(); ++i)
        if (c == &Enemies[i]) return static_cast<std::int32_t>(i);
    return -2;
}

void HashShip(StateHasher& h) {
    HashCharacter(h, MyShip);
    h.U8(MyShip.Keys);
    h.U8(MyShip.OldKeys);
    h.U8(MyShip.Tilt);
    h.I32(MyShip.TiltDown);
    h.I32(MyShip.TiltLeft);
    h.I32(MyShip.TiltRight);
    h.I32(MyShip.Invincible);
    h.U8(MyShip.Weapon);
    h.I8(MyShip.FireSide);
    h.I32(MyShip.Charge);
    h.I8(MyShip.Burst);
    h.I8(MyShip.FireWait);
    h.I8(MyShip.Lives);
    h.I8(MyShip.Bombs);
    h.I16(MyShip.QuakeTimer);
    h.I32(MyShip.BombBonus);
}

void HashTables(StateHasher& h) {
    for (const TMyShot& s : MyShots) {
        HashCharacter(h, s);
        h.I8(s.Pierce);
        h.U8(s.ShotKind);
        h.I32(EnemySlotOf(s.LastHit));
    }
    for (const TEnemy& e : Enemies) {
        HashCharacter(h, e);
        h.I16(e.Life);
        h.U8(e.SubType);
        h.U8(static_cast<std::uint8_t>(e.State));
        h.I32(e.Work1);
        h.I32(e.Work2);
        h.U8(e.Flash);
        h.U8(e.Param1);
        h.U8(e.Param2);
        h.I32(e.Work3);
        h.I32(e.Work4);
        h.I32(e.Work5);
    }
    for (const TEnemyShot& b : EnemyShots) {
        HashCharacter(h, b);
        h.U8(b.BulletKind);
        h.I32(b.BulletParam);
    }
    h.I32(EnemyShotNext);
    for (const TEffect& e : Effects) {
        HashCharacter(h, e);
        h.U8(e.Step);
        h.I16(e.Fall);
        h.I32(e.EffectKind);
        h.I32(e.Value1);
        h.I32(e.Value2);
    }
}

void HashStage(StateHasher& h) {
    for (std::int32_t v : TallyValue) h.I32(v);
    for (std::int32_t v : TallyX) h.I32(v);
    h.I32(SpawnedCount);
    h.I32(KilledCount);
    h.I32(MapPos.x);
    h.I32(MapPos.y);
    h.I32(MapIndex);
    for (const TSpawnEntry& e : SpawnList) {
        h.I16(e.X);
        h.I16(e.Y);
        h.U16(e.Param);
        h.U8(e.Kind);
    }
    for (std::int16_t v : GroupBonus) h.I16(v);
    for (std::int16_t v : GroupCount) h.I16(v);
    for (const TStar& s : StarField) {
        h.I16(s.Speed);
        h.I32(s.X);
        h.I32(s.Y);
    }
}

}  // namespace

void HashGameObjects(StateHasher& h) {
    HashShip(h);
    HashTables(h);
    HashStage(h);
}

}  // namespace tz
