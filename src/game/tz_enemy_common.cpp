#include "game/tz_enemy_common.h"

#include "game/tz_enemy.h"
#include "game/tz_gamemain.h"
#include "game/tz_map.h"

namespace tz {

std::uint8_t AngleToShip(std::int32_t X, std::int32_t Y) { return GetDirection(MyShip.XPos() - X, MyShip.YPos() - Y); }

bool ShipWithin(const TCharacter& c, std::int32_t D) {
    return InCircle(MyShip.XPos() - c.XPos(), MyShip.YPos() - c.YPos(), D);
}

void RaiseSpeed(TCharacter& c, std::int32_t Step, std::int32_t Limit) {
    if (c.Speed >= Limit) return;
    c.Speed = static_cast<std::int16_t>(c.Speed + Step > Limit ? Limit : c.Speed + Step);
}

std::int32_t SpawnFromScratch(std::int32_t X, std::int32_t Y, std::uint8_t Kind, std::int32_t Param,
                              std::uint16_t Groups) {
    ScratchEntry = TSpawnEntry{static_cast<std::int16_t>(X), static_cast<std::int16_t>(Y), Groups, Kind};
    return SpawnEnemy(ScratchEntryIndex, Param);
}

void SpawnChild(const TEnemy& parent, std::int32_t X, std::int32_t Y, std::uint8_t Kind, std::int32_t Param) {
    const std::uint8_t g1 = parent.Param1, g2 = parent.Param2;
    SpawnFromScratch(X, Y, Kind, Param, static_cast<std::uint16_t>(g2 * 256 + g1));
    SpawnedCount += 1;
    GroupCount[g1] = static_cast<std::int16_t>(GroupCount[g1] + 1);
    GroupCount[g2] = static_cast<std::int16_t>(GroupCount[g2] + 1);
}

}  // namespace tz
