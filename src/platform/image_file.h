#pragma once
// Writing screenshots. No SDL.

#include <cstdint>
#include <string>

namespace plat {

// Writes width x height RGBA pixels (4 bytes each, rows top to bottom, no padding) as a
// PNG file. False when the file could not be written.
bool writePng(const std::string& path, const std::uint8_t* rgba, int width, int height);

}  // namespace plat
