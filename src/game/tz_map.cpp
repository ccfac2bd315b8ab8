#include "game/tz_map.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "game/tz_mapfile.h"
#include "core/data_path.h"
#include "game/tz_globals.h"
#include "game/tz_main.h"

namespace tz {


void LoadMapFile(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    if (!in) throw TMapError("stage map \"" + fileName + "\": cannot open the file");
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) throw TMapError("stage map \"" + fileName + "\": read error");
    const TMapData map = DecodeMap(bytes, fileName);  // refuses before anything is changed

    // Entry 2047 (the scratch entry) is never part of a map: DecodeMap allows at most 2047.
    // Nothing of the previous stage stays behind the new entries (the whole list is part of
    // the game state); the scratch entry is not the map's.
    std::fill(SpawnList.begin(), SpawnList.begin() + ScratchEntryIndex, TSpawnEntry{});
    std::copy(map.Entries.begin(), map.Entries.end(), SpawnList.begin());
    MapIndex = static_cast<std::int32_t>(map.Entries.size()) - 1;
    GroupBonus = map.GroupBonus;
    GroupCount = map.GroupCount;
    MapPos = TFixedPoint{0, 0};
}

void LoadMap(std::int32_t Stage) {
    StageNo = Stage;
    char name[32];
    std::snprintf(name, sizeof name, "Map%d.map", static_cast<int>(Stage));
    // Found like every data file: in the program's folder, else beside the executable.
    const std::string path = DataPath(name, ".map");
    LoadMapFile(path.empty() ? ProgramDir() + name : path);
}

void ScatterStars() {
    // Fractions start at 0, so nothing of an earlier stage or game survives a scatter.
    for (TStar& star : StarField) {
        star.Speed = static_cast<std::int16_t>(Random(256) + 16);
        star.X = Random(163840 / star.Speed) * 65536;
        star.Y = Random(480) * 65536;
    }
}

void MoveStars() {
    const std::int32_t m = TimeLeft < 0 ? 4 : 1;  // the stage-1 intro races through the stars
    for (TStar& star : StarField) {
        star.X += CosTab[64] * star.Speed * m;
        star.Y += SinTab[64] * star.Speed * m;
        if (WholePart(star.Y) >= 480) star.Y = WithWholePart(star.Y, static_cast<std::int16_t>(WholePart(star.Y) - 480));
    }
}

void DrawStars() {
    if (Form1 == nullptr || Form1->Sprite.BackBuffer() == nullptr || Form1->Sprite.BackBuffer()->empty()) return;
    engine::Surface& back = *Form1->Sprite.BackBuffer();
    DrawStarsInto(back.pixels.data(), back.pitch, back.width, back.height,
                  [] { return static_cast<std::uint8_t>(DrawRandom.Random(256)); });
}

std::int32_t StarColumn(const TStar& star, std::int32_t camX) {
    return (WholePart(star.X) - camX) * star.Speed / 256 + 128;
}

}  // namespace tz
