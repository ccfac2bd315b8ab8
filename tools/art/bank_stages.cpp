// Banks 2, 3 and 4: the enemies, bosses and names of each stage.

#include <cmath>

#include "art.h"
#include "enemy_look.h"
#include "noise.h"

namespace art {

namespace {

using enemy::hull;
using enemy::lamp;
using look::c;
constexpr float kPi = 3.14159265f;

Picture stageName(const std::string& text) {
    return look::caption(text, 26, Rgbf{1, 1, 1}, c(Ramp::Gold, 0.7f), 3.0f, 2.0f);
}

// A lumpy rock: radius varying with the angle, craters as dents.
Shape rockShape(float r, int seed) {
    float amp[5], ph[5];
    for (int k = 0; k < 5; ++k) {
        amp[k] = 0.09f / static_cast<float>(k + 1) * (1.0f + 0.5f * std::sin(static_cast<float>(seed * 7 + k * 3)));
        ph[k] = static_cast<float>(seed * 13 + k * 5) * 0.77f;
    }
    return {[=](Vec2 p) {
                const float a = std::atan2(p.y, p.x);
                float rr = r;
                for (int k = 0; k < 5; ++k) rr += r * amp[k] * std::sin(static_cast<float>(k + 2) * a + ph[k]);
                return (length(p) - rr) * 0.85f;
            },
            Box{-r * 1.4f, -r * 1.4f, r * 1.4f, r * 1.4f}};
}

Picture drifter(float r, int seed, Ramp tone) {
    Canvas cv(Box{-r * 1.35f, -r * 1.35f, r * 1.35f, r * 1.35f});
    const Shape rock = rockShape(r, seed);
    Material m;
    m.colour = [tone, seed](Vec2 p) {
        const float n = fbm(p.x * 0.045f, p.y * 0.045f, 60 + seed);
        const float g = fbm(p.x * 0.02f + 9, p.y * 0.02f, 70 + seed);
        return mix(c(tone, 0.26f + 0.3f * n), c(Ramp::Grey, 0.3f + 0.25f * n), std::clamp(g * 1.6f - 0.4f, 0.0f, 1.0f));
    };
    m.bump = [seed](Vec2 p) { return (fbm(p.x * 0.09f, p.y * 0.09f, 80 + seed) - 0.5f) * 7.0f; };
    m.bevel = r * 0.45f;
    m.height = r * 0.35f;
    m.gloss = 0.05f;
    cv.paint(rock, m);
    // Craters.
    for (int i = 0; i < 7; ++i) {
        const float a = static_cast<float>(i * 97 + seed * 31) * 0.618f * 2 * kPi;
        const float d = r * (0.2f + 0.55f * std::fmod(static_cast<float>(i) * 0.37f + static_cast<float>(seed) * 0.11f, 1.0f));
        const float cr = r * (0.08f + 0.05f * static_cast<float>(i % 3));
        const Vec2 ctr{std::cos(a) * d, std::sin(a) * d};
        cv.shade(circle(ctr, cr), 0.85f, cr * 0.9f);
        cv.shade(ring(ctr, cr, cr * 0.3f), 1.0f, -cr * 0.25f);
    }
    // A derelict mining rig bolted on, with a dying red beacon.
    const Vec2 rig{r * 0.25f, -r * 0.3f};
    cv.paint(rect(rig, r * 0.16f, r * 0.09f, 1.5f), hull(Ramp::Gunmetal, 0.45f, 1.5f, 2.0f, 0.5f, r * 0.35f));
    cv.shade(capsule({rig.x - r * 0.12f, rig.y}, {rig.x + r * 0.12f, rig.y}, 0.4f), 0.6f);
    lamp(cv, {rig.x + r * 0.1f, rig.y - r * 0.05f}, 1.6f, Ramp::Red, 0.9f);
    Picture p = cv.finish();
    return p.hit(static_cast<int>(r * 0.9f));
}

Picture backgroundDrifter() {
    // A distant wrecked cruiser, dim so it reads as scenery.
    Canvas cv(Box{-60, -95, 60, 95});
    const Shape body = mirrorPoly({{0, -92}, {16, -70}, {22, -20}, {30, 10}, {26, 60}, {14, 90}, {0, 86}});
    cv.paint(body, hull(Ramp::Gunmetal, 0.2f, 8, 5, 0.1f));
    for (float y = -60; y < 80; y += 18) cv.shade(capsule({-20, y}, {20, y}, 0.7f), 0.7f, 0.3f);
    cv.paint(mirrorPoly({{0, -10}, {56, 20}, {52, 34}, {0, 24}}), hull(Ramp::Gunmetal, 0.16f, 4, 3, 0.1f));
    cv.erase(polygon({{8, 30}, {40, 60}, {30, 80}, {14, 70}}));
    cv.paint(mirrorPoly({{0, -50}, {9, -44}, {9, -20}, {0, -16}}), hull(Ramp::Grey, 0.18f, 2.5f, 2.5f, 0.2f, 5));
    for (int i = 0; i < 5; ++i) lamp(cv, {-12.0f + 6.0f * static_cast<float>(i), 40.0f - 25.0f * static_cast<float>(i % 3)}, 1.0f, Ramp::Cyan, 0.35f);
    return cv.finish();
}

Picture carrier() {
    // The friendly carrier that brings the ship in: steel blue and white, launch deck in the
    // middle (the ship appears at the carrier's position).
    Canvas cv(Box{-92, -150, 92, 150});
    const Shape wings = mirrorPoly({{0, -60}, {60, -30}, {90, 20}, {88, 60}, {50, 70}, {0, 80}});
    cv.paint(wings, enemy::plated(Ramp::Steel, 0.45f, 6, 4, 0.4f, 0, 16, 11));
    enemy::greebles(cv, wings, 76, 50, 3, 8, Ramp::Steel, 0.5f, 4);
    for (float sx : {-1.0f, 1.0f}) {
        cv.shade(capsule({30 * sx, -20}, {80 * sx, 30}, 0.6f), 0.65f, 0.3f);
        cv.paint(rect({70 * sx, 40}, 9, 30, 5), hull(Ramp::Steel, 0.55f, 3, 3, 0.5f, 2));
        lamp(cv, {70 * sx, 74}, 4, Ramp::Cyan);
        lamp(cv, {88 * sx, 22}, 2, sx < 0 ? Ramp::Red : Ramp::Toxic, 0.9f);
    }
    const Shape hullS = mirrorPoly({{0, -148}, {22, -120}, {34, -40}, {36, 110}, {26, 146}, {0, 140}});
    Material m;
    m.colour = vgrad(c(Ramp::Steel, 0.85f), c(Ramp::Steel, 0.55f), -140, 140);
    m.bevel = 10;
    m.height = 6;
    m.gloss = 0.5f;
    m.elevation = 3;
    cv.paint(hullS, m);
    for (float y = -110; y < 140; y += 24) cv.shade(capsule({-30, y}, {30, y}, 0.6f), 0.75f, 0.3f);
    // Launch deck.
    cv.paint(rect({0, 0}, 16, 44, 4), hull(Ramp::Grey, 0.25f, 2, 1, 0.2f, 6));
    for (float y = -36; y <= 36; y += 12) {
        lamp(cv, {-13, y}, 1.2f, Ramp::Gold, 0.8f);
        lamp(cv, {13, y}, 1.2f, Ramp::Gold, 0.8f);
    }
    cv.paint(mirrorPoly({{0, -140}, {10, -122}, {10, -100}, {0, -96}}), hull(Ramp::Red, 0.5f, 2, 2, 0.6f, 9));
    cv.paint(ellipse({0, -76}, 7, 12), hull(Ramp::Cyan, 0.35f, 3, 3, 1.0f, 9));
    cv.light(ellipse({-2, -80}, 2, 4), c(Ramp::Cyan, 0.9f), 0.6f);
    for (float ex : {-18.0f, 0.0f, 18.0f}) lamp(cv, {ex, 146}, 4, Ramp::Cyan);
    return cv.finish();
}

Picture stage1Boss() {
    // A heavy battleship, about 240 pixels across, twin turrets at 80 pixels either side.
    Canvas cv(Box{-122, -110, 122, 112});
    const Shape wings = mirrorPoly({{0, -70}, {70, -80}, {118, -40}, {120, 10}, {96, 50}, {50, 64}, {0, 60}});
    cv.paint(wings, enemy::plated(Ramp::Gunmetal, 0.38f, 8, 5, 0.3f, 0, 18, 7));
    enemy::greebles(cv, wings, 71, 90, 3, 9, Ramp::Gunmetal, 0.42f, 3);
    for (float sx : {-1.0f, 1.0f}) {
        cv.shade(capsule({30 * sx, -50}, {110 * sx, -30}, 0.8f), 0.65f, 0.4f);
        cv.shade(capsule({30 * sx, 20}, {100 * sx, 20}, 0.8f), 0.65f, 0.4f);
        cv.paint(rect({104 * sx, -70}, 10, 20, 5), hull(Ramp::Rust, 0.38f, 3, 3, 0.35f, 2));
        lamp(cv, {104 * sx, -92}, 4.5f, Ramp::Orange);
        // Turret at x +-80.
        cv.paint(circle({80 * sx, 0}, 20), hull(Ramp::Rust, 0.42f, 7, 5, 0.4f, 3));
        cv.paint(capsule({80 * sx - 7, 8}, {80 * sx - 7, 34}, 3.2f), hull(Ramp::Grey, 0.45f, 2, 2, 0.6f, 8));
        cv.paint(capsule({80 * sx + 7, 8}, {80 * sx + 7, 34}, 3.2f), hull(Ramp::Grey, 0.45f, 2, 2, 0.6f, 8));
        cv.paint(circle({80 * sx, 0}, 8), hull(Ramp::Gunmetal, 0.35f, 3, 2, 0.6f, 9));
        lamp(cv, {80 * sx, 0}, 3, Ramp::Red);
        for (int i = 0; i < 6; ++i) {
            const float a = static_cast<float>(i) * kPi / 3;
            cv.paint(circle({80 * sx + std::cos(a) * 15, std::sin(a) * 15}, 1.4f), hull(Ramp::Rust, 0.6f, 1, 1, 0.6f, 8));
        }
    }
    const Shape body = mirrorPoly({{0, 108}, {26, 88}, {44, 30}, {46, -60}, {30, -100}, {0, -108}});
    cv.paint(body, enemy::plated(Ramp::Gunmetal, 0.52f, 14, 8, 0.35f, 4, 14, 8));
    enemy::greebles(cv, body, 72, 70, 3, 8, Ramp::Gunmetal, 0.55f, 12);
    for (float y : {-80.0f, -50.0f, -20.0f, 10.0f, 40.0f, 70.0f}) cv.shade(capsule({-40, y}, {40, y}, 0.7f), 0.7f, 0.4f);
    cv.shade(capsule({0, -100}, {0, 100}, 0.6f), 0.75f);
    cv.paint(mirrorPoly({{0, -40}, {18, -30}, {18, 20}, {0, 30}}), hull(Ramp::Rust, 0.45f, 4, 4, 0.5f, 12));
    cv.paint(ellipse({0, -5}, 9, 16), hull(Ramp::Red, 0.4f, 4, 3, 0.9f, 16));
    cv.light(ellipse({0, -5}, 5, 11), c(Ramp::Red, 0.8f), 0.7f);
    cv.glow({0, -5}, 24, c(Ramp::Red, 0.6f), 0.35f, 1.6f);
    for (float ex : {-22.0f, 0.0f, 22.0f}) lamp(cv, {ex, -104}, 4, Ramp::Orange);
    lamp(cv, {0, 96}, 3, Ramp::Red);
    Picture p = cv.finish();
    return p.hit(60, 0, 0).hit(40, -82, -8).hit(40, 82, -8).hit(36, 0, 70);
}

Picture launcher(bool open) {
    Canvas cv(Box{-70, -70, 70, 70});
    const Shape base = mirrorPoly({{0, -64}, {40, -56}, {62, -20}, {62, 30}, {40, 60}, {0, 66}});
    cv.paint(base, enemy::plated(Ramp::Rust, 0.36f, 8, 5, 0.3f, 0, 14, 9));
    enemy::greebles(cv, subtract(base, circle({0, 0}, 40)), 73, 50, 3, 7, Ramp::Rust, 0.4f, 5);
    for (float y : {-40.0f, -10.0f, 20.0f, 48.0f}) cv.shade(capsule({-54, y}, {54, y}, 0.7f), 0.65f, 0.3f);
    for (float sx : {-1.0f, 1.0f}) {
        cv.paint(rect({50 * sx, 0}, 8, 26, 4), hull(Ramp::Gunmetal, 0.42f, 3, 3, 0.4f, 3));
        lamp(cv, {50 * sx, 30}, 3, Ramp::Orange);
    }
    // Dart tubes toward (27, 50) and (50, -27).
    cv.paint(capsule({20, 30}, {27, 50}, 5), hull(Ramp::Grey, 0.4f, 2, 2, 0.6f, 5));
    cv.paint(capsule({30, -18}, {50, -27}, 5), hull(Ramp::Grey, 0.4f, 2, 2, 0.6f, 5));
    if (open) {
        cv.paint(circle({0, 0}, 30), hull(Ramp::Gunmetal, 0.2f, 3, -2, 0.2f, 4));
        cv.light(circle({0, 0}, 22), c(Ramp::Orange, 0.6f), 0.8f);
        cv.glow({0, 0}, 34, c(Ramp::Gold, 0.7f), 0.5f, 1.4f);
        for (int i = 0; i < 4; ++i) {
            const float a = static_cast<float>(i) * kPi / 2 + kPi / 4;
            cv.paint(rotate(rect({0, -38}, 14, 7, 3), a), hull(Ramp::Rust, 0.5f, 3, 3, 0.4f, 8));
        }
    } else {
        const Shape hatch = circle({0, 0}, 30);
        cv.paint(hatch, hull(Ramp::Rust, 0.48f, 10, 6, 0.4f, 4));
        cv.shade(capsule({-28, 0}, {28, 0}, 0.6f), 0.55f);
        cv.shade(capsule({0, -28}, {0, 28}, 0.6f), 0.55f);
        lamp(cv, {0, 0}, 3.5f, Ramp::Red);
    }
    Picture p = cv.finish();
    return p.hit(56);
}

Picture stalker() {
    // A small crab-like drone.
    Canvas cv(Box{-16, -14, 16, 14});
    for (float sx : {-1.0f, 1.0f}) {
        for (int i = 0; i < 3; ++i) {
            const float y = -5.0f + 5.0f * static_cast<float>(i);
            cv.paint(capsule({6 * sx, y}, {13 * sx, y + 4}, 1.1f), hull(Ramp::Red, 0.32f, 0.8f, 1, 0.4f));
        }
        cv.paint(capsule({6 * sx, 6}, {9 * sx, 12}, 2.0f), hull(Ramp::Red, 0.4f, 1, 1, 0.4f, 1));
    }
    cv.paint(ellipse({0, 0}, 8, 7), hull(Ramp::Red, 0.45f, 3, 3, 0.5f, 2));
    lamp(cv, {-2.5f, 3}, 1.1f, Ramp::Gold, 0.9f);
    lamp(cv, {2.5f, 3}, 1.1f, Ramp::Gold, 0.9f);
    Picture p = cv.finish();
    return p.hit(10);
}

Picture mine(float r, float bright) {
    Canvas cv(Box{-r - 5, -r - 5, r + 5, r + 5});
    for (int i = 0; i < 6; ++i) {
        const float a = static_cast<float>(i) * kPi / 3;
        cv.paint(capsule({0, 0}, {std::cos(a) * (r + 3), std::sin(a) * (r + 3)}, 1.3f), hull(Ramp::Grey, 0.5f, 1, 1, 0.6f));
    }
    cv.paint(circle({0, 0}, r), hull(Ramp::Toxic, 0.3f * bright + 0.05f, r * 0.6f, r * 0.5f, 0.6f, 1));
    cv.shade(ring({0, 0}, r * 0.6f, 0.6f), 0.6f);
    lamp(cv, {0, 0}, r * 0.3f, Ramp::Red, bright);
    return cv.finish();
}

Picture mineLayer() {
    Canvas cv(Box{-56, -30, 56, 40});
    const Shape wings = mirrorPoly({{0, -14}, {44, -24}, {54, -8}, {50, 12}, {20, 16}, {0, 18}});
    cv.paint(wings, hull(Ramp::Gunmetal, 0.38f, 4, 3));
    for (float sx : {-1.0f, 1.0f}) {
        cv.shade(capsule({12 * sx, -4}, {48 * sx, -10}, 0.5f), 0.65f);
        lamp(cv, {50 * sx, 4}, 2.4f, Ramp::Red, 0.9f);
        cv.paint(rect({32 * sx, -22}, 5, 7, 2.5f), hull(Ramp::Rust, 0.4f, 2, 2, 0.4f, 2));
        lamp(cv, {32 * sx, -29}, 2.2f, Ramp::Orange);
    }
    const Shape body = mirrorPoly({{0, 38}, {12, 28}, {16, -4}, {12, -26}, {0, -28}});
    cv.paint(body, hull(Ramp::Toxic, 0.3f, 6, 5, 0.35f, 2));
    cv.shade(capsule({-12, 4}, {12, 4}, 0.5f), 0.6f);
    cv.paint(circle({0, 20}, 6), hull(Ramp::Gunmetal, 0.3f, 2, 2, 0.6f, 6));
    lamp(cv, {0, 20}, 2.5f, Ramp::Red);
    Picture p = cv.finish();
    return p.hit(26, 0, 4).hit(18, -36, -4).hit(18, 36, -4);
}

Picture fastDiver() {
    Canvas cv(Box{-46, -40, 46, 50});
    const Shape wings = mirrorPoly({{0, -10}, {30, -36}, {44, -34}, {22, 10}, {0, 24}});
    cv.paint(wings, hull(Ramp::Rust, 0.4f, 4, 3));
    for (float sx : {-1.0f, 1.0f}) {
        cv.shade(capsule({8 * sx, 0}, {34 * sx, -30}, 0.5f), 0.6f);
        cv.paint(polygon({{34 * sx, -36}, {44 * sx, -34}, {40 * sx, -26}}), hull(Ramp::Orange, 0.5f, 1, 1, 0.5f, 1));
        lamp(cv, {16 * sx, -30}, 2.6f, Ramp::Orange);
    }
    const Shape body = mirrorPoly({{0, 48}, {8, 30}, {11, -10}, {8, -34}, {0, -36}});
    cv.paint(body, hull(Ramp::Gunmetal, 0.5f, 5, 4, 0.4f, 2));
    cv.paint(ellipse({0, 18}, 3.5f, 9), hull(Ramp::Orange, 0.45f, 2, 2, 0.9f, 5));
    cv.light(ellipse({-1, 15}, 1.2f, 3), c(Ramp::Gold, 0.9f), 0.7f);
    lamp(cv, {0, -34}, 3, Ramp::Orange);
    Picture p = cv.finish();
    return p.hit(22, 0, 8).hit(18, -22, -20).hit(18, 22, -20);
}

Picture stage2Boss() {
    // A crab-like fortress: carapace in the middle, two arms reaching down the sides with the
    // arm guns at their ends (about 113..143 pixels out).
    Canvas cv(Box{-155, -100, 155, 152});
    for (float sx : {-1.0f, 1.0f}) {
        const Vec2 shoulder{70 * sx, 10}, elbow{128 * sx, 40}, wrist{132 * sx, 112};
        // Armoured arm segments with bands and a hydraulic ram alongside.
        cv.paint(capsule(shoulder, elbow, 14), hull(Ramp::Violet, 0.3f, 6, 5, 0.35f));
        cv.paint(capsule(elbow, wrist, 12), hull(Ramp::Violet, 0.34f, 6, 5, 0.35f));
        for (int k = 1; k < 4; ++k) {
            const float t = static_cast<float>(k) / 4.0f;
            const Vec2 a = shoulder + (elbow - shoulder) * t, b2 = elbow + (wrist - elbow) * t;
            cv.shade(circle(a, 14.5f), 1.0f, 0.0f);
            cv.shade(outline(circle(a, 9), 1.2f), 0.55f, 0.6f);
            cv.paint(meet(capsule(elbow, wrist, 12.5f), rect(b2, 16, 2.2f, 1)), hull(Ramp::Gunmetal, 0.45f, 1, 1.2f, 0.5f, 5));
        }
        cv.paint(capsule(shoulder + Vec2{0, 14}, elbow + Vec2{-10 * sx, 12}, 2.2f), hull(Ramp::Grey, 0.55f, 1, 1.2f, 0.8f, 6));
        cv.paint(circle(elbow, 16), hull(Ramp::Gunmetal, 0.42f, 6, 5, 0.4f, 2));
        lamp(cv, elbow, 4, Ramp::Orange);
        for (const Vec2 g : {Vec2{113, 138}, Vec2{138, 126}, Vec2{143, 104}}) {
            const Vec2 gp{g.x * sx, g.y};
            cv.paint(capsule(wrist, gp, 5), hull(Ramp::Gunmetal, 0.4f, 2, 2, 0.5f, 3));
            cv.paint(circle(gp, 5.5f), hull(Ramp::Rust, 0.45f, 2, 2, 0.6f, 4));
            lamp(cv, gp, 2.2f, Ramp::Magenta, 0.9f);
        }
        cv.paint(circle(wrist, 12), hull(Ramp::Gunmetal, 0.45f, 5, 4, 0.4f, 4));
    }
    const Shape shell = mirrorPoly({{0, -98}, {50, -90}, {92, -56}, {100, -10}, {86, 30}, {50, 56}, {0, 62}});
    Material m;
    m.colour = vgrad(c(Ramp::Violet, 0.42f), c(Ramp::Gunmetal, 0.32f), -90, 60);
    m.bevel = 22;
    m.height = 10;
    m.gloss = 0.35f;
    m.elevation = 3;
    cv.paint(shell, m);
    enemy::greebles(cv, subtract(shell, unite(rect({0, 0}, 32, 60), rect({62, 22}, 20, 16))), 74, 70, 3, 9, Ramp::Gunmetal, 0.36f, 13);
    for (float sx : {-1.0f, 1.0f}) {
        cv.shade(capsule({20 * sx, -80}, {80 * sx, -40}, 0.8f), 0.65f, 0.4f);
        cv.shade(capsule({24 * sx, -20}, {92 * sx, -16}, 0.8f), 0.65f, 0.4f);
        cv.shade(capsule({20 * sx, 30}, {70 * sx, 30}, 0.8f), 0.65f, 0.4f);
        // Engine vents where the side sparks fly (75, 4) .. (45, 38).
        cv.paint(rect({62 * sx, 22}, 16, 12, 5), hull(Ramp::Gunmetal, 0.3f, 3, 2, 0.3f, 8));
        cv.light(rect({62 * sx, 22}, 12, 8, 4), c(Ramp::Orange, 0.55f), 0.6f);
    }
    cv.paint(mirrorPoly({{0, -60}, {26, -50}, {30, 0}, {20, 40}, {0, 48}}), hull(Ramp::Gunmetal, 0.5f, 10, 6, 0.45f, 12));
    cv.paint(circle({0, 10}, 16), hull(Ramp::Magenta, 0.3f, 5, 4, 0.9f, 18));
    cv.light(circle({0, 10}, 11), c(Ramp::Magenta, 0.75f), 0.8f);
    cv.glow({0, 10}, 26, c(Ramp::Magenta, 0.6f), 0.4f, 1.6f);
    for (float ex : {-14.0f, 14.0f}) lamp(cv, {ex, -40}, 3, Ramp::Red);
    Picture p = cv.finish();
    return p.hit(80, 0, -10).hit(34, -128, 60).hit(34, 128, 60).hit(40, 0, 60);
}

Picture sideSpark(float side) {
    Canvas cv(Box{-9, -9, 9, 9});
    const float a = side < 0 ? kPi * 0.85f : kPi * 0.15f;
    cv.glowLine({0, 0}, {std::cos(a) * 8, std::sin(a) * 8}, 2.5f, c(Ramp::Orange, 0.8f), 1.2f, 1.2f);
    cv.glowLine({0, 0}, {std::cos(a + 0.9f) * 6, std::sin(a + 0.9f) * 6}, 2.0f, c(Ramp::Gold, 0.8f), 1.0f, 1.2f);
    cv.glow({0, 0}, 4, Rgbf{1, 1, 1}, 0.9f, 1.3f);
    FinishOptions o;
    o.soft = true;
    o.rim = false;
    o.alphaCut = 0.12f;
    return cv.finish(o);
}

// Bullets pointing down (+y) in the stored picture.
Picture downBullet(float len, float w, Ramp ringRamp, int frame) {
    Canvas cv(Box{-w - 5, -len - 5, w + 5, len + 5});
    const Shape tear = taper({0, -len}, {0, len * 0.6f}, w * 0.45f, w);
    cv.glow({0, len * 0.3f}, len + 4, c(ringRamp, 0.5f), 0.45f, 2.0f);
    cv.paint(tear, mat(c(ringRamp, 0.5f + 0.04f * static_cast<float>(frame)), w * 0.5f, w * 0.4f, 0.2f));
    cv.light(ellipse({0, len * 0.35f}, w * 0.5f, len * 0.42f), Rgbf{1, 1, 1}, 1.2f);
    return cv.finish();
}

Picture sideCrosser() {
    Canvas cv(Box{-92, -44, 92, 44});
    const Shape frame = mirrorPoly({{0, -30}, {60, -40}, {90, -20}, {90, 20}, {60, 40}, {0, 30}});
    cv.paint(frame, enemy::plated(Ramp::Gunmetal, 0.38f, 6, 4, 0.3f, 0, 12, 10));
    enemy::greebles(cv, frame, 75, 40, 2, 6, Ramp::Gunmetal, 0.42f, 4);
    for (float sx : {-1.0f, 1.0f}) {
        cv.shade(capsule({20 * sx, -24}, {80 * sx, -24}, 0.6f), 0.6f, 0.3f);
        cv.shade(capsule({20 * sx, 24}, {80 * sx, 24}, 0.6f), 0.6f, 0.3f);
        // Thunder generators: coils with violet light.
        cv.paint(rect({62 * sx, 0}, 14, 16, 6), hull(Ramp::Grey, 0.35f, 3, 3, 0.5f, 3));
        for (int i = -1; i <= 1; ++i) {
            cv.paint(rect({62 * sx, static_cast<float>(i) * 8}, 16, 2.2f, 1.5f), hull(Ramp::Violet, 0.55f, 1, 1.5f, 0.7f, 5));
            cv.light(rect({62 * sx, static_cast<float>(i) * 8}, 13, 1.2f, 1), c(Ramp::Violet, 0.85f), 0.7f);
        }
        cv.glow({62 * sx, 0}, 22, c(Ramp::Violet, 0.6f), 0.3f, 1.6f);
        lamp(cv, {88 * sx, 0}, 2.4f, Ramp::Red);
    }
    // Armoured hub: plated dome, radial ribs, a hot core.
    cv.paint(ellipse({0, 0}, 34, 26), enemy::plated(Ramp::Violet, 0.33f, 10, 7, 0.35f, 3, 9, 12));
    for (int i = 0; i < 8; ++i) {
        const float a = static_cast<float>(i) * 3.14159265f / 4.0f + 0.39f;
        cv.shade(capsule({std::cos(a) * 12, std::sin(a) * 9}, {std::cos(a) * 31, std::sin(a) * 23}, 0.6f), 0.55f, 0.5f);
    }
    cv.shade(ring({0, 0}, 18, 0.8f), 0.6f);
    cv.paint(circle({0, 0}, 11), hull(Ramp::Gunmetal, 0.4f, 3, 3, 0.6f, 10));
    cv.paint(circle({0, 0}, 6.5f), hull(Ramp::Orange, 0.35f, 2, 2, 0.9f, 13));
    lamp(cv, {0, 0}, 4.5f, Ramp::Orange);
    Picture p = cv.finish();
    return p.hit(34, 0, 0).hit(26, -62, 0).hit(26, 62, 0);
}

Picture ringMine() {
    Canvas cv(Box{-28, -28, 28, 28});
    cv.glow({0, 0}, 28, c(Ramp::Magenta, 0.55f), 0.35f, 1.8f);
    cv.paint(ring({0, 0}, 17, 8), hull(Ramp::Gunmetal, 0.42f, 4, 3, 0.5f));
    for (int i = 0; i < 8; ++i) {
        const float a = static_cast<float>(i) * kPi / 4;
        cv.paint(circle({std::cos(a) * 17, std::sin(a) * 17}, 2.6f), hull(Ramp::Magenta, 0.5f, 1.5f, 1.5f, 0.8f, 3));
        cv.light(circle({std::cos(a) * 17, std::sin(a) * 17}, 1.4f), c(Ramp::Magenta, 0.9f), 0.9f);
    }
    cv.paint(circle({0, 0}, 7), hull(Ramp::Red, 0.35f, 3, 3, 0.8f, 2));
    lamp(cv, {0, 0}, 3, Ramp::Red);
    Picture p = cv.finish();
    return p.hit(22);
}

Picture shardEnemy() {
    Canvas cv(Box{-22, -24, 22, 24});
    const Shape crystal = polygon({{0, -22}, {12, -6}, {8, 20}, {0, 23}, {-9, 16}, {-13, -4}});
    cv.glow({0, 0}, 24, c(Ramp::Violet, 0.6f), 0.35f, 1.6f);
    Material m;
    m.colour = vgrad(c(Ramp::Violet, 0.7f), c(Ramp::Magenta, 0.35f), -22, 22);
    m.bevel = 3;
    m.height = 3;
    m.gloss = 1.0f;
    cv.paint(crystal, m);
    cv.shade(capsule({0, -20}, {1, 20}, 0.5f), 0.75f);
    cv.shade(capsule({-12, -4}, {10, 4}, 0.4f), 0.8f);
    cv.light(polygon({{0, -18}, {-9, -4}, {-2, -2}}), c(Ramp::Violet, 0.9f), 0.5f);
    lamp(cv, {0, 2}, 2.5f, Ramp::Magenta);
    Picture p = cv.finish();
    return p.hit(18);
}

}  // namespace

void drawStage1Bank(Bank& b) {
    b.set(219, backgroundDrifter());
    b.set(220, carrier());
    b.set(221, stage1Boss());
    b.set(222, stageName("KORRINDAL ORBIT"));
}

void drawStage2Bank(Bank& b) {
    b.set(223, stageName("DERELICT FIELD"));
    b.set(224, drifter(62, 1, Ramp::Sand));
    b.set(225, drifter(92, 2, Ramp::Rust));
    b.set(226, drifter(96, 3, Ramp::Sand));
    b.set(227, launcher(false));
    b.set(228, launcher(true));
    b.set(229, stalker());
    b.set(230, mineLayer());
    Picture homing = mine(8, 1.0f);
    b.set(231, std::move(homing.hit(9).rotations(16)));
    b.set(232, mine(7, 0.6f));
    b.set(233, fastDiver());
    b.set(234, stage2Boss());
    b.set(235, sideSpark(-1));
    b.set(236, sideSpark(1));
    b.set(237, downBullet(7, 4.5f, Ramp::Magenta, 0).hit(4).hit(4, 0, -4).rotations(32));
}

void drawStage3Bank(Bank& b) {
    b.set(238, stageName("THE STORM CORE"));
    b.set(239, sideCrosser());
    b.set(242, ringMine());
    b.set(243, shardEnemy());
}

void drawBossBBulletFrames(Bank& b);
void drawBossBBulletFrames(Bank& b) {
    for (int f = 0; f < 3; ++f) b.set(246 + f, downBullet(8, 6, f == 1 ? Ramp::Orange : Ramp::Magenta, f).hit(5, 0, 2).rotations(32));
}

}  // namespace art
