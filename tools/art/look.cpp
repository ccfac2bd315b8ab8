// Pieces shared by several banks: captions, the player ship, enemy bullet orbs.

#include <cmath>

#include "art.h"

namespace art::look {

Picture caption(const std::string& text, float px, Rgbf top, Rgbf bottom, float tracking, float outlineW, const Font& font) {
    const Shape t = font.text(text, px, Align::Centre, tracking);
    Canvas cv(t.box);
    // Dark outline, then the letters with a gradient fill and a small bevel.
    Material edge = mat(c(Ramp::Navy, 0.02f), 0.5f, 0.2f, 0.0f);
    cv.paint(offset(t, outlineW), edge);
    Material fill;
    fill.colour = vgrad(top, bottom, -px * 0.75f, 0.0f);
    fill.bevel = std::max(1.0f, px * 0.08f);
    fill.height = 1.2f;
    fill.gloss = 0.5f;
    fill.elevation = 1.0f;
    cv.paint(t, fill);
    // Lift the lettering a little above the lit shading so it reads at small sizes.
    cv.light(offset(t, -0.3f), mix(top, bottom, 0.5f) * 0.22f, 1.0f);
    // Hot spot: the horizontal centre of the text and the middle of its capital height, so
    // digits and signs of one size share a line.
    Picture p = cv.finish();
    p.originY -= static_cast<int>(std::lround(px * 0.36f));
    return p;
}

void playerShip(Canvas& cv, float k, float bankAmt, float pitch, float flame) {
    // Roll: the picture narrows, the fuselage slides toward the lower wing and that wing
    // darkens; pitch shortens the nose.
    const float sx = 1.0f - 0.36f * std::fabs(bankAmt);
    const float shift = 2.0f * bankAmt;
    const float sy = 1.0f - 0.10f * pitch;
    auto W = [&](const Shape& s) {
        return Shape{[s, sx, sy, shift, k](Vec2 p) {
                         const Vec2 q{(p.x / k - shift) / sx, p.y / k / sy};
                         return s(q) * k * std::min(sx, sy);
                     },
                     Box{(s.box.x0 * sx + shift) * k - 2, s.box.y0 * sy * k - 2, (s.box.x1 * sx + shift) * k + 2, s.box.y1 * sy * k + 2}};
    };
    auto P = [&](Vec2 p) { return Vec2{(p.x * sx + shift) * k, p.y * sy * k}; };
    const float bev = 1.6f * k;

    // Engine flames first (under the hull).
    if (flame > 0) {
        for (float ex : {-3.6f, 3.6f}) {
            const Vec2 a = P({ex, 16.5f}), b = P({ex, 16.5f + 7.0f * flame});
            cv.glowLine(a, b, 3.4f * k, c(Ramp::Cyan, 0.7f), 0.9f, 1.2f);
            cv.glowLine(a, P({ex, 16.5f + 3.5f * flame}), 1.8f * k, Rgbf{1, 1, 1}, 0.8f, 1.0f);
        }
    }
    // Wings: swept, a red stripe near the tips.
    const Shape wingL = polygon({{-4.5f, -4}, {-15.5f, 7}, {-16, 11.5f}, {-12, 12}, {-5, 9.5f}});
    const Shape wingR = polygon({{4.5f, -4}, {15.5f, 7}, {16, 11.5f}, {12, 12}, {5, 9.5f}});
    // The wing that dips turns away from the light; the other catches it.
    const float dimL = 1.0f - 0.45f * std::max(0.0f, -bankAmt) + 0.18f * std::max(0.0f, bankAmt);
    const float dimR = 1.0f - 0.45f * std::max(0.0f, bankAmt) + 0.18f * std::max(0.0f, -bankAmt);
    cv.paint(W(wingL), mat(c(Ramp::Steel, 0.62f) * dimL, bev, 1.6f, 0.4f));
    cv.paint(W(wingR), mat(c(Ramp::Steel, 0.62f) * dimR, bev, 1.6f, 0.4f));
    cv.paint(W(polygon({{-11.5f, 5.5f}, {-15.5f, 9.2f}, {-15.8f, 11.2f}, {-13.5f, 11.5f}, {-10.5f, 8.5f}})),
             mat(c(Ramp::Red, 0.5f) * dimL, 0.8f * k, 0.8f, 0.5f, 1.0f));
    cv.paint(W(polygon({{11.5f, 5.5f}, {15.5f, 9.2f}, {15.8f, 11.2f}, {13.5f, 11.5f}, {10.5f, 8.5f}})),
             mat(c(Ramp::Red, 0.5f) * dimR, 0.8f * k, 0.8f, 0.5f, 1.0f));
    // Wing-root intakes.
    cv.paint(W(mirrorX(rect({6.2f, 7.5f}, 1.6f, 5.0f, 1.2f))), mat(c(Ramp::Steel, 0.45f), bev, 1.8f, 0.3f, 0.5f));
    // Fuselage: long, white-blue, from the nose to the twin engines.
    const Shape body = mirrorPoly({{0, -21}, {2.2f, -15}, {4.2f, -6}, {5.0f, 4}, {5.4f, 13}, {4.6f, 17}, {0, 16}});
    Material hull;
    hull.colour = vgrad(c(Ramp::Steel, 0.95f), c(Ramp::Steel, 0.72f), -20.0f * k, 16.0f * k);
    hull.bevel = 2.6f * k;
    hull.height = 2.6f;
    hull.gloss = 0.55f;
    hull.elevation = 1.5f;
    cv.paint(W(body), hull);
    // Panel lines and the red nose stripe.
    cv.shade(W(mirrorX(capsule({2.0f, 2.0f}, {3.6f, 12.0f}, 0.22f))), 0.72f, 0.2f);
    cv.shade(W(capsule({-3.8f, 5.5f}, {3.8f, 5.5f}, 0.22f)), 0.72f, 0.2f);
    cv.paint(W(mirrorPoly({{0, -17.8f}, {1.5f, -15.2f}, {1.6f, -14.2f}, {0, -15.8f}})), mat(c(Ramp::Red, 0.55f), 0.6f * k, 0.5f, 0.5f, 3.2f));
    // Engines.
    for (float ex : {-3.6f, 3.6f}) {
        cv.paint(W(rect({ex, 15.0f}, 1.7f, 2.4f, 0.6f)), mat(c(Ramp::Grey, 0.35f), 0.8f * k, 1.0f, 0.5f, 1.0f));
        cv.light(W(rect({ex, 16.8f}, 1.1f, 0.8f, 0.4f)), c(Ramp::Cyan, 0.85f), 0.9f * std::max(0.4f, flame));
    }
    // Canopy: deep blue glass with a bright glint.
    const Shape canopy = ellipse({0, -7.0f}, 2.5f, 4.8f);
    cv.paint(W(offset(canopy, 0.6f)), mat(c(Ramp::Steel, 0.3f), 0.5f * k, 0.5f, 0.2f, 3.0f));
    Material glass;
    glass.colour = vgrad(c(Ramp::Cyan, 0.55f), c(Ramp::Navy, 0.35f), -11.0f * k, -3.0f * k);
    glass.bevel = 2.0f * k;
    glass.height = 2.0f;
    glass.gloss = 1.0f;
    glass.elevation = 3.2f;
    cv.paint(W(canopy), glass);
    cv.light(W(ellipse({-0.8f, -9.0f}, 0.7f, 1.5f)), Rgbf{0.9f, 1.0f, 1.0f}, 0.8f);
}

Picture bulletOrb(float r, Ramp ringRamp, float phase) {
    // A saturated ring with a white-hot core and a dark rim: readable on stars, explosions
    // and hulls alike.
    Canvas cv(Box{-r - 3, -r - 3, r + 3, r + 3});
    const float pulse = 1.0f + 0.1f * std::sin(phase * 6.2831853f);
    cv.glow({0, 0}, r * 1.5f * pulse, c(ringRamp, 0.5f), 0.5f, 2.0f);
    cv.paint(circle({0, 0}, r * pulse), mat(c(ringRamp, 0.52f), r * 0.5f, r * 0.4f, 0.2f));
    cv.light(ring({0, 0}, r * 0.72f * pulse, r * 0.35f), c(ringRamp, 0.55f), 0.35f);
    cv.light(circle({0, 0}, r * 0.42f), Rgbf{1, 1, 1}, 1.2f);
    return cv.finish();
}

}  // namespace art::look
