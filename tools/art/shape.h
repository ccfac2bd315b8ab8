#pragma once
// Shapes as signed distance fields in sprite space (1 unit = 1 output pixel, y down,
// (0, 0) at the hot spot): negative inside, positive outside. Each shape carries a
// bounding box so painting only visits the pixels it can touch.

#include <algorithm>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <vector>

namespace art {

struct Vec2 {
    float x = 0, y = 0;
};
inline Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
inline Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
inline Vec2 operator*(Vec2 a, float k) { return {a.x * k, a.y * k}; }
inline float dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }
inline float length(Vec2 a) { return std::sqrt(dot(a, a)); }

struct Box {
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    Box grown(float m) const { return {x0 - m, y0 - m, x1 + m, y1 + m}; }
    Box unite(const Box& o) const { return {std::min(x0, o.x0), std::min(y0, o.y0), std::max(x1, o.x1), std::max(y1, o.y1)}; }
    Box meet(const Box& o) const { return {std::max(x0, o.x0), std::max(y0, o.y0), std::min(x1, o.x1), std::min(y1, o.y1)}; }
};

struct Shape {
    std::function<float(Vec2)> sdf;
    Box box;
    float operator()(Vec2 p) const { return sdf(p); }
};

Shape circle(Vec2 c, float r);
Shape ellipse(Vec2 c, float rx, float ry);
Shape rect(Vec2 c, float hw, float hh, float round = 0);
Shape capsule(Vec2 a, Vec2 b, float r);
// A capsule whose radius changes from ra at a to rb at b (a tapered stroke).
Shape taper(Vec2 a, Vec2 b, float ra, float rb);
Shape polygon(std::vector<Vec2> pts);
// A polygon given for x >= 0 only (points from the top of the axis round to the bottom),
// completed by its mirror image across x = 0.
Shape mirrorPoly(std::vector<Vec2> halfPts);
Shape ring(Vec2 c, float r, float thickness);

Shape unite(const Shape& a, const Shape& b);
Shape unite(std::initializer_list<Shape> shapes);
Shape meet(const Shape& a, const Shape& b);
Shape subtract(const Shape& a, const Shape& b);
Shape smoothUnite(const Shape& a, const Shape& b, float k);
// The shape grown (r > 0) or shrunk (r < 0) by r.
Shape offset(const Shape& a, float r);
// The band |d| < w / 2 around the outline of a (for panel lines along a shape's edge).
Shape outline(const Shape& a, float w);
// The shape and its mirror image across x = m.
Shape mirrorX(const Shape& a, float m = 0);
Shape translate(const Shape& a, Vec2 d);
// Rotated by an angle in radians about the point c.
Shape rotate(const Shape& a, float radians, Vec2 c = {});
Shape scale(const Shape& a, float k, Vec2 c = {});

}  // namespace art

namespace art {
// Places a shape drawn in its own frame: scaled by (sx, sy) (negative flips), turned by
// angle (radians) and moved to t.
Shape place(const Shape& s, float sx, float sy, float angle, Vec2 t);
}  // namespace art
