#pragma once
// Standard MIDI File output (format 1): a conductor track with the title, time signature
// and tempo map, then one track per score track.
#include <cstdint>
#include <filesystem>
#include <vector>

#include "score.h"

namespace mml {

std::vector<std::uint8_t> encode_smf(const Score& score);
void write_smf(const std::filesystem::path& file, const Score& score);

}  // namespace mml
