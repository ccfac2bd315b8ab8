#pragma once
// Colour-keyed block copies between 8-bit surfaces, with the clipping rule of the drawing
// operations. The row kernels are SIMD masked blends (SSE2 or AVX2, chosen at run time);
// wide patterns with long opaque runs are copied run by run.

#include <cstdint>

#include "engine/geometry.h"
#include "engine/pattern_table.h"
#include "engine/surface.h"

namespace engine {

// Clips a copy of s to (x, y) against the clip edges: left and top move the source start,
// right and bottom trim it so that the copy plus extraRight columns and extraBottom rows stay
// inside. Positions are 16-bit like the callers'. False when nothing is left.
bool clipToRect(std::int16_t& x, std::int16_t& y, TRect& s, const TRect& clip, int extraRight = 0, int extraBottom = 0);

// Copies s of src to dst at (x, y); pixels equal to src's colour key (when it has one) leave
// dst unchanged. Clipped to both surfaces, never reads or writes outside them. When runs is
// given (non-empty) it describes the opaque pixels of the rectangle runRect of src that s
// lies in, and the copy goes run by run.
void blitKeyed(Surface& dst, int x, int y, const Surface& src, TRect s, const TOpaqueRuns* runs = nullptr,
               const TRect* runRect = nullptr);

// Finds the opaque runs of r in src for the run-by-run copy; leaves out empty when the
// pattern is narrow or its runs are short, where the masked blend is faster.
void buildOpaqueRuns(const Surface& src, const TRect& r, std::uint8_t key, TOpaqueRuns& out);

// The instruction set of the row kernels: the best one the processor has, unless a test or
// a benchmark asks for another.
enum class BlitIsa : std::uint8_t { Scalar, Sse2, Avx2 };
BlitIsa bestBlitIsa();
BlitIsa currentBlitIsa();
void setBlitIsa(BlitIsa isa);   // falls back to the best available when isa is not

}  // namespace engine
