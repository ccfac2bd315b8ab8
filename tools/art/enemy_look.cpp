#include "enemy_look.h"

#include <cmath>

#include "noise.h"

namespace art::enemy {

namespace {
using look::c;
constexpr float kPi = 3.14159265f;
}  // namespace

Xf identity() {
    return [](const Shape& s) { return s; };
}

Xf placed(float sx, float sy, float angle, Vec2 t) {
    return [=](const Shape& s) { return place(s, sx, sy, angle, t); };
}

void lamp(Canvas& cv, Vec2 p, float r, Ramp colour, float intensity) {
    cv.light(circle(p, r), c(colour, 0.8f), intensity);
    cv.light(circle(p, r * 0.45f), Rgbf{1, 1, 1}, 0.6f * intensity);
    cv.glow(p, r * 2.6f, c(colour, 0.65f), 0.45f * intensity, 1.6f);
}

Material hull(Ramp r, float t, float bevel, float height, float gloss, float elevation) {
    Material m = mat(c(r, t), bevel, height, gloss, elevation);
    return m;
}

Material plated(Ramp r, float t, float bevel, float height, float gloss, float elevation, float cell, int seed) {
    Material m = mat(c(r, t), bevel, height, gloss, elevation);
    m.colour = [r, t, cell, seed](Vec2 p) {
        const float k = hash01(static_cast<int>(std::floor(std::fabs(p.x) / cell)), static_cast<int>(std::floor((p.y + 1000.0f) / (cell * 0.75f))), seed);
        return c(r, t * (0.93f + 0.12f * k));
    };
    return m;
}

void greebles(Canvas& cv, const Shape& region, int seed, int count, float minSize, float maxSize, Ramp r, float t, float elevation) {
    const Box& b = region.box;
    for (int i = 0; i < count; ++i) {
        const float x = std::max(0.0f, b.x0) + (b.x1 - std::max(0.0f, b.x0)) * hash01(i, 1, seed);
        const float y = b.y0 + (b.y1 - b.y0) * hash01(i, 2, seed);
        const float w = minSize + (maxSize - minSize) * hash01(i, 3, seed);
        const float h = minSize + (maxSize - minSize) * hash01(i, 4, seed);
        if (region({x, y}) > -std::max(w, h) * 0.6f - 1.5f) continue;
        const float kind = hash01(i, 5, seed);
        if (kind < 0.45f) {
            cv.paint(mirrorX(rect({x, y}, w * 0.5f, h * 0.5f, 0.8f)), hull(r, t * (0.88f + 0.18f * hash01(i, 6, seed)), 1.0f, 1.0f, 0.4f, elevation));
        } else if (kind < 0.8f) {
            for (int k = 0; k < 3; ++k)
                cv.shade(mirrorX(capsule({x - w * 0.5f, y - h * 0.3f + static_cast<float>(k) * h * 0.3f}, {x + w * 0.5f, y - h * 0.3f + static_cast<float>(k) * h * 0.3f}, 0.45f)), 0.45f, 0.5f);
        } else {
            cv.paint(mirrorX(circle({x - w * 0.3f, y}, 1.2f)), hull(Ramp::Grey, 0.6f, 0.8f, 0.8f, 0.7f, elevation + 1));
            cv.paint(mirrorX(circle({x + w * 0.3f, y}, 1.2f)), hull(Ramp::Grey, 0.6f, 0.8f, 0.8f, 0.7f, elevation + 1));
        }
    }
}

namespace {

// Where a point of a drawing's own frame lands after its transform.
Vec2 mapPoint(const Xf& T, Vec2 p) {
    const Shape s = T(circle(p, 0.01f));
    return {(s.box.x0 + s.box.x1) / 2, (s.box.y0 + s.box.y1) / 2};
}

// The swooping fighter, nose toward +y in its own frame.
void drawFighter(Canvas& cv, const Xf& T, float underside) {
    const float dim = 1.0f - 0.35f * underside;
    cv.paint(T(mirrorPoly({{0, 4}, {7, -4}, {18, 4}, {19, 8}, {9, 6}, {5, 12}, {0, 10}})), hull(Ramp::Gunmetal, 0.42f * dim, 2.0f, 2.0f));
    cv.paint(T(mirrorPoly({{15.5f, 3}, {18, 4}, {19, 8}, {16, 7.5f}})), hull(Ramp::Red, 0.42f * dim, 1.0f, 1.0f, 0.4f, 1.0f));
    const Shape body = mirrorPoly({{0, 19}, {3.5f, 12}, {5.5f, 0}, {5, -12}, {3, -16}, {0, -15}});
    cv.paint(T(body), hull(Ramp::Gunmetal, 0.55f * dim, 2.6f, 2.6f, 0.35f, 1.0f));
    cv.shade(T(capsule({-4, -3}, {4, -3}, 0.3f)), 0.65f);
    cv.shade(T(capsule({0, -12}, {0, -5}, 0.3f)), 0.7f);
    if (underside > 0.5f) {
        lamp(cv, mapPoint(T, {0, 4}), 1.8f, Ramp::Orange);
    } else {
        cv.paint(T(ellipse({0, 9}, 2.2f, 3.6f)), hull(Ramp::Red, 0.5f, 1.5f, 1.5f, 0.9f, 3.0f));
        cv.light(T(ellipse({-0.5f, 8}, 0.7f, 1.4f)), c(Ramp::Red, 0.9f), 0.7f);
    }
    for (float ex : {-2.5f, 2.5f}) {
        lamp(cv, mapPoint(T, {ex, -15.5f}), 1.6f, Ramp::Orange);
    }
}

}  // namespace

Picture fighter(int frame) {
    Canvas cv(Box{-21, -22, 21, 22});
    const float sy[] = {1.0f, 0.72f, -0.45f, -1.0f};
    drawFighter(cv, placed(1.0f, sy[frame], 0), frame == 2 ? 1.0f : 0.0f);
    Picture p = cv.finish();
    return p.hit(frame == 2 ? 14 : 17);
}

Picture gunPodBody() {
    Canvas cv(Box{-18, -18, 18, 22});
    // Five barrels fanned downward.
    for (int i = -2; i <= 2; ++i) {
        const float a = kPi / 2 + static_cast<float>(i) * 0.32f;
        cv.paint(capsule({0, 4}, {std::cos(a) * 17, 4 + std::sin(a) * 17}, 1.5f), hull(Ramp::Grey, 0.35f, 1.0f, 1.2f, 0.5f));
        lamp(cv, {std::cos(a) * 17.5f, 4 + std::sin(a) * 17.5f}, 1.0f, Ramp::Orange, 0.8f);
    }
    const Shape dome = circle({0, 0}, 13);
    cv.paint(dome, hull(Ramp::Rust, 0.42f, 5.0f, 4.0f, 0.4f, 1.0f));
    cv.shade(ring({0, 0}, 8.5f, 0.6f), 0.6f);
    for (int i = 0; i < 8; ++i) {
        const float a = static_cast<float>(i) * kPi / 4.0f + 0.3f;
        cv.paint(circle({std::cos(a) * 11, std::sin(a) * 11}, 0.9f), hull(Ramp::Rust, 0.6f, 0.8f, 0.8f, 0.6f, 4.0f));
    }
    cv.paint(circle({0, 0}, 5.0f), hull(Ramp::Gunmetal, 0.35f, 2.0f, 2.0f, 0.6f, 5.0f));
    lamp(cv, {0, 1}, 2.4f, Ramp::Red);
    Picture p = cv.finish();
    return p.hit(18);
}

Picture gunPodSide(float side) {
    Canvas cv(Box{-22, -14, 22, 14});
    const float x = -9.0f * (side < 0 ? 1.0f : -1.0f);
    const Shape fin = polygon({{x - 6 * (side < 0 ? 1.f : -1.f), -10}, {x + 5 * (side < 0 ? 1.f : -1.f), -6}, {x + 5 * (side < 0 ? 1.f : -1.f), 8},
                               {x - 7 * (side < 0 ? 1.f : -1.f), 11}});
    cv.paint(fin, hull(Ramp::Rust, 0.32f, 2.0f, 2.0f, 0.3f));
    cv.shade(capsule({x - 3, -2}, {x + 3, -2}, 0.35f), 0.6f);
    lamp(cv, {x, 6}, 1.3f, Ramp::Red, 0.8f);
    return cv.finish();
}

Picture gunship() {
    Canvas cv(Box{-48, -34, 48, 36});
    // Twin hulls joined by a wing, beam emitters at the tips.
    const Shape wing = mirrorPoly({{0, -8}, {30, -12}, {44, -2}, {44, 6}, {30, 4}, {0, 10}});
    cv.paint(wing, hull(Ramp::Violet, 0.33f, 3.0f, 2.5f));
    cv.shade(mirrorX(capsule({12, -2}, {36, -4}, 0.4f)), 0.65f);
    for (float sx : {-1.0f, 1.0f}) {
        const Shape pod = translate(mirrorPoly({{0, 30}, {5.5f, 20}, {7, -10}, {6, -28}, {0, -30}}), {18 * sx, 0});
        cv.paint(pod, hull(Ramp::Gunmetal, 0.5f, 3.0f, 3.0f, 0.35f, 1.0f));
        cv.shade(capsule({18 * sx, -20}, {18 * sx, 12}, 0.35f), 0.7f);
        lamp(cv, {18 * sx, -27}, 2.2f, Ramp::Orange);
        cv.paint(rect({44 * sx, 2}, 2.5f, 7, 1.5f), hull(Ramp::Grey, 0.4f, 1.2f, 1.5f, 0.5f, 2.0f));
        lamp(cv, {44 * sx, 9}, 1.8f, Ramp::Magenta);
    }
    greebles(cv, wing, 21, 20, 2, 5, Ramp::Violet, 0.38f, 3.0f);
    const Shape core = mirrorPoly({{0, 26}, {7, 14}, {8, -6}, {5, -18}, {0, -20}});
    cv.paint(core, hull(Ramp::Violet, 0.5f, 3.5f, 3.5f, 0.4f, 2.0f));
    cv.paint(ellipse({0, 10}, 3.2f, 6), hull(Ramp::Red, 0.45f, 2.0f, 2.0f, 0.9f, 4.0f));
    cv.light(ellipse({-1, 8}, 1.0f, 2.0f), c(Ramp::Red, 0.95f), 0.7f);
    Picture p = cv.finish();
    return p.hit(26, 0, 0).hit(20, -30, 0).hit(20, 30, 0);
}

Picture diver(int direction8) {
    Canvas cv(Box{-22, -22, 22, 22});
    const Xf T = placed(1, 1, static_cast<float>(direction8) * kPi / 4.0f);
    // Drawn pointing right (+x).
    cv.paint(T(polygon({{-2, -4}, {-12, -16}, {-7, -16}, {6, -5}})), hull(Ramp::Violet, 0.4f, 1.5f, 1.5f));
    cv.paint(T(polygon({{-2, 4}, {-12, 16}, {-7, 16}, {6, 5}})), hull(Ramp::Violet, 0.4f, 1.5f, 1.5f));
    const Shape body = polygon({{17, 0}, {8, -5}, {-10, -6}, {-14, 0}, {-10, 6}, {8, 5}});
    cv.paint(T(body), hull(Ramp::Gunmetal, 0.5f, 2.5f, 2.5f, 0.35f, 1.0f));
    cv.shade(T(capsule({-6, 0}, {4, 0}, 0.3f)), 0.7f);
    cv.paint(T(ellipse({9, 0}, 4, 2.2f)), hull(Ramp::Red, 0.5f, 1.5f, 1.5f, 0.9f, 3.0f));
    lamp(cv, mapPoint(T, {9.5f, 0}), 1.3f, Ramp::Red, 0.9f);
    lamp(cv, mapPoint(T, {-14, 0}), 1.8f, Ramp::Orange, 0.9f);
    Picture p = cv.finish();
    return p.hit(14);
}

Picture heavyCraft() {
    Canvas cv(Box{-58, -56, 58, 58});
    const Shape wings = mirrorPoly({{0, -20}, {40, -30}, {56, -18}, {54, 4}, {34, 10}, {0, 14}});
    cv.paint(wings, hull(Ramp::Rust, 0.32f, 4.0f, 3.0f));
    for (float sx : {-1.0f, 1.0f}) {
        cv.shade(capsule({14 * sx, -14}, {48 * sx, -20}, 0.5f), 0.65f);
        cv.shade(capsule({14 * sx, 4}, {46 * sx, 0}, 0.5f), 0.65f);
        for (float ex : {26.0f, 44.0f}) {
            cv.paint(rect({ex * sx, -34}, 5.5f, 9, 3), hull(Ramp::Gunmetal, 0.4f, 2.5f, 3.0f, 0.4f, 1.5f));
            lamp(cv, {ex * sx, -43}, 3.0f, Ramp::Orange);
        }
        lamp(cv, {54 * sx, -6}, 1.8f, Ramp::Red, 0.9f);
    }
    greebles(cv, wings, 31, 40, 3, 7, Ramp::Rust, 0.4f, 3.0f);
    const Shape body = mirrorPoly({{0, 56}, {12, 44}, {18, 20}, {18, -30}, {12, -48}, {0, -50}});
    cv.paint(body, plated(Ramp::Gunmetal, 0.5f, 6.0f, 5.0f, 0.35f, 2.0f, 10, 3));
    greebles(cv, body, 32, 30, 2, 5, Ramp::Gunmetal, 0.5f, 7.0f);
    for (float y : {-30.0f, -12.0f, 6.0f, 24.0f}) cv.shade(capsule({-15, y}, {15, y}, 0.5f), 0.65f, 0.3f);
    cv.shade(capsule({0, -46}, {0, 40}, 0.4f), 0.75f);
    cv.paint(mirrorPoly({{0, 50}, {8, 40}, {9, 30}, {0, 34}}), hull(Ramp::Rust, 0.5f, 2.0f, 2.0f, 0.5f, 6.0f));
    for (float y : {-22.0f, -4.0f, 14.0f}) {
        cv.paint(mirrorX(circle({11, y}, 1.3f)), hull(Ramp::Grey, 0.6f, 1.0f, 1.0f, 0.7f, 7.0f));
    }
    lamp(cv, {0, 40}, 2.6f, Ramp::Red);
    Picture p = cv.finish();
    return p.hit(26, 0, 10).hit(22, 0, -28).hit(20, -38, -12).hit(20, 38, -12);
}

Picture midBoss(int frame) {
    // 0 dive (wings folded), 1 idle, 2..4 charging, 5 firing. Faces down.
    Canvas cv(Box{-88, -70, 88, 90});
    const bool folded = frame == 0;
    const float span = folded ? 0.55f : 1.0f;
    const Shape wing = mirrorPoly({{0, -30}, {50 * span, -50}, {84 * span, -30}, {80 * span, -6}, {60 * span, 10}, {40 * span, 30}, {0, 20}});
    cv.paint(wing, plated(Ramp::Violet, 0.3f, 5.0f, 4.0f, 0.3f, 0.0f, 16, 5));
    for (float sx : {-1.0f, 1.0f}) {
        cv.shade(capsule({20 * sx, -20}, {70 * span * sx, -30}, 0.6f), 0.6f, 0.3f);
        cv.shade(capsule({24 * sx, 6}, {60 * span * sx, -8}, 0.6f), 0.6f, 0.3f);
        cv.paint(rect({62 * span * sx, -14}, 6, 16, 4), hull(Ramp::Gunmetal, 0.42f, 3.0f, 3.0f, 0.35f, 2.0f));
        lamp(cv, {62 * span * sx, -32}, 3.5f, Ramp::Orange);
        lamp(cv, {80 * span * sx, -16}, 2.2f, Ramp::Red, 0.9f);
        cv.paint(rect({36 * sx, 26}, 5, 10, 3), hull(Ramp::Gunmetal, 0.38f, 2.0f, 2.5f, 0.4f, 2.0f));
    }
    greebles(cv, wing, 41, 60, 3, 8, Ramp::Violet, 0.36f, 4.0f);
    const Shape body = mirrorPoly({{0, 72}, {14, 58}, {24, 20}, {26, -30}, {16, -60}, {0, -66}});
    cv.paint(body, plated(Ramp::Gunmetal, 0.52f, 8.0f, 6.0f, 0.4f, 3.0f, 12, 4));
    greebles(cv, body, 42, 40, 2, 6, Ramp::Gunmetal, 0.5f, 9.0f);
    for (float y : {-40.0f, -20.0f, 0.0f}) cv.shade(capsule({-20, y}, {20, y}, 0.6f), 0.65f, 0.3f);
    cv.paint(mirrorPoly({{0, -18}, {10, -26}, {10, -48}, {0, -54}}), hull(Ramp::Violet, 0.5f, 3.0f, 3.0f, 0.6f, 9.0f));
    // The beam cannon in the nose.
    cv.paint(ellipse({0, 48}, 9, 14), hull(Ramp::Grey, 0.3f, 3.0f, 3.0f, 0.6f, 8.0f));
    cv.paint(circle({0, 56}, 6), hull(Ramp::Magenta, 0.35f, 2.5f, 2.0f, 0.9f, 10.0f));
    const float charge[] = {0.2f, 0.35f, 0.6f, 0.85f, 1.1f, 1.4f};
    const float q = charge[frame];
    cv.light(circle({0, 56}, 5), c(Ramp::Magenta, 0.8f), q);
    cv.glow({0, 56}, 6 + 14 * q, c(Ramp::Magenta, 0.7f), 0.6f * q, 1.5f);
    if (frame >= 2) cv.glow({0, 56}, 4 + 4 * q, Rgbf{1, 1, 1}, 0.8f * q, 1.2f);
    if (frame == 5) {
        cv.glowLine({0, 56}, {0, 90}, 8, c(Ramp::Violet, 0.8f), 1.0f, 1.3f);
        cv.glowLine({0, 56}, {0, 90}, 3, Rgbf{1, 1, 1}, 1.2f, 0.8f);
    }
    lamp(cv, {0, -40}, 3.0f, Ramp::Red);
    Picture p = cv.finish();
    if (folded) return p.hit(30, 0, 20).hit(28, 0, -30).hit(22, -36, -24).hit(22, 36, -24);
    return p.hit(34, 0, 10).hit(28, 0, -40).hit(30, -58, -18).hit(30, 58, -18);
}

}  // namespace art::enemy
