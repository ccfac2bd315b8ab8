#include "bank.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "engine/sp4_writer.h"
#include "png_write.h"
#include "text.h"

namespace art {

Bank::Bank(std::string fileBase, int first, int last) : base_(std::move(fileBase)), first_(first), last_(last) {}

void Bank::set(int number, Picture p) {
    if (number < first_ || number > last_) throw std::runtime_error(base_ + ": pattern " + std::to_string(number) + " outside the bank");
    if (p.width > kBankWidth - 2) throw std::runtime_error(base_ + ": pattern " + std::to_string(number) + " wider than the bank");
    pictures_[number] = std::move(p);
}

Bank::Output Bank::build() const {
    Output out;
    const int count = last_ - first_ + 1;
    out.records.resize(static_cast<std::size_t>(count));
    // Shelf packing, tallest first; one transparent pixel between pictures and a free
    // first row and column so the top-left pixel stays the transparent colour.
    std::vector<int> order;
    for (const auto& [n, p] : pictures_) order.push_back(n);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return pictures_.at(a).height > pictures_.at(b).height; });
    struct Place {
        int x, y;
    };
    std::map<int, Place> place;
    int x = 1, y = 1, shelf = 0;
    for (int n : order) {
        const Picture& p = pictures_.at(n);
        if (x + p.width + 1 > kBankWidth) {
            y += shelf + 1;
            x = 1;
            shelf = 0;
        }
        place[n] = {x, y};
        x += p.width + 1;
        shelf = std::max(shelf, p.height);
    }
    const int height = std::max(2, y + shelf + 1);
    out.image = engine::bmp8::Image(kBankWidth, height);
    out.image.palette = palette();
    for (int i = 0; i < count; ++i) {
        const int n = first_ + i;
        engine::sp4::PatternFields& f = out.records[static_cast<std::size_t>(i)];
        auto it = pictures_.find(n);
        if (it == pictures_.end()) {
            f.source = {0, 0, 1, 1};
            continue;
        }
        const Picture& p = it->second;
        const Place at = place.at(n);
        for (int py = 0; py < p.height; ++py)
            for (int px = 0; px < p.width; ++px) out.image.at(at.x + px, at.y + py) = p.at(px, py);
        f.source = {at.x, at.y, at.x + p.width, at.y + p.height};
        f.originX = static_cast<std::int16_t>(p.originX);
        f.originY = static_cast<std::int16_t>(p.originY);
        f.anchorX = p.anchorX;
        f.anchorY = p.anchorY;
        f.hitLast = static_cast<std::int8_t>(std::min<std::size_t>(p.hits.size(), 4) - 1);
        for (std::size_t h = 0; h < std::min<std::size_t>(p.hits.size(), 4); ++h) f.hits[h] = p.hits[h];
        f.rotLast = p.rotLast;
        if (p.rotLast != 0) out.rotate = true;
    }
    return out;
}

void writeBank(const std::string& dir, const Bank& bank, const Bank::Output& out) {
    const std::string base = dir + "/" + bank.name();
    if (!engine::sp4::writeFile(base + ".sp4", engine::sp4::headerFor(out.records, out.rotate), out.records))
        throw std::runtime_error("cannot write " + base + ".sp4");
    if (!engine::bmp8::write(base + ".bmp", out.image)) throw std::runtime_error("cannot write " + base + ".bmp");
}

namespace {

struct Rgba {
    std::vector<std::uint8_t> px;
    int w, h;
    void put(int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
        if (x < 0 || y < 0 || x >= w || y >= h) return;
        std::uint8_t* p = &px[static_cast<std::size_t>((y * w + x) * 3)];
        p[0] = r;
        p[1] = g;
        p[2] = b;
    }
};

// Small labels for the sheet, straight from a distance-field text shape.
void label(Rgba& img, int x, int y, const std::string& s, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    const Shape t = plainFont().text(s, 11, Align::Left);
    for (int py = -11; py <= 3; ++py)
        for (int px = 0; px <= static_cast<int>(s.size()) * 8; ++px) {
            const float d = t(Vec2{static_cast<float>(px) + 0.5f, static_cast<float>(py) + 0.5f});
            if (d < 0) img.put(x + px, y + py, r, g, b);
            else if (d < 1.3f) img.put(x + px, y + py, 0, 0, 0);
        }
}

}  // namespace

void writeContactSheet(const std::string& path, const Bank& bank, const Bank::Output& out) {
    const int K = 2;
    const int W = kBankWidth * K, H = out.image.height * K + 16;
    Rgba img{std::vector<std::uint8_t>(static_cast<std::size_t>(W * H * 3)), W, H};
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const bool c = ((x / 8) + (y / 8)) & 1;
            img.put(x, y, c ? 26 : 20, c ? 26 : 20, c ? 34 : 28);
        }
    for (int y = 0; y < out.image.height; ++y)
        for (int x = 0; x < kBankWidth; ++x) {
            const std::uint8_t v = out.image.at(x, y);
            if (v == kKey) continue;
            const plat::Rgb c = out.image.palette[v];
            for (int dy = 0; dy < K; ++dy)
                for (int dx = 0; dx < K; ++dx) img.put(x * K + dx, y * K + dy, c.r, c.g, c.b);
        }
    for (std::size_t i = 0; i < out.records.size(); ++i) {
        const auto& f = out.records[i];
        if (f.source.right - f.source.left <= 1 && f.source.bottom - f.source.top <= 1) continue;
        const int l = f.source.left * K, t = f.source.top * K, r = f.source.right * K - 1, b = f.source.bottom * K - 1;
        for (int x = l; x <= r; ++x) {
            img.put(x, t, 70, 70, 90);
            img.put(x, b, 70, 70, 90);
        }
        for (int y = t; y <= b; ++y) {
            img.put(l, y, 70, 70, 90);
            img.put(r, y, 70, 70, 90);
        }
        const int hx = (f.source.left + f.originX) * K, hy = (f.source.top + f.originY) * K;
        for (int d = -4; d <= 4; ++d) {
            img.put(hx + d, hy, 255, 255, 0);
            img.put(hx, hy + d, 255, 255, 0);
        }
        for (int h = 0; h <= f.hitLast && h < 4; ++h) {
            const auto& c = f.hits[static_cast<std::size_t>(h)];
            const float cx = static_cast<float>(hx + c.x * K), cy = static_cast<float>(hy + c.y * K), rr = static_cast<float>(c.radius * K);
            const int steps = std::max(16, static_cast<int>(rr * 6));
            for (int s = 0; s < steps; ++s) {
                const float a = 6.2831853f * static_cast<float>(s) / static_cast<float>(steps);
                img.put(static_cast<int>(cx + rr * std::cos(a)), static_cast<int>(cy + rr * std::sin(a)), 255, 60, 60);
            }
        }
        std::string text = std::to_string(bank.first() + static_cast<int>(i));
        if (f.rotLast) text += "r" + std::to_string(f.rotLast + 1);
        label(img, l + 2, t + 11, text, 120, 255, 120);
    }
    writePng(path, W, H, img.px);
}

}  // namespace art
