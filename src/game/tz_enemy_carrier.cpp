#include "game/tz_enemy_carrier.h"
#include "game/tz_outlet.h"

#include "game/tz_gamemain.h"
#include "game/tz_globals.h"

namespace tz {

void StartCarrier(TEnemy& e, std::int32_t Param) {
    (void)Param;
    e.SetYPos(-220);
    PlaySE(Sound::Wind, -30, 5, 55);
    PlaySE(Sound::Wind, 30, 5, 50);
}

// Flies down fast; past y 300 it releases the ship (which starts the game clock) and brakes
// to a slow drift off the bottom. It keeps any push it is given.
void StepCarrier(TEnemy& e) {
    switch (e.State) {
    case TPhase::phEnter:
        if (e.YPos() > 300 && MyShip.Index <= 0) {
            e.State = TPhase::phLeave;
            LaunchShip(e.XPos(), e.YPos());
            MyShip.Weapon = 0;
            TimeLeft = ProcessPerSec * 300;
        }
        break;
    case TPhase::phLeave:
        if (e.Speed > 256) e.Speed = static_cast<std::int16_t>(e.Speed - 48);
        break;
    default: break;
    }
}

}  // namespace tz
