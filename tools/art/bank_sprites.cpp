// Bank 1: the player ship and its weapon parts, shots, enemy bullets, the common enemies,
// explosions and the mid-boss.

#include <cmath>

#include "art.h"
#include "enemy_look.h"
#include "noise.h"

namespace art {

namespace {

using look::c;
constexpr float kPi = 3.14159265f;

// Enemy fire: a glow cut off where it thins, with the dark rim that lifts it off any ground.
FinishOptions hard(float cut) {
    FinishOptions o;
    o.soft = false;
    o.rim = true;
    o.alphaCut = cut;
    o.dither = 0.04f;
    return o;
}

FinishOptions soft(float cut = 0.12f) {
    FinishOptions o;
    o.soft = true;
    o.rim = false;
    o.alphaCut = cut;
    o.dither = 0.04f;
    return o;
}

Picture ship(float bankAmt, float pitch) {
    Canvas cv(Box{-18, -23, 18, 26});
    look::playerShip(cv, 1.0f, bankAmt, pitch, 1.0f - 0.5f * pitch);
    Picture p = cv.finish();
    // Small and honest: the cockpit only (it slides with the roll).
    return p.hit(4, static_cast<int>(std::lround(2.0f * bankAmt)), -5);
}

// Weapon parts are drawn at the ship's position; each half sits where it mounts.
Picture valcanPod(float side) {
    Canvas cv(Box{-20, -16, 20, 12});
    const float x = 13.5f * side;
    cv.paint(rect({x, -1}, 2.6f, 7.5f, 1.8f), mat(c(Ramp::Steel, 0.55f), 1.5f, 1.8f, 0.5f));
    cv.paint(rect({x, -9}, 1.2f, 3.0f, 0.6f), mat(c(Ramp::Grey, 0.45f), 0.8f, 1.0f, 0.6f, 1.0f));
    cv.paint(rect({x, 3}, 2.8f, 1.2f, 0.5f), mat(c(Ramp::Red, 0.5f), 0.8f, 0.8f, 0.4f, 1.5f));
    cv.light(circle({x, -11.5f}, 1.2f), c(Ramp::Cyan, 0.85f), 1.0f);
    cv.glow({x, -11.5f}, 3.0f, c(Ramp::Cyan, 0.7f), 0.5f, 1.5f);
    Picture p = cv.finish();
    return p.hit(16);
}

Picture canonMount() {
    // A long gun along the right side of the fuselage: breech block under the wing root,
    // barrel reaching past the nose, gold muzzle brake.
    Canvas cv(Box{-20, -34, 20, 12});
    cv.paint(rect({10, -2}, 3.6f, 7.0f, 1.5f), mat(c(Ramp::Steel, 0.45f), 1.5f, 1.8f, 0.5f));
    cv.paint(rect({10, -2}, 3.7f, 1.0f, 0.3f), mat(c(Ramp::Gold, 0.6f), 0.6f, 0.6f, 0.6f, 1.8f));
    cv.paint(capsule({11.5f, -8}, {11.5f, -28}, 1.7f), mat(c(Ramp::Steel, 0.62f), 1.2f, 1.4f, 0.7f, 0.5f));
    cv.paint(rect({11.5f, -28.5f}, 2.7f, 2.0f, 0.6f), mat(c(Ramp::Gold, 0.6f), 0.8f, 1.0f, 0.7f, 1.5f));
    cv.shade(capsule({9.6f, -27.5f}, {13.4f, -27.5f}, 0.3f), 0.5f);
    cv.light(circle({11.5f, -30.2f}, 0.9f), c(Ramp::Gold, 0.9f), 0.7f);
    Picture p = cv.finish();
    return p.hit(16);
}

Picture thunderCoil(float side) {
    Canvas cv(Box{-24, -12, 24, 16});
    const float x = 18.0f * side;
    cv.glow({x, 3}, 7, c(Ramp::Violet, 0.65f), 0.5f, 1.5f);
    cv.paint(rect({x, 3}, 2.8f, 7.0f, 2.2f), mat(c(Ramp::Grey, 0.4f), 1.4f, 1.6f, 0.5f));
    for (int i = 0; i < 4; ++i) {
        const float y = -1.5f + 3.0f * static_cast<float>(i);
        cv.paint(rect({x, y}, 3.6f, 0.9f, 0.8f), mat(c(Ramp::Violet, 0.6f), 0.7f, 1.0f, 0.7f, 1.5f));
        cv.light(rect({x, y}, 3.0f, 0.5f, 0.4f), c(Ramp::Violet, 0.85f), 0.6f);
    }
    cv.light(circle({x, -5.5f}, 1.5f), Rgbf{1, 1, 1}, 0.9f);
    Picture p = cv.finish();
    return p.hit(16);
}

Picture beamEmitter(float side) {
    Canvas cv(Box{-20, -4, 20, 26});
    const float x = 11.5f * side;
    cv.paint(rect({x, 14}, 2.4f, 6.5f, 1.6f), mat(c(Ramp::Steel, 0.5f), 1.4f, 1.6f, 0.5f));
    cv.paint(ellipse({x, 21}, 3.2f, 2.0f), mat(c(Ramp::Violet, 0.45f), 1.2f, 1.2f, 0.6f, 1.0f));
    cv.light(ellipse({x, 21.4f}, 2.0f, 1.1f), c(Ramp::Violet, 0.9f), 0.9f);
    cv.glow({x, 22}, 4.5f, c(Ramp::Violet, 0.7f), 0.5f, 1.5f);
    Picture p = cv.finish();
    return p.hit(16);
}

Picture laserLens() {
    Canvas cv(Box{-12, -34, 12, 4});
    cv.paint(rect({0, -22}, 2.2f, 8.0f, 1.2f), mat(c(Ramp::Grey, 0.5f), 1.2f, 1.5f, 0.6f));
    cv.paint(mirrorPoly({{0, -36}, {4.0f, -32}, {4.0f, -29}, {0, -27}}), mat(c(Ramp::Violet, 0.5f), 2.0f, 2.0f, 1.0f, 1.0f));
    cv.light(circle({0, -31.5f}, 1.6f), Rgbf{1, 1, 1}, 0.8f);
    cv.glow({0, -31.5f}, 6, c(Ramp::Violet, 0.7f), 0.5f, 1.5f);
    cv.paint(mirrorX(rect({6.5f, -2}, 1.5f, 5.0f, 1.0f)), mat(c(Ramp::Grey, 0.45f), 1.0f, 1.2f, 0.5f));
    Picture p = cv.finish();
    return p.hit(16);
}

Picture canonShell() {
    Canvas cv(Box{-7, -9, 7, 9});
    cv.glow({0, 0}, 8, c(Ramp::Gold, 0.7f), 0.6f, 1.5f);
    const Shape shell = unite(circle({0, 1.5f}, 3.8f), polygon({{0, -6.5f}, {3.6f, 0}, {-3.6f, 0}}));
    cv.paint(shell, mat(c(Ramp::Gold, 0.7f), 2.0f, 2.0f, 0.9f));
    cv.light(circle({0, 1}, 1.6f), Rgbf{1, 1, 1}, 0.8f);
    Picture p = cv.finish();
    return p.hit(5);
}

Picture thunderBolt() {
    Canvas cv(Box{-8, -12, 8, 12});
    const Vec2 pts[] = {{0, -10}, {-3, -4}, {2.5f, -1}, {-2.5f, 4}, {1.5f, 10}};
    for (int i = 0; i < 4; ++i) cv.glowLine(pts[i], pts[i + 1], 4.0f, c(Ramp::Cyan, 0.7f), 1.0f, 1.5f);
    for (int i = 0; i < 4; ++i) cv.glowLine(pts[i], pts[i + 1], 1.5f, Rgbf{1, 1, 1}, 1.2f, 0.8f);
    cv.glow({0, 0}, 8, c(Ramp::Cyan, 0.6f), 0.5f, 1.5f);
    Picture p = cv.finish(soft());
    return p.hit(5, 0, -4).hit(5, 0, 4);
}

// Electric spark: a jagged forked streak of light (the player's: thunder trails and the
// bomb's lightning, cyan; the enemy's: generator sparks, hot pink with a dark rim so they read
// as bullets). Frame f decides the fork.
Picture electricSpark(int f, Ramp ramp = Ramp::Cyan, bool hostile = false) {
    Canvas cv(Box{-8, -8, 8, 8});
    const float a0 = static_cast<float>(f) * 0.8f;
    Vec2 p{-6.0f * std::cos(a0), -6.0f * std::sin(a0)};
    const Vec2 q{6.0f * std::cos(a0), 6.0f * std::sin(a0)};
    Vec2 prev = p;
    for (int i = 1; i <= 4; ++i) {
        const float t = static_cast<float>(i) / 4.0f;
        const float jag = (i % 2 ? 2.2f : -2.2f) * (i == 4 ? 0 : 1) * (f % 2 ? 1.0f : -1.0f);
        const Vec2 n{p.x + (q.x - p.x) * t - std::sin(a0) * jag, p.y + (q.y - p.y) * t + std::cos(a0) * jag};
        cv.glowLine(prev, n, hostile ? 3.2f : 2.8f, c(ramp, hostile ? 0.55f : 0.75f), 1.0f, 1.4f);
        cv.glowLine(prev, n, 1.1f, Rgbf{1, 1, 1}, 1.0f, 0.8f);
        prev = n;
    }
    cv.glow({0, 0}, 3.0f, Rgbf{1, 1, 1}, 0.6f, 1.3f);
    Picture pic = cv.finish(hostile ? hard(0.3f) : soft(0.15f));
    return pic.hit(3).rotations(16);
}

// Beams point right (+x) in the stored picture; the game turns them along their flight. The
// player's beam is gold and white; the enemy's twin of it hot pink with an orange head and a
// dark rim.
Picture beam(int f, bool hostile = false) {
    const float len = 8.0f + 6.0f * static_cast<float>(f);
    Canvas cv(Box{-len - 5, -6, len + 5, 6});
    const Ramp glow = hostile ? Ramp::Magenta : Ramp::Gold;
    cv.glowLine({-len, 0}, {len, 0}, 5.0f, c(glow, hostile ? 0.55f : 0.7f), 1.0f, 1.3f);
    cv.glowLine({-len + 2, 0}, {len, 0}, 2.0f, Rgbf{1, 1, 1}, 1.2f, 0.8f);
    cv.glow({len - 1, 0}, 4.5f, hostile ? c(Ramp::Orange, 0.8f) : Rgbf{1, 1, 1}, 0.7f, 1.3f);
    Picture p = cv.finish(hostile ? hard(0.3f) : soft());
    p.hit(6, static_cast<int>(len * 0.5f), 0).hit(6, -static_cast<int>(len * 0.5f), 0);
    return p.rotations(32);
}

Picture beamSpark(int f) {
    const float len = 6.0f - 1.5f * static_cast<float>(f);
    Canvas cv(Box{-len - 3, -4, len + 3, 4});
    cv.glowLine({-len, 0}, {len, 0}, 2.5f, c(Ramp::Gold, 0.8f), 1.2f - 0.25f * static_cast<float>(f), 1.2f);
    cv.glow({len * 0.5f, 0}, 2.5f, Rgbf{1, 1, 1}, 0.8f - 0.2f * static_cast<float>(f), 1.2f);
    Picture p = cv.finish(soft());
    return p.rotations(16);
}

// A laser segment: long and narrow so segments three ticks apart join into one beam. The
// player's is cyan and white; the enemy's twin hot pink and red with a dark rim.
Picture laser(int f, bool hostile = false) {
    const float w = 5.0f - 1.4f * static_cast<float>(f);
    const float bright = 1.0f - 0.3f * static_cast<float>(f);
    Canvas cv(Box{-8, -35, 8, 35});
    cv.glowLine({0, -31}, {0, 31}, w + 2.5f, c(hostile ? Ramp::Magenta : Ramp::Cyan, hostile ? 0.5f : 0.65f), bright, 1.2f);
    if (hostile) cv.glowLine({0, -30}, {0, 30}, w * 0.8f, c(Ramp::Red, 0.7f), bright, 1.0f);
    cv.glowLine({0, -33}, {0, 33}, w * 0.5f, Rgbf{1, 1, 1}, 1.2f * bright, 0.6f);
    Picture p = cv.finish(hostile ? hard(0.3f) : soft());
    return p.hit(5, 0, -22).hit(5, 0, -8).hit(5, 0, 8).hit(5, 0, 22);
}

Picture pointedBullet() {
    Canvas cv(Box{-10, -6, 10, 6});
    const Shape tear = polygon({{8.5f, 0}, {1, -4.0f}, {-4, -3.8f}, {-7, -2}, {-7, 2}, {-4, 3.8f}, {1, 4.0f}});
    cv.glow({0, 0}, 10, c(Ramp::Magenta, 0.5f), 0.45f, 2.0f);
    cv.paint(tear, mat(c(Ramp::Magenta, 0.5f), 1.8f, 1.2f, 0.2f));
    cv.light(ellipse({0.5f, 0}, 3.6f, 1.5f), Rgbf{1, 1, 1}, 1.2f);
    Picture p = cv.finish();
    return p.hit(3).rotations(32);
}

Picture spinningBullet() {
    Canvas cv(Box{-9, -9, 9, 9});
    cv.glow({0, 0}, 10, c(Ramp::Magenta, 0.5f), 0.5f, 2.0f);
    // A hot pink ring broken by four notches, so its spin shows, round an orange core.
    Shape r = ring({0, 0}, 5.0f, 3.0f);
    for (int i = 0; i < 4; ++i) {
        const float a = static_cast<float>(i) * kPi / 2.0f;
        r = subtract(r, capsule({0, 0}, {std::cos(a) * 9, std::sin(a) * 9}, 0.8f));
    }
    cv.paint(r, mat(c(Ramp::Magenta, 0.6f), 1.2f, 1.0f, 0.2f));
    cv.paint(circle({0, 0}, 2.6f), mat(c(Ramp::Orange, 0.7f), 1.0f, 1.0f, 0.2f));
    cv.light(circle({0, 0}, 2.0f), Rgbf{1, 1, 1}, 1.1f);
    Picture p = cv.finish();
    return p.hit(4).rotations(16);
}

Picture stockIcon() {
    Canvas cv(Box{-11, -14, 11, 16});
    look::playerShip(cv, 0.62f, 0, 0, 0.6f);
    return cv.finish();
}

Picture bombIcon() {
    Canvas cv(Box{-8, -10, 8, 10});
    cv.paint(mirrorPoly({{0, 8.5f}, {4.5f, 8.5f}, {3, 4}, {0, 4}}), mat(c(Ramp::Grey, 0.5f), 0.8f, 0.8f, 0.4f));
    cv.paint(ellipse({0, -1}, 4.6f, 7.0f), mat(c(Ramp::Red, 0.5f), 2.5f, 2.5f, 0.8f, 0.5f));
    cv.paint(rect({0, -1}, 4.7f, 1.0f, 0.3f), mat(c(Ramp::Gold, 0.65f), 0.6f, 0.6f, 0.7f, 1.5f));
    cv.light(circle({-1.6f, -4.5f}, 1.0f), Rgbf{1, 1, 1}, 0.6f);
    return cv.finish();
}

// Explosion smoke, aging from a white-hot fireball to a grey puff. Also the Canon's
// fragments, which are flying fireballs.
Picture smoke(int f) {
    const float r = 9.0f + 2.5f * static_cast<float>(f);
    Canvas cv(Box{-r - 4, -r - 4, r + 4, r + 4});
    // Lumpy ball of smoke: a few circles, surface broken up by noise.
    Shape ball = circle({0, 0}, r * 0.7f);
    for (int i = 0; i < 6; ++i) {
        const float a = static_cast<float>(i) * kPi / 3.0f + static_cast<float>(f) * 0.7f;
        ball = smoothUnite(ball, circle({std::cos(a) * r * 0.45f, std::sin(a) * r * 0.45f}, r * (0.36f + 0.06f * static_cast<float>(i % 3))), 2.5f);
    }
    const Shape lumpy{[ball, f](Vec2 p) { return ball(p) + (fbm(p.x * 0.3f, p.y * 0.3f, 7 + f) - 0.5f) * 5.0f; }, ball.box.grown(3)};
    const Rgbf body[] = {c(Ramp::Orange, 0.75f), c(Ramp::Red, 0.45f), c(Ramp::Rust, 0.25f), c(Ramp::Grey, 0.22f)};
    Material m;
    m.colour = [&, f](Vec2 p) { return body[f] * (0.8f + 0.4f * fbm(p.x * 0.25f + 3, p.y * 0.25f, 11)); };
    m.bevel = r * 0.5f;
    m.height = r * 0.3f;
    m.gloss = 0.0f;
    m.bump = [f](Vec2 p) { return (fbm(p.x * 0.4f, p.y * 0.4f, 90 + f) - 0.5f) * 3.0f; };
    cv.paint(lumpy, m);
    if (f < 2) cv.light(offset(lumpy, -2.0f), body[f], 0.45f);
    if (f == 0) {
        cv.glow({0, 0}, r * 1.2f, c(Ramp::Gold, 0.8f), 1.1f, 1.2f);
        cv.glow({-1, -1}, r * 0.7f, Rgbf{1, 1, 0.9f}, 1.0f, 1.2f);
    } else if (f == 1) {
        cv.glow({0, 0}, r * 1.0f, c(Ramp::Orange, 0.7f), 0.8f, 1.4f);
        cv.glow({-2, -2}, r * 0.45f, c(Ramp::Gold, 0.9f), 0.7f, 1.3f);
    } else if (f == 2) {
        cv.glow({1, 1}, r * 0.6f, c(Ramp::Red, 0.5f), 0.35f, 1.5f);
    }
    FinishOptions o;
    o.rim = false;
    o.dither = 0.05f;
    o.alphaCut = 0.45f;
    o.soft = f >= 2;  // old smoke thins out at its edges
    Picture p = cv.finish(o);
    return p.hit(static_cast<int>(r * 0.6f)).rotations(8);
}

Picture debris(int f) {
    const float s = 1.0f - 0.1f * static_cast<float>(f);
    const float heat = 1.0f - 0.2f * static_cast<float>(f);
    Canvas cv(Box{-7, -7, 7, 7});
    const Shape chunk = rotate(polygon({{-4.5f * s, -1}, {-1, -3.5f * s}, {4 * s, -2}, {3.5f * s, 2.5f * s}, {-2, 3.5f * s}}), static_cast<float>(f) * 1.1f);
    cv.paint(chunk, mat(c(Ramp::Rust, 0.3f), 1.0f, 1.0f, 0.3f));
    cv.light(offset(chunk, -0.8f), f < 3 ? c(Ramp::Orange, 0.7f) : c(Ramp::Red, 0.45f), 0.9f * heat);
    cv.glow({0, 0}, 6.0f * s, c(Ramp::Orange, 0.7f), 0.5f * heat, 1.5f);
    return cv.finish();
}

}  // namespace

void drawGameSpriteBank(Bank& b) {
    b.set(85, ship(0, 0));
    for (int i = 0; i < 3; ++i) {
        const float t = static_cast<float>(i + 1) / 3.0f;
        b.set(86 + i, ship(0, t));
        b.set(89 + i, ship(-t, 0));
        b.set(92 + i, ship(t, 0));
    }
    b.set(95, valcanPod(-1));
    b.set(96, valcanPod(1));
    b.set(97, canonMount());
    b.set(98, thunderCoil(-1));
    b.set(99, thunderCoil(1));
    b.set(100, beamEmitter(-1));
    b.set(101, beamEmitter(1));
    b.set(102, laserLens());
    b.set(109, canonShell());
    b.set(110, thunderBolt());
    for (int f = 0; f < 4; ++f) b.set(111 + f, electricSpark(f));
    for (int f = 0; f < 3; ++f) b.set(115 + f, beam(f));
    for (int f = 0; f < 3; ++f) b.set(118 + f, beamSpark(f));
    for (int f = 0; f < 3; ++f) b.set(121 + f, laser(f));
    // The enemy's own pictures of the beam, laser and spark it fires (the play field draws
    // these for enemy bullets whose pattern is one the player's weapons use).
    for (int f = 0; f < 3; ++f) b.set(162 + f, beam(f, true));
    for (int f = 0; f < 3; ++f) b.set(165 + f, laser(f, true));
    for (int f = 0; f < 4; ++f) b.set(168 + f, electricSpark(f, Ramp::Magenta, true));
    b.set(124, look::bulletOrb(4.2f, Ramp::Magenta, 0.0f).hit(3));
    b.set(125, look::bulletOrb(4.2f, Ramp::Magenta, 0.5f).hit(3));
    b.set(126, spinningBullet());
    b.set(127, pointedBullet());
    for (int f = 0; f < 4; ++f) b.set(128 + f, enemy::fighter(f));
    b.set(132, enemy::gunPodBody());
    b.set(133, enemy::gunPodSide(-1));
    b.set(134, enemy::gunPodSide(1));
    b.set(135, enemy::gunship());
    for (int k = 0; k < 8; ++k) b.set(136 + k, enemy::diver(k));
    b.set(144, enemy::heavyCraft());
    for (int f = 0; f < 6; ++f) b.set(145 + f, debris(f));
    for (int f = 0; f < 4; ++f) b.set(158 + f, smoke(f));
    for (int f = 0; f < 6; ++f) b.set(203 + f, enemy::midBoss(f));
    b.set(214, stockIcon());
    b.set(215, bombIcon());
}

}  // namespace art
