// Banks 5 and 6: the final boss in its first and damaged forms, and its bullets.

#include <cmath>

#include "art.h"
#include "enemy_look.h"
#include "noise.h"

namespace art {

void drawBossBBulletFrames(Bank& b);

namespace {

using enemy::hull;
using enemy::lamp;
using look::c;
constexpr float kPi = 3.14159265f;

// The fortress: about 380 pixels across, its two guns 130 pixels left and right of the centre.
Picture finalBoss(bool damaged) {
    Canvas cv(Box{-192, -160, 192, 160});
    const float scorch = damaged ? 0.8f : 1.0f;
    // Outer wings.
    const Shape wings = mirrorPoly({{0, -100}, {90, -130}, {160, -110}, {190, -60}, {186, 10}, {160, 60}, {110, 90}, {0, 100}});
    Material wm;
    wm.colour = [scorch](Vec2 p) { return mix(c(Ramp::Violet, 0.28f), c(Ramp::Gunmetal, 0.34f), 0.5f + 0.5f * std::sin(p.y * 0.02f)) * scorch; };
    wm.bevel = 16;
    wm.height = 8;
    wm.gloss = 0.3f;
    cv.paint(wings, wm);
    enemy::greebles(cv, subtract(wings, unite(circle({130, 0}, 40), circle({-130, 0}, 40))), 81, 160, 3, 10, Ramp::Violet, 0.34f * scorch, 10);
    for (float sx : {-1.0f, 1.0f}) {
        for (float y : {-90.0f, -50.0f, 20.0f, 55.0f}) cv.shade(capsule({60 * sx, y}, {176 * sx, y * 0.8f}, 0.9f), 0.62f, 0.5f);
        cv.shade(capsule({160 * sx, -100}, {160 * sx, 50}, 0.9f), 0.62f, 0.5f);
        // Ribs and armour plates.
        for (int i = 0; i < 4; ++i) {
            const float x = (70.0f + 30.0f * static_cast<float>(i)) * sx;
            cv.paint(rect({x, -104 + 6.0f * static_cast<float>(i)}, 9, 14, 4), hull(Ramp::Gunmetal, 0.45f * scorch, 3, 3, 0.4f, 4));
            lamp(cv, {x, -118 + 6.0f * static_cast<float>(i)}, 3, Ramp::Orange, damaged && i == 2 ? 0.2f : 1.0f);
        }
        // The gun pods at x = +-130.
        const Vec2 g{130 * sx, 0};
        cv.paint(circle(g, 36), hull(Ramp::Gunmetal, 0.42f * scorch, 12, 8, 0.4f, 6));
        cv.shade(ring(g, 26, 1.2f), 0.6f);
        for (int i = 0; i < 8; ++i) {
            const float a = static_cast<float>(i) * kPi / 4 + 0.2f;
            cv.paint(circle({g.x + std::cos(a) * 31, g.y + std::sin(a) * 31}, 2.2f), hull(Ramp::Rust, 0.55f, 1.5f, 1.5f, 0.6f, 14));
        }
        cv.paint(circle(g, 16), hull(Ramp::Rust, 0.4f, 5, 4, 0.7f, 14));
        cv.paint(circle(g, 9), hull(Ramp::Magenta, 0.3f, 3, 3, 0.9f, 18));
        cv.light(circle(g, 8), c(Ramp::Magenta, 0.75f), 0.9f);
        cv.glow(g, 22, c(Ramp::Magenta, 0.6f), 0.45f, 1.6f);
        // Claws below the pods.
        cv.paint(polygon({{g.x - 18 * sx, 28}, {g.x + 14 * sx, 30}, {g.x + 4 * sx, 92}, {g.x - 8 * sx, 100}}), hull(Ramp::Violet, 0.36f * scorch, 6, 5, 0.35f, 3));
        lamp(cv, {g.x - 2 * sx, 84}, 3, Ramp::Red);
        lamp(cv, {186 * sx, -24}, 3, Ramp::Red, 0.8f);
    }
    // The central hull and its core.
    const Shape body = mirrorPoly({{0, 158}, {40, 132}, {72, 70}, {80, -40}, {60, -120}, {24, -158}, {0, -160}});
    Material bm;
    bm.colour = vgrad(c(Ramp::Gunmetal, 0.56f) * scorch, c(Ramp::Violet, 0.3f) * scorch, -160, 160);
    bm.bevel = 26;
    bm.height = 14;
    bm.gloss = 0.4f;
    bm.elevation = 8;
    cv.paint(body, bm);
    enemy::greebles(cv, subtract(body, circle({0, 10}, 62)), 82, 90, 3, 8, Ramp::Gunmetal, 0.5f * scorch, 24);
    for (float y : {-130.0f, -100.0f, -70.0f, 80.0f, 110.0f}) cv.shade(capsule({-60, y}, {60, y}, 0.9f), 0.65f, 0.5f);
    cv.shade(capsule({0, -156}, {0, -40}, 0.8f), 0.7f);
    for (float sx : {-1.0f, 1.0f}) {
        cv.paint(capsule({34 * sx, -150}, {44 * sx, -100}, 7), hull(Ramp::Violet, 0.5f * scorch, 4, 4, 0.5f, 20));
        lamp(cv, {34 * sx, -152}, 3.5f, Ramp::Orange);
        for (float y : {90.0f, 116.0f}) cv.paint(circle({30 * sx, y}, 2.2f), hull(Ramp::Rust, 0.6f, 1.5f, 1.5f, 0.7f, 22));
    }
    // The eye: armoured ring, glowing core.
    cv.paint(circle({0, 10}, 58), hull(Ramp::Gunmetal, 0.34f * scorch, 14, 8, 0.5f, 22));
    cv.shade(ring({0, 10}, 48, 1.2f), 0.55f);
    for (int i = 0; i < 12; ++i) {
        const float a = static_cast<float>(i) * kPi / 6;
        cv.paint(rotate(rect({0, 10 - 52}, 5, 6, 2), a, {0, 10}), hull(Ramp::Rust, 0.5f, 2, 2, 0.6f, 30));
    }
    cv.paint(circle({0, 10}, 34), hull(Ramp::Magenta, 0.28f, 10, 8, 1.0f, 30));
    // The eye glows from within: a radial falloff, a bright pupil, a glint.
    cv.glow({0, 12}, 30, c(Ramp::Magenta, 0.7f), damaged ? 1.2f : 0.9f, 0.8f);
    cv.glow({0, 12}, 14, Rgbf{1, 0.85f, 0.95f}, 0.9f, 1.0f);
    cv.paint(ellipse({0, 12}, 4, 11), mat(c(Ramp::Violet, 0.12f), 2, 1, 0.9f, 34));
    cv.light(circle({-12, -4}, 3), Rgbf{1, 1, 1}, 0.7f);
    cv.glow({0, 10}, 60, c(Ramp::Magenta, 0.6f), 0.5f, 1.6f);
    if (damaged) {
        // Torn armour: holes that show burning machinery, cracks, a missing wing tip.
        cv.erase(polygon({{150, 40}, {192, 0}, {192, 70}, {160, 80}}));
        cv.erase(polygon({{-192, -90}, {-168, -110}, {-150, -70}, {-192, -50}}));
        const Vec2 holes[] = {{-92, -70}, {96, 50}, {40, -110}, {-50, 110}, {-150, 30}, {150, -80}};
        int i = 0;
        for (const Vec2 h : holes) {
            const float r = 12.0f + 4.0f * static_cast<float>(i % 3);
            const Shape hole = rotate(polygon({{h.x - r, h.y - r * 0.4f}, {h.x - r * 0.2f, h.y - r}, {h.x + r, h.y - r * 0.3f},
                                               {h.x + r * 0.6f, h.y + r * 0.8f}, {h.x - r * 0.5f, h.y + r}}),
                                      static_cast<float>(i), h);
            // Scorched rim, a dark pit, burning machinery deep inside.
            cv.shade(offset(hole, 7), 0.5f, 1.0f);
            const Shape jag{[hole, i](Vec2 p) { return hole(p) + (fbm(p.x * 0.3f, p.y * 0.3f, 50 + i) - 0.5f) * 6.0f; }, hole.box.grown(3)};
            cv.paint(jag, hull(Ramp::Rust, 0.06f, 4, -5, 0.1f, 0));
            cv.light(ellipse({h.x + 1, h.y + r * 0.25f}, r * 0.45f, r * 0.3f), c(Ramp::Orange, 0.55f), 0.8f);
            cv.glow({h.x + 1, h.y + r * 0.2f}, r * 0.9f, c(Ramp::Gold, 0.7f), 0.45f, 1.5f);
            ++i;
        }
        for (int k = 0; k < 10; ++k) {
            const float a = static_cast<float>(k) * 2.4f;
            const Vec2 s{std::cos(a) * (60 + 9.0f * static_cast<float>(k)), std::sin(a) * (40 + 7.0f * static_cast<float>(k))};
            const Vec2 e{s.x + std::cos(a + 1.2f) * 24, s.y + std::sin(a + 1.2f) * 24};
            cv.shade(capsule(s, e, 0.9f), 0.45f, 0.6f);
            cv.light(capsule(s, e, 0.5f), c(Ramp::Orange, 0.6f), 0.5f);
        }
    }
    Picture p = cv.finish();
    return p.hit(88, 0, 0).hit(60, -132, -10).hit(60, 132, -10).hit(56, 0, 104);
}

}  // namespace

void drawBossABank(Bank& b) { b.set(244, finalBoss(false)); }

void drawBossBBank(Bank& b) {
    b.set(245, finalBoss(true));
    drawBossBBulletFrames(b);
}

}  // namespace art
