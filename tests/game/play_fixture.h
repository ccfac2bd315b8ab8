#pragma once
// A stage in play for the tests of shots, hits, effects, items and drawing: the game window on
// the null platform (its pattern table gives the hit circles; Show() starts the engine for the
// tests that draw), stage 2 with the ship launched at (320, 400), the clock running, the keys
// taken from the replay buffer and every sound the game plays recorded.
//
// Enemies are placed straight into the table and the list (Place), so a test decides exactly
// what stands where; the shots' and effects' moves are run by themselves where the enemies'
// own behaviour must not take part.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "core/data_path.h"
#include "game/tz_check.h"
#include "game/tz_draw.h"
#include "game/tz_effect.h"
#include "game/tz_enemy.h"
#include "game/tz_enemymissile.h"
#include "game/tz_gamemain.h"
#include "game/tz_globals.h"
#include "game/tz_input.h"
#include "game/tz_main.h"
#include "game/tz_map.h"
#include "game/tz_mymissile.h"
#include "game/tz_outlet.h"
#include "game/tz_replay.h"
#include "game/tz_unitlist.h"
#include "platform/platform.h"

namespace tz::test {

struct TSoundCall {
    std::int32_t Index, Pan, Volume, Rate;
};

inline std::vector<TSoundCall>& PlayedSounds() {
    static std::vector<TSoundCall> calls;
    return calls;
}

inline void RecordSound(std::int32_t i, std::int32_t p, std::int32_t v, std::int32_t r) {
    PlayedSounds().push_back({i, p, v, r});
}
inline void NoMusic(std::uint8_t) {}
inline void NoCall() {}
inline void NoLevel(std::int32_t) {}
inline void NoColour(std::uint8_t) {}
inline constexpr TOutlet RecordingOutlet{RecordSound, NoMusic, NoCall, NoLevel, NoLevel, NoColour, NoCall};

class PlayTest : public ::testing::Test {
protected:
    std::unique_ptr<plat::Platform> platform = plat::makeNullPlatform();
    std::unique_ptr<TForm1> form;

    void SetUp() override {
        if (!std::filesystem::exists(std::filesystem::path(KORRINDAL_BIN_DIR) / "tz_GameSprite.sp4"))
            GTEST_SKIP() << "generated banks not built";
        SetProgramDir(KORRINDAL_BIN_DIR);
        form = std::make_unique<TForm1>(*platform);
        form->Sprite.OnUserEvent = nullptr;
        SetOutlet(&RecordingOutlet);
        PlayedSounds().clear();
        SceneState = Scene::Play;
        SceneTimer = 0;
        StageNo = 2;
        TimeLeft = 20000;
        DeadTimer = 0;
        Score = 0;
        BonusRate = 0;
        MapIndex = -1;
        MapPos = TFixedPoint{};
        RandSeed = 0;
        EnemyShotNext = 0;
        MyShip = TMyShip{};
        MyShip.Lives = 2;
        MyShip.Bombs = 5;
        StageStart();
        MyShip.Invincible = 0;
        ReplayMode = true;
        ReplayPos = 0;
        ReplayLength = ReplayBufferSize;
        ReplayBuffer.fill(0);
    }
    void TearDown() override {
        ReplayMode = false;
        form.reset();
        SetProgramDir("");
    }

    // The engine running (without its timer: no tick runs behind the test's back), the play
    // banks loaded. Each frame sets its own pen; a test drawing parts of one draws with the
    // engine's own (no offsets, the whole screen).
    void StartDrawing() {
        form->Sprite.SetExternalClock(true);
        form->Sprite.SetFullScreenMode(false);
        form->Show();
        ASSERT_NE(form->Sprite.BackBuffer(), nullptr);
        SceneState = Scene::Play;  // starting the engine asked for the title
        form->Sprite.RealizeBank(BankSystem);
        form->Sprite.RealizeBank(BankGame);
        form->Sprite.RealizeBank(3);  // stage 2
        form->Sprite.LoadBmpToSurface(BgSurface, "tz_BG");  // the backdrop and the palette
    }

    // Keys for the next n ticks.
    void Feed(std::uint8_t keys, int n) {
        for (int i = 0; i < n; ++i) ReplayBuffer[static_cast<std::size_t>(fed++)] = keys;
    }
    // One tick as the scene machine runs it in play.
    void Tick() {
        GameStep();
        SceneTimer += 1;
    }

    // An enemy of kind at (x, y) with pattern, hit radius (also range and margin) and life,
    // listed and colliding, standing still.
    TEnemy& Place(std::uint8_t kind, std::int16_t x, std::int16_t y, std::int16_t pattern, std::int16_t radius = 40,
                  std::int16_t life = 50) {
        std::size_t slot = 0;
        while (Enemies[slot].Index >= 0) ++slot;
        TEnemy& e = Enemies[slot];
        e = TEnemy{};
        e.SubType = kind;
        e.Life = life;
        e.Speed = 0;
        EXPECT_TRUE(UnitList.AddCharacter(e, x, y, 64, pattern, TCharType::ctEnemy, radius, radius, radius, 0, 0));
        e.OnCheck = CheckHit;
        e.OnDraw = DrawCharacter;
        return e;
    }
    // The collision sweep an enemy standing still runs on its tick.
    static void Sweep(TEnemy& e) { UnitList.MoveCheck(e, 0, 0, 0); }
    // An object of kind spawned the way the game spawns one, with its start values.
    TEnemy* Spawn(std::uint8_t kind, std::int16_t x, std::int16_t y, std::int32_t param) {
        ScratchEntry = TSpawnEntry{x, y, 0, kind};
        SpawnEnemy(ScratchEntryIndex, param);
        for (TEnemy& e : Enemies)
            if (e.Index > 0 && e.SubType == kind && e.XPos() == x) return &e;
        return nullptr;
    }
    // The ship placed at (x, y).
    void MoveShipTo(std::int16_t x, std::int16_t y) {
        UnitList.MoveCharacter(MyShip, (x - MyShip.XPos()) * 65536, (y - MyShip.YPos()) * 65536, 0);
    }
    // The latest listed shot of kind, or nullptr.
    static TMyShot* ShotOf(TShotKind kind) {
        TMyShot* found = nullptr;
        for (TMyShot& s : MyShots)
            if (s.Index > 0 && s.ShotKind == static_cast<std::uint8_t>(kind)) found = &s;
        return found;
    }
    static int Listed(TShotKind kind) {
        int n = 0;
        for (const TMyShot& s : MyShots) n += s.Index > 0 && s.ShotKind == static_cast<std::uint8_t>(kind);
        return n;
    }
    static int ActiveEffects(std::uint8_t kind) {
        int n = 0;
        for (const TEffect& e : Effects) n += e.Index > 0 && static_cast<std::uint8_t>(e.EffectKind) == kind;
        return n;
    }
    static int Played(std::int32_t sound) {
        int n = 0;
        for (const TSoundCall& c : PlayedSounds()) n += c.Index == sound;
        return n;
    }

    int fed = 0;
};

}  // namespace tz::test
