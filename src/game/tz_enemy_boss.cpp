#include "game/tz_enemy_boss.h"

#include "game/tz_gamemain.h"
#include "game/tz_globals.h"

namespace tz {

void StageCleared(std::int32_t Quake) {
    MyShip.QuakeTimer = static_cast<std::int16_t>(Quake);
    // A boss brought down while the tally or its fade already runs (one that was flying off
    // when the time mark ended the stage) must not start the tally again and pay it twice.
    if (SceneState == Scene::StageClear || SceneState == Scene::StageFade) return;
    SetScene(Scene::StageClear);
}

}  // namespace tz
