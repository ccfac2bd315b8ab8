#pragma once
// One tick of play (GameStep), the preparation of a stage (StageStart), the player's ship and
// the stage-clear tally.

#include <array>
#include <cstdint>

#include "game/tz_state.h"
#include "game/tz_types.h"

namespace tz {

inline TMyShip& MyShip = GameState.Play.MyShip;
inline std::array<std::int32_t, 4>& TallyValue = GameState.Play.TallyValue;  // bonus still to pay: time, lives, bombs, ratio
inline std::array<std::int32_t, 4>& TallyX = GameState.Play.TallyX;          // slide-in position of each tally line
inline std::int32_t& SpawnedCount = GameState.Play.SpawnedCount;             // spawn entries released in this stage
inline std::int32_t& KilledCount = GameState.Play.KilledCount;               // enemies destroyed in this stage

// The time left at which stage 1 and stage 2 end (stage 3 ends with its final boss).
inline constexpr std::int32_t Stage1Mark = 14700;
inline constexpr std::int32_t Stage2Mark = 8400;

// One tick of scenes 4..7.
void GameStep();
// Prepares the loaded stage: object tables and list emptied, ship placed, stars scattered.
void StageStart();
// Enters the ship into the object list at (X, Y), level and facing up.
void LaunchShip(std::int16_t X, std::int16_t Y);
// Puts the ship back after a lost life: a fresh ship with the Valcan and five bombs.
void RelaunchShip();

// The parts of GameStep, in their order (exposed for tests and tools).
void StepTimeAndClear();
void StepCamera();
void StepInput();
void StepShip();
void StepBomb();
void StepFire();
void ReleaseSpawns();

// Camera speed (16.16 units per tick) for a distance of d quarter pixels.
std::int32_t CameraStep(std::int32_t d);

}  // namespace tz
