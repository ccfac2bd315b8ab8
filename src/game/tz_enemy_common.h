#pragma once
// Small helpers the enemy kinds share: aiming at the ship, distances to it, turning and
// speeding up, and spawning other objects through the scratch entry.

#include <cstdint>

#include "game/tz_types.h"

namespace tz {

// The direction from (X, Y) to the ship, and from a record to it.
std::uint8_t AngleToShip(std::int32_t X, std::int32_t Y);
inline std::uint8_t AngleToShip(const TCharacter& c) { return AngleToShip(c.XPos(), c.YPos()); }

// The ship lies within D pixels of c: the squared distance is below D squared.
bool ShipWithin(const TCharacter& c, std::int32_t D);

// The signed difference A - B of two directions, -128..127.
constexpr std::int32_t DirectionDiff(std::uint8_t A, std::uint8_t B) {
    return static_cast<std::int8_t>(static_cast<std::uint8_t>(A - B));
}

// Sets the direction of c from any integer (taken modulo 256), keeping the heading's fraction.
inline void SetHeading(TCharacter& c, std::int32_t Direction) { c.SetDirection(static_cast<std::uint8_t>(Direction)); }
// Turns the 8.8 heading by Step (1/256 of a direction step each).
inline void TurnBy(TCharacter& c, std::int32_t Step) { c.Angle = static_cast<std::uint16_t>(c.Angle + Step); }

// Speed += Step while below Limit, never past it.
void RaiseSpeed(TCharacter& c, std::int32_t Step, std::int32_t Limit);
inline void AddSpeed(TCharacter& c, std::int32_t Step) { c.Speed = static_cast<std::int16_t>(c.Speed + Step); }

// Fills the scratch entry with (X, Y, Groups, Kind) and spawns from it with Param; the index
// of the new record or -1.
std::int32_t SpawnFromScratch(std::int32_t X, std::int32_t Y, std::uint8_t Kind, std::int32_t Param,
                              std::uint16_t Groups = 0);
// A child of parent in the parent's groups: spawned from the scratch entry, counted as
// released and as a further member of both groups, even when no record was free.
void SpawnChild(const TEnemy& parent, std::int32_t X, std::int32_t Y, std::uint8_t Kind, std::int32_t Param);

}  // namespace tz
