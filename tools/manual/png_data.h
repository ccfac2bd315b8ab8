#pragma once
// Pictures as PNG bytes and as data: URIs, so the manual is one self-contained file.

#include <cstdint>
#include <string>
#include <vector>

#include "compose.h"

namespace manual {

// The PNG file of an RGBA picture; empty when it cannot be encoded.
std::vector<std::uint8_t> encodePng(const RgbaImage& image);

// Standard base64 with padding.
std::string base64(const std::vector<std::uint8_t>& bytes);

// "data:image/png;base64,..."
std::string pngDataUri(const RgbaImage& image);

}  // namespace manual
