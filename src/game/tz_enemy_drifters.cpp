#include "game/tz_enemy_drifters.h"

#include "game/tz_enemy_common.h"
#include "game/tz_globals.h"
#include "game/tz_outlet.h"

namespace tz {

namespace {

// The heavy drifters head roughly for the bottom middle from their start, within Spread.
void AimAtBottomMiddle(TEnemy& e, std::int32_t Spread) {
    RandSeed = static_cast<std::uint32_t>(SceneTimer);
    SetHeading(e, GetDirection(320 - e.XPos(), 480 - e.YPos()) + Random(Spread) - Spread / 2);
}

}  // namespace

// A slow or fast drift far below the action: the faster, the louder and lower its sound.
void StartBackgroundDrifter(TEnemy& e, std::int32_t) {
    e.SetYPos(-120);
    RandSeed = static_cast<std::uint32_t>(SceneTimer);
    e.Speed = static_cast<std::int16_t>(200 + Random(300));
    PlaySE(Sound::WindS, PanOf(e), e.Speed / 100 - 10, 80 - e.Speed / 40);
}

void StartHeavyDrifterS(TEnemy& e, std::int32_t) {
    e.SetYPos(-80);
    AimAtBottomMiddle(e, 32);
}

void StartHeavyDrifterM(TEnemy& e, std::int32_t) {
    e.SetYPos(-100);
    AimAtBottomMiddle(e, 8);
}

void StartHeavyDrifterL(TEnemy& e, std::int32_t) {
    e.SetYPos(-100);
    RandSeed = static_cast<std::uint32_t>(SceneTimer);
    SetHeading(e, 60 + Random(8));
}

}  // namespace tz
