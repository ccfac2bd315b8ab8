// Bank 0: shots, small effects, score and caption text, items for bonuses.

#include <cmath>
#include <string>

#include "art.h"

namespace art {

namespace {

using look::c;

constexpr float kPi = 3.14159265f;

FinishOptions softGlow() {
    FinishOptions o;
    o.soft = true;
    o.rim = false;
    o.alphaCut = 0.12f;
    o.dither = 0.04f;
    return o;
}

Picture digit(char ch, float px, Rgbf top, Rgbf bottom, float outline = 1.4f) {
    return look::caption(std::string(1, ch), px, top, bottom, 0.0f, outline);
}

// A four-pointed star of light (sparkles, caption sparks).
Picture starSpark(float r, Rgbf col, float core) {
    Canvas cv(Box{-r - 2, -r - 2, r + 2, r + 2});
    cv.glowLine({-r, 0}, {r, 0}, r * 0.28f, col, 1.3f, 1.2f);
    cv.glowLine({0, -r}, {0, r}, r * 0.28f, col, 1.3f, 1.2f);
    cv.glow({0, 0}, r * 0.55f, col, 0.8f, 1.5f);
    cv.glow({0, 0}, r * 0.35f, Rgbf{1, 1, 1}, core, 1.2f);
    return cv.finish(softGlow());
}

Picture valcanBullet() {
    Canvas cv(Box{-4, -11, 4, 9});
    cv.glowLine({0, -8}, {0, 7}, 3.6f, c(Ramp::Cyan, 0.65f), 1.1f, 1.3f);
    cv.glowLine({0, -8}, {0, 5}, 1.6f, Rgbf{1, 1, 1}, 1.2f, 0.8f);
    Picture p = cv.finish(softGlow());
    return p.hit(4, 0, -3).hit(4, 0, 3);
}

Picture muzzleFlash(float size) {
    Canvas cv(Box{-size, -size, size, size});
    for (int i = 0; i < 6; ++i) {
        const float a = -kPi / 2 + (static_cast<float>(i) - 2.5f) * 0.45f;
        const float len = size * (i == 2 || i == 3 ? 1.0f : 0.7f);
        cv.glowLine({0, 0}, {std::cos(a) * len, std::sin(a) * len}, size * 0.3f, c(Ramp::Cyan, 0.7f), 0.9f, 1.3f);
    }
    cv.glow({0, 0}, size * 0.6f, Rgbf{1, 1, 1}, 1.0f, 1.4f);
    return cv.finish(softGlow());
}

// Hit sparks fly "down" in the stored picture; the game turns them along their flight.
Picture hitSpark(int frame) {
    const float len = 9.0f - 2.0f * static_cast<float>(frame);
    const float bright = 1.0f - 0.25f * static_cast<float>(frame);
    Canvas cv(Box{-8, -4, 8, 11});
    const float spread[] = {-0.55f, -0.2f, 0.15f, 0.5f};
    for (int i = 0; i < 4; ++i) {
        const float a = kPi / 2 + spread[i];
        const float l = len * (i % 2 ? 1.0f : 0.75f);
        cv.glowLine({0, 0}, {std::cos(a) * l, std::sin(a) * l}, 1.8f, c(Ramp::Gold, 0.8f), 1.2f * bright, 1.0f);
    }
    cv.glow({0, 0}, 3.5f, Rgbf{1, 1, 1}, bright, 1.2f);
    Picture p = cv.finish(softGlow());
    return p.rotations(16);
}

Picture warningArrow() {
    Canvas cv(Box{-13, -16, 13, 16});
    const Shape arrow = mirrorPoly({{0, 14}, {11, 2}, {11, -2}, {4.5f, 4}, {4.5f, -14}, {0, -14}});
    cv.glow({0, 0}, 16, c(Ramp::Red, 0.55f), 0.6f, 1.6f);
    Material m;
    m.colour = vgrad(c(Ramp::Orange, 0.85f), c(Ramp::Red, 0.5f), -14, 14);
    m.bevel = 2.5f;
    m.height = 2;
    m.gloss = 0.6f;
    cv.paint(arrow, m);
    cv.light(offset(arrow, -3.0f), c(Ramp::Gold, 0.8f), 0.35f);
    return cv.finish();
}

// A torn piece of the player's hull, tumbling: frame f turns it and foreshortens it.
Picture wreckage(int f) {
    const float a = static_cast<float>(f) * kPi / 6.0f;
    const float squash = 0.45f + 0.55f * std::fabs(std::cos(static_cast<float>(f) * kPi / 5.0f));
    Canvas cv(Box{-10, -10, 10, 10});
    const Shape piece = polygon({{-7, -3}, {-2, -6}, {6, -4}, {8, 1}, {3, 2}, {1, 6}, {-5, 4}});
    auto T = [&](const Shape& s) {
        const Shape sq{[s, squash](Vec2 p) { return s({p.x, p.y / squash}) * squash; }, Box{s.box.x0, s.box.y0 * squash, s.box.x1, s.box.y1 * squash}};
        return rotate(sq, a);
    };
    cv.paint(T(piece), mat(c(Ramp::Steel, 0.7f), 1.5f, 1.5f, 0.5f));
    cv.paint(T(polygon({{2, -5}, {6, -4}, {8, 1}, {5, 1.5f}})), mat(c(Ramp::Red, 0.5f), 1, 1, 0.4f, 0.5f));
    cv.shade(T(capsule({-4, 0}, {4, -1}, 0.3f)), 0.6f);
    cv.glow(Vec2{std::cos(a) * -6, std::sin(a) * -6}, 4, c(Ramp::Orange, 0.7f), 0.5f, 1.5f);
    return cv.finish();
}

Picture shard(int f) {
    const float s = 1.0f - 0.13f * static_cast<float>(f);
    Canvas cv(Box{-6, -6, 6, 6});
    const Shape sl = rotate(polygon({{-4.5f * s, 0.5f}, {0, -2.0f * s}, {4.5f * s, -0.5f}, {0, 1.8f * s}}), static_cast<float>(f) * 0.9f);
    cv.paint(sl, mat(c(Ramp::Steel, 0.9f - 0.1f * static_cast<float>(f)), 1.0f, 1.0f, 0.9f));
    cv.glow({0, 0}, 4.0f * s, c(Ramp::Gold, 0.8f), 0.5f - 0.08f * static_cast<float>(f), 1.5f);
    return cv.finish();
}

// Bonus items: a gem in a gold ring (small), a gold crystal (medium), a gold medal star (large).
Picture bonusItem(int size) {
    const float r = 11.0f + 3.0f * static_cast<float>(size);
    Canvas cv(Box{-r - 4, -r - 4, r + 4, r + 4});
    cv.glow({0, 0}, r + 4, c(Ramp::Gold, 0.6f), 0.45f, 1.5f);
    if (size == 0) {
        cv.paint(ring({0, 0}, r - 2.5f, 4.0f), mat(c(Ramp::Gold, 0.6f), 1.8f, 1.8f, 0.7f));
        const Shape gem = polygon({{0, -7}, {6, -1}, {0, 8}, {-6, -1}});
        cv.paint(gem, mat(c(Ramp::Toxic, 0.55f), 2.5f, 2.5f, 0.9f, 1));
        cv.light(polygon({{0, -6}, {-4.5f, -1}, {0, -1}}), c(Ramp::Toxic, 0.95f), 0.6f);
    } else if (size == 1) {
        const Shape gem = polygon({{0, -r + 1}, {r * 0.7f, -r * 0.25f}, {r * 0.45f, r * 0.8f}, {-r * 0.45f, r * 0.8f}, {-r * 0.7f, -r * 0.25f}});
        cv.paint(offset(gem, 1.2f), mat(c(Ramp::Rust, 0.35f), 1, 1, 0.2f));
        cv.paint(gem, mat(c(Ramp::Gold, 0.7f), 4.0f, 3.5f, 0.9f, 1));
        cv.shade(outline(offset(gem, -4.5f), 0.6f), 0.7f);
        cv.paint(circle({0, 0}, 3.5f), mat(c(Ramp::Toxic, 0.6f), 2.0f, 1.5f, 1.0f, 4));
    } else {
        std::vector<Vec2> star;
        for (int i = 0; i < 10; ++i) {
            const float a = -kPi / 2 + static_cast<float>(i) * kPi / 5.0f;
            const float rr = i % 2 ? r * 0.48f : r;
            star.push_back({std::cos(a) * rr, std::sin(a) * rr});
        }
        const Shape st = polygon(star);
        cv.paint(offset(st, 1.2f), mat(c(Ramp::Rust, 0.3f), 1, 1, 0.2f));
        cv.paint(st, mat(c(Ramp::Gold, 0.72f), 5.0f, 4.0f, 0.9f, 1));
        cv.paint(circle({0, 0}, 5.5f), mat(c(Ramp::Toxic, 0.55f), 2.5f, 2.0f, 1.0f, 4));
        cv.light(circle({-1.5f, -1.5f}, 1.5f), Rgbf{1, 1, 1}, 0.8f);
    }
    Picture p = cv.finish();
    return p.hit(static_cast<int>(r + 3));
}

}  // namespace

void drawSystemBank(Bank& b) {
    b.set(0, valcanBullet());
    b.set(1, muzzleFlash(8));
    b.set(2, muzzleFlash(5));
    for (int f = 0; f < 3; ++f) b.set(3 + f, hitSpark(f));
    for (int f = 0; f < 4; ++f) b.set(6 + f, starSpark(8.0f - 1.6f * static_cast<float>(f), c(Ramp::Gold, 0.8f), 1.0f - 0.2f * static_cast<float>(f)).rotations(8));

    const Rgbf white{1, 1, 1};
    b.set(10, look::caption("100", 13, white, c(Ramp::Cyan, 0.7f), 0.5f, 1.3f));
    b.set(11, look::caption("300", 13, c(Ramp::Gold, 0.95f), c(Ramp::Gold, 0.6f), 0.5f, 1.3f));
    b.set(12, look::caption("500", 13, c(Ramp::Orange, 0.95f), c(Ramp::Orange, 0.6f), 0.5f, 1.3f));
    for (int d = 0; d < 10; ++d) b.set(13 + d, digit(static_cast<char>('0' + d), 17, white, c(Ramp::Steel, 0.72f)));
    for (int d = 0; d < 10; ++d) b.set(23 + d, digit(static_cast<char>('0' + d), 13, c(Ramp::Gold, 0.97f), c(Ramp::Gold, 0.62f), 1.2f));
    b.set(33, look::caption("BONUS", 11, c(Ramp::Toxic, 0.95f), c(Ramp::Toxic, 0.6f), 1.0f, 1.2f));
    b.set(34, look::caption("BIG BONUS", 12, c(Ramp::Gold, 0.98f), c(Ramp::Orange, 0.65f), 1.0f, 1.3f));
    b.set(35, warningArrow());
    for (int f = 0; f < 6; ++f) b.set(36 + f, wreckage(f));
    for (int f = 0; f < 5; ++f) b.set(42 + f, shard(f));
    for (int s = 0; s < 3; ++s) b.set(47 + s, bonusItem(s));
    b.set(50, look::caption("STAGE", 21, white, c(Ramp::Cyan, 0.62f), 2.0f, 1.6f));
    for (int f = 0; f < 3; ++f)
        b.set(51 + f, starSpark(6.0f - 1.3f * static_cast<float>(f), c(Ramp::Cyan, 0.8f), 1.0f - 0.2f * static_cast<float>(f)).rotations(8));
    b.set(54, look::caption("x", 11, c(Ramp::Gold, 0.95f), c(Ramp::Gold, 0.65f), 0, 1.2f));
    for (int d = 0; d <= 8; ++d) b.set(55 + d, digit(static_cast<char>('0' + d), 12, c(Ramp::Toxic, 0.97f), c(Ramp::Toxic, 0.62f), 1.2f));
    b.set(64, look::caption("STAGE CLEAR", 34, c(Ramp::Gold, 0.98f), c(Ramp::Orange, 0.6f), 2.0f, 2.0f));
    b.set(65, look::caption("MISSION COMPLETE", 30, white, c(Ramp::Cyan, 0.6f), 1.5f, 2.0f));
    b.set(66, look::caption("TIME OVER", 34, c(Ramp::Orange, 0.9f), c(Ramp::Red, 0.45f), 2.0f, 2.0f));
    b.set(67, look::caption("STAGE RESULTS", 24, white, c(Ramp::Steel, 0.65f), 2.0f, 1.8f));
    const char* rows[] = {"TIME", "SHIPS", "BOMBS", "DESTROYED"};
    for (int i = 0; i < 4; ++i) {
        Picture p = look::caption(rows[i], 17, c(Ramp::Cyan, 0.9f), c(Ramp::Steel, 0.55f), 1.5f, 1.5f);
        p.originX = p.width - 100;  // right-aligned: the labels end 100 pixels right of their position
        b.set(68 + i, std::move(p));
    }
    for (int d = 0; d < 10; ++d) b.set(72 + d, digit(static_cast<char>('0' + d), 21, c(Ramp::Gold, 0.98f), c(Ramp::Gold, 0.6f), 1.6f));
    b.set(82, digit('.', 21, c(Ramp::Gold, 0.98f), c(Ramp::Gold, 0.6f), 1.6f));
    b.set(83, digit('.', 21, c(Ramp::Gold, 0.98f), c(Ramp::Gold, 0.6f), 1.6f));
    b.set(84, digit('%', 19, c(Ramp::Gold, 0.98f), c(Ramp::Gold, 0.6f), 1.6f));
}

}  // namespace art
