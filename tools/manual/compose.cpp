#include "compose.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace manual {

namespace {

// One opaque pixel placed relative to the picture's point.
struct Dot {
    int x = 0, y = 0;
    plat::Rgb colour;
};

// A pixel's centre relative to the hot spot, turned by whole quarter turns (screen y grows
// downward, so a positive turn is clockwise on screen), back to the pixel it falls in.
void turnDot(int turn, double cx, double cy, int& x, int& y) {
    double tx = cx, ty = cy;
    switch (turn) {
        case 64: tx = -cy; ty = cx; break;
        case 128: tx = -cx; ty = -cy; break;
        case 192: tx = cy; ty = -cx; break;
        default: break;
    }
    x = static_cast<int>(std::floor(tx));
    y = static_cast<int>(std::floor(ty));
}

// A rectangle of a full picture, every pixel opaque.
ComposeResult cut(const PictureSpec& spec, const BankSet& banks) {
    ComposeResult r;
    const auto pic = banks.readPicture(spec.bitmap);
    if (!pic) {
        r.error = "picture \"" + spec.name + "\": " + spec.bitmap + " is not an 8-bit picture beside the game";
        return r;
    }
    if (spec.cropX + spec.cropW > pic->width || spec.cropY + spec.cropH > pic->height) {
        r.error = "picture \"" + spec.name + "\": the rectangle lies outside " + spec.bitmap;
        return r;
    }
    RgbaImage& img = r.image;
    img.width = spec.cropW;
    img.height = spec.cropH;
    img.pixels.reserve(static_cast<std::size_t>(img.width) * static_cast<std::size_t>(img.height) * 4);
    for (int y = 0; y < spec.cropH; ++y) {
        for (int x = 0; x < spec.cropW; ++x) {
            const auto& c = pic->palette[pic->at(spec.cropX + x, spec.cropY + y)];
            img.pixels.insert(img.pixels.end(), {c.r, c.g, c.b, 255});
        }
    }
    r.ok = true;
    return r;
}

}  // namespace

ComposeResult compose(const PictureSpec& spec, const BankSet& banks) {
    if (!spec.bitmap.empty()) return cut(spec, banks);
    ComposeResult r;
    std::vector<Dot> dots;
    for (const auto& l : spec.layers) {
        const auto ref = banks.find(l.pattern);
        if (!ref) {
            r.error = "picture \"" + spec.name + "\": pattern " + std::to_string(l.pattern) + " is in no bank";
            return r;
        }
        const auto& rec = *ref->record;
        const auto& s = rec.source;
        if (s.right <= s.left || s.bottom <= s.top) {
            r.error = "picture \"" + spec.name + "\": pattern " + std::to_string(l.pattern) + " is empty";
            return r;
        }
        const auto& pic = ref->bank->picture;
        for (int y = s.top; y < s.bottom; ++y) {
            for (int x = s.left; x < s.right; ++x) {
                const std::uint8_t index = pic.at(x, y);
                if (index == ref->bank->key) continue;
                int px = 0, py = 0;
                turnDot(l.turn, x - s.left - rec.originX + 0.5, y - s.top - rec.originY + 0.5, px, py);
                dots.push_back(Dot{px + l.dx, py + l.dy, pic.palette[index]});
            }
        }
    }
    if (dots.empty()) {
        r.error = "picture \"" + spec.name + "\" draws no pixel";
        return r;
    }
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    for (const auto& d : dots) {
        left = std::min(left, d.x);
        top = std::min(top, d.y);
        right = std::max(right, d.x);
        bottom = std::max(bottom, d.y);
    }
    RgbaImage& img = r.image;
    img.width = right - left + 1;
    img.height = bottom - top + 1;
    img.pixels.assign(static_cast<std::size_t>(img.width) * static_cast<std::size_t>(img.height) * 4, 0);
    // Later layers over earlier ones, as the game draws them.
    for (const auto& d : dots) {
        const auto at = (static_cast<std::size_t>(d.y - top) * static_cast<std::size_t>(img.width) +
                         static_cast<std::size_t>(d.x - left)) * 4;
        img.pixels[at] = d.colour.r;
        img.pixels[at + 1] = d.colour.g;
        img.pixels[at + 2] = d.colour.b;
        img.pixels[at + 3] = 255;
    }
    r.ok = true;
    return r;
}

}  // namespace manual
