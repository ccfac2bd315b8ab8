#pragma once
// Loading 8-bit paletted pictures (.bmp) with their palette indices kept. No SDL types here.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace plat {

// A paletted picture: width * height indices, top row first, rows packed (pitch = width).
struct Bitmap8 {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
    Palette palette{};

    bool empty() const { return width <= 0 || height <= 0; }
    void clear() {
        width = height = 0;
        pixels.clear();
        pixels.shrink_to_fit();
    }
    std::uint8_t at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
    }
};

// Loads a .bmp with at most 8 bits per pixel (1, 4 and 8-bit pictures come back as 8-bit
// indices). On failure returns false, leaves out unchanged and puts the reason in error.
// The picture is written into out's own storage, so reloading into a bitmap that already has
// room allocates nothing.
bool loadBitmap8(const std::string& path, Bitmap8& out, std::string& error);

// The size in pixels of a .bmp, from its headers alone (checked as loadBitmap8 checks them).
bool readBitmapSize(const std::string& path, int& width, int& height, std::string& error);

}  // namespace plat
