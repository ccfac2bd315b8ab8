#pragma once
// Moving a paletted picture into a surface: an unscaled copy, or a nearest-pixel stretch to
// the screen width when the picture was made for another screen size.

#include "engine/surface.h"
#include "platform/bitmap_loader.h"

namespace engine {

// The surface height a picture takes when stretched to screenWidth: its height times the
// width ratio, rounded to the nearest integer (halves to even).
int stretchedHeight(const plat::Bitmap8& bmp, int screenWidth);

struct BitmapPlacement {
    bool fixScaling = true;
    int classWidth = 640;     // width of the resolution class: 320, 640 or 800
    int screenWidth = 640;
    int screenHeight = 480;
};

// Copies bmp into dst at (x, y). With fixScaling a picture exactly classWidth wide is copied
// unscaled (width x height from (srcX, srcY)); any other is stretched whole onto screenWidth x
// stretchedHeight(). Without fixScaling the copy is unscaled and limited to the screen and the
// picture. Everything is clipped to dst and bmp.
void bltBitmap(Surface& dst, int x, int y, int width, int height, const plat::Bitmap8& bmp, int srcX, int srcY,
               const BitmapPlacement& place);

}  // namespace engine
