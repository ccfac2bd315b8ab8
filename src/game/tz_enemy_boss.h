#pragma once
// The bosses: the mid-bosses with a beam (kind 7) and that teleports (24), the boss of
// stage 1 (10) and of stage 2 (21), which give up when the stage's time runs low, and the
// final boss (25) in its two forms. Each keeps its attack step in Work3.

#include <cstdint>

#include "game/tz_types.h"

namespace tz {

// The time left below which the stage bosses give up and fly off.
inline constexpr std::int32_t Stage1BossTimeOut = 14840;
inline constexpr std::int32_t Stage2BossTimeOut = 8470;

// The stage is won: a quake of Quake ticks and the stage-clear tally. A clear already under
// way (the tally or its fade) is not started again.
void StageCleared(std::int32_t Quake);

void StartBeamMidBoss(TEnemy& e, std::int32_t Param);
void StepBeamMidBoss(TEnemy& e);
void WreckBeamMidBoss(TEnemy& e);

void StartShardMidBoss(TEnemy& e, std::int32_t Param);
void StepShardMidBoss(TEnemy& e);
void WreckShardMidBoss(TEnemy& e);

void StartStage1Boss(TEnemy& e, std::int32_t Param);
void StepStage1Boss(TEnemy& e);
void WreckStage1Boss(TEnemy& e);

void StartStage2Boss(TEnemy& e, std::int32_t Param);
void StepStage2Boss(TEnemy& e);
void WreckStage2Boss(TEnemy& e);

// The final boss's form and the shown strength, watched every tick before anything else.
inline constexpr std::int16_t FinalBossFirstForm = 244;
inline constexpr std::int16_t FinalBossDamagedForm = 245;
void StartFinalBoss(TEnemy& e, std::int32_t Param);
void WatchFinalBoss(TEnemy& e);
void StepFinalBoss(TEnemy& e);
void WreckFinalBoss(TEnemy& e);

}  // namespace tz
