// What the engine shows for a scene besides the game state: the banks loaded, the backdrop and
// the palette. The scene set-ups make them; after a jump of the game state (a seek in a
// replay) they are made again for the scene the state is in.

#include <string>

#include "core/data_path.h"
#include "game/tz_enemy.h"
#include "game/tz_enemy_boss.h"
#include "game/tz_globals.h"
#include "game/tz_kinds.h"
#include "game/tz_main.h"

namespace tz {
namespace {

constexpr std::int32_t NoBoss = 9999;        // BossLife while the final boss has not come
constexpr std::int32_t DamagedBossLife = 700; // at or below it the damaged form's bank is in

// Which of the final boss's banks is in: 0 none (the stage's), 1 the first form's, 2 the
// damaged form's.
std::uint32_t BossBanks() {
    if (StageNo != 3 || BossLife == NoBoss) return 0;
    // The first form keeps its bank until it changes; then, or once the boss is gone, its
    // life decides, as the swap itself did.
    for (const TEnemy& e : Enemies)
        if (e.Index > 0 && e.SubType == EnemyKind::FinalBoss && e.Pattern == FinalBossFirstForm) return 1;
    return BossLife > DamagedBossLife ? 1 : 2;
}

bool PlayScene(std::uint8_t scene) {
    return scene == Scene::Play || scene == Scene::StageClear || scene == Scene::StageFade || scene == Scene::TimeOver;
}

}  // namespace

bool TForm1::DressStage() {
    Sprite.ReleaseBanks();
    Sprite.RealizeBank(BankSystem);
    Sprite.RealizeBank(BankGame);
    // The stage is drawn over this picture: without it the game cannot go on.
    const std::string background = DataPath("tz_BG", ".bmp");
    if (background.empty()) {
        Sprite.Fail("StageSetup - tz_BG.bmp is not in " + ProgramDir());
        return false;
    }
    Sprite.LoadBmpToSurface(BgSurface, background);
    // The final boss's form takes the place of the third stage's bank (BossBankSwap).
    switch (BossBanks()) {
        case 1: Sprite.RealizeBank(BankBossA); break;
        case 2: Sprite.RealizeBank(BankBossB); break;
        default: Sprite.RealizeBank(static_cast<std::uint8_t>(StageNo + 1)); break;
    }
    return true;
}

std::uint32_t TForm1::SceneryKey() const {
    const std::uint8_t scene = SceneState;
    const std::uint32_t kind = scene == Scene::Title ? 1 : PlayScene(scene) ? 2 : scene == Scene::Credits ? 3 : 0;
    return kind | static_cast<std::uint32_t>(StageNo) << 4 | BossBanks() << 12;
}

void TForm1::AfterJump(std::uint32_t sceneryBefore, bool setUpsRan) {
    SmoothForget(*FSmooth);
    FPauseFrameDrawn = false;
    const bool dress = setUpsRan || SceneryKey() != sceneryBefore;
    const std::uint8_t scene = SceneState;
    if (scene == Scene::Title) {
        if (dress) DressTitle();
    } else if (PlayScene(scene)) {
        if (dress && !DressStage()) return;
        // The palette as the scene's ticks leave it (whether the banks changed or not): the
        // stage's own, or the clear fade's.
        const std::int32_t fade = scene == Scene::StageFade && SceneTimer >= 36 ? (SceneTimer - 36) * 4 : 0;
        if (StageNo >= 3 && fade > 0)
            Sprite.FadeToWhite(fade);
        else
            Sprite.FadeToBlack(fade);
    }
}

}  // namespace tz
