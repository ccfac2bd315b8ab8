#pragma once
// The game in play, set up one way for every test and benchmark that needs it (no test
// framework here, so the benchmarks share it too).
//
// StartStage: scene 4 from its first tick, stage `stage` started by the stage start (the
// ship is launched at (320, 400) on stage 2 and later), no spawn entries, the game's clock at
// timeLeft, the generator at 0, a fresh ship with 2 spare ships and 5 bombs. PrepareStage is
// all of it but the stage start, for callers that lay out a spawn list first.
//
// KeysFromReplayBuffer: the ship's keys of every tick come from ReplayBuffer (all 0 until the
// caller writes some), as in the playback of a replay.
//
// TPlayWindow: the game window on the null platform; StartDrawing runs its engine without a
// timer (no tick runs behind the caller's back) with the play banks and the backdrop loaded.

#include <filesystem>
#include <memory>
#include <string>

#include "core/data_path.h"
#include "engine/geometry.h"
#include "game/tz_enemy.h"
#include "game/tz_enemymissile.h"
#include "game/tz_gamemain.h"
#include "game/tz_globals.h"
#include "game/tz_input.h"
#include "game/tz_main.h"
#include "game/tz_map.h"
#include "game/tz_patterns.h"
#include "game/tz_replay.h"
#include "game/tz_unitlist.h"
#include "platform/platform.h"

namespace tz::test {

inline void PrepareStage(std::int32_t stage = 2, std::int32_t timeLeft = 20000) {
    std::string error;
    LoadPatterns(error);  // the banks' hit circles, as the game reads them (none without the data)
    LoadUnitList();
    SetScene(Scene::Play);
    StageNo = stage;
    TimeLeft = timeLeft;
    DeadTimer = 0;
    Score = 0;
    BonusRate = 0;
    BossLife = 9999;
    MapIndex = -1;
    MapPos = TFixedPoint{};
    RandSeed = 0;
    EnemyShotNext = 0;
    GroupBonus.fill(0);
    GroupCount.fill(0);
    MyShip = TMyShip{};
    MyShip.Lives = 2;
    MyShip.Bombs = 5;
}

inline void StartStage(std::int32_t stage = 2, std::int32_t timeLeft = 20000) {
    PrepareStage(stage, timeLeft);
    StageStart();
}

inline void KeysFromReplayBuffer() {
    ReplayMode = true;
    ReplayPos = 0;
    ReplayLength = ReplayBufferSize;
    ReplayBuffer.fill(0);
}

// One tick as the scene machine runs it in play.
inline void PlayTick() {
    GameStep();
    SceneTimer += 1;
}

struct TPlayWindow {
    std::unique_ptr<plat::Platform> platform = plat::makeNullPlatform();
    std::unique_ptr<TForm1> form;

    TPlayWindow() = default;
    TPlayWindow(const TPlayWindow&) = delete;
    TPlayWindow& operator=(const TPlayWindow&) = delete;
    ~TPlayWindow() { Close(); }

    // Makes dataDir the program's folder and the window on it (its stored title request
    // dropped); false, with nothing made, when the generated banks are not there.
    bool Open(const std::string& dataDir) {
        if (!std::filesystem::exists(std::filesystem::path(dataDir) / "tz_GameSprite.sp4")) return false;
        SetProgramDir(dataDir);
        form = std::make_unique<TForm1>(*platform);
        form->Sprite.OnUserEvent = nullptr;
        return true;
    }
    void Close() {
        if (!form) return;
        form.reset();
        SetProgramDir("");
    }

    // The engine running without its timer, the system and game banks loaded (and, with
    // stageBank, the banks of stage 2 and the backdrop with its palette). Each frame sets its
    // own pen; a caller drawing parts of one draws with the engine's own (no offsets, the
    // whole screen). False when the engine did not start.
    bool StartDrawing(bool stageBank = true) {
        engine::TSpriteEx& sprite = form->Sprite;
        sprite.SetExternalClock(true);
        sprite.SetFullScreenMode(false);
        form->Show();
        if (sprite.BackBuffer() == nullptr) return false;
        SceneState = Scene::Play;  // starting the engine asked for the title
        sprite.RealizeBank(BankSystem);
        sprite.RealizeBank(BankGame);
        if (stageBank) {
            sprite.RealizeBank(3);  // stage 2
            sprite.LoadBmpToSurface(BgSurface, "tz_BG");  // the backdrop and the palette
        }
        return true;
    }
};

}  // namespace tz::test
