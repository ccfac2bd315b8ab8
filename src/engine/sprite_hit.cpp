#include "engine/sprite_hit.h"

#include <algorithm>
#include <cmath>

#include "engine/rotation.h"

namespace engine {

namespace {

struct Centre {
    std::int32_t x, y, radius;
};

// The circles of a pattern placed at the object's position; returns how many there are.
int placeCircles(const sp4::PatternFields& p, const TSpriteRec& s, Centre (&out)[kMaxHitCircles]) {
    const int n = std::min<int>(p.hitLast, kMaxHitCircles - 1) + 1;
    for (int i = 0; i < n; ++i) {
        const THitCircle& h = p.hits[static_cast<std::size_t>(i)];
        TPoint off{h.x, h.y};
        if (s.rotation != 0) off = RotatePoint(h.x, h.y, s.rotation);
        out[i] = Centre{s.xPos() + off.x, s.yPos() + off.y, h.radius};
    }
    return n;
}

bool validPattern(std::int16_t pattern) { return pattern >= 0 && pattern < kPatternCount; }

template <class Table>
bool tableHit(const Table& patterns, const TSpriteRec& a, const TSpriteRec& b) {
    if (!validPattern(a.pattern) || !validPattern(b.pattern)) return false;
    const sp4::PatternFields& pa = patterns[static_cast<std::size_t>(a.pattern)];
    const sp4::PatternFields& pb = patterns[static_cast<std::size_t>(b.pattern)];
    if (pa.hitLast < 0 || pb.hitLast < 0) return false;
    Centre ca[kMaxHitCircles], cb[kMaxHitCircles];
    const int na = placeCircles(pa, a, ca);
    const int nb = placeCircles(pb, b, cb);
    for (int i = 0; i < na; ++i) {
        for (int j = 0; j < nb; ++j) {
            const double dx = static_cast<double>(ca[i].x) - cb[j].x;
            const double dy = static_cast<double>(ca[i].y) - cb[j].y;
            if (static_cast<double>(ca[i].radius) + cb[j].radius > std::sqrt(dx * dx + dy * dy)) return true;
        }
    }
    return false;
}

}  // namespace

bool SpriteHit(const TPatternTable& patterns, const TSpriteRec& a, const TSpriteRec& b) {
    return tableHit(patterns, a, b);
}

bool SpriteHit(const std::array<sp4::PatternFields, kPatternCount>& patterns, const TSpriteRec& a, const TSpriteRec& b) {
    return tableHit(patterns, a, b);
}

}  // namespace engine
