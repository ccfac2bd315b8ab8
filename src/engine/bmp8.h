#pragma once
// 8-bit paletted Windows bitmaps (BITMAPFILEHEADER + BITMAPINFOHEADER, 256-entry palette,
// uncompressed rows stored bottom-up and padded to 4 bytes). The writer serves the data
// generators and tests; the reader is a strict check of exactly that form, used to verify
// generated files (the game itself loads pictures through the platform layer).

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace engine::bmp8 {

// An 8-bit picture in memory: width * height palette indices, top row first.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
    plat::Palette palette{};

    Image() = default;
    Image(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0) {}
    std::uint8_t& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)]; }
    std::uint8_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)]; }
};

inline constexpr int kFileHeaderSize = 14;
inline constexpr int kInfoHeaderSize = 40;
inline constexpr int kPaletteBytes = 256 * 4;
inline constexpr int kPixelOffset = kFileHeaderSize + kInfoHeaderSize + kPaletteBytes;

// Bytes per stored row: width rounded up to a multiple of 4.
constexpr int rowStride(int width) { return (width + 3) & ~3; }

// The file's bytes. An image with a non-positive size or a pixel count that does not match
// width * height gives an empty vector.
std::vector<std::uint8_t> encode(const Image& image);

// Writes encode() to path; false when the image is invalid or the file could not be written.
bool write(const std::string& path, const Image& image);

// Parses an uncompressed 8-bit bitmap with a BITMAPINFOHEADER (bottom-up or top-down).
// Returns nothing for any other form or a truncated file.
std::optional<Image> decode(std::span<const std::uint8_t> bytes);
std::optional<Image> read(const std::string& path);

}  // namespace engine::bmp8
