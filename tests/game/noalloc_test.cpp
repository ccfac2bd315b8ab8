// Nothing is allocated during play: the heap-block count is the same before and after 10,000
// ticks of a stage with spawns, firing, bombs, a lost ship and its relaunch.
#include <gtest/gtest.h>

#include "diagnostics/memcheck.h"
#include "game/tz_enemy.h"
#include "game/tz_enemymissile.h"
#include "game/tz_gamemain.h"
#include "game/tz_input.h"
#include "game/tz_globals.h"
#include "game/tz_map.h"
#include "game/tz_replay.h"
#include "game/tz_unitlist.h"
#include "support/play_setup.h"

namespace tz {
namespace {

TEST(NoAllocation, TenThousandTicksOfPlayAllocateNothing) {
    ASSERT_TRUE(memcheck::Active());
    test::PrepareStage(3, 21000);  // stage 3 has no time mark: the stage runs until its end
    // A carrier every 60 pixels of scroll.
    for (int i = 0; i < 200; ++i)
        SpawnList[static_cast<std::size_t>(i)] =
            TSpawnEntry{static_cast<std::int16_t>(160 + (i * 71) % 320), static_cast<std::int16_t>(-12000 + 60 * i), 0, 9};
    MapIndex = 199;
    StageStart();
    // Fire held while weaving, a bomb press now and then.
    test::KeysFromReplayBuffer();
    for (int i = 0; i < ReplayBufferSize; ++i)
        ReplayBuffer[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(
            KeyFire | ((i / 50) % 2 ? KeyLeft : KeyRight) | ((i / 25) % 2 ? KeyUp : KeyDown) | (i % 900 == 0 ? KeyBomb : 0));

    const std::int32_t before = memcheck::BlockCount();
    int released = 0;
    for (int tick = 0; tick < 10000; ++tick) {
        if (tick % 500 == 100) {  // bullets for the bombs and the quake to cancel
            for (int i = 0; i < 64; ++i) {
                TEnemyShot& b = EnemyShots[static_cast<std::size_t>((tick + i) % EnemyShotCount)];
                b.Index = 1;
                b.BulletKind = 0;
                b.X = (150 + 5 * i) * 65536;
                b.Y = 50 * 65536;
            }
        }
        if (tick == 3000) DeadTimer = 1;            // the ship is lost ...
        if (DeadTimer > 120) RelaunchShip();         // ... and relaunched
        GameStep();
        SceneTimer += 1;
        released = 199 - MapIndex;
    }
    EXPECT_EQ(memcheck::BlockCount(), before);
    EXPECT_EQ(SceneState, Scene::Play);
    EXPECT_GT(released, 150);
    EXPECT_LT(MyShip.Bombs, 5);
    EXPECT_GT(MyShip.Index, 0);
}

}  // namespace
}  // namespace tz
