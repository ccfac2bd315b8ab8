#include "game/tz_items.h"

#include "game/tz_effect.h"
#include "game/tz_enemy.h"
#include "game/tz_globals.h"
#include "game/tz_unitlist.h"

namespace tz {

namespace {

constexpr std::int32_t ItemPushDecay = 65536;      // 1 pixel per tick per tick
constexpr std::int16_t BonusLostLine = 500;        // a bonus item below it is lost
constexpr std::int32_t BigBonus = 499;             // above it the item sparkles

// Picked up (State 3) on the previous tick: gone now.
bool TakenAway(TEnemy& e) {
    if (e.State != TPhase::phDown) return false;
    UnitList.RemoveCharacter(e);
    return true;
}

}  // namespace

void StartWeaponItem(TEnemy& e, std::int32_t Param) {
    e.Work3 = Param;
    if (Param >= 0 && Param < static_cast<std::int32_t>(WeaponItemPattern.size()))
        e.Pattern = WeaponItemPattern[static_cast<std::size_t>(Param)];
}

void StepWeaponItem(TEnemy& e) {
    if (TakenAway(e)) return;
    DecayPush(e, ItemPushDecay);
    e.Rotation = static_cast<std::uint8_t>(e.Rotation + 4);  // the two halves orbit its centre
    e.Flash = 2;                                             // it always shows lit
}

void StartBonusItem(TEnemy& e, std::int32_t Param) {
    e.Work3 = Param;
    e.Pattern = (Param >= 1 && Param <= 499) ? 47 : (Param >= 500 && Param <= 999) ? 48 : 49;
}

void StepBonusItem(TEnemy& e) {
    if (TakenAway(e)) return;
    if (e.YPos() > BonusLostLine) {
        BonusRate = 0;  // missing a bonus breaks the chain
        UnitList.RemoveCharacter(e);
        return;
    }
    DecayPush(e, ItemPushDecay);
    if (e.Work3 > BigBonus) SpawnEffect(Effect::Sparkle, e, 256);
}

}  // namespace tz
