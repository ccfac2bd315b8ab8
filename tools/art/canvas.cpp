#include "canvas.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace art {

Picture& Picture::hit(int radius, int x, int y) {
    hits.push_back({static_cast<std::int16_t>(radius), static_cast<std::int16_t>(x), static_cast<std::int16_t>(y)});
    return *this;
}

Picture& Picture::rotations(int frames) {
    rotLast = static_cast<std::uint8_t>(frames - 1);
    return *this;
}

bool Picture::empty() const {
    return std::none_of(pixels.begin(), pixels.end(), [](std::uint8_t v) { return v != kKey; });
}

Material mat(Rgbf c, float bevel, float height, float gloss, float elevation) {
    Material m;
    m.colour = [c](Vec2) { return c; };
    m.bevel = bevel;
    m.height = height;
    m.gloss = gloss;
    m.elevation = elevation;
    return m;
}

std::function<Rgbf(Vec2)> vgrad(Rgbf a, Rgbf b, float y0, float y1) {
    return [=](Vec2 p) { return mix(a, b, std::clamp((p.y - y0) / (y1 - y0), 0.0f, 1.0f)); };
}

Canvas::Canvas(Box e) {
    x0_ = static_cast<int>(std::floor(e.x0)) - 3;
    y0_ = static_cast<int>(std::floor(e.y0)) - 3;
    w_ = static_cast<int>(std::ceil(e.x1)) + 3 - x0_;
    h_ = static_cast<int>(std::ceil(e.y1)) + 3 - y0_;
    cells_.resize(static_cast<std::size_t>(w_ * kSuper) * static_cast<std::size_t>(h_ * kSuper));
}

Vec2 Canvas::toSprite(int sx, int sy) const {
    return {static_cast<float>(x0_) + (static_cast<float>(sx) + 0.5f) / kSuper,
            static_cast<float>(y0_) + (static_cast<float>(sy) + 0.5f) / kSuper};
}

template <typename F>
void Canvas::visit(const Box& b, F&& f) {
    const int W = w_ * kSuper, H = h_ * kSuper;
    const int sx0 = std::max(0, static_cast<int>(std::floor((b.x0 - static_cast<float>(x0_)) * kSuper)) - 2);
    const int sy0 = std::max(0, static_cast<int>(std::floor((b.y0 - static_cast<float>(y0_)) * kSuper)) - 2);
    const int sx1 = std::min(W, static_cast<int>(std::ceil((b.x1 - static_cast<float>(x0_)) * kSuper)) + 2);
    const int sy1 = std::min(H, static_cast<int>(std::ceil((b.y1 - static_cast<float>(y0_)) * kSuper)) + 2);
    for (int sy = sy0; sy < sy1; ++sy)
        for (int sx = sx0; sx < sx1; ++sx) f(cells_[static_cast<std::size_t>(sy * W + sx)], toSprite(sx, sy));
}

namespace {
float coverage(float d) { return std::clamp(0.5f - d * kSuper, 0.0f, 1.0f); }
}  // namespace

void Canvas::paint(const Shape& s, const Material& m) {
    visit(s.box.grown(1), [&](Cell& c, Vec2 p) {
        const float d = s(p);
        const float cov = coverage(d);
        if (cov <= 0) return;
        const float inside = m.bevel > 0 ? -d / m.bevel : 1.0f;
        // Rounded profile: quarter circle rising over the bevel width.
        const float t = std::clamp(inside, 0.0f, 1.0f);
        float h = m.elevation + m.height * std::sqrt(1.0f - (1.0f - t) * (1.0f - t));
        if (m.bump) h += m.bump(p) * t;
        const Rgbf col = m.colour(p);
        if (c.alpha <= 0) {
            c.albedo = col;
            c.height = h;
            c.gloss = m.gloss;
        } else {
            c.albedo = mix(c.albedo, col, cov);
            c.height = c.height + (h - c.height) * cov;
            c.gloss = c.gloss + (m.gloss - c.gloss) * cov;
        }
        c.alpha = cov + c.alpha * (1 - cov);
    });
}

void Canvas::shade(const Shape& s, float factor, float depth) {
    visit(s.box.grown(1), [&](Cell& c, Vec2 p) {
        const float cov = coverage(s(p));
        if (cov <= 0 || c.alpha <= 0) return;
        c.albedo = c.albedo * (1 + (factor - 1) * cov);
        c.height -= depth * cov;
    });
}

void Canvas::light(const Shape& s, Rgbf col, float intensity) {
    visit(s.box.grown(1), [&](Cell& c, Vec2 p) {
        const float cov = coverage(s(p));
        if (cov <= 0) return;
        c.emis = c.emis + col * (cov * intensity);
    });
}

void Canvas::glow(Vec2 ctr, float r, Rgbf col, float intensity, float power) {
    visit(Box{ctr.x - r, ctr.y - r, ctr.x + r, ctr.y + r}, [&](Cell& c, Vec2 p) {
        const float d = length(p - ctr) / r;
        if (d >= 1) return;
        c.emis = c.emis + col * (intensity * std::pow(1 - d, power));
    });
}

void Canvas::glowLine(Vec2 a, Vec2 b, float r, Rgbf col, float intensity, float power) {
    const Box bb{std::min(a.x, b.x) - r, std::min(a.y, b.y) - r, std::max(a.x, b.x) + r, std::max(a.y, b.y) + r};
    visit(bb, [&](Cell& c, Vec2 p) {
        const Vec2 pa = p - a, ba = b - a;
        const float den = dot(ba, ba);
        const float h = den > 0 ? std::clamp(dot(pa, ba) / den, 0.0f, 1.0f) : 0.0f;
        const float d = length(pa - ba * h) / r;
        if (d >= 1) return;
        c.emis = c.emis + col * (intensity * std::pow(1 - d, power));
    });
}

void Canvas::erase(const Shape& s) {
    visit(s.box.grown(1), [&](Cell& c, Vec2 p) {
        const float cov = coverage(s(p));
        if (cov <= 0) return;
        c.alpha *= (1 - cov);
        c.emis = c.emis * (1 - cov);
    });
}

Canvas::Layer Canvas::resolveInto(std::vector<float>& solid) const {
    const int W = w_ * kSuper, H = h_ * kSuper;
    // Light from the upper left, slightly in front.
    const float lx = -0.55f, ly = -0.68f, lz = 0.50f;
    const float ll = std::sqrt(lx * lx + ly * ly + lz * lz);
    const float Lx = lx / ll, Ly = ly / ll, Lz = lz / ll;
    const float hx0 = Lx, hy0 = Ly, hz0 = Lz + 1.0f;
    const float hl = std::sqrt(hx0 * hx0 + hy0 * hy0 + hz0 * hz0);
    const float Hx = hx0 / hl, Hy = hy0 / hl, Hz = hz0 / hl;

    auto heightAt = [&](int sx, int sy) {
        sx = std::clamp(sx, 0, W - 1);
        sy = std::clamp(sy, 0, H - 1);
        const Cell& c = cells_[static_cast<std::size_t>(sy * W + sx)];
        return c.alpha > 0 ? c.height : 0.0f;
    };

    // Premultiplied colour and coverage per output pixel.
    std::vector<Rgbf> col(static_cast<std::size_t>(w_ * h_));
    std::vector<float> alpha(static_cast<std::size_t>(w_ * h_), 0.0f);
    solid.assign(static_cast<std::size_t>(w_ * h_), 0.0f);
    const float inv = 1.0f / (kSuper * kSuper);
    for (int sy = 0; sy < H; ++sy) {
        for (int sx = 0; sx < W; ++sx) {
            const Cell& c = cells_[static_cast<std::size_t>(sy * W + sx)];
            Rgbf lit{};
            if (c.alpha > 0) {
                const float dx = (heightAt(sx + 1, sy) - heightAt(sx - 1, sy)) * (kSuper / 2.0f);
                const float dy = (heightAt(sx, sy + 1) - heightAt(sx, sy - 1)) * (kSuper / 2.0f);
                const float nl = std::sqrt(dx * dx + dy * dy + 1.0f);
                const float nx = -dx / nl, ny = -dy / nl, nz = 1.0f / nl;
                const float diff = std::max(0.0f, nx * Lx + ny * Ly + nz * Lz);
                const float glint = std::pow(std::max(0.0f, nx * Hx + ny * Hy + nz * Hz), 28.0f) * c.gloss;
                const float k = 0.36f + 0.80f * diff;
                lit = c.albedo * k + Rgbf{glint, glint, glint};
                lit = lit * c.alpha;
            }
            const Rgbf e = c.emis;
            const Rgbf pm = lit + e;
            const float ea = std::clamp(std::max({e.r, e.g, e.b}), 0.0f, 1.0f);
            const float a = std::clamp(c.alpha + ea * (1 - c.alpha), 0.0f, 1.0f);
            const std::size_t i = static_cast<std::size_t>((sy / kSuper) * w_ + sx / kSuper);
            col[i] = col[i] + pm * inv;
            alpha[i] += a * inv;
            solid[i] += c.alpha * inv;
        }
    }

    Layer l;
    l.x0 = x0_;
    l.y0 = y0_;
    l.w = w_;
    l.h = h_;
    l.colour = std::move(col);
    l.alpha = std::move(alpha);
    return l;
}

Canvas::Layer Canvas::resolve() const {
    std::vector<float> solid;
    return resolveInto(solid);
}

Picture Canvas::finish(const FinishOptions& o) const {
    std::vector<float> solid;
    const Layer l = resolveInto(solid);
    const std::vector<Rgbf>& col = l.colour;
    const std::vector<float>& alpha = l.alpha;
    static constexpr std::array<int, 16> bayer{0, 8, 2, 10, 12, 4, 14, 6, 3, 11, 1, 9, 15, 7, 13, 5};
    std::vector<std::uint8_t> idx(static_cast<std::size_t>(w_ * h_), kKey);
    std::vector<std::uint8_t> isSolid(static_cast<std::size_t>(w_ * h_), 0);
    for (int y = 0; y < h_; ++y) {
        for (int x = 0; x < w_; ++x) {
            const std::size_t i = static_cast<std::size_t>(y * w_ + x);
            const float a = alpha[i];
            if (a < o.alphaCut) continue;
            Rgbf c = o.soft ? col[i] : col[i] * (1.0f / a);
            if (o.soft && std::max({c.r, c.g, c.b}) < 0.10f) continue;
            if (o.dither > 0) {
                const float t = (static_cast<float>(bayer[static_cast<std::size_t>((y & 3) * 4 + (x & 3))]) + 0.5f) / 16.0f - 0.5f;
                c = c + Rgbf{t, t, t} * o.dither;
            }
            c = {std::clamp(c.r, 0.0f, 1.0f), std::clamp(c.g, 0.0f, 1.0f), std::clamp(c.b, 0.0f, 1.0f)};
            idx[i] = nearestIndex(c);
            isSolid[i] = 1;
        }
    }
    if (o.rim) {
        std::vector<std::uint8_t> out = idx;
        for (int y = 0; y < h_; ++y) {
            for (int x = 0; x < w_; ++x) {
                const std::size_t i = static_cast<std::size_t>(y * w_ + x);
                if (isSolid[i]) continue;
                bool near = false;
                for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                    const int nx = x + dx, ny = y + dy;
                    if (nx >= 0 && ny >= 0 && nx < w_ && ny < h_ && isSolid[static_cast<std::size_t>(ny * w_ + nx)]) near = true;
                }
                if (near) out[i] = o.rimIndex;
            }
        }
        idx = std::move(out);
    }

    // Crop.
    int bx0 = 0, by0 = 0, bx1 = w_, by1 = h_;
    if (o.trim) {
        bx0 = w_, by0 = h_, bx1 = 0, by1 = 0;
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x)
                if (idx[static_cast<std::size_t>(y * w_ + x)] != kKey) {
                    bx0 = std::min(bx0, x);
                    by0 = std::min(by0, y);
                    bx1 = std::max(bx1, x + 1);
                    by1 = std::max(by1, y + 1);
                }
        if (bx1 <= bx0) {  // nothing visible: keep one transparent pixel at the hot spot
            bx0 = std::clamp(-x0_, 0, w_ - 1);
            by0 = std::clamp(-y0_, 0, h_ - 1);
            bx1 = bx0 + 1;
            by1 = by0 + 1;
        }
    }
    Picture p;
    p.width = bx1 - bx0;
    p.height = by1 - by0;
    p.pixels.resize(static_cast<std::size_t>(p.width * p.height));
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            p.pixels[static_cast<std::size_t>(y * p.width + x)] = idx[static_cast<std::size_t>((y + by0) * w_ + x + bx0)];
    p.originX = -x0_ - bx0;
    p.originY = -y0_ - by0;
    if (o.centreOrigin) {
        p.originX = p.width / 2;
        p.originY = p.height / 2;
    }
    return p;
}

Picture flipX(const Picture& src) {
    Picture p = src;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            p.pixels[static_cast<std::size_t>(y * p.width + x)] = src.at(p.width - 1 - x, y);
    p.originX = p.width - src.originX;
    for (auto& h : p.hits) h.x = static_cast<std::int16_t>(-h.x);
    return p;
}

}  // namespace art

namespace art {

void Screen::over(const Canvas::Layer& l, int dx, int dy) {
    for (int y = 0; y < l.h; ++y)
        for (int x = 0; x < l.w; ++x) {
            const int X = l.x0 + x + dx, Y = l.y0 + y + dy;
            if (X < 0 || Y < 0 || X >= w_ || Y >= h_) continue;
            const std::size_t i = static_cast<std::size_t>(y * l.w + x);
            Rgbf& d = at(X, Y);
            d = l.colour[i] + d * (1.0f - std::clamp(l.alpha[i], 0.0f, 1.0f));
        }
}

engine::bmp8::Image Screen::toImage(float dither) const {
    static constexpr std::array<int, 16> bayer{0, 8, 2, 10, 12, 4, 14, 6, 3, 11, 1, 9, 15, 7, 13, 5};
    engine::bmp8::Image img(w_, h_);
    img.palette = palette();
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x) {
            Rgbf c = px_[static_cast<std::size_t>(y * w_ + x)];
            const float t = (static_cast<float>(bayer[static_cast<std::size_t>((y & 3) * 4 + (x & 3))]) + 0.5f) / 16.0f - 0.5f;
            c = c + Rgbf{t, t, t} * dither;
            c = {std::clamp(c.r, 0.0f, 1.0f), std::clamp(c.g, 0.0f, 1.0f), std::clamp(c.b, 0.0f, 1.0f)};
            img.at(x, y) = nearestIndex(c);
        }
    return img;
}

}  // namespace art
