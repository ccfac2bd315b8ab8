#pragma once
// An empty stage in play for the enemy, bullet and boss tests (support/play_setup.h): the ship
// parked at (320, 400) with no input and shielded for good (no bullet brings it down, so every
// object runs its whole course). Objects are started through the scratch entry, as game
// objects start their children.
#include <gtest/gtest.h>

#include <string>

#include "game/tz_effect.h"
#include "game/tz_enemymissile.h"
#include "game/tz_mymissile.h"
#include "support/play_setup.h"

namespace tz::testing {

class EnemyTest : public ::testing::Test {
protected:
    void SetUp() override {
        tz::test::StartStage();
        MyShip.Invincible = 1 << 30;
        tz::test::KeysFromReplayBuffer();  // the (empty) replay buffer: the ship stays parked
    }
    void TearDown() override { ReplayMode = false; }

public:

    // Starts an object of Kind at (X, Y) in groups g1 and g2; its record.
    static TEnemy& Spawn(std::uint8_t Kind, std::int16_t X, std::int16_t Y, std::int32_t Param = 0,
                         std::uint8_t g1 = 0, std::uint8_t g2 = 0) {
        ScratchEntry = TSpawnEntry{X, Y, static_cast<std::uint16_t>(g2 * 256 + g1), Kind};
        const std::int32_t i = SpawnEnemy(ScratchEntryIndex, Param);
        EXPECT_GE(i, 0) << "kind " << int(Kind) << " not spawned";
        return Enemies[static_cast<std::size_t>(i < 0 ? 0 : i)];
    }

    static void Tick() { tz::test::PlayTick(); }
    // Ticks until done() holds, at most limit; whether it came to hold.
    template <class Done>
    static bool TickUntil(Done done, int limit) {
        for (int t = 0; t < limit; ++t) {
            if (done()) return true;
            Tick();
        }
        return done();
    }

    static int CountEnemies(std::uint8_t Kind) {
        int n = 0;
        for (const TEnemy& e : Enemies) n += e.Index > 0 && e.SubType == Kind;
        return n;
    }
    static int CountBullets(std::uint8_t Kind) {
        int n = 0;
        for (const TEnemyShot& b : EnemyShots) n += b.Index > 0 && b.BulletKind == Kind;
        return n;
    }
    static int CountEffects(std::uint8_t Kind) {
        int n = 0;
        for (const TEffect& e : Effects) n += e.Index > 0 && e.EffectKind == Kind;
        return n;
    }

    // The object list and the tables agree: every listed record (ship, shots, enemies) sits
    // in the slot its Index names, the list holds exactly those, and every free record is out
    // of it. Bullets and effects are either active (1) or free (-1). Empty when consistent.
    static std::string TablesInconsistency() {
        int listed = 0;
        auto check = [&](const TCharacter& r, const std::string& what) -> std::string {
            if (r.Index > 0) {
                ++listed;
                if (UnitList.Slot(r.Index) != &r) return what + " is not in the slot its Index names";
            } else if (r.Index == 0) {
                return what + " has Index 0";
            }
            return {};
        };
        if (auto s = check(MyShip, "the ship"); !s.empty()) return s;
        for (std::size_t i = 0; i < MyShots.size(); ++i)
            if (auto s = check(MyShots[i], "shot " + std::to_string(i)); !s.empty()) return s;
        for (std::size_t i = 0; i < Enemies.size(); ++i) {
            if (auto s = check(Enemies[i], "enemy " + std::to_string(i)); !s.empty()) return s;
            if (Enemies[i].Index > 0 && Enemies[i].SubType >= EnemyKind::Count) return "enemy of no kind";
        }
        if (UnitList.Count() != listed)
            return "the list holds " + std::to_string(UnitList.Count()) + " records, the tables " + std::to_string(listed);
        for (std::int32_t k = 1; k < UnitList.Last(); ++k)
            if (UnitList.Slot(k) == nullptr || UnitList.Slot(k)->Index != k) return "slot " + std::to_string(k);
        for (const TEnemyShot& b : EnemyShots)
            if (b.Index != 1 && b.Index != -1) return "a bullet is neither active nor free";
        for (const TEffect& e : Effects)
            if (e.Index != 1 && e.Index != -1) return "an effect is neither active nor free";
        return {};
    }
};

}  // namespace tz::testing
