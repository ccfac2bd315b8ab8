#pragma once
// The position part of a drawn object, as the sprite drawing and the sprite hit test take it.
// Game object records hold these four fields in this order and pass that part directly.

#include <cstdint>

namespace engine {

struct TSpriteRec {
    std::int32_t x = 0;          // 16.16 fixed point; the high 16 bits are the pixel column
    std::int32_t y = 0;          // 16.16 fixed point; the high 16 bits are the pixel row
    std::uint8_t rotation = 0;   // 256 steps per turn; 0 = as stored
    std::int16_t pattern = -1;   // 0..1023; negative = nothing to draw or test

    std::int16_t xPos() const { return static_cast<std::int16_t>(static_cast<std::uint32_t>(x) >> 16); }
    std::int16_t yPos() const { return static_cast<std::int16_t>(static_cast<std::uint32_t>(y) >> 16); }
    void setPos(int px, int py) {
        x = static_cast<std::int32_t>(static_cast<std::uint32_t>(px) << 16);
        y = static_cast<std::int32_t>(static_cast<std::uint32_t>(py) << 16);
    }
};

}  // namespace engine
