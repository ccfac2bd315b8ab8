// The three built stage maps: every object a stage's entries bring in (the craft, what they
// spawn, what they fire) shows pictures of a bank loaded in that stage; group counts match
// their members; the entries the start-from points and the clock rely on are where they
// must be.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>

#include "enemy_fixture.h"
#include "core/bank_list.h"
#include "game/tz_kinds.h"
#include "game/tz_main.h"
#include "game/tz_mapfile.h"

namespace tz::testing {
namespace {

namespace fs = std::filesystem;
namespace K = EnemyKind;

const fs::path BinDir = KORRINDAL_BIN_DIR;

// The banks of play and of the stage (bank stage + 1); the final boss's own two banks come in
// with it.
std::set<std::size_t> BanksOfStage(int stage, std::uint8_t kind) {
    std::set<std::size_t> banks{0, 1, static_cast<std::size_t>(stage + 1)};
    if (kind == K::FinalBoss) banks = {0, 1, 5, 6};
    return banks;
}

TMapData BuiltMap(int stage) {
    const fs::path path = BinDir / ("Map" + std::to_string(stage) + ".map");
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return DecodeMap(bytes, path.string());
}

class StageMaps : public EnemyTest {
protected:
    // Every pattern shown while an object of Kind, started at X in Stage, runs its course
    // (with what it spawns and fires) beside the parked ship.
    std::set<std::int16_t> PatternsOf(int Stage, std::uint8_t Kind, std::int16_t X) {
        SetUp();
        StageNo = Stage;
        std::set<std::int16_t> shown;
        Spawn(Kind, X, -40);
        for (int t = 0; t < 1500; ++t) {
            for (const TEnemy& e : Enemies)
                if (e.Index > 0 && e.OnDraw != nullptr && e.Pattern >= 0) shown.insert(e.Pattern);
            for (const TEnemyShot& b : EnemyShots)
                if (b.Index > 0 && b.BulletKind != Bullet::Cancelled && b.Pattern >= 0) shown.insert(b.Pattern);
            Tick();
        }
        return shown;
    }
};

TEST_F(StageMaps, EverythingAStageBringsInShowsPicturesOfItsLoadedBanks) {
    auto bankOf = [&](std::int16_t pattern) -> int {
        for (std::size_t i = 0; i < BankFiles.size(); ++i)  // the pattern numbers each bank holds
            if (pattern >= BankFiles[i].First && pattern <= BankFiles[i].Last) return static_cast<int>(i);
        return -1;
    };
    for (int stage = 1; stage <= 3; ++stage) {
        const TMapData map = BuiltMap(stage);
        std::map<std::uint8_t, std::int16_t> kinds;  // kind -> x of its first entry
        std::int16_t finalBossY = 1;
        for (const TSpawnEntry& e : map.Entries) {
            kinds[e.Kind] = e.X;
            if (e.Kind == K::FinalBoss) finalBossY = e.Y;
        }
        std::set<std::uint8_t> usesStageBank;
        for (const auto& [kind, x] : kinds) {
            const std::set<std::size_t> banks = BanksOfStage(stage, kind);
            const std::set<std::int16_t> shown = PatternsOf(stage, kind, x);
            EXPECT_FALSE(shown.empty() && kind != K::FighterSpawner && kind != K::WarningMarker)
                << "stage " << stage << ": kind " << int(kind) << " shows nothing";
            for (const std::int16_t p : shown) {
                const int bank = bankOf(p);
                EXPECT_TRUE(bank >= 0 && banks.count(static_cast<std::size_t>(bank)))
                    << "stage " << stage << ": kind " << int(kind) << " shows pattern " << p << " of bank " << bank;
                if (bank == stage + 1) usesStageBank.insert(kind);
            }
        }
        // The final boss's banks take the place of the stage's: nothing that needs it may
        // enter with the boss or after.
        if (stage == 3) {
            ASSERT_LE(finalBossY, 0) << "stage 3 has no final boss";
            for (const TSpawnEntry& e : map.Entries)
                EXPECT_FALSE(e.Y <= finalBossY && e.Kind != K::FinalBoss && usesStageBank.count(e.Kind))
                    << "kind " << int(e.Kind) << " enters at " << e.Y << ", with or after the final boss";
        }
    }
}

TEST_F(StageMaps, GroupCountsMatchTheirMembersAndEveryGroupPays) {
    for (int stage = 1; stage <= 3; ++stage) {
        const TMapData map = BuiltMap(stage);
        std::array<int, 256> members{};
        for (const TSpawnEntry& e : map.Entries) {
            ++members[e.Param & 0xFF];
            ++members[e.Param >> 8];
        }
        int groups = 0;
        for (int g = 1; g < 256; ++g) {
            EXPECT_EQ(map.GroupCount[static_cast<std::size_t>(g)], members[static_cast<std::size_t>(g)])
                << "stage " << stage << " group " << g;
            EXPECT_EQ(map.GroupBonus[static_cast<std::size_t>(g)] > 0, members[static_cast<std::size_t>(g)] > 0)
                << "stage " << stage << " group " << g << ": a bonus without members or members without one";
            groups += members[static_cast<std::size_t>(g)] > 0;
        }
        EXPECT_GE(groups, 3) << "stage " << stage << " has hardly any formations";
    }
}

// The first entry of a kind to be released (entries go from the last index down).
const TSpawnEntry* FirstOf(const TMapData& map, std::uint8_t kind) {
    for (auto it = map.Entries.rbegin(); it != map.Entries.rend(); ++it)
        if (it->Kind == kind) return &*it;
    return nullptr;
}

TEST_F(StageMaps, TheEntriesTheStartPointsAndTheClockRelyOn) {
    constexpr std::int32_t Second = ProcessPerSec;
    constexpr std::int32_t FightTime = 25 * Second;  // what a good player needs against a stage boss
    const TMapData map1 = BuiltMap(1), map2 = BuiltMap(2), map3 = BuiltMap(3);

    // Stage 1 opens with the carrier; the clock starts at its launch, after the first tick.
    ASSERT_FALSE(map1.Entries.empty());
    EXPECT_EQ(map1.Entries.back().Kind, K::Carrier);
    EXPECT_EQ(map1.Entries.back().Y, 0);
    // The "from the stage-1 mid-boss" start skips everything above scroll 1700 and meets the
    // mid-boss within a second.
    const TSpawnEntry* midBoss = FirstOf(map1, K::BeamMidBoss);
    ASSERT_NE(midBoss, nullptr);
    EXPECT_LT(midBoss->Y, -1700);
    EXPECT_GE(midBoss->Y, -1700 - Second);
    // The stage-1 boss leaves when 14840 ticks are left, 6160 after the launch at the earliest.
    const TSpawnEntry* boss1 = FirstOf(map1, K::Stage1Boss);
    ASSERT_NE(boss1, nullptr);
    EXPECT_LE(-boss1->Y + FightTime, 21000 - 14840);
    // The stage-2 boss leaves when 8470 are left; a player who used all of stage 1 starts
    // stage 2 with 14700. It rises from below shielded for about 3.5 s.
    const TSpawnEntry* boss2 = FirstOf(map2, K::Stage2Boss);
    ASSERT_NE(boss2, nullptr);
    EXPECT_LE(-boss2->Y + 245 + FightTime, 14700 - 8470);
    // The "from the stage-3 boss" start skips everything above 4150 and meets the final boss
    // within a second; it is the stage's last entry.
    const TSpawnEntry* finalBoss = FirstOf(map3, K::FinalBoss);
    ASSERT_NE(finalBoss, nullptr);
    EXPECT_LT(finalBoss->Y, -4150);
    EXPECT_GE(finalBoss->Y, -4150 - Second);
    EXPECT_EQ(&map3.Entries.front(), finalBoss);
    // Every weapon is brought in: the Beam in stage 1, the Canon in 2, the Thunder and the
    // Laser (from the mid-boss that stays until destroyed) in 3.
    EXPECT_NE(FirstOf(map1, K::SideGunship), nullptr);
    EXPECT_NE(FirstOf(map2, K::Launcher), nullptr);
    EXPECT_NE(FirstOf(map3, K::SideCrosser), nullptr);
    EXPECT_NE(FirstOf(map3, K::ShardMidBoss), nullptr);
}

}  // namespace
}  // namespace tz::testing
