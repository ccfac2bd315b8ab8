// The one game-state record: snapshots, restores, and a hash that covers every field.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "game/state_hash.h"
#include "game/tz_effect.h"
#include "game/tz_enemy.h"
#include "game/tz_enemymissile.h"
#include "game/tz_gamemain.h"
#include "game/tz_globals.h"
#include "game/tz_input.h"
#include "game/tz_map.h"
#include "game/tz_mymissile.h"
#include "game/tz_outlet.h"
#include "game/tz_replay.h"
#include "game/tz_state.h"
#include "game/tz_twice.h"
#include "game/tz_unitlist.h"
#include "support/play_setup.h"

namespace tz {
namespace {

// A stage with objects in every table and the list in use.
class StateTest : public ::testing::Test {
protected:
    void SetUp() override {
        GameState = TGameState{};
        test::StartStage(2, 9000);
        for (int i = 0; i < 5; ++i) {
            UnitList.AddCharacter(Enemies[static_cast<std::size_t>(i)], static_cast<std::int16_t>(200 + 20 * i),
                                  static_cast<std::int16_t>(100 + 7 * i), 64, 128, TCharType::ctEnemy, 10, 20, 10, 0, 2);
            Enemies[static_cast<std::size_t>(i)].Life = 5;
            UnitList.AddCharacter(MyShots[static_cast<std::size_t>(i)], 300, static_cast<std::int16_t>(300 - i), 192, 0,
                                  TCharType::ctOwnShot, 4, 20, 4, 0, 2);
            EnemyShots[static_cast<std::size_t>(i)].Index = 1;
            Effects[static_cast<std::size_t>(i)].Index = 1;
        }
        snapshot = std::make_unique<TGameState>();
    }
    void TearDown() override { GameState = TGameState{}; }

    std::unique_ptr<TGameState> snapshot;
};

// Scribbling over the live record after a snapshot and restoring gives the old state and
// hash back, the object list's order included.
TEST_F(StateTest, RestoreUndoesAnyScribble) {
    SaveGameState(*snapshot);
    const std::uint64_t before = GameStateHash();
    const TCharacter* first = UnitList.Slot(1);
    std::memset(static_cast<void*>(&GameState.Play), 0x5A, sizeof GameState.Play);
    EXPECT_NE(GameStateHash(), before);
    RestoreGameState(*snapshot);
    EXPECT_EQ(GameStateHash(), before);
    EXPECT_EQ(UnitList.Slot(1), first);
    EXPECT_EQ(UnitList.Count(), 11);  // the ship, five enemies, five shots
    for (std::int32_t k = 1; k < UnitList.Last(); ++k) EXPECT_EQ(UnitList.Slot(k)->Index, k);
    // The list still works on the restored records.
    UnitList.MoveCheck(Enemies[0], 0, 40 << 16, 0);
    for (std::int32_t k = 2; k < UnitList.Last(); ++k) EXPECT_LE(UnitList.Slot(k - 1)->Y, UnitList.Slot(k)->Y);
}

// The hash of a snapshot equals the hash of the live state it was taken from, so a copy
// taken anywhere is hashed alike (nothing in the record depends on where it lies).
TEST_F(StateTest, SnapshotHashesLikeTheLiveState) {
    SaveGameState(*snapshot);
    EXPECT_EQ(GameStateHash(*snapshot), GameStateHash());
    auto other = std::make_unique<TGameState>(*snapshot);
    EXPECT_EQ(GameStateHash(*other), GameStateHash());
}

// One field of each table (and of the globals) changed: the hash changes. A field added to
// the record later is covered the same way, without a list of fields to keep.
TEST_F(StateTest, EveryTableEntryCountsInTheHash) {
    const std::uint64_t base = GameStateHash();
    auto expectCounted = [&](const char* what, auto& field, auto value) {
        const auto old = field;
        field = value;
        EXPECT_NE(GameStateHash(), base) << what;
        field = old;
        EXPECT_EQ(GameStateHash(), base) << what;
    };
    expectCounted("MyShots", MyShots[63].Timer, 1);
    expectCounted("MyShots.LastHit", MyShots[2].LastHit, std::int16_t{4});
    expectCounted("Enemies", Enemies[127].Work5, 1);
    expectCounted("Enemies.OnCheck", Enemies[3].OnCheck, TCheckRef{[](TCharacter&, TCharacter&, std::uint8_t&) {}});
    expectCounted("EnemyShots", EnemyShots[255].BulletParam, 1);
    expectCounted("Effects", Effects[511].Value2, 1);
    expectCounted("SpawnList", SpawnList[2047].Kind, std::uint8_t{3});
    expectCounted("GroupBonus", GroupBonus[255], std::int16_t{1});
    expectCounted("GroupCount", GroupCount[0], std::int16_t{1});
    expectCounted("StarField", StarField[1023].Speed, std::int16_t{1});
    expectCounted("TallyX", TallyX[3], 1);
    expectCounted("MyShip", MyShip.BombBonus, 1);
    expectCounted("MapPos", MapPos.y, 1);
    expectCounted("RandSeed", RandSeed, 12345u);
    expectCounted("ReplayPos", ReplayPos, 17);
    expectCounted("UserEventPending", GameState.Play.UserEventPending, true);
    expectCounted("List order", GameState.Play.ListSlots[2], GameState.Play.ListSlots[3]);
    // The records and the playback are left out: a game and its playback hash alike.
    HiScore = 999999;
    ReplayMode = true;
    ReplayLength = 77;
    FeedPos = 5;
    EXPECT_EQ(GameStateHash(), base);
}

// Equal states hash equal whatever the history of freed records and the list's slots:
// a stage start (from the same generator state) clears every table record and every slot.
TEST_F(StateTest, StageStartLeavesNoTraceOfTheStageBefore) {
    RandSeed = 4711;
    StageStart();
    const std::uint64_t fresh = GameStateHash();
    for (auto& e : Enemies) e.Work4 = 99;
    UnitList.AddCharacter(Enemies[9], 10, 10, 0, 0, TCharType::ctEnemy, 1, 1, 1, 0, 2);
    UnitList.RemoveCharacter(Enemies[9]);
    RandSeed = 4711;
    StageStart();
    EXPECT_EQ(GameStateHash(), fresh);
}

// A silenced outlet drops every effect; the state changes the calls make stay.
TEST(Outlet, SilencedTickPlaysNothingAndRequestsNothing) {
    GameState = TGameState{};
    const std::int32_t requests = UserEventRequests;
    {
        TSilencedOutlet silence;
        EXPECT_TRUE(OutletSilenced());
        RequestUserEvent();
        StartMusic(Music::Stage1);
        EXPECT_EQ(MusicPiece, Music::Stage1);
    }
    EXPECT_FALSE(OutletSilenced());
    EXPECT_EQ(UserEventRequests, requests);
    EXPECT_TRUE(GameState.Play.UserEventPending);
    RequestUserEvent();
    EXPECT_EQ(UserEventRequests, requests + 1);
    StopMusic();
    EXPECT_EQ(MusicPiece, Music::None);
    GameState = TGameState{};
}

TEST(StateHash, BytesHashSeesEveryByteAndItsPlace) {
    std::array<unsigned char, 301> a{};
    const std::uint64_t zero = HashBytes(a.data(), a.size());
    for (std::size_t i : {std::size_t{0}, std::size_t{31}, std::size_t{32}, std::size_t{299}, std::size_t{300}}) {
        a[i] = 1;
        EXPECT_NE(HashBytes(a.data(), a.size()), zero) << i;
        a[i] = 0;
    }
    EXPECT_NE(HashBytes(a.data(), 300), zero);  // the length counts
    a[0] = 1;
    const std::uint64_t first = HashBytes(a.data(), a.size());
    a[0] = 0;
    a[1] = 1;
    EXPECT_NE(HashBytes(a.data(), a.size()), first);
}

}  // namespace
}  // namespace tz

namespace tz {
namespace {

// The --heavy check: a tick that only changes the record passes; one that keeps a counter
// of its own outside the record, or plays its effects twice, is caught.
TEST(TickTwice, StateKeptOutsideTheRecordIsCaught) {
    GameState = TGameState{};
    auto snapshot = std::make_unique<TGameState>();
    const auto pure = [] {
        Score += 10;
        RandSeed = static_cast<std::uint32_t>(SceneTimer * 947);
        Score += Random(100);
        RequestUserEvent();
    };
    const std::int32_t requests = UserEventRequests;
    const TTwiceResult ok = RunTickTwice(pure, *snapshot);
    EXPECT_TRUE(ok.Same());
    EXPECT_EQ(UserEventRequests, requests + 1);  // the effect left once, from the real run
    EXPECT_GE(Score, 10);
    EXPECT_LT(Score, 110);

    static std::int32_t outside = 0;  // what the check exists to find
    const auto leaky = [] { Score += ++outside; };
    EXPECT_FALSE(RunTickTwice(leaky, *snapshot).Same());
    GameState = TGameState{};
}

}  // namespace
}  // namespace tz
