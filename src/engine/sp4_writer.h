#pragma once
// Writes .sp4 bank layout files: the 6-byte header followed by one 100-byte record per
// pattern. The header is written exactly as given, so a caller can also produce files whose
// Last disagrees with the records that follow (for testing the reader's checks);
// headerFor() gives the consistent header for a list of patterns.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "engine/sp4_format.h"

namespace engine::sp4 {

// The header matching a pattern list: Last = count - 1 (-1 for none).
Header headerFor(std::span<const PatternFields> patterns, bool rotate = false, bool sysMem = false);

// The file's bytes: header, then every record in order.
std::vector<std::uint8_t> encodeFile(const Header& header, std::span<const PatternFields> patterns);

// Writes encodeFile() to path. Returns false when the file could not be written completely.
bool writeFile(const std::string& path, const Header& header, std::span<const PatternFields> patterns);

}  // namespace engine::sp4
