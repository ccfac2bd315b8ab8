#pragma once
// The names of the game's numbered things: enemy kinds, effect kinds, enemy bullet kinds
// sound-effect slots and pieces of music. The numbers are the ones the stage maps, the sprite banks and the
// replays rely on; game code names them (SpawnEffect(Effect::Shard, ...)). Player shot
// kinds are TShotKind (tz_mymissile.h); scene numbers are Scene:: (tz_globals.h).

#include <cstdint>

namespace tz {

// Kinds of the enemy table (SubType; the Kind of a spawn entry).
namespace EnemyKind {
inline constexpr std::uint8_t SwoopingFighter = 0;
inline constexpr std::uint8_t GunPod = 1;
inline constexpr std::uint8_t SideGunship = 2;      // carries the Beam
inline constexpr std::uint8_t Diver = 3;
inline constexpr std::uint8_t FallingHeavy = 4;
inline constexpr std::uint8_t FighterSpawner = 5;   // invisible: releases swooping fighters
inline constexpr std::uint8_t WarningMarker = 6;    // invisible: the warning before a big entry
inline constexpr std::uint8_t BeamMidBoss = 7;
inline constexpr std::uint8_t BackgroundDrifter = 8;
inline constexpr std::uint8_t Carrier = 9;          // brings the ship in
inline constexpr std::uint8_t Stage1Boss = 10;
inline constexpr std::uint8_t WeaponItem = 11;
inline constexpr std::uint8_t BonusItem = 12;
inline constexpr std::uint8_t HeavyDrifterS = 13;
inline constexpr std::uint8_t HeavyDrifterM = 14;
inline constexpr std::uint8_t HeavyDrifterL = 15;
inline constexpr std::uint8_t Launcher = 16;        // carries the Canon
inline constexpr std::uint8_t StalkerSpawner = 17;  // invisible: releases stalkers
inline constexpr std::uint8_t MineLayer = 18;
inline constexpr std::uint8_t HomingMine = 19;
inline constexpr std::uint8_t FastDiver = 20;
inline constexpr std::uint8_t Stage2Boss = 21;
inline constexpr std::uint8_t SideCrosser = 22;     // carries the Thunder
inline constexpr std::uint8_t RingSpawner = 23;     // invisible: ring mines around the ship
inline constexpr std::uint8_t ShardMidBoss = 24;
inline constexpr std::uint8_t FinalBoss = 25;
inline constexpr std::uint8_t Dart = 26;
inline constexpr std::uint8_t Stalker = 27;
inline constexpr std::uint8_t Shard = 28;
inline constexpr std::uint8_t RingMine = 29;
inline constexpr int Count = 30;
}  // namespace EnemyKind

// Kinds of the effect table.
namespace Effect {
inline constexpr std::uint8_t MuzzleFlash = 0;
inline constexpr std::uint8_t HitSpark = 1;
inline constexpr std::uint8_t SmokeEmitter = 2;         // invisible: puffs of kind SmokePuff
inline constexpr std::uint8_t ScatterSmokeEmitter = 3;  // invisible: puffs of kind ScatterSmokePuff
inline constexpr std::uint8_t SmokePuff = 4;
inline constexpr std::uint8_t ScatterSmokePuff = 5;
inline constexpr std::uint8_t BeamSpark = 6;
inline constexpr std::uint8_t LaserFlash = 7;
inline constexpr std::uint8_t Debris = 8;
inline constexpr std::uint8_t Sparkle = 9;
inline constexpr std::uint8_t Smoke = 10;
inline constexpr std::uint8_t StillSmoke = 11;          // smoke without the downward drift
inline constexpr std::uint8_t ScoreLabel = 12;
inline constexpr std::uint8_t BonusLabel = 13;
inline constexpr std::uint8_t FallingArrow = 14;
inline constexpr std::uint8_t Wreckage = 15;
inline constexpr std::uint8_t Shard = 16;
inline constexpr std::uint8_t BigExplosion = 17;
inline constexpr std::uint8_t ExplosionRay = 18;
inline constexpr std::uint8_t CaptionFromBelow = 19;
inline constexpr std::uint8_t CaptionFromAbove = 20;
inline constexpr std::uint8_t CaptionSpark = 21;
inline constexpr int Count = 22;
}  // namespace Effect

// Kinds of the enemy bullet table.
namespace Bullet {
inline constexpr std::uint8_t Falling = 0;        // nearly straight down, leaning toward the centre
inline constexpr std::uint8_t Aimed = 1;
inline constexpr std::uint8_t AimedSlowing = 2;   // aimed, started off to one side, slows down
inline constexpr std::uint8_t Spinning = 3;       // aimed with an offset, spinning, slows down
inline constexpr std::uint8_t Directed = 4;       // flies along its parameter
inline constexpr std::uint8_t Turning = 5;        // parameter 0 = straight down; rotates
inline constexpr std::uint8_t BeamSegment = 6;
inline constexpr std::uint8_t Curving = 7;        // curves away from its side, then speeds up
inline constexpr std::uint8_t Ring = 8;           // starts 8 px out along its direction
inline constexpr std::uint8_t Generator = 9;      // invisible: sheds sparks
inline constexpr std::uint8_t GeneratorSpark = 10;
inline constexpr std::uint8_t Graded = 11;        // speed from its parameter
inline constexpr std::uint8_t AimedFast = 12;     // aimed, faster with its parameter
inline constexpr std::uint8_t Spread = 13;        // the final boss's spread
inline constexpr std::uint8_t SideSpark = 14;     // the stage-2 boss's arm-gun bullets
inline constexpr std::uint8_t Cancelled = 15;     // not a kind: freed on its next move (kinds are 0..14)
}  // namespace Bullet

// Sound-effect slots, in the order the game registers its waves.
namespace Sound {
inline constexpr std::int32_t Valcan = 0;
inline constexpr std::int32_t Canon = 1;
inline constexpr std::int32_t Thunder = 2;
inline constexpr std::int32_t Beam = 3;
inline constexpr std::int32_t Laser = 4;
inline constexpr std::int32_t ValcanHit = 5;
inline constexpr std::int32_t BeamHit = 6;
inline constexpr std::int32_t Bomb = 7;
inline constexpr std::int32_t CrashL = 8;
inline constexpr std::int32_t CrashM = 9;
inline constexpr std::int32_t Kani = 10;
inline constexpr std::int32_t Wind = 11;
inline constexpr std::int32_t WindS = 12;
inline constexpr std::int32_t Accel = 13;
inline constexpr std::int32_t Fire = 14;
inline constexpr std::int32_t Start = 15;
inline constexpr std::int32_t Warning = 16;
inline constexpr std::int32_t Dead = 17;
inline constexpr std::int32_t Weapon = 18;
inline constexpr std::int32_t Bonus = 19;
inline constexpr std::int32_t Arrow = 20;
inline constexpr std::int32_t SuperShot = 21;
inline constexpr int Count = 22;
}  // namespace Sound

// Pieces of music (the game state's MusicPiece). The game starts and stops them whatever
// the player's options; whether a piece is heard is the sound output's business.
namespace Music {
inline constexpr std::uint8_t None = 0;
inline constexpr std::uint8_t Stage1 = 1;   // Stage1 + n - 1 for stage n
inline constexpr std::uint8_t Stage2 = 2;
inline constexpr std::uint8_t Stage3 = 3;
inline constexpr std::uint8_t Boss = 4;     // the final boss's second form
inline constexpr std::uint8_t Ending = 5;
inline constexpr int Count = 6;
// The file name of each piece (extension ".mid"); empty for None.
inline constexpr const char* Names[Count] = {"", "BGM1", "BGM2", "BGM3", "Boss", "Ending"};
inline constexpr const char* Name(std::uint8_t piece) { return piece < Count ? Names[piece] : ""; }
}  // namespace Music

}  // namespace tz
