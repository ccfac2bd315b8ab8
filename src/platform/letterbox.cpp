#include "platform/letterbox.h"

#include <algorithm>

namespace plat {

Rect letterbox(int frameW, int frameH, int outW, int outH) {
    if (frameW <= 0 || frameH <= 0 || outW <= 0 || outH <= 0) return Rect{};
    const int scale = std::min(outW / frameW, outH / frameH);
    int w = 0, h = 0;
    if (scale >= 1) {
        w = frameW * scale;
        h = frameH * scale;
    } else if (static_cast<long long>(outW) * frameH <= static_cast<long long>(outH) * frameW) {
        w = outW;
        h = static_cast<int>(static_cast<long long>(outW) * frameH / frameW);
    } else {
        h = outH;
        w = static_cast<int>(static_cast<long long>(outH) * frameW / frameH);
    }
    return Rect{(outW - w) / 2, (outH - h) / 2, w, h};
}

}  // namespace plat
