#pragma once
// An 8-bit software surface: the engine's stand-in for a display surface. Pixels are
// palette indices; the colour key (when set) marks the transparent index for keyed blits.

#include <cstdint>
#include <vector>

namespace engine {

struct Surface {
    int width = 0;
    int height = 0;
    int pitch = 0;                      // bytes per row (>= width)
    std::vector<std::uint8_t> pixels;   // pitch * height bytes, allocated at creation only
    std::uint32_t colorKey = 0;         // source colour key (low byte is the index in 8-bit)
    bool hasColorKey = false;
    bool sysMem = false;                // kept for the memory-kind flag; no effect on speed

    Surface() = default;
    Surface(int w, int h) { resize(w, h); }

    void resize(int w, int h) {
        width = w;
        height = h;
        pitch = (w + 31) & ~31;         // rows start 32-byte aligned within the buffer
        pixels.assign(static_cast<std::size_t>(pitch) * static_cast<std::size_t>(h > 0 ? h : 0), 0);
    }
    std::uint8_t* row(int y) { return pixels.data() + static_cast<std::ptrdiff_t>(y) * pitch; }
    const std::uint8_t* row(int y) const { return pixels.data() + static_cast<std::ptrdiff_t>(y) * pitch; }
    bool empty() const { return width <= 0 || height <= 0; }
};

}  // namespace engine
