#pragma once
// A stage in play for the tests of shots, hits, effects, items and drawing: the game window on
// the null platform (its pattern table gives the hit circles; StartDrawing starts the engine
// for the tests that draw), the stage in play of support/play_setup.h with the ship not
// shielded, the keys taken from the replay buffer and every sound the game plays recorded.
//
// Enemies are placed straight into the table and the list (Place), so a test decides exactly
// what stands where; the shots' and effects' moves are run by themselves where the enemies'
// own behaviour must not take part.

#include <gtest/gtest.h>

#include <vector>

#include "game/tz_check.h"
#include "game/tz_draw.h"
#include "game/tz_effect.h"
#include "game/tz_enemymissile.h"
#include "game/tz_mymissile.h"
#include "game/tz_outlet.h"
#include "support/play_setup.h"

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
inline void NoResume(std::uint8_t, std::int32_t) {}
inline constexpr TOutlet RecordingOutlet{RecordSound, NoMusic, NoCall, NoLevel, NoLevel, NoColour, NoCall, NoResume};

class PlayTest : public ::testing::Test {
protected:
    TPlayWindow window;
    std::unique_ptr<TForm1>& form = window.form;

    void SetUp() override {
        if (!window.Open(KORRINDAL_BIN_DIR)) GTEST_SKIP() << "generated banks not built";
        SetOutlet(&RecordingOutlet);
        PlayedSounds().clear();
        StartStage();
        MyShip.Invincible = 0;
        KeysFromReplayBuffer();
    }
    void TearDown() override {
        ReplayMode = false;
        window.Close();
    }

    // The engine running (without its timer: no tick runs behind the test's back), the play
    // banks loaded. Each frame sets its own pen; a test drawing parts of one draws with the
    // engine's own (no offsets, the whole screen).
    void StartDrawing() { ASSERT_TRUE(window.StartDrawing()); }

    // Keys for the next n ticks.
    void Feed(std::uint8_t keys, int n) {
        for (int i = 0; i < n; ++i) ReplayBuffer[static_cast<std::size_t>(fed++)] = keys;
    }
    static void Tick() { PlayTick(); }

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
