#include "text.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <limits>
#include <mutex>
#include <stdexcept>
#include <vector>

#include "canvas.h"

namespace art {

struct Font::Impl {
    FT_Library lib = nullptr;
    FT_Face face = nullptr;
    std::mutex lock;  // a FreeType face serves one thread at a time
};

Font::Font(std::initializer_list<const char*> candidates) : impl_(std::make_unique<Impl>()) {
    if (FT_Init_FreeType(&impl_->lib) != 0) throw std::runtime_error("FreeType could not start");
    for (const char* path : candidates) {
        if (FT_New_Face(impl_->lib, path, 0, &impl_->face) == 0) return;
    }
    FT_Done_FreeType(impl_->lib);
    throw std::runtime_error(std::string("no usable font; first candidate: ") + *candidates.begin());
}

Font::~Font() {
    if (impl_->face) FT_Done_Face(impl_->face);
    if (impl_->lib) FT_Done_FreeType(impl_->lib);
}

namespace {

// Squared Euclidean distance transform along one line (Felzenszwalb and Huttenlocher).
void edt1d(const float* f, float* d, int n, std::vector<int>& v, std::vector<float>& z) {
    int k = 0;
    v[0] = 0;
    z[0] = -std::numeric_limits<float>::infinity();
    z[1] = std::numeric_limits<float>::infinity();
    for (int q = 1; q < n; ++q) {
        float s;
        for (;;) {
            const int p = v[static_cast<std::size_t>(k)];
            s = ((f[q] + static_cast<float>(q * q)) - (f[p] + static_cast<float>(p * p))) / static_cast<float>(2 * q - 2 * p);
            if (s <= z[static_cast<std::size_t>(k)] && k > 0) {
                --k;
                continue;
            }
            break;
        }
        ++k;
        v[static_cast<std::size_t>(k)] = q;
        z[static_cast<std::size_t>(k)] = s;
        z[static_cast<std::size_t>(k + 1)] = std::numeric_limits<float>::infinity();
    }
    k = 0;
    for (int q = 0; q < n; ++q) {
        while (z[static_cast<std::size_t>(k + 1)] < static_cast<float>(q)) ++k;
        const int p = v[static_cast<std::size_t>(k)];
        d[q] = static_cast<float>((q - p) * (q - p)) + f[p];
    }
}

// Distance (in grid cells) from every cell to the nearest cell where mask is set.
std::vector<float> edt(const std::vector<std::uint8_t>& mask, int w, int h) {
    const float inf = 1e12f;
    std::vector<float> g(static_cast<std::size_t>(w * h));
    for (std::size_t i = 0; i < g.size(); ++i) g[i] = mask[i] ? 0.0f : inf;
    const int n = std::max(w, h);
    std::vector<float> f(static_cast<std::size_t>(n)), d(static_cast<std::size_t>(n));
    std::vector<int> v(static_cast<std::size_t>(n));
    std::vector<float> z(static_cast<std::size_t>(n + 1));
    for (int x = 0; x < w; ++x) {
        for (int y = 0; y < h; ++y) f[static_cast<std::size_t>(y)] = g[static_cast<std::size_t>(y * w + x)];
        edt1d(f.data(), d.data(), h, v, z);
        for (int y = 0; y < h; ++y) g[static_cast<std::size_t>(y * w + x)] = d[static_cast<std::size_t>(y)];
    }
    for (int y = 0; y < h; ++y) {
        edt1d(g.data() + static_cast<std::ptrdiff_t>(y) * w, d.data(), w, v, z);
        for (int x = 0; x < w; ++x) g[static_cast<std::size_t>(y * w + x)] = std::sqrt(d[static_cast<std::size_t>(x)]);
    }
    return g;
}

}  // namespace

Shape Font::text(const std::string& s, float px, Align align, float tracking, float monoAdvance) const {
    std::unique_lock<std::mutex> guard(impl_->lock);
    FT_Face face = impl_->face;
    const int S = kSuper;
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(std::lround(px * S)));
    // Lay out glyphs at the supersampled size.
    struct Glyph {
        std::vector<std::uint8_t> bits;
        int w, h, left, top;
        float penX;
    };
    std::vector<Glyph> glyphs;
    float pen = 0;
    for (unsigned char ch : s) {
        if (FT_Load_Char(face, ch, FT_LOAD_RENDER) != 0) continue;
        const FT_GlyphSlot g = face->glyph;
        Glyph gl;
        gl.w = static_cast<int>(g->bitmap.width);
        gl.h = static_cast<int>(g->bitmap.rows);
        gl.left = g->bitmap_left;
        gl.top = g->bitmap_top;
        const float adv = static_cast<float>(g->advance.x) / 64.0f;
        if (monoAdvance > 0) {
            gl.penX = pen + (monoAdvance * S - static_cast<float>(gl.w)) * 0.5f - static_cast<float>(gl.left);
            pen += monoAdvance * S;
        } else {
            gl.penX = pen;
            pen += adv + tracking * S;
        }
        gl.bits.resize(static_cast<std::size_t>(gl.w * gl.h));
        for (int y = 0; y < gl.h; ++y)
            for (int x = 0; x < gl.w; ++x)
                gl.bits[static_cast<std::size_t>(y * gl.w + x)] = g->bitmap.buffer[y * g->bitmap.pitch + x];
        glyphs.push_back(std::move(gl));
    }
    if (monoAdvance <= 0 && !s.empty()) pen -= tracking * S;
    guard.unlock();
    // Grid covering all glyphs plus a margin for the distance field.
    const int margin = 12 * S;
    const int ascent = static_cast<int>(std::ceil(px * S * 1.1f)), descent = static_cast<int>(std::ceil(px * S * 0.35f));
    const int gw = static_cast<int>(std::ceil(pen)) + 2 * margin + 8 * S;
    const int gh = ascent + descent + 2 * margin;
    std::vector<float> cov(static_cast<std::size_t>(gw * gh), 0.0f);
    const int baseY = margin + ascent;
    for (const Glyph& gl : glyphs) {
        const int ox = margin + static_cast<int>(std::lround(gl.penX)) + gl.left, oy = baseY - gl.top;
        for (int y = 0; y < gl.h; ++y)
            for (int x = 0; x < gl.w; ++x) {
                const int X = ox + x, Y = oy + y;
                if (X < 0 || Y < 0 || X >= gw || Y >= gh) continue;
                float& c = cov[static_cast<std::size_t>(Y * gw + X)];
                c = std::min(1.0f, c + gl.bits[static_cast<std::size_t>(y * gl.w + x)] / 255.0f);
            }
    }
    std::vector<std::uint8_t> in(cov.size()), out(cov.size());
    for (std::size_t i = 0; i < cov.size(); ++i) {
        in[i] = cov[i] >= 0.5f;
        out[i] = !in[i];
    }
    const std::vector<float> dOut = edt(in, gw, gh), dIn = edt(out, gw, gh);
    auto field = std::make_shared<std::vector<float>>(cov.size());
    for (std::size_t i = 0; i < cov.size(); ++i) {
        // Signed distance in grid cells, refined by the coverage across the edge.
        const float sd = in[i] ? -(dIn[i] - 0.5f) : (dOut[i] - 0.5f);
        (*field)[i] = (std::fabs(sd) < 1.5f ? (0.5f - cov[i]) : sd) / S;
    }
    float shift = 0;
    if (align == Align::Centre) shift = pen * 0.5f;
    if (align == Align::Right) shift = pen;
    // Sprite x = (grid x - margin - shift) / S, sprite y = (grid y - baseY) / S.
    const float gx0 = static_cast<float>(margin) + shift, gy0 = static_cast<float>(baseY);
    Box bb{(-gx0) / S, (-gy0) / S, (static_cast<float>(gw) - gx0) / S, (static_cast<float>(gh) - gy0) / S};
    return {[field, gw, gh, gx0, gy0, S](Vec2 p) {
                const float fx = p.x * S + gx0 - 0.5f, fy = p.y * S + gy0 - 0.5f;
                const int ix = static_cast<int>(std::floor(fx)), iy = static_cast<int>(std::floor(fy));
                if (ix < 0 || iy < 0 || ix + 1 >= gw || iy + 1 >= gh) return 12.0f;
                const float tx = fx - static_cast<float>(ix), ty = fy - static_cast<float>(iy);
                const auto at = [&](int x, int y) { return (*field)[static_cast<std::size_t>(y * gw + x)]; };
                const float a = at(ix, iy) + (at(ix + 1, iy) - at(ix, iy)) * tx;
                const float b = at(ix, iy + 1) + (at(ix + 1, iy + 1) - at(ix, iy + 1)) * tx;
                return a + (b - a) * ty;
            },
            bb};
}

const Font& displayFont() {
    static const Font f{"/usr/share/fonts/truetype/play/Play-Bold.ttf", "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"};
    return f;
}

const Font& plainFont() {
    static const Font f{"/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf", "/usr/share/fonts/truetype/play/Play-Bold.ttf"};
    return f;
}

}  // namespace art
