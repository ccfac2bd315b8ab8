#pragma once
// How the playtest autopilot likes a game state it has looked ahead to: alive, clear of
// bullets that are closing in and of enemy bodies, lined up under a target it can hurt,
// near the items it wants, in a part of the field it can dodge from; and how much damage and
// score the look-ahead won. Reads only the game state.

#include <array>
#include <cstdint>

#include "game/tz_types.h"

namespace app {

// What differs between the autopilot's levels in judging.
struct TJudgeSight {
    std::int32_t BulletTicks;   // how far ahead the closing of bullets is foreseen
    double AimWeight;           // how keen it is to line up under a target
    double Caution;             // weight of bullets closing in
};

// The state a look-ahead starts from, to measure what it won.
struct TJudgeStart {
    std::int32_t Score = 0;
    std::int32_t Bombs = 0;
    std::array<std::int16_t, tz::EnemyCount> Life{};  // per enemy record, -1 when it cannot be hurt
    std::array<std::uint8_t, tz::EnemyCount> Kind{};
};

TJudgeStart JudgeStart();

// The value of the state now (higher is better); the ship is alive.
double JudgeState(const TJudgeStart& Start, const TJudgeSight& Sight);

// Damage the look-ahead did to enemies since Start (hits, and the life left in those it
// destroyed).
std::int32_t DamageSince(const TJudgeStart& Start);

// How much the autopilot wants weapon W (0 Valcan .. 4 Laser): higher is better.
std::int32_t WeaponWish(std::int32_t W);

}  // namespace app
