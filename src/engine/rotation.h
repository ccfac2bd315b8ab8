#pragma once
// Rotation of points, boxes and pattern pixels by a direction of 256 steps per turn, the
// choice of a pre-rotated frame and the packing of frames on a rotation sheet.

#include <cstdint>

#include "engine/geometry.h"
#include "engine/pattern_table.h"
#include "engine/sprite_rec.h"
#include "engine/surface.h"

namespace engine {

// Rotates (x, y) by angle: each coordinate is (value * 1024 + 512) / 1024 with the division
// truncating toward zero, so a half rounds up for positive values only.
TPoint RotatePoint(std::int32_t x, std::int32_t y, std::uint8_t angle);

// The box around the rotated corners of r (relative to pivot): left/top the smallest rotated
// coordinates, right/bottom the largest + 1, moved back by pivot. An angle outside 0..255
// leaves result unchanged and returns false.
bool RotateBounds(const TRect& r, const TPoint& pivot, int angle, TRect& result);

// The pattern's extent around its hot spot, rotated by angle (the cell a frame needs).
TRect rotatedPatternBox(const TPatternRec& p, int angle);

// The angle of pre-rotated frame k of a pattern with rotLast + 1 frames.
int rotationFrameAngle(int k, int rotLast);
// The frame drawn for a rotation: the nearest frame, wrapping past the last to frame 0.
int rotationFrameIndex(std::uint8_t rotation, int rotLast);

// Packs the frames of the pattern's cache in rows of screenWidth pixels, fills its frame
// table and height; returns the height.
int layoutRotationFrames(const TPatternRec& p, TRotationCache& cache, int screenWidth);

// Copies the pattern's pixels from the bank surface into dst, rotated by spr.rotation about
// its hot spot, which lands at pixel (spr.xPos(), spr.yPos()). Pixels of the colour key are
// skipped; destination pixels outside clip (and outside dst) are not written, source pixels
// outside the bank surface are not read. sizeSin is the fixed-point unit of the mapping.
void rotateCopy(Surface& dst, const TRect& clip, const Surface& bank, std::uint8_t key, const TPatternRec& p,
                const TSpriteRec& spr, int sizeSin);

}  // namespace engine
