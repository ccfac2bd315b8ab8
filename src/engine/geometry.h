#pragma once
// Rectangles and points in surface pixels. A rectangle's left and top are inclusive, its
// right and bottom exclusive.

#include <cstdint>

#include "engine/sp4_format.h"

namespace engine {

using TRect = sp4::Rect;

struct TPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

}  // namespace engine

namespace engine::sp4 {
inline bool operator==(const Rect& a, const Rect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
}  // namespace engine::sp4
