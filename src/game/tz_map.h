#pragma once
// Stage maps and the star field: the spawn entries of the current stage, its two group
// tables, the scroll position and the 1024 background stars.

#include <array>
#include <cstdint>
#include <string>

#include "game/tz_math.h"
#include "game/tz_random.h"
#include "game/tz_spawnentry.h"

namespace tz {

inline constexpr int SpawnListSize = 2048;
inline constexpr int ScratchEntryIndex = 2047;  // filled by game objects that spawn others
inline constexpr int StarCount = 1024;

extern std::array<TSpawnEntry, SpawnListSize> SpawnList;
inline TSpawnEntry& ScratchEntry = SpawnList[ScratchEntryIndex];
extern std::array<std::int16_t, 256> GroupBonus;  // bonus paid when group g is completed
extern std::array<std::int16_t, 256> GroupCount;  // members of group g still to be destroyed
extern TFixedPoint MapPos;  // x: camera (whole part 8..247), y: scroll position (falls 1 per tick)
extern std::int32_t MapIndex;  // next entry to release, -1 when none is left
// A background star: Speed 16..271 is both its fall speed (1/64 pixel per tick) and its
// parallax factor; X and Y are 16.16 positions.
struct TStar {
    std::int16_t Speed = 0;
    std::int32_t X = 0;
    std::int32_t Y = 0;
};
extern std::array<TStar, StarCount> StarField;

// Sets StageNo and reads "Map<Stage>.map" from the program folder. Throws TMapError (a
// std::runtime_error naming the file) when the file is missing, short or malformed; the
// current map is then left as it was.
void LoadMap(std::int32_t Stage);
// Loads a map from an explicit path (LoadMap's worker; also used by tests and tools).
void LoadMapFile(const std::string& fileName);

void ScatterStars();
void MoveStars();

// The screen column at which a star is drawn for a camera at whole x camX (the play field is
// columns 128..511; anything else is not drawn).
std::int32_t StarColumn(const TStar& star, std::int32_t camX);
// Draws the stars into the game window's back buffer (nothing without one), each in a colour
// of the drawing generator: a twinkle that never touches the game's generator.
void DrawStars();
// Writes every visible star into an 8-bit frame, each in a colour drawn from pickColour.
// The frame is clipped to width x height.
template <class PickColour>
void DrawStarsInto(std::uint8_t* pixels, std::int32_t pitch, std::int32_t width, std::int32_t height,
                   PickColour&& pickColour) {
    const std::int32_t camX = WholePart(MapPos.x);
    for (const TStar& star : StarField) {
        const std::int32_t column = StarColumn(star, camX);
        const std::int32_t row = WholePart(star.Y);
        if (column < 128 || column >= 512) continue;
        const std::uint8_t colour = pickColour();
        if (column < width && row >= 0 && row < height) pixels[row * pitch + column] = colour;
    }
}

}  // namespace tz
