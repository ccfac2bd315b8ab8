#pragma once
// The enemy craft: darker, warmer hulls (gunmetal, rust, violet) with red and orange lights.

#include <functional>

#include "art.h"

namespace art::enemy {

// Transform applied to every shape of one drawing (pitch, flips, turns).
using Xf = std::function<Shape(const Shape&)>;
Xf identity();
Xf placed(float sx, float sy, float angle, Vec2 t = {});

// A lamp: a bright dot with a glow (port lights, engine exhausts, eyes).
void lamp(Canvas& cv, Vec2 p, float r, Ramp colour, float intensity = 1.0f);
Material hull(Ramp r, float t, float bevel = 2.5f, float height = 2.5f, float gloss = 0.3f, float elevation = 0.0f);
// A hull of plates: each cell of the grid a slightly different tone.
Material plated(Ramp r, float t, float bevel, float height, float gloss, float elevation, float cell = 14.0f, int seed = 0);
// Surface detail scattered over a region, mirrored across x = 0: small raised plates,
// vents and rivet pairs at the given elevation.
void greebles(Canvas& cv, const Shape& region, int seed, int count, float minSize, float maxSize, Ramp r, float t, float elevation);

Picture fighter(int frame);
Picture gunPodBody();
Picture gunPodSide(float side);
Picture gunship();
Picture diver(int direction8);
Picture heavyCraft();
Picture midBoss(int frame);

}  // namespace art::enemy
