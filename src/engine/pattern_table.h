#pragma once
// The in-memory pattern table shared by all sprite banks, and the per-bank records.
// A pattern record holds the fields of its 100-byte file record (sp4_format.h does the byte
// layout) plus two run-time rotation caches; with 64-bit pointers it is larger than the
// file record, which is never written back.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/geometry.h"
#include "engine/sp4_format.h"
#include "engine/surface.h"
#include "platform/bitmap_loader.h"

namespace engine {

inline constexpr int kPatternCount = 1024;  // records in the pattern table of all banks
inline constexpr int kBankCount = 16;
inline constexpr int kMaxHitCircles = 4;

using THitCircle = sp4::HitCircle;

// One pre-rotated frame: its cell on the rotation sheet, the hot spot inside the cell and
// the pattern's anchor point rotated by the frame's angle.
struct TRotationFrame {
    TRect bounds;
    std::int16_t originX = 0, originY = 0;
    std::int16_t anchorX = 0, anchorY = 0;
};

// Pre-rotated frames of one pattern: a sheet surface the screen width wide (a managed
// surface, so it is rebuilt after a display change), its height and the frame table.
struct TRotationCache {
    std::unique_ptr<Surface> surface;
    std::int32_t height = 0;
    std::vector<TRotationFrame> frames;   // rotLast + 1 entries once laid out
};

// Opaque runs of a pattern's rows, relative to its Source rectangle: row r's runs are
// runs[rowStart[r] .. rowStart[r + 1]). Wide patterns with long runs are drawn run by run;
// the runs are found once, when the bank is loaded. Empty for every other pattern.
struct TOpaqueRun {
    std::uint16_t start = 0;
    std::uint16_t length = 0;
};
struct TOpaqueRuns {
    std::vector<std::uint32_t> rowStart;
    std::vector<TOpaqueRun> runs;
    bool empty() const { return rowStart.empty(); }
    void clear() {
        rowStart.clear();
        runs.clear();
    }
};

// A pattern: the file record's fields (source, origin, anchor, hit circles, rotLast, bank ...)
// plus the rotation caches. Only rotCache is ever filled; rotCache2 is kept for the second
// variant of the sheet operations.
struct TPatternRec : sp4::PatternFields {
    TRotationCache rotCache;
    TRotationCache rotCache2;
    TOpaqueRuns runs;

    // Copies the file fields, leaving the run-time caches alone.
    void assignFields(const sp4::PatternFields& f) { static_cast<sp4::PatternFields&>(*this) = f; }
    int width() const { return source.right - source.left; }
    int height() const { return source.bottom - source.top; }
};

using TPatternTable = std::array<TPatternRec, kPatternCount>;

// One sprite bank.
struct TBankRec {
    std::string fileName;                 // resolved .sp4 path, empty when none was found
    std::uint8_t sysMem = 0;              // from the file header
    std::uint8_t rotate = 0;              // from the file header: build pre-rotated frames
    std::int32_t first = 0;               // index of the bank's first pattern
    std::int32_t last = 0;                // pattern count - 1; -1 = no patterns
    plat::Bitmap8 bitmap;                 // the loaded picture, kept after loading
    std::unique_ptr<Surface> surface;     // the bank surface, null when not loaded
    std::uint32_t colorKey = 0;           // source colour key of the bank surface
};

using TBankTable = std::array<TBankRec, kBankCount>;

}  // namespace engine
