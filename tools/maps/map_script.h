#pragma once
// The stage script: the readable source of a stage map, as a designer writes it.
//
//   # Everything after '#' is a comment.
//   group <name> <bonus>
//       a formation: when all its members are destroyed, a bonus item worth <bonus> points
//       drops where the last one fell. Groups are numbered 1..255 in the order declared.
//   wave <time> <title ...>
//       a wave entering at <time>; the entries below it are timed from the wave.
//   <offset> <kind> <x> [in <group> [<group>]] [mirror] [repeat <n> every <dt> [step <dx>]]
//       an enemy of <kind> (its name, see kind_names.cpp, or its number) entering <offset>
//       after its wave at start x <x> (the field is 640 wide, 320 its centre; the view,
//       384 wide, pans with the ship);
//       "mirror" adds a twin at 640 - x; "repeat" adds n - 1 more, each <dt> later and <dx>
//       further right (a mirrored twin steps left).
//
// Times are in seconds ("12s", "1.25s") or in scroll units (a bare whole number): the field
// scrolls one unit a tick, 70 units a second, and position 0 enters on the first tick of the
// stage. An offset may start with '+'. Entries may be written in any order of time: they
// enter by time, those at the same time in the order written.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "game/tz_mapfile.h"

namespace mapc {

inline constexpr std::int32_t UnitsPerSecond = 70;

struct TScriptWave {
    std::string Title;
    std::int32_t Position = 0;  // scroll units
    int Line = 0;
};

struct TScriptGroup {
    std::string Name;
    std::int16_t Bonus = 0;
};

struct TScriptEntry {
    std::int32_t Position = 0;  // scroll units
    std::int16_t X = 0;
    std::uint8_t Kind = 0;
    std::uint8_t Group1 = 0, Group2 = 0;  // group numbers, 0 = none
    std::size_t Wave = 0;                 // index into Waves
    int Line = 0;
};

struct TStageScript {
    std::vector<TScriptWave> Waves;
    std::vector<TScriptGroup> Groups;     // group number g is Groups[g - 1]
    std::vector<TScriptEntry> Entries;    // in the order they enter
};

// Reads a script; throws tz::TMapError "file:line: what is wrong".
TStageScript ParseStageScript(std::string_view Text, const std::string& FileName);

// The map the game loads: entries last-to-enter first, groups with their member counts.
tz::TMapData ToMap(const TStageScript& Script);

// The stage's timeline for a designer: one line per wave (time, scroll position, title,
// what enters), in order of time.
std::string Timeline(const TStageScript& Script);

}  // namespace mapc
