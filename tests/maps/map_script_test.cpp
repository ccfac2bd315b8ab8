// The stage script: times, the order of entry, repeats and mirrors, groups, the map the game
// loads, the timeline, and errors that name the line.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "game/tz_kinds.h"
#include "kind_names.h"
#include "map_script.h"

namespace mapc {
namespace {

TStageScript Parse(const std::string& text) { return ParseStageScript(text, "stage.txt"); }

// The error a script is refused with, empty when it is accepted.
std::string Refusal(const std::string& text) {
    try {
        Parse(text);
    } catch (const tz::TMapError& e) {
        return e.what();
    }
    return {};
}

TEST(StageScript, TimesAreSecondsOrScrollUnitsFromTheirWave) {
    const TStageScript s = Parse(
        "wave 1.5s opening\n"
        "0 fighter 200\n"
        "+0.25s fighter 210   # 17.5 units round up\n"
        "30 fighter 220\n"
        "wave 300 second\n"
        "2s gunpod 320\n");
    ASSERT_EQ(s.Entries.size(), 4u);
    EXPECT_EQ(s.Entries[0].Position, 105);
    EXPECT_EQ(s.Entries[1].Position, 123);
    EXPECT_EQ(s.Entries[2].Position, 135);
    EXPECT_EQ(s.Entries[3].Position, 440);
    EXPECT_EQ(s.Entries[3].Wave, 1u);
    EXPECT_EQ(s.Waves[1].Title, "second");
}

TEST(StageScript, EntriesEnterByTimeAndAtOneTimeInTheOrderWritten) {
    const TStageScript s = Parse(
        "wave 100 late\n"
        "0 diver 1\n"
        "0 diver 2\n"
        "wave 50 early\n"
        "50 gunpod 3     # also at 100, after the two written before it\n"
        "0 gunpod 4\n");
    ASSERT_EQ(s.Entries.size(), 4u);
    EXPECT_EQ(s.Entries[0].X, 4);
    EXPECT_EQ(s.Entries[1].X, 1);
    EXPECT_EQ(s.Entries[2].X, 2);
    EXPECT_EQ(s.Entries[3].X, 3);
    // The game releases from the last index down, each when the scroll passes -Position.
    const tz::TMapData map = ToMap(s);
    ASSERT_EQ(map.Entries.size(), 4u);
    EXPECT_EQ(map.Entries[3].X, 4);
    EXPECT_EQ(map.Entries[3].Y, -50);
    EXPECT_EQ(map.Entries[0].X, 3);
    EXPECT_EQ(map.Entries[0].Kind, tz::EnemyKind::GunPod);
}

TEST(StageScript, RepeatsStepAndMirrorsMirrorTheSteps) {
    const TStageScript s = Parse("wave 0 w\n10 fighter 160 mirror repeat 3 every 0.5s step 40\n");
    ASSERT_EQ(s.Entries.size(), 6u);
    const int positions[] = {10, 10, 45, 45, 80, 80};
    const int xs[] = {160, 480, 200, 440, 240, 400};
    for (std::size_t k = 0; k < 6; ++k) {
        EXPECT_EQ(s.Entries[k].Position, positions[k]) << k;
        EXPECT_EQ(s.Entries[k].X, xs[k]) << k;
    }
}

TEST(StageScript, GroupsAreNumberedAsDeclaredAndCountEveryMember) {
    const TStageScript s = Parse(
        "group wing 300\n"
        "group pair 1000\n"
        "wave 0 w\n"
        "0 fighter 200 in wing repeat 4 every 10\n"
        "5 diver 300 in pair wing\n"
        "6 diver 340 in pair\n");
    const tz::TMapData map = ToMap(s);
    EXPECT_EQ(map.GroupBonus[1], 300);
    EXPECT_EQ(map.GroupBonus[2], 1000);
    EXPECT_EQ(map.GroupCount[1], 5);
    EXPECT_EQ(map.GroupCount[2], 2);
    EXPECT_EQ(map.GroupCount[3], 0);
    // The member of two groups: first group in the low byte.
    bool found = false;
    for (const tz::TSpawnEntry& e : map.Entries)
        if (e.X == 300) {
            EXPECT_EQ(e.Param, 2 | (1 << 8));
            found = true;
        }
    EXPECT_TRUE(found);
}

TEST(StageScript, ErrorsNameTheLine) {
    EXPECT_NE(Refusal("wave 0 w\n0 dragon 100\n").find("stage.txt:2: no enemy kind \"dragon\""), std::string::npos);
    EXPECT_NE(Refusal("0 fighter 100\n").find("stage.txt:1:"), std::string::npos);
    EXPECT_NE(Refusal("wave 0 w\n0 fighter 100 in wing\n").find("stage.txt:2: no group \"wing\""), std::string::npos);
    EXPECT_NE(Refusal("group wing 300\nwave 0 w\n0 fighter 100\n").find("\"wing\" has no members"),
              std::string::npos);
    EXPECT_NE(Refusal("group a 1\ngroup a 2\n").find("stage.txt:2: group \"a\" declared twice"), std::string::npos);
    EXPECT_NE(Refusal("group a 1\nwave 0 w\n0 fighter 1 in a a\n").find("at most two different groups"),
              std::string::npos);
    EXPECT_NE(Refusal("wave 1.2345s w\n").find("three decimals"), std::string::npos);
    EXPECT_NE(Refusal("wave 0 w\n0 fighter 1 repeat 3\n").find("repeat <n> every <dt>"), std::string::npos);
    EXPECT_NE(Refusal("wave 0 w\n0 fighter 1 sideways\n").find("unexpected \"sideways\""), std::string::npos);
    EXPECT_NE(Refusal("wave 468.2s w\n").find("beyond the end"), std::string::npos);
    EXPECT_NE(Refusal("wave 500s w\n").find("outside"), std::string::npos);
    EXPECT_NE(Refusal("wave 30000 w\n0 fighter 1 repeat 2 every 5000\n").find("beyond the end"), std::string::npos);
    EXPECT_EQ(Refusal("# nothing but a comment\n\n"), "");
}

TEST(StageScript, EveryKindHasOneNameAndNumbersWorkToo) {
    std::set<std::string_view> names;
    for (int k = 0; k < tz::EnemyKind::Count; ++k) {
        const auto kind = static_cast<std::uint8_t>(k);
        const std::string_view name = KindName(kind);
        EXPECT_NE(name, "?") << k;
        EXPECT_TRUE(names.insert(name).second) << name << " names two kinds";
        EXPECT_EQ(KindByName(name), kind);
        EXPECT_EQ(KindByName(std::to_string(k)), kind);
    }
    EXPECT_FALSE(KindByName("30").has_value());
    EXPECT_FALSE(KindByName("7x").has_value());
}

TEST(StageScript, TimelineListsWavesInOrderOfTime) {
    const std::string t = Timeline(Parse(
        "wave 2s second\n0 gunpod 1\n1s gunpod 2\n"
        "wave 0 first\n0 fighter 1 repeat 2 every 10\n"));
    const auto first = t.find("first: 2 fighter");
    const auto second = t.find("second: 2 gunpod");
    ASSERT_NE(first, std::string::npos) << t;
    ASSERT_NE(second, std::string::npos) << t;
    EXPECT_LT(first, second);
    EXPECT_NE(t.find("140..210"), std::string::npos) << t;
}

}  // namespace
}  // namespace mapc
