#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "game/tz_map.h"
#include "game/tz_mapfile.h"
#include "game/tz_globals.h"

namespace tz {
namespace {

namespace fs = std::filesystem;

fs::path WriteTemp(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    // The process id keeps test runs of several build trees on one machine apart.
    const fs::path p = fs::temp_directory_path() / ("korrindal_map_test_" + name + "_" + std::to_string(getpid()));
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return p;
}

TMapData SampleMap(std::size_t entries) {
    TMapData m;
    for (std::size_t i = 0; i < entries; ++i)
        m.Entries.push_back(TSpawnEntry{static_cast<std::int16_t>(i), static_cast<std::int16_t>(-int(entries - i)),
                                        0x0201, 9});
    m.GroupBonus[1] = 300;
    m.GroupBonus[255] = -7;
    m.GroupCount[1] = 4;
    m.GroupCount[255] = 2;
    return m;
}

std::string RefusalOf(const std::vector<std::uint8_t>& bytes, const std::string& name) {
    const fs::path p = WriteTemp(name, bytes);
    try {
        LoadMapFile(p.string());
    } catch (const TMapError& e) {
        fs::remove(p);
        return e.what();
    }
    fs::remove(p);
    return {};
}

TEST(MapFile, EmptyMapStillReadsBothGroupTables) {
    MapIndex = 5;
    MapPos = TFixedPoint{7 << 16, -3 << 16};
    const fs::path p = WriteTemp("empty", EncodeMap(SampleMap(0)));
    LoadMapFile(p.string());
    fs::remove(p);
    EXPECT_EQ(MapIndex, -1);
    EXPECT_EQ(GroupBonus[1], 300);
    EXPECT_EQ(GroupBonus[255], -7);
    EXPECT_EQ(GroupCount[1], 4);
    EXPECT_EQ(GroupCount[255], 2);
    EXPECT_EQ(MapPos.x, 0);
    EXPECT_EQ(MapPos.y, 0);
}

TEST(MapFile, EntriesRoundTripInOrder) {
    const fs::path p = WriteTemp("three", EncodeMap(SampleMap(3)));
    LoadMapFile(p.string());
    fs::remove(p);
    ASSERT_EQ(MapIndex, 2);
    EXPECT_EQ(SpawnList[2].X, 2);
    EXPECT_EQ(SpawnList[2].Y, -1);
    EXPECT_EQ(SpawnList[0].Y, -3);
    EXPECT_EQ(SpawnList[1].Param, 0x0201);
    EXPECT_EQ(SpawnList[1].Kind, 9);
}

TEST(MapFile, RefusesBadHeadersNamingTheFileAndKeepsTheOldMap) {
    const fs::path good = WriteTemp("good", EncodeMap(SampleMap(2)));
    LoadMapFile(good.string());
    fs::remove(good);
    const TSpawnEntry before = SpawnList[1];

    std::vector<std::uint8_t> bytes = EncodeMap(SampleMap(0));
    bytes[0] = 0xFE;  // N = -2
    EXPECT_NE(RefusalOf(bytes, "neg").find("korrindal_map_test_neg"), std::string::npos);

    bytes = EncodeMap(SampleMap(1));
    bytes.resize(bytes.size() - 1);  // one byte short of the count table
    EXPECT_NE(RefusalOf(bytes, "short").find("korrindal_map_test_short"), std::string::npos);

    bytes = EncodeMap(SampleMap(0));
    const std::int32_t n = 2047;  // 2048 entries
    for (int i = 0; i < 4; ++i) bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(n >> (8 * i));
    bytes.resize(4 + 2048 * MapEntryBytes + 2 * MapGroupTableBytes);
    EXPECT_NE(RefusalOf(bytes, "long").find("at most 2047"), std::string::npos);

    EXPECT_NE(RefusalOf({}, "nothing").find("too short"), std::string::npos);
    EXPECT_THROW(LoadMapFile("/nonexistent/korrindal/Map1.map"), TMapError);

    EXPECT_EQ(MapIndex, 1);
    EXPECT_EQ(SpawnList[1].X, before.X);
    EXPECT_EQ(SpawnList[1].Y, before.Y);
}

TEST(MapFile, FullMapLeavesTheScratchEntryAlone) {
    ScratchEntry = TSpawnEntry{111, 222, 333, 12};
    const fs::path p = WriteTemp("full", EncodeMap(SampleMap(MapMaxEntries)));
    LoadMapFile(p.string());
    fs::remove(p);
    EXPECT_EQ(MapIndex, 2046);
    EXPECT_EQ(SpawnList[2046].X, 2046);
    EXPECT_EQ(ScratchEntry.X, 111);
    EXPECT_EQ(ScratchEntry.Kind, 12);
    EXPECT_THROW(EncodeMap(SampleMap(MapMaxEntries + 1)), TMapError);
}

TEST(MapFile, BuiltStageMapsLoadAndStage1OpensWithTheCarrier) {
    for (int stage = 1; stage <= 3; ++stage) {
        const std::string name = std::string(KORRINDAL_BIN_DIR) + "/Map" + std::to_string(stage) + ".map";
        ASSERT_NO_THROW(LoadMapFile(name)) << name;
        ASSERT_GE(MapIndex, 0);
        for (std::int32_t i = 1; i <= MapIndex; ++i) EXPECT_LE(SpawnList[i - 1].Y, SpawnList[i].Y) << i;
        if (stage == 1) {
            EXPECT_EQ(SpawnList[MapIndex].Kind, 9);
            EXPECT_EQ(SpawnList[MapIndex].Y, 0);
        }
    }
}

TEST(Stars, ColumnFollowsCameraWithParallax) {
    TStar star{};
    star.Speed = 16;
    star.X = WithWholePart(star.X, 10);
    EXPECT_EQ(StarColumn(star, 128), 121);  // (10 - 128) * 16 / 256 + 128, toward zero
    star.Speed = 256;
    EXPECT_EQ(StarColumn(star, 128), 10);
    star.X = WithWholePart(star.X, 300);
    EXPECT_EQ(StarColumn(star, 8), 420);
}

TEST(Stars, FallAndWrapAtTheBottom) {
    for (TStar& s : StarField) s = TStar{};
    StarField[0].Speed = 256;
    StarField[0].Y = WithWholePart(StarField[0].Y, 479);
    StarField[1].Speed = 16;
    TimeLeft = 100;
    MoveStars();
    EXPECT_EQ(WholePart(StarField[0].Y), 3);
    EXPECT_EQ(StarField[1].Y, 16 * 1024);  // a quarter pixel
    EXPECT_EQ(StarField[0].X, 0);
    TimeLeft = -1;                          // the stage-1 intro: four times as fast
    MoveStars();
    EXPECT_EQ(WholePart(StarField[0].Y), 19);
    EXPECT_EQ(StarField[1].Y, 5 * 16 * 1024);
}

TEST(Stars, ScatterDrawsThreeNumbersPerStarInRange) {
    RandSeed = 12345;
    ScatterStars();
    const std::uint32_t after = RandSeed;
    RandSeed = 12345;
    for (int i = 0; i < 3 * StarCount; ++i) Random(2);
    EXPECT_EQ(RandSeed, after);
    for (const TStar& s : StarField) {
        EXPECT_GE(s.Speed, 16);
        EXPECT_LE(s.Speed, 271);
        EXPECT_LT(WholePart(s.X), 163840 / s.Speed);
        EXPECT_LT(WholePart(s.Y), 480);
        EXPECT_GE(WholePart(s.Y), 0);
    }
}

TEST(Stars, DrawFillsOnlyThePlayFieldColumns) {
    for (TStar& s : StarField) {
        s = TStar{};
        s.Speed = 16;  // at x 0 and camera 128: column 120, not drawn
    }
    MapPos = TFixedPoint{128 << 16, 0};
    StarField[0].Speed = 256;
    StarField[0].X = WithWholePart(StarField[0].X, 200);  // column 200
    StarField[0].Y = WithWholePart(StarField[0].Y, 5);
    StarField[1].Speed = 16;
    StarField[1].X = WithWholePart(StarField[1].X, 10);   // column 121: outside
    std::vector<std::uint8_t> frame(640 * 480, 0);
    int drawn = 0;
    DrawStarsInto(frame.data(), 640, 640, 480, [&] { ++drawn; return std::uint8_t{77}; });
    EXPECT_EQ(frame[5 * 640 + 200], 77);
    EXPECT_EQ(frame[0 * 640 + 121], 0);
    int count = 0;
    for (std::uint8_t px : frame) count += px != 0;
    EXPECT_EQ(count, 1);
    EXPECT_EQ(drawn, 1);  // a colour is drawn only for a star inside the play field
}

}  // namespace
}  // namespace tz
