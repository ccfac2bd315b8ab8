#pragma once
// Stage maps and the star field: the spawn entries of the current stage, its two group
// tables, the scroll position and the 1024 background stars.

#include <array>
#include <cstdint>
#include <string>

#include "core/fixed_math.h"
#include "core/random.h"
#include "game/tz_spawnentry.h"
#include "game/tz_star.h"
#include "game/tz_state.h"

namespace tz {

// The stage's part of the game state (tz_state.h).
inline std::array<TSpawnEntry, SpawnListSize>& SpawnList = GameState.Play.SpawnList;
inline TSpawnEntry& ScratchEntry = GameState.Play.SpawnList[ScratchEntryIndex];
inline std::array<std::int16_t, GroupTableSize>& GroupBonus = GameState.Play.GroupBonus;  // paid when group g is completed
inline std::array<std::int16_t, GroupTableSize>& GroupCount = GameState.Play.GroupCount;  // members still to be destroyed
inline TFixedPoint& MapPos = GameState.Play.MapPos;  // x: camera (whole part 8..247), y: scroll position
inline std::int32_t& MapIndex = GameState.Play.MapIndex;  // next entry to release, -1 when none is left
inline std::array<TStar, StarCount>& StarField = GameState.Play.StarField;

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
