// The title bank, the ending bank, the title picture and the play-field background.

#include <cmath>
#include <cstdint>

#include "art.h"
#include "enemy_look.h"
#include "noise.h"

namespace art {

namespace {

using enemy::hull;
using enemy::lamp;
using look::c;

float hash(int x, int y, int s) { return hash01(x, y, s); }

Picture titleLetter(char ch) {
    const Shape t = displayFont().text(std::string(1, ch), 44, Align::Centre);
    Canvas cv(t.box);
    Material m;
    m.colour = vgrad(c(Ramp::Gold, 0.5f), c(Ramp::Orange, 0.32f), -32, 0);
    m.bevel = 2.5f;
    m.height = 2;
    m.gloss = 0.3f;
    cv.paint(t, m);
    FinishOptions o;
    o.rim = false;
    Picture p = cv.finish(o);
    p.originY -= 16;
    return p;
}

// The ending reveals captions column by column outward from the hot spot until half the
// width is shown, so the hot spot sits exactly at the middle column.
Picture centred(Picture p) {
    p.originX = p.width / 2;
    return p;
}
Picture creditCaption(const std::string& s) { return centred(look::caption(s, 24, Rgbf{1, 1, 1}, c(Ramp::Cyan, 0.62f), 3.0f, 1.8f)); }
Picture creditName(const std::string& s) { return centred(look::caption(s, 19, c(Ramp::Gold, 0.97f), c(Ramp::Gold, 0.62f), 1.5f, 1.6f)); }

Picture endingShip(int frame) {
    Canvas cv(Box{-38, -46, 38, 64});
    const float ph = static_cast<float>(frame) * 3.14159265f / 4.0f;
    look::playerShip(cv, 2.0f, 0.55f * std::sin(ph), 0, 0.85f + 0.15f * std::sin(ph * 3.0f));
    return cv.finish();
}

Rgbf starColour(float h) {
    if (h < 0.2f) return c(Ramp::Cyan, 0.85f);
    if (h < 0.35f) return c(Ramp::Gold, 0.9f);
    if (h < 0.45f) return c(Ramp::Magenta, 0.85f);
    return Rgbf{1, 1, 1};
}

}  // namespace

void drawTitleBank(Bank& b) {
    const char letters[] = {'F', 'I', 'R', 'E'};
    for (int i = 0; i < 4; ++i) b.set(249 + i, titleLetter(letters[i]));
}

void drawEndingBank(Bank& b) {
    const char* captions[] = {"STAFF", "PROGRAM", "GRAPHICS", "MUSIC", "SOUND", "SPECIAL THANKS"};
    for (int i = 0; i < 6; ++i) b.set(253 + i, creditCaption(captions[i]));
    const char* names[] = {"THE KORRINDAL DEVELOPERS", "THE KORRINDAL BUILD TOOLS", "COMPOSED BY THE DEVELOPERS",
                           "EVERYONE WHO PLAYS", "SEE YOU AGAIN", "THANK YOU FOR PLAYING"};
    for (int i = 0; i < 6; ++i) b.set(259 + i, creditName(names[i]));
    for (int f = 0; f < 8; ++f) b.set(265 + f, endingShip(f));
}

engine::bmp8::Image drawTitleBack() {
    Screen sc(640, 480);
    // Sky, planet and atmosphere, two samples per axis.
    const float pcx = 250, pcy = 1420, pr = 1080;  // planet centre and radius
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            Rgbf acc{};
            for (int sy = 0; sy < 2; ++sy)
                for (int sx = 0; sx < 2; ++sx) {
                    const float fx = static_cast<float>(x) + 0.25f + 0.5f * static_cast<float>(sx);
                    const float fy = static_cast<float>(y) + 0.25f + 0.5f * static_cast<float>(sy);
                    const float dx = fx - pcx, dy = fy - pcy;
                    const float d = std::sqrt(dx * dx + dy * dy) - pr;  // < 0 inside the planet
                    Rgbf col;
                    if (d < 0) {
                        // Surface: seas and land, lit from the upper left, dark toward the limb.
                        const float n = fbm(fx * 0.012f, fy * 0.03f, 3);
                        const Rgbf land = mix(c(Ramp::Teal, 0.28f), c(Ramp::Sand, 0.45f), std::clamp((n - 0.48f) * 6.0f, 0.0f, 1.0f));
                        const float cl = std::clamp((fbm(fx * 0.02f + 7, fy * 0.06f, 9) - 0.55f) * 4.0f, 0.0f, 1.0f);
                        const float lightK = std::clamp(1.25f - fx / 420.0f, 0.1f, 1.0f) * std::clamp(0.55f - d / 260.0f, 0.0f, 1.0f);
                        col = mix(land, c(Ramp::Grey, 0.85f), cl * 0.7f) * lightK;
                        // City lights on the night side.
                        const float night = std::clamp((fx - 380.0f) / 120.0f, 0.0f, 1.0f);
                        if (n > 0.5f && hash01(static_cast<int>(fx), static_cast<int>(fy), 44) > 0.985f)
                            col = col + c(Ramp::Gold, 0.8f) * (0.6f * night * (1.0f - cl));
                        col = mix(col, c(Ramp::Cyan, 0.7f), std::clamp(1.0f + d / 18.0f, 0.0f, 1.0f) * 0.6f);
                    } else {
                        // Space: deep navy above, dusk glow near the horizon.
                        const float t = std::clamp(fy / 480.0f, 0.0f, 1.0f);
                        col = mix(c(Ramp::Navy, 0.02f), c(Ramp::Navy, 0.16f), t);
                        col = col + c(Ramp::Dusk, 0.45f) * (0.45f * std::exp(-d / 40.0f));
                        col = col + c(Ramp::Cyan, 0.6f) * (0.5f * std::exp(-d / 8.0f));
                        // Faint nebula.
                        const float neb = fbm(fx * 0.008f, fy * 0.012f, 21);
                        col = col + c(Ramp::Violet, 0.35f) * (std::max(0.0f, neb - 0.5f) * 0.5f);
                    }
                    acc = acc + col * 0.25f;
                }
            // Stars in space only.
            const float h = hash(x, y, 1);
            const float dx = static_cast<float>(x) - pcx, dy = static_cast<float>(y) - pcy;
            if (std::sqrt(dx * dx + dy * dy) > pr + 6 && h > 0.9965f) {
                const float k = (h - 0.9965f) / 0.0035f;
                acc = acc + starColour(hash(x, y, 2)) * (0.35f + 0.65f * k);
            }
            sc.at(x, y) = acc;
        }
    // Bright stars with crosses.
    for (int i = 0; i < 14; ++i) {
        const int x = static_cast<int>(hash(i, 0, 5) * 640), y = static_cast<int>(hash(i, 1, 5) * 260);
        Canvas cv(Box{-6, -6, 6, 6});
        cv.glowLine({-5, 0}, {5, 0}, 1.2f, Rgbf{1, 1, 1}, 0.8f, 1.0f);
        cv.glowLine({0, -5}, {0, 5}, 1.2f, Rgbf{1, 1, 1}, 0.8f, 1.0f);
        cv.glow({0, 0}, 3, starColour(hash(i, 2, 5)), 0.8f, 1.2f);
        sc.over(cv.resolve(), x, y);
    }
    // The player ship climbing away from the planet.
    {
        Canvas cv(Box{-40, -48, 40, 66});
        look::playerShip(cv, 2.0f, -0.35f, 0, 1.0f);
        sc.over(cv.resolve(), 500, 250);
    }
    // Logo.
    {
        const Shape t = displayFont().text("KORRINDAL", 84, Align::Centre, 4);
        Canvas cv(t.box.grown(24));
        cv.glow({0, -30}, 300, c(Ramp::Cyan, 0.5f), 0.0f);
        cv.paint(offset(t, 3.5f), mat(c(Ramp::Navy, 0.05f), 1, 0.5f, 0));
        Material m;
        m.colour = [](Vec2 p) {
            const float t = std::clamp((p.y + 62) / 62.0f, 0.0f, 1.0f);
            // Chrome: bright top, a dark horizon line, warm bottom.
            if (t < 0.52f) return mix(Rgbf{1, 1, 1}, c(Ramp::Steel, 0.7f), t / 0.52f);
            return mix(c(Ramp::Navy, 0.3f), c(Ramp::Gold, 0.8f), (t - 0.52f) / 0.48f);
        };
        m.bevel = 5;
        m.height = 4;
        m.gloss = 0.8f;
        m.elevation = 2;
        cv.paint(t, m);
        cv.paint(outline(t, 0.8f), mat(c(Ramp::Gold, 0.9f), 0.5f, 0.3f, 0.4f, 5));
        sc.over(cv.resolve(), 320, 150);
        Canvas sub(Box{-200, -20, 200, 10});
        const Shape s = displayFont().text("STORM OVER THE CORE WORLD", 16, Align::Centre, 6);
        sub.paint(offset(s, 1.2f), mat(c(Ramp::Navy, 0.05f), 0.5f, 0.2f, 0));
        sub.paint(s, mat(c(Ramp::Cyan, 0.75f), 1, 0.8f, 0.4f, 1));
        sc.over(sub.resolve(), 320, 190);
    }
    // The prompt before the four glowing letters, and the credit line.
    {
        Canvas cv(Box{-120, -20, 10, 10});
        const Shape s = displayFont().text("PRESS", 22, Align::Right, 3);
        cv.paint(offset(s, 1.4f), mat(c(Ramp::Navy, 0.05f), 0.5f, 0.2f, 0));
        cv.paint(s, mat(c(Ramp::Steel, 0.7f), 1, 0.8f, 0.4f, 1));
        sc.over(cv.resolve(), 418, 453);
        Canvas cr(Box{0, -14, 300, 6});
        const Shape t = plainFont().text("THE KORRINDAL DEVELOPERS", 11, Align::Left, 1);
        cr.paint(offset(t, 1.0f), mat(c(Ramp::Navy, 0.05f), 0.5f, 0.2f, 0));
        cr.paint(t, mat(c(Ramp::Steel, 0.6f), 0.6f, 0.5f, 0.3f, 1));
        sc.over(cr.resolve(), 14, 466);
    }
    engine::bmp8::Image img = sc.toImage(0.035f);
    img.at(0, 0) = kKey;
    return img;
}

engine::bmp8::Image drawPlayBackground() {
    Screen sc(640, 480);
    for (int side = 0; side < 2; ++side) {
        const float x0 = side == 0 ? 0.0f : 512.0f;
        // Panel drawn in its own frame: x 0..128 with the play field at x = 128 (left panel)
        // or at x = 0 (right panel).
        Canvas cv(Box{0, 0, 128, 480});
        const float inner = side == 0 ? 128.0f : 0.0f;  // edge next to the play field
        const float sgn = side == 0 ? 1.0f : -1.0f;      // toward the play field
        Material plate;
        plate.colour = [](Vec2 p) {
            const float brushed = 0.03f * std::sin(p.y * 1.7f + std::sin(p.x * 0.3f) * 2.0f);
            return c(Ramp::Gunmetal, 0.2f + brushed) ;
        };
        plate.bevel = 4;
        plate.height = 2.5f;
        plate.gloss = 0.25f;
        // Plates separated by grooves.
        const float cuts[] = {0, 60, 150, 300, 390, 480};
        for (int i = 0; i + 1 < 6; ++i) cv.paint(rect({64, (cuts[i] + cuts[i + 1]) / 2}, 66, (cuts[i + 1] - cuts[i]) / 2 - 1.5f, 3), plate);
        for (int i = 1; i + 1 < 6; ++i) {
            for (float rx : {12.0f, 116.0f}) {
                cv.paint(circle({rx, cuts[i] + 7}, 1.8f), hull(Ramp::Grey, 0.45f, 1, 1, 0.6f, 3));
                cv.paint(circle({rx, cuts[i] - 7}, 1.8f), hull(Ramp::Grey, 0.45f, 1, 1, 0.6f, 3));
            }
        }
        // The trim along the play field.
        cv.paint(rect({inner - sgn * 5, 240}, 4, 242, 2), hull(Ramp::Steel, 0.38f, 2, 2, 0.6f, 3));
        cv.paint(rect({inner - sgn * 1, 240}, 1, 242, 0.5f), hull(Ramp::Grey, 0.08f, 0.5f, 0.2f, 0.0f, 0));
        // Vents.
        for (int i = 0; i < 6; ++i) cv.shade(rect({64, 190.0f + 14.0f * static_cast<float>(i)}, 34, 2.5f, 2.5f), 0.35f, 1.5f);
        // Lit details: a row of status lamps and a small readout window.
        for (int i = 0; i < 4; ++i) lamp(cv, {34.0f + 20.0f * static_cast<float>(i), 420}, 1.8f, i == side ? Ramp::Orange : Ramp::Cyan, 0.55f);
        cv.paint(rect({64, 110}, 40, 22, 4), hull(Ramp::Navy, 0.12f, 2, -1.5f, 0.9f, 2));
        for (int i = 0; i < 5; ++i)
            cv.light(rect({34.0f + 15.0f * static_cast<float>(i), 110.0f + 6.0f * std::sin(static_cast<float>(i * 2 + side))}, 5, 1, 0.5f),
                     c(Ramp::Cyan, 0.55f), 0.5f);
        // The stock slot (icons at y 350) and its engraved label.
        cv.paint(rect({64, 350}, 60, 17, 5), hull(Ramp::Grey, 0.05f, 3, -2.0f, 0.2f, 2));
        const Shape label = plainFont().text(side == 0 ? "SHIPS" : "BOMBS", 10, Align::Centre, 2);
        cv.shade(translate(label, {64, 326}), 0.45f, 0.6f);
        cv.light(translate(label, {64, 326}), c(Ramp::Steel, 0.55f), 0.8f);
        // The label next to the score or time at the top.
        const Shape top = plainFont().text(side == 0 ? "TIME" : "SCORE", 11, side == 0 ? Align::Right : Align::Left, 2);
        cv.paint(rect({side == 0 ? 100.0f : 28.0f, 25}, 26, 10, 4), hull(Ramp::Grey, 0.06f, 2, -1.5f, 0.2f, 2));
        cv.light(translate(top, {side == 0 ? 120.0f : 8.0f, 30}), c(Ramp::Cyan, 0.6f), 0.6f);
        const Canvas::Layer l = cv.resolve();
        Canvas::Layer crop = l;
        sc.over(crop, static_cast<int>(x0), 0);
    }
    engine::bmp8::Image img = sc.toImage(0.02f);
    // The play field is pure black (index 0): the game draws the stars on it.
    for (int y = 0; y < 480; ++y)
        for (int x = 128; x < 512; ++x) img.at(x, y) = kKey;
    return img;
}

}  // namespace art
