#pragma once
// The colour-mix table: for every pair of palette colours the index of the palette entry
// nearest to their weighted sum, and its 65,536-byte cache file.

#include <string>

#include "engine/draw_modes.h"
#include "platform/platform.h"

namespace engine {

// table[j * 256 + i] = nearest entry to colour i * rateA% + colour j * rateB%, each channel
// clamped to 255; the lowest index wins ties.
void computeAddTable(const plat::Palette& palette, int rateA, int rateB, MixTable& table);

// Reads a cache file; false (table untouched) unless it holds exactly 65,536 bytes.
bool readAddTable(const std::string& path, MixTable& table);

// Writes a cache file; false when it could not be written completely (a partial file is
// removed, so it is not mistaken for a cache later).
bool writeAddTable(const std::string& path, const MixTable& table);

}  // namespace engine
