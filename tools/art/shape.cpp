#include "shape.h"

namespace art {

Shape circle(Vec2 c, float r) {
    return {[=](Vec2 p) { return length(p - c) - r; }, Box{c.x - r, c.y - r, c.x + r, c.y + r}};
}

Shape ellipse(Vec2 c, float rx, float ry) {
    // Scaled-circle distance, corrected by the gradient length: good near the edge.
    return {[=](Vec2 p) {
                const Vec2 q{(p.x - c.x) / rx, (p.y - c.y) / ry};
                const float k0 = length(q);
                const Vec2 g{q.x / rx, q.y / ry};
                const float k1 = length(g);
                return k1 > 1e-6f ? k0 * (k0 - 1.0f) / k1 : -std::min(rx, ry);
            },
            Box{c.x - rx, c.y - ry, c.x + rx, c.y + ry}};
}

Shape rect(Vec2 c, float hw, float hh, float round) {
    return {[=](Vec2 p) {
                const float qx = std::fabs(p.x - c.x) - hw + round, qy = std::fabs(p.y - c.y) - hh + round;
                const float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
                return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - round;
            },
            Box{c.x - hw, c.y - hh, c.x + hw, c.y + hh}};
}

Shape capsule(Vec2 a, Vec2 b, float r) { return taper(a, b, r, r); }

Shape taper(Vec2 a, Vec2 b, float ra, float rb) {
    const float m = std::max(ra, rb);
    return {[=](Vec2 p) {
                const Vec2 pa = p - a, ba = b - a;
                const float den = dot(ba, ba);
                const float h = den > 0 ? std::clamp(dot(pa, ba) / den, 0.0f, 1.0f) : 0.0f;
                return length(pa - ba * h) - (ra + (rb - ra) * h);
            },
            Box{std::min(a.x, b.x) - m, std::min(a.y, b.y) - m, std::max(a.x, b.x) + m, std::max(a.y, b.y) + m}};
}

Shape polygon(std::vector<Vec2> pts) {
    Box bb{1e9f, 1e9f, -1e9f, -1e9f};
    for (const Vec2& v : pts) bb = bb.unite({v.x, v.y, v.x, v.y});
    return {[pts = std::move(pts)](Vec2 p) {
                float d = dot(p - pts[0], p - pts[0]);
                float s = 1.0f;
                const std::size_t n = pts.size();
                for (std::size_t i = 0, j = n - 1; i < n; j = i, ++i) {
                    const Vec2 e = pts[j] - pts[i], w = p - pts[i];
                    const float den = dot(e, e);
                    const Vec2 b = w - e * (den > 0 ? std::clamp(dot(w, e) / den, 0.0f, 1.0f) : 0.0f);
                    d = std::min(d, dot(b, b));
                    const bool c1 = p.y >= pts[i].y, c2 = p.y < pts[j].y, c3 = e.x * w.y > e.y * w.x;
                    if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) s = -s;
                }
                return s * std::sqrt(d);
            },
            bb};
}

Shape mirrorPoly(std::vector<Vec2> halfPts) {
    std::vector<Vec2> all = halfPts;
    for (auto it = halfPts.rbegin(); it != halfPts.rend(); ++it) {
        if (it->x > 0.0f) all.push_back({-it->x, it->y});
    }
    return polygon(std::move(all));
}

Shape ring(Vec2 c, float r, float thickness) {
    return {[=](Vec2 p) { return std::fabs(length(p - c) - r) - thickness * 0.5f; },
            Box{c.x - r - thickness, c.y - r - thickness, c.x + r + thickness, c.y + r + thickness}};
}

Shape unite(const Shape& a, const Shape& b) {
    return {[a, b](Vec2 p) { return std::min(a(p), b(p)); }, a.box.unite(b.box)};
}

Shape unite(std::initializer_list<Shape> shapes) {
    std::vector<Shape> v(shapes);
    Box bb = v.front().box;
    for (const Shape& s : v) bb = bb.unite(s.box);
    return {[v](Vec2 p) {
                float d = 1e9f;
                for (const Shape& s : v) d = std::min(d, s(p));
                return d;
            },
            bb};
}

Shape meet(const Shape& a, const Shape& b) {
    return {[a, b](Vec2 p) { return std::max(a(p), b(p)); }, a.box.meet(b.box)};
}

Shape subtract(const Shape& a, const Shape& b) {
    return {[a, b](Vec2 p) { return std::max(a(p), -b(p)); }, a.box};
}

Shape smoothUnite(const Shape& a, const Shape& b, float k) {
    return {[a, b, k](Vec2 p) {
                const float d1 = a(p), d2 = b(p);
                const float h = std::clamp(0.5f + 0.5f * (d2 - d1) / k, 0.0f, 1.0f);
                return d2 + (d1 - d2) * h - k * h * (1.0f - h);
            },
            a.box.unite(b.box).grown(k)};
}

Shape offset(const Shape& a, float r) {
    return {[a, r](Vec2 p) { return a(p) - r; }, r > 0 ? a.box.grown(r) : a.box};
}

Shape outline(const Shape& a, float w) {
    return {[a, w](Vec2 p) { return std::fabs(a(p)) - w * 0.5f; }, a.box.grown(w)};
}

Shape mirrorX(const Shape& a, float m) {
    const Box mb{2 * m - a.box.x1, a.box.y0, 2 * m - a.box.x0, a.box.y1};
    return {[a, m](Vec2 p) { return std::min(a(p), a({2 * m - p.x, p.y})); }, a.box.unite(mb)};
}

Shape translate(const Shape& a, Vec2 d) {
    return {[a, d](Vec2 p) { return a(p - d); }, Box{a.box.x0 + d.x, a.box.y0 + d.y, a.box.x1 + d.x, a.box.y1 + d.y}};
}

Shape rotate(const Shape& a, float radians, Vec2 c) {
    const float cs = std::cos(radians), sn = std::sin(radians);
    // Bounding box of the rotated box corners.
    Box bb{1e9f, 1e9f, -1e9f, -1e9f};
    for (Vec2 v : {Vec2{a.box.x0, a.box.y0}, Vec2{a.box.x1, a.box.y0}, Vec2{a.box.x0, a.box.y1}, Vec2{a.box.x1, a.box.y1}}) {
        const Vec2 q = v - c;
        const Vec2 r{c.x + q.x * cs - q.y * sn, c.y + q.x * sn + q.y * cs};
        bb = bb.unite({r.x, r.y, r.x, r.y});
    }
    return {[a, cs, sn, c](Vec2 p) {
                const Vec2 q = p - c;
                return a({c.x + q.x * cs + q.y * sn, c.y - q.x * sn + q.y * cs});
            },
            bb};
}

Shape scale(const Shape& a, float k, Vec2 c) {
    return {[a, k, c](Vec2 p) { return a(c + (p - c) * (1.0f / k)) * k; },
            Box{c.x + (a.box.x0 - c.x) * k, c.y + (a.box.y0 - c.y) * k, c.x + (a.box.x1 - c.x) * k, c.y + (a.box.y1 - c.y) * k}};
}

}  // namespace art

namespace art {
Shape place(const Shape& s, float sx, float sy, float angle, Vec2 t) {
    const float cs = std::cos(angle), sn = std::sin(angle);
    Box bb{1e9f, 1e9f, -1e9f, -1e9f};
    for (Vec2 v : {Vec2{s.box.x0, s.box.y0}, Vec2{s.box.x1, s.box.y0}, Vec2{s.box.x0, s.box.y1}, Vec2{s.box.x1, s.box.y1}}) {
        const Vec2 q{v.x * sx, v.y * sy};
        const Vec2 r{t.x + q.x * cs - q.y * sn, t.y + q.x * sn + q.y * cs};
        bb = bb.unite({r.x, r.y, r.x, r.y});
    }
    const float k = std::min(std::fabs(sx), std::fabs(sy));
    return {[s, sx, sy, cs, sn, t, k](Vec2 p) {
                const Vec2 d = p - t;
                const Vec2 q{d.x * cs + d.y * sn, -d.x * sn + d.y * cs};
                return s({q.x / sx, q.y / sy}) * k;
            },
            bb};
}
}  // namespace art
