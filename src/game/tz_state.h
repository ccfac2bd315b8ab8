#pragma once
// The game's whole play state in one plain record with one instance, GameState.
//
// Everything the tick reads or writes lives here: the scene machine's globals, the ship, the
// object tables, the stage's spawn list and groups, the stars, the tally, the object list's
// order, the pending scene request and the game's random generator. Game code reaches the
// parts by their own names (Score, Enemies, MapPos, ...: references declared by the unit
// that owns each part), so it reads as if they were separate globals.
//
// Copying the record is a snapshot and copying it back a restore (SaveGameState,
// RestoreGameState); the hash of a state is the hash of the bytes of its Play part. The
// records are free of padding and refer to each other by index, or (the object list) by
// distances from the start of GameState, so the bytes are the same in every run.
//
// Drawing state (the drawing generator, the frame counter) and the options are not part
// of it: a frame drawn or skipped never changes the game.

#include <array>
#include <cstdint>
#include <type_traits>

#include "collision/list.h"
#include "core/fixed_math.h"
#include "core/random.h"
#include "game/tz_spawnentry.h"
#include "game/tz_star.h"
#include "game/tz_types.h"
#include "game/tz_unitlist.h"

namespace tz {

inline constexpr int SpawnListSize = 2048;
inline constexpr int ScratchEntryIndex = 2047;  // filled by game objects that spawn others
inline constexpr int StarCount = 1024;
inline constexpr int GroupTableSize = 256;
inline constexpr int UnitListSlotRoom = UnitListMax + 2;

// What the state hash covers: the game as it plays.
struct TPlayState {
    // The scene machine.
    std::uint8_t SceneState = 0;        // current scene (Scene::...)
    std::uint8_t FillColour = 0;        // palette index that clears the screen between scenes
    std::uint8_t MusicPiece = 0;        // the piece the game has started (Music::...), None when stopped
    bool UserEventPending = false;      // a scene set-up was asked for and has not run yet
    bool TickRanGameStep = false;       // the last tick ran the per-tick game step
    std::uint8_t Spare1 = 0, Spare2 = 0, Spare3 = 0;
    std::int32_t SceneTimer = 0;        // ticks since the scene began (0 at every change)
    std::int32_t MusicTicks = 0;        // ticks since MusicPiece started
    std::int32_t Spare4 = 0;
    std::int32_t Score = 0;
    std::int32_t StageNo = 1;           // the stage in play, 1..3; 0 from a new game to its first stage set-up
    std::int32_t TimeLeft = -1;         // ticks of the whole game's budget; -1 before the launch
    std::int32_t DeadTimer = 0;         // 0 while the ship lives, then counts up
    std::int32_t BossLife = 9999;       // final boss strength; 9999 when absent
    std::int32_t BonusRate = 0;         // bonus multiplier 0..8
    std::int32_t ReplayPos = 0;         // next input byte; after a game, the recorded length
    TRandom GameRandom{};               // the tick's generator (RandSeed)

    // The stage.
    std::int32_t SpawnedCount = 0;      // spawn entries released in this stage
    std::int32_t KilledCount = 0;       // enemies destroyed in this stage
    std::int32_t MapIndex = -1;         // next entry to release, -1 when none is left
    std::int32_t EnemyShotNext = 0;     // the bullet slot last taken
    TFixedPoint MapPos{};               // x: camera, y: scroll position
    std::array<std::int32_t, 4> TallyValue{};  // bonus still to pay: time, lives, bombs, ratio
    std::array<std::int32_t, 4> TallyX{};      // slide-in position of each tally line

    // The objects.
    TMyShip MyShip{};
    std::array<TMyShot, MyShotCount> MyShots{};
    std::array<TEnemy, EnemyCount> Enemies{};
    std::array<TEnemyShot, EnemyShotCount> EnemyShots{};
    std::array<TEffect, EffectCount> Effects{};
    std::array<TSpawnEntry, SpawnListSize> SpawnList{};
    std::array<std::int16_t, GroupTableSize> GroupBonus{};  // bonus paid when group g is completed
    std::array<std::int16_t, GroupTableSize> GroupCount{};  // members of group g still to be destroyed
    std::array<TStar, StarCount> StarField{};

    // The object list's order (UnitList keeps its moving part here).
    TListCore List{};
    std::array<TListSlot, UnitListSlotRoom> ListSlots{};
};

// Kept with the state but outside its hash: the records and the playback, which differ
// between a game and the playback of its replay though both play alike.
struct TRecordState {
    std::int32_t HiScore = 0;           // persisted by the settings
    std::int32_t ReplayLength = 0;      // bytes held by the loaded replay (replay mode)
    bool ReplayMode = false;            // a loaded replay is being played back
    bool FeedStartPending = false;      // an input file waits for the title to start its game
    std::uint8_t ReplayStartFrom = 0;   // where the loaded replay's game started (0..5)
    std::uint8_t GameStartFrom = 0;     // where the game in progress started; saved with its replay
    std::uint32_t Spare3 = 0;
    std::uint64_t FeedPos = 0;          // next byte of the input file fed in place of the devices
};

struct TGameState {
    TPlayState Play;
    TRecordState Records;
};

static_assert(std::is_trivially_copyable_v<TGameState>, "the game state must copy as plain bytes");
static_assert(std::has_unique_object_representations_v<TPlayState>,
              "the hashed state must have no padding: fill gaps with spare fields");
static_assert(std::has_unique_object_representations_v<TRecordState>);

// The one instance.
inline TGameState GameState{};

// A snapshot is a copy of the whole record: no allocation, no files.
inline void SaveGameState(TGameState& Snapshot) { Snapshot = GameState; }
inline void RestoreGameState(const TGameState& Snapshot) { GameState = Snapshot; }

// The game's generator and its state under the name game code assigns (RandSeed = ...).
inline TRandom& GameRandom = GameState.Play.GameRandom;
inline std::uint32_t& RandSeed = GameState.Play.GameRandom.seed;
inline std::int32_t Random(std::int32_t N) { return GameState.Play.GameRandom.Random(N); }
inline double Random() { return GameState.Play.GameRandom.Random(); }

}  // namespace tz
