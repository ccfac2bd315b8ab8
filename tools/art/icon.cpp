// The program's icon at the sizes desktops look for: the player's ship climbing out of a
// dark rounded tile of space, its engines lit, drawn at each size (not scaled from one).

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "art.h"
#include "icon.h"
#include "platform/image_file.h"

namespace art {
namespace {

using look::c;

std::vector<std::uint8_t> drawIcon(int size) {
    const float half = static_cast<float>(size) / 2.0f;
    // The ship spans about 32 x 44 pixels at scale 1; it fills three quarters of the tile.
    const float k = static_cast<float>(size) * 0.72f / 44.0f;
    Canvas cv(Box{-half, -half, half, half});
    const float corner = static_cast<float>(size) * 0.18f;
    cv.paint(rect({0, 0}, half - 0.5f, half - 0.5f, corner),
             mat(Rgbf{1, 1, 1}, std::max(1.0f, static_cast<float>(size) / 40.0f), 1.0f, 0.15f));
    cv.shade(rect({0, 0}, half - 0.5f, half - 0.5f, corner), 0.0f);
    cv.light(rect({0, 0}, half - 0.5f, half - 0.5f, corner), c(Ramp::Navy, 0.22f), 1.0f);
    // A planet's rim low in the tile, and a few stars.
    cv.glow({0, half * 2.1f}, half * 1.5f, c(Ramp::Teal, 0.55f), 0.55f, 2.5f);
    if (size >= 32) {
        const Vec2 stars[] = {{-0.62f, -0.55f}, {0.55f, -0.66f}, {0.7f, -0.1f}, {-0.72f, 0.18f}, {-0.3f, -0.8f}};
        for (const Vec2& s : stars) cv.glow(s * half, std::max(1.0f, half * 0.05f), Rgbf{1, 1, 1}, 0.9f, 1.5f);
    }
    // The ship, its hot spot a little above the centre so the flames fit below.
    Canvas ship(Box{-22 * k, -24 * k, 22 * k, 30 * k});
    look::playerShip(ship, k, 0.0f, 0.0f, 1.0f);
    const Canvas::Layer tile = cv.resolve();
    const Canvas::Layer craft = ship.resolve();

    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(size) * static_cast<std::size_t>(size) * 4, 0);
    const int ox = static_cast<int>(std::floor(-half)), oy = ox;
    const int shipLift = static_cast<int>(std::lround(static_cast<float>(size) * 0.06f));
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            Rgbf col{0, 0, 0};
            float a = 0;
            auto sample = [&](const Canvas::Layer& l, int sx, int sy, Rgbf& outC, float& outA) {
                const int lx = sx - l.x0, ly = sy - l.y0;
                if (lx < 0 || ly < 0 || lx >= l.w || ly >= l.h) return false;
                const auto i = static_cast<std::size_t>(ly * l.w + lx);
                outC = l.colour[i];
                outA = l.alpha[i];
                return true;
            };
            Rgbf tc{0, 0, 0}, sc{0, 0, 0};
            float ta = 0, sa = 0;
            sample(tile, x + ox, y + oy, tc, ta);
            sample(craft, x + ox, y + oy + shipLift, sc, sa);
            // Premultiplied "over": the ship over the tile.
            col = sc + tc * (1.0f - sa);
            a = sa + ta * (1.0f - sa);
            const auto o = static_cast<std::size_t>(y * size + x) * 4;
            auto channel = [&](float v) {
                const float straight = a > 1e-4f ? v / a : 0.0f;
                return static_cast<std::uint8_t>(std::clamp(std::lround(straight * 255.0f), 0L, 255L));
            };
            rgba[o + 0] = channel(col.r);
            rgba[o + 1] = channel(col.g);
            rgba[o + 2] = channel(col.b);
            rgba[o + 3] = static_cast<std::uint8_t>(std::clamp(std::lround(a * 255.0f), 0L, 255L));
        }
    }
    return rgba;
}

}  // namespace

void writeIcons(const std::string& dir) {
    for (int size : kIconSizes) {
        const std::vector<std::uint8_t> rgba = drawIcon(size);
        const std::string path = dir + "/korrindal_" + std::to_string(size) + ".png";
        if (!plat::writePng(path, rgba.data(), size, size)) throw std::runtime_error("cannot write " + path);
    }
}

}  // namespace art
