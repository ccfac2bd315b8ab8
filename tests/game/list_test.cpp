#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "collision/list.h"
#include "game/tz_state.h"
#include "game/tz_unitlist.h"

using namespace tz;

namespace {

// Every slot knows its position, y never decreases, the sentinels sit at both ends.
void ExpectConsistent(const TList& list) {
    ASSERT_TRUE(list.HasSlots());
    ASSERT_EQ(list.Slot(0)->YPos(), -32768);
    ASSERT_EQ(list.Slot(list.Last())->YPos(), 32767);
    for (std::int32_t k = 0; k <= list.Last(); ++k) {
        ASSERT_EQ(list.Slot(k)->Index, k) << "slot " << k;
        if (k > 0) {
            ASSERT_LE(list.Slot(k - 1)->Y, list.Slot(k)->Y) << "slot " << k;
        }
    }
}

struct Contact {
    TCharacter* own;
    TCharacter* dst;
};
std::vector<Contact> contacts;
std::uint8_t answer = 0;  // what the check procedure answers

void Record(TCharacter& own, TCharacter& dst, std::uint8_t& flags) {
    contacts.push_back({&own, &dst});
    flags = answer;
}

std::vector<TCharacter*> drawn;
void Draw(TCharacter& own) { drawn.push_back(&own); }

struct ListTest : ::testing::Test {
    TList list;
    std::array<TCharacter, 8> rec{};
    void SetUp() override {
        list.Max = 400;
        list.CheckType = UnitListCheckType;
        list.Loaded();
        contacts.clear();
        drawn.clear();
        answer = 0;
    }
    bool Add(TCharacter& r, int x, int y, TCharType type = TCharType::ctEnemy, int radius = 4, int range = 32,
             int margin = 0) {
        return list.AddCharacter(r, static_cast<std::int16_t>(x), static_cast<std::int16_t>(y), 0, 0, type,
                                 static_cast<std::int16_t>(radius), static_cast<std::int16_t>(range),
                                 static_cast<std::int16_t>(margin), 0, 2);
    }
};

}  // namespace

TEST_F(ListTest, HoldsMaxRecordsAndRefusesOneMore) {
    std::vector<TCharacter> many(401);
    for (int i = 0; i < 400; ++i) ASSERT_TRUE(Add(many[static_cast<std::size_t>(i)], i, (i * 37) % 500)) << i;
    EXPECT_EQ(list.Count(), 400);
    many[400].Index = -7;
    EXPECT_FALSE(Add(many[400], 1, 1));
    EXPECT_EQ(many[400].Index, -7);  // untouched
    EXPECT_EQ(list.Count(), 400);
    ExpectConsistent(list);
}

TEST_F(ListTest, EqualYPutsTheNewestFirst) {
    ASSERT_TRUE(Add(rec[0], 1, 100));
    ASSERT_TRUE(Add(rec[1], 2, 100));
    ASSERT_TRUE(Add(rec[2], 3, 100));
    EXPECT_EQ(rec[2].Index, 1);
    EXPECT_EQ(rec[1].Index, 2);
    EXPECT_EQ(rec[0].Index, 3);
    ExpectConsistent(list);
}

TEST_F(ListTest, MovesKeepTheOrder) {
    Add(rec[0], 10, 100);
    Add(rec[1], 10, 110);
    Add(rec[2], 10, 120);
    list.MoveCharacter(rec[0], 50 << 16, 0, 0);  // x only: same slot
    EXPECT_EQ(rec[0].Index, 1);
    EXPECT_EQ(rec[0].XPos(), 60);
    list.MoveCharacter(rec[0], 0, 25 << 16, 0);  // down past two records
    EXPECT_EQ(rec[0].Index, 3);
    EXPECT_EQ(rec[1].Index, 1);
    EXPECT_EQ(rec[2].Index, 2);
    ExpectConsistent(list);
    list.MoveCharacter(rec[0], 0, -30 << 16, 0x0180);  // back up past both; Angle wraps
    EXPECT_EQ(rec[0].Index, 1);
    EXPECT_EQ(rec[0].Direction(), 1);
    ExpectConsistent(list);
}

TEST_F(ListTest, SweepLooksOnlyWithinRange) {
    // A shot with Range 20 finds an enemy 15 pixels away whose circle overlaps it, never one
    // 20 or more pixels away along y, however large the circles.
    Add(rec[0], 100, 200, TCharType::ctOwnShot, 10, 20);
    rec[0].OnCheck = Record;
    Add(rec[1], 100, 185, TCharType::ctEnemy, 10);   // 15 above
    Add(rec[2], 100, 180, TCharType::ctEnemy, 500);  // 20 above
    Add(rec[3], 100, 220, TCharType::ctEnemy, 500);  // 20 below
    Add(rec[4], 100, 214, TCharType::ctEnemy, 10);   // 14 below
    list.MoveCheck(rec[0], 0, 0, 0);
    ASSERT_EQ(contacts.size(), 2u);
    EXPECT_EQ(contacts[0].dst, &rec[1]);  // upward phase first
    EXPECT_EQ(contacts[1].dst, &rec[4]);
    EXPECT_EQ(contacts[0].own, &rec[0]);
}

TEST_F(ListTest, TouchingCirclesDoNotCollide) {
    Add(rec[0], 100, 100, TCharType::ctOwnShot, 2, 50);
    rec[0].OnCheck = Record;
    Add(rec[1], 103, 104, TCharType::ctEnemy, 3);  // distance 5 = 2 + 3
    list.MoveCheck(rec[0], 0, 0, 0);
    EXPECT_TRUE(contacts.empty());
    rec[1].Radius = 4;
    list.MoveCheck(rec[0], 0, 0, 0);
    EXPECT_EQ(contacts.size(), 1u);
}

TEST_F(ListTest, MasksSelectPartnersOneWay) {
    Add(rec[0], 100, 100, TCharType::ctOwnShot, 10, 50);
    Add(rec[1], 100, 101, TCharType::ctOwnShip, 10);  // a shot does not test the ship
    Add(rec[2], 100, 102, TCharType::ctItem, 10);     // but does test items
    Add(rec[3], 100, 103, static_cast<TCharType>(15), 10);
    rec[0].OnCheck = Record;
    list.MoveCheck(rec[0], 0, 0, 0);
    ASSERT_EQ(contacts.size(), 1u);
    EXPECT_EQ(contacts[0].dst, &rec[2]);
    // The item does not sweep at all without a check procedure, whoever touches it.
    contacts.clear();
    list.MoveCheck(rec[2], 0, 0, 0);
    EXPECT_TRUE(contacts.empty());
}

TEST_F(ListTest, FlagsSixRemoveBothInEitherPhase) {
    for (int below = 0; below < 2; ++below) {
        SetUp();
        answer = cfRemoveOwn | cfRemoveDst;
        Add(rec[0], 100, 100, TCharType::ctOwnShot, 10, 50);
        rec[0].OnCheck = Record;
        Add(rec[1], 100, below ? 105 : 95, TCharType::ctEnemy, 10);
        Add(rec[2], 100, below ? 106 : 94, TCharType::ctEnemy, 10);  // would be next
        Add(rec[3], 300, 300, TCharType::ctEnemy, 10);
        list.MoveCheck(rec[0], 0, 0, 0);
        ASSERT_EQ(contacts.size(), 1u) << below;
        EXPECT_EQ(rec[0].Index, -1);
        EXPECT_EQ(rec[1].Index, -1);
        EXPECT_GE(rec[2].Index, 1);
        EXPECT_EQ(list.Count(), 2);
        ExpectConsistent(list);
    }
}

TEST_F(ListTest, FlagOneOnlyStops) {
    answer = cfStop;
    Add(rec[0], 100, 100, TCharType::ctOwnShot, 10, 50);
    rec[0].OnCheck = Record;
    Add(rec[1], 100, 95, TCharType::ctEnemy, 10);
    Add(rec[2], 100, 105, TCharType::ctEnemy, 10);
    list.MoveCheck(rec[0], 0, 0, 0);
    EXPECT_EQ(contacts.size(), 1u);
    EXPECT_EQ(list.Count(), 3);
}

TEST_F(ListTest, HandlerRemovingTheMoverEndsItsSweep) {
    static TList* current = nullptr;
    current = &list;
    Add(rec[0], 100, 100, TCharType::ctOwnShot, 10, 50);
    rec[0].OnCheck = [](TCharacter& own, TCharacter& dst, std::uint8_t&) {
        contacts.push_back({&own, &dst});
        current->RemoveCharacter(own);
    };
    Add(rec[1], 100, 95, TCharType::ctEnemy, 10);
    Add(rec[2], 100, 105, TCharType::ctEnemy, 10);
    list.MoveCheck(rec[0], 0, 0, 0);
    EXPECT_EQ(contacts.size(), 1u);
    EXPECT_EQ(rec[0].Index, -1);
    ExpectConsistent(list);
}

TEST_F(ListTest, DrawAreaSkipsHiddenAndMarginEdges) {
    const engine::TRect area{128, 0, 512, 480};
    Add(rec[0], 200, 10, TCharType::ctEnemy, 4, 0, 8);
    Add(rec[1], 120, 20, TCharType::ctEnemy, 4, 0, 8);  // x = left - margin: outside
    Add(rec[2], 121, 30, TCharType::ctEnemy, 4, 0, 8);  // just inside
    Add(rec[3], 300, 40, TCharType::ctEnemy, 4, 0, 8);
    Add(rec[4], 300, 50, TCharType::ctEnemy, 4, 0, 8);
    Add(rec[5], 300, 488, TCharType::ctEnemy, 4, 0, 8);  // y = bottom + margin: ends the walk
    Add(rec[6], 300, 487, TCharType::ctEnemy, 4, 0, 8);
    for (auto& r : rec) r.OnDraw = Draw;
    rec[3].Visibility = HiddenVisibility;
    rec[4].OnDraw = nullptr;
    list.DrawArea(0, area);
    const std::vector<TCharacter*> expected{&rec[0], &rec[2], &rec[6]};
    EXPECT_EQ(drawn, expected);
}

TEST_F(ListTest, DrawAreaWalksBackFromStartOnlyOverTheTopEdge) {
    const engine::TRect area{0, 100, 640, 480};
    Add(rec[0], 50, 50);   // above the area
    Add(rec[1], 50, 95);   // above, but reaches in by its margin
    Add(rec[2], 50, 200);  // the start
    Add(rec[3], 50, 300);
    for (auto& r : rec) r.OnDraw = Draw;
    rec[1].Margin = 10;
    list.DrawArea(rec[2].Index, area);
    EXPECT_EQ(drawn, (std::vector<TCharacter*>{&rec[1], &rec[2], &rec[3]}));
    // Records after the start are drawn even above the top: the top is tested only walking back.
    drawn.clear();
    list.DrawArea(1, area);
    EXPECT_EQ(drawn, (std::vector<TCharacter*>{&rec[0], &rec[1], &rec[2], &rec[3]}));
    drawn.clear();
    list.DrawArea(999, area);  // a start beyond the list walks back from the tail
    EXPECT_EQ(drawn, (std::vector<TCharacter*>{&rec[1], &rec[2], &rec[3]}));
}

TEST_F(ListTest, WrapX) {
    list.WrapX = 100;
    Add(rec[0], 99, 10);
    list.MoveCharacter(rec[0], 2 << 16, 0, 0);
    EXPECT_EQ(rec[0].X, 1 << 16);
    list.MoveCharacter(rec[0], -3 << 16, 0, 0);
    EXPECT_EQ(rec[0].X, 98 << 16);
}

TEST_F(ListTest, SentinelsGuardTheEnds) {
    Add(rec[0], 10, 32760);
    Add(rec[1], 10, -32760);
    list.MoveCharacter(rec[0], 5 << 16, 10 << 16, 0);  // would pass 32767: Y kept, X applied
    EXPECT_EQ(rec[0].YPos(), 32760);
    EXPECT_EQ(rec[0].XPos(), 15);
    list.MoveCharacter(rec[0], 0, 7 << 16, 0);  // exactly onto the tail's row is allowed
    EXPECT_EQ(rec[0].YPos(), 32767);
    list.MoveCharacter(rec[1], 0, -(10 << 16), 0);
    EXPECT_EQ(rec[1].YPos(), -32760);
    ExpectConsistent(list);
    TCharacter beyond;
    beyond.Y = (32767 << 16) + 5;  // beyond the tail sentinel: refused
    EXPECT_FALSE(list.InsertCharacter(beyond));
    TCharacter top;
    top.Y = -32768 * 65536;  // level with the head: goes after it
    EXPECT_TRUE(list.InsertCharacter(top));
    EXPECT_EQ(top.Index, 1);
    ExpectConsistent(list);
}

TEST_F(ListTest, PushAwayUsesTheWrappedDirection) {
    struct Case {
        int dx, dy;
        std::uint8_t dir;
    };
    for (const Case c : {Case{10, 10, 33}, Case{100, 100, 12}, Case{33, 33, 32}}) {
        SetUp();
        Add(rec[0], 100, 100);
        Add(rec[1], 100 + c.dx, 100 + c.dy);
        const std::int32_t x0 = rec[1].X, y0 = rec[1].Y;
        list.PushAway(rec[0], rec[1], 3);
        EXPECT_EQ(rec[1].X - x0, Cos(c.dir) * 64 * 3) << c.dx;
        EXPECT_EQ(rec[1].Y - y0, Sin(c.dir) * 64 * 3) << c.dx;
        ExpectConsistent(list);
    }
}

TEST_F(ListTest, AdvanceMovesBySpeedAndSweeps) {
    Add(rec[0], 100, 100, TCharType::ctOwnShot, 2, 20);
    rec[0].OnCheck = Record;
    rec[0].Speed = 64;
    rec[0].SetDirection(64);  // down
    Add(rec[1], 100, 110, TCharType::ctEnemy, 2);
    for (int i = 0; i < 6; ++i) list.Advance(rec[0]);
    EXPECT_EQ(rec[0].X, 100 << 16);
    EXPECT_EQ(rec[0].Y, 106 << 16);
    EXPECT_TRUE(contacts.empty());  // 4 pixels apart: the circles only touch
    list.Advance(rec[0]);
    EXPECT_EQ(contacts.size(), 1u);
}

TEST_F(ListTest, AddModesAndFields) {
    list.DefaultCheck = Record;
    list.DefaultDraw = Draw;
    rec[0].Rotation = 9;
    ASSERT_TRUE(list.AddCharacter(rec[0], -5, 7, 192, 33, TCharType::ctItem, 3, 4, 5, -10, 0));
    EXPECT_EQ(rec[0].X, -5 * 65536);
    EXPECT_EQ(rec[0].Y, 7 * 65536);
    EXPECT_EQ(rec[0].Angle, 192 * 256);
    EXPECT_EQ(rec[0].Rotation, 0);
    EXPECT_EQ(rec[0].Pattern, 33);
    EXPECT_EQ(rec[0].Visibility, -10);
    EXPECT_EQ(rec[0].OnCheck, &Record);
    EXPECT_EQ(rec[0].OnDraw, &Draw);
    ASSERT_TRUE(list.AddCharacter(rec[1], 0, 0, 0, 0, TCharType::ctEnemy, 0, 0, 0, 0, 1));
    EXPECT_EQ(rec[1].OnCheck, nullptr);
    EXPECT_EQ(rec[1].OnDraw, nullptr);
    list.DefaultCheck = nullptr;
    rec[2].OnCheck = Record;
    ASSERT_TRUE(list.AddCharacter(rec[2], 0, 0, 0, 0, TCharType::ctEnemy, 0, 0, 0, 0, 0));
    EXPECT_EQ(rec[2].OnCheck, &Record);  // no default check: the caller's stays
    EXPECT_EQ(rec[2].OnDraw, &Draw);
}

TEST_F(ListTest, ListedRecordsCannotBeAddedTwiceAndStaleIndexesAreHarmless) {
    ASSERT_TRUE(Add(rec[0], 1, 1));
    EXPECT_FALSE(Add(rec[0], 2, 2));
    EXPECT_EQ(list.Count(), 1);
    list.SetupSlots();  // drops every record; rec[0] still says slot 1
    EXPECT_EQ(rec[0].Index, 1);
    EXPECT_FALSE(list.RemoveCharacter(rec[0]));  // slot 1 is the tail now: untouched
    list.MoveCheck(rec[0], 0, 5 << 16, 0);
    ExpectConsistent(list);
    EXPECT_TRUE(Add(rec[0], 1, 1));
    EXPECT_TRUE(list.RemoveCharacter(rec[0]));
    EXPECT_EQ(rec[0].Index, -1);
    EXPECT_FALSE(list.RemoveCharacter(rec[0]));
}

TEST(List, WithoutSlotsEverythingIsRefused) {
    TList list;
    TCharacter r;
    EXPECT_FALSE(list.HasSlots());
    EXPECT_EQ(list.Last(), -1);
    EXPECT_FALSE(list.AddCharacter(r, 1, 1, 0, 0, TCharType::ctEnemy, 1, 1, 1, 0, 0));
    EXPECT_FALSE(list.InsertCharacter(r));
    EXPECT_FALSE(list.RemoveCharacter(r));
    list.MoveCheck(r, 1, 1, 1);
    list.DrawArea(0, engine::TRect{0, 0, 640, 480});
    list.Max = 0;
    list.SetupSlots();
    EXPECT_FALSE(list.HasSlots());
    EXPECT_EQ(list.Capacity(), -1);
}

TEST(List, CheckTypeTableAndStoredData) {
    TList list;
    list.CheckType = UnitListCheckType;
    EXPECT_EQ(list.GetCheckType(2), 0x0017);
    EXPECT_EQ(list.GetCheckType(130), 0x0017);  // T and 127
    EXPECT_EQ(list.GetCheckType(20), 0);        // beyond the table: no partners
    const auto data = list.WriteCheckTypeData();
    EXPECT_EQ(data[0], 0x3C);
    EXPECT_EQ(data[1], 0x00);
    TList other;
    EXPECT_FALSE(other.ReadCheckTypeData(data.data(), 31));
    EXPECT_EQ(other.CheckType[0], 0);
    EXPECT_TRUE(other.ReadCheckTypeData(data.data(), data.size()));
    EXPECT_EQ(other.CheckType, list.CheckType);
}

// The game's list keeps its order inside the game state: a copy of the state taken before
// moves and removals puts back the order and the records together.
TEST(List, GameWindowListIsRestoredWithTheGameState) {
    LoadUnitList();
    EXPECT_EQ(UnitList.Capacity(), 401);
    EXPECT_EQ(UnitList.GetCheckType(0), 0x003C);
    EXPECT_EQ(UnitList.GetCheckType(5), 0x0003);
    auto& r = GameState.Play.Enemies;
    for (int i = 0; i < 3; ++i)
        UnitList.AddCharacter(r[static_cast<std::size_t>(i)], 10, static_cast<std::int16_t>(100 - i), 0, 0,
                              TCharType::ctEnemy, 1, 1, 1, 0, 0);
    static TGameState saved;
    SaveGameState(saved);
    UnitList.MoveCharacter(r[0], 0, -50 << 16, 0);
    UnitList.RemoveCharacter(r[1]);
    EXPECT_EQ(UnitList.Count(), 2);
    RestoreGameState(saved);
    ExpectConsistent(UnitList);
    EXPECT_EQ(UnitList.Count(), 3);
    EXPECT_EQ(UnitList.Slot(1), &r[2]);
    EXPECT_EQ(UnitList.Slot(3), &r[0]);
    // The slots are distances inside the state, not addresses: equal in every run.
    EXPECT_EQ(GameState.Play.ListSlots[1],
              reinterpret_cast<std::uintptr_t>(&r[2]) - reinterpret_cast<std::uintptr_t>(&GameState) + 1);
    for (auto& e : r) e = TEnemy{};
    UnitList.SetupSlots();
}

// Storage that cannot hold Max records gives no slots rather than writing past its end;
// a list taken off it keeps its own again.
TEST(List, AttachedStorageTooSmallGivesNoSlots) {
    TList list;
    TListCore core;
    std::array<TListSlot, 12> slots{};
    list.Attach(core, slots.data(), static_cast<std::int32_t>(slots.size()), slots.data());
    list.Max = 11;
    list.SetupSlots();
    EXPECT_FALSE(list.HasSlots());
    list.Max = 10;
    list.SetupSlots();
    ASSERT_TRUE(list.HasSlots());
    EXPECT_EQ(core.Last, 1);
    std::array<TCharacter, 2> r{};
    EXPECT_TRUE(list.AddCharacter(r[0], 0, 5, 0, 0, TCharType::ctEnemy, 1, 1, 1, 0, 2));
    EXPECT_EQ(core.Last, 2);
    list.Detach();
    EXPECT_FALSE(list.HasSlots());
    list.Max = 50;
    list.SetupSlots();
    EXPECT_TRUE(list.HasSlots());
    EXPECT_EQ(core.Last, 2);  // the detached storage is left alone
}
