#pragma once
// A drawing surface at four times the output resolution. Shapes are painted with a
// material (colour, bevel height, gloss); the height field is lit from the upper left;
// emissive light (engines, glows, bullets) is added on top; the result is reduced 4:1,
// given a dark one-pixel rim and mapped to the palette as a Picture.

#include <cstdint>
#include <functional>
#include <vector>

#include "engine/bmp8.h"
#include "engine/sp4_format.h"
#include "palette.h"
#include "shape.h"

namespace art {

inline constexpr int kSuper = 4;

// One finished pattern picture: palette indices (0 = transparent), its hot spot inside
// the picture, hit circles relative to the hot spot and pre-rotation settings.
struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint8_t> pixels;
    int originX = 0, originY = 0;
    std::vector<engine::sp4::HitCircle> hits;
    std::uint8_t rotLast = 0;
    std::int16_t anchorX = 0, anchorY = 0;

    std::uint8_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
    Picture& hit(int radius, int x = 0, int y = 0);
    Picture& rotations(int frames);
    bool empty() const;
};

struct Material {
    std::function<Rgbf(Vec2)> colour;
    float bevel = 2.0f;      // width of the rounded edge, in pixels
    float height = 2.0f;     // how high the bevel rises
    float elevation = 0.0f;  // base height of the shape
    float gloss = 0.35f;     // specular strength
    std::function<float(Vec2)> bump;  // optional height added inside (rough surfaces)
};

Material mat(Rgbf c, float bevel = 2.0f, float height = 2.0f, float gloss = 0.35f, float elevation = 0.0f);
// A colour that runs from a at y0 to b at y1 (sprite space).
std::function<Rgbf(Vec2)> vgrad(Rgbf a, Rgbf b, float y0, float y1);

struct FinishOptions {
    bool rim = true;             // one dark pixel around the solid picture
    std::uint8_t rimIndex = rampIndex(Ramp::Grey, 0);
    bool soft = false;           // glows: keep dim edges (premultiplied over black)
    float alphaCut = 0.5f;       // pixels below this coverage become transparent
    float dither = 0.0f;         // ordered dithering amplitude (0..1 colour units)
    bool trim = true;            // crop to the visible pixels
    bool centreOrigin = false;   // hot spot at the centre of the trimmed picture (captions)
};

class Canvas {
public:
    // Covers the sprite-space box (with a margin); (0, 0) is the hot spot.
    explicit Canvas(Box extent);

    void paint(const Shape& s, const Material& m);
    // Multiplies the colour inside s by factor (panel lines, grime) and lowers it by depth.
    void shade(const Shape& s, float factor, float depth = 0.0f);
    // Adds light of colour c inside s (lamps, canopies, hot metal).
    void light(const Shape& s, Rgbf c, float intensity = 1.0f);
    // Additive radial glow: intensity at the centre falling to 0 at radius r.
    void glow(Vec2 c, float r, Rgbf colour, float intensity = 1.0f, float power = 2.0f);
    // Additive glow along a segment.
    void glowLine(Vec2 a, Vec2 b, float r, Rgbf colour, float intensity = 1.0f, float power = 2.0f);
    // Removes everything inside s (cut-outs, holes).
    void erase(const Shape& s);

    Picture finish(const FinishOptions& o = {}) const;

    // The lit picture at output size before palette mapping: premultiplied colour and
    // coverage per pixel, the first pixel at sprite-space (x0, y0). For whole screens.
    struct Layer {
        int x0 = 0, y0 = 0, w = 0, h = 0;
        std::vector<Rgbf> colour;
        std::vector<float> alpha;
    };
    Layer resolve() const;

private:
    struct Cell {
        Rgbf albedo;
        float alpha = 0, height = 0, gloss = 0;
        Rgbf emis;
    };
    template <typename F>
    void visit(const Box& b, F&& f);
    Vec2 toSprite(int sx, int sy) const;
    Layer resolveInto(std::vector<float>& solid) const;

    int x0_ = 0, y0_ = 0;  // sprite-space pixel of the first column and row
    int w_ = 0, h_ = 0;    // size in output pixels
    std::vector<Cell> cells_;
};

// Whole-picture helpers.
Picture flipX(const Picture& p);

// A true-colour screen picture, built from layers and mapped to the palette at the end.
class Screen {
public:
    Screen(int w, int h) : w_(w), h_(h), px_(static_cast<std::size_t>(w * h)) {}
    Rgbf& at(int x, int y) { return px_[static_cast<std::size_t>(y * w_ + x)]; }
    // Composites a canvas layer over the picture; sprite space (0, 0) lands on (dx, dy).
    void over(const Canvas::Layer& l, int dx = 0, int dy = 0);
    // Maps to palette indices with ordered dithering of the given amplitude.
    engine::bmp8::Image toImage(float dither) const;
    int width() const { return w_; }
    int height() const { return h_; }

private:
    int w_, h_;
    std::vector<Rgbf> px_;
};

}  // namespace art
