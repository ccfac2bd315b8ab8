#pragma once
// PNG output for review pictures (contact sheets, previews).

#include <cstdint>
#include <string>
#include <vector>

namespace art {

// Writes 8-bit RGB pixels (w * h * 3 bytes, top row first); throws std::runtime_error on failure.
void writePng(const std::string& path, int w, int h, const std::vector<std::uint8_t>& rgb);

}  // namespace art
