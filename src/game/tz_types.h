#pragma once
// Shared declarations of the game objects: the records of the player ship, its shots, the
// enemies, enemy bullets and effects (each begins with the object list's TCharacter), the
// table sizes and the sound-effect slots.

#include <cstdint>
#include <type_traits>

#include "collision/list.h"
#include "core/fixed_math.h"
#include "game/tz_kinds.h"

namespace tz {

inline constexpr int MyShotCount = 64;
inline constexpr int EnemyCount = 128;
inline constexpr int EnemyShotCount = 256;
inline constexpr int EffectCount = 512;

// Pan of a sound played at an object: (XPos - 320) / 8, toward zero.
inline std::int32_t PanOf(const TCharacter& c) { return (c.XPos() - 320) / 8; }

// The records below are plain bytes without padding (spare fields fill the gaps), so the
// game's state record can be copied and hashed as it lies in memory; a field added later
// that opens a gap fails the checks at the end of this file.

// The player's ship.
struct TMyShip : TCharacter {
    std::uint8_t Keys = 0;       // input bits of this tick
    std::uint8_t OldKeys = 0;    // input bits of the previous tick
    std::uint8_t Tilt = 0;       // last tilt: 0 none, 1 down, 2 left, 3 right
    std::uint8_t Weapon = 0;     // 0 Valcan, 1 Canon, 2 Thunder, 3 Beam, 4 Laser
    std::int32_t TiltDown = 0, TiltLeft = 0, TiltRight = 0;  // 0..23
    std::int32_t Invincible = 0; // ticks of invulnerability left
    std::int8_t FireSide = 0;    // +1 / -1, flipped after every shot
    std::int8_t Burst = 0;       // queued shots still to fire
    std::int8_t FireWait = 0;    // a shot fires only while negative
    std::int8_t Lives = 0;       // spare ships
    std::int8_t Bombs = 0;
    std::uint8_t Spare2 = 0;
    std::int16_t QuakeTimer = 0; // ticks left during which every enemy bullet is cancelled
    std::int32_t Charge = 0;     // Laser charge 0..100
    std::int32_t BombBonus = 0;  // points of one bomb's cancelled bullets
};

// A player shot.
struct TMyShot : TCharacter {
    std::int8_t Pierce = 0;             // hits left
    std::uint8_t ShotKind = 0;          // 0..5
    std::int16_t LastHit = -1;          // the enemy (index in Enemies) not struck again; -1 none
};

enum class TPhase : std::uint8_t { phEnter = 0, phAttack = 1, phLeave = 2, phDown = 3 };

// An enemy, boss, item or service object.
struct TEnemy : TCharacter {
    std::int16_t Life = 0;
    std::uint8_t SubType = 0;           // the kind 0..29
    TPhase State = TPhase::phEnter;
    std::int32_t Work1 = 0, Work2 = 0;  // push velocity x, y (16.16 per tick)
    std::uint8_t Flash = 0;             // hit-flash ticks
    std::uint8_t Param1 = 0, Param2 = 0;  // group numbers (0 = none)
    std::uint8_t Spare2 = 0;
    std::int32_t Work3 = 0, Work4 = 0, Work5 = 0;
};

// An enemy bullet: kept out of the list (Index 1 active, -1 free).
struct TEnemyShot : TCharacter {
    std::uint8_t BulletKind = 0;        // Bullet::..., or Bullet::Cancelled
    std::uint8_t Spare2 = 0;
    std::uint16_t Spare3 = 0;
    std::int32_t BulletParam = 0;
};

// A visual effect: kept out of the list (Index 1 active, -1 free).
struct TEffect : TCharacter {
    std::uint8_t Step = 0;              // sub-state of the caption kinds
    std::uint8_t Spare2 = 0;
    std::int16_t Fall = 0;              // extra drift: Y += Fall * 2048 per tick
    std::int32_t EffectKind = 0;        // only the low byte is read
    std::int32_t Value1 = 0, Value2 = 0;
};

static_assert(std::has_unique_object_representations_v<TMyShip>);
static_assert(std::has_unique_object_representations_v<TMyShot>);
static_assert(std::has_unique_object_representations_v<TEnemy>);
static_assert(std::has_unique_object_representations_v<TEnemyShot>);
static_assert(std::has_unique_object_representations_v<TEffect>);

}  // namespace tz
