// The player's pause over the play field: the field dimmed to half its brightness and
// "PAUSE" in large block letters across its middle.

#include <array>
#include <cstdint>

#include "game/tz_draw.h"
#include "game/tz_main.h"

namespace tz {
namespace {

// 5 x 7 letters, one row per byte, bit 4 the leftmost column.
using TGlyph = std::array<std::uint8_t, 7>;
constexpr TGlyph GlyphP{0b11110, 0b10001, 0b10001, 0b11110, 0b10000, 0b10000, 0b10000};
constexpr TGlyph GlyphA{0b01110, 0b10001, 0b10001, 0b11111, 0b10001, 0b10001, 0b10001};
constexpr TGlyph GlyphU{0b10001, 0b10001, 0b10001, 0b10001, 0b10001, 0b10001, 0b01110};
constexpr TGlyph GlyphS{0b01111, 0b10000, 0b10000, 0b01110, 0b00001, 0b00001, 0b11110};
constexpr TGlyph GlyphE{0b11111, 0b10000, 0b10000, 0b11110, 0b10000, 0b10000, 0b11111};
constexpr std::array<const TGlyph*, 5> PauseWord{&GlyphP, &GlyphA, &GlyphU, &GlyphS, &GlyphE};

constexpr std::int32_t Dot = 6;                 // pixels per dot of a letter
constexpr std::int32_t Advance = 6 * Dot;       // letter and gap
constexpr std::int32_t WordWidth = 5 * Advance - Dot;
constexpr std::int32_t WordHeight = 7 * Dot;
constexpr std::uint8_t Black = 0, White = 255;
constexpr engine::TRect PlayField{128, 0, 512, 480};

// For every palette entry, the entry nearest to it at half brightness (a drawing table of its
// own, kept between frames; the palette is the one the frame is drawn with).
struct TDimTable {
    plat::Palette Palette{};
    std::array<std::uint8_t, 256> Map{};
    bool Made = false;
};
TDimTable Dim;

bool SamePalette(const plat::Palette& a, const plat::Palette& b) {
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].r != b[i].r || a[i].g != b[i].g || a[i].b != b[i].b) return false;
    return true;
}

void MakeDimTable(const plat::Palette& palette) {
    if (Dim.Made && SamePalette(Dim.Palette, palette)) return;
    for (std::size_t i = 0; i < 256; ++i) {
        const int r = palette[i].r / 2, g = palette[i].g / 2, b = palette[i].b / 2;
        int best = 0, bestDistance = 1 << 30;
        for (std::size_t j = 0; j < 256; ++j) {
            const int dr = palette[j].r - r, dg = palette[j].g - g, db = palette[j].b - b;
            const int d = dr * dr + dg * dg + db * db;
            if (d < bestDistance) {
                bestDistance = d;
                best = static_cast<int>(j);
            }
        }
        Dim.Map[i] = static_cast<std::uint8_t>(best);
    }
    Dim.Palette = palette;
    Dim.Made = true;
}

void DrawWord(engine::TSpriteEx& sprite, std::int32_t left, std::int32_t top, std::uint8_t colour) {
    for (std::size_t letter = 0; letter < PauseWord.size(); ++letter) {
        const TGlyph& glyph = *PauseWord[letter];
        const std::int32_t x0 = left + static_cast<std::int32_t>(letter) * Advance;
        for (std::int32_t row = 0; row < 7; ++row)
            for (std::int32_t col = 0; col < 5; ++col)
                if (glyph[static_cast<std::size_t>(row)] & (0b10000 >> col)) {
                    const std::int32_t x = x0 + col * Dot, y = top + row * Dot;
                    sprite.FillSurface(sprite.BackBuffer(), engine::TRect{x, y, x + Dot, y + Dot}, colour);
                }
    }
}

}  // namespace

void DrawPauseCaption() {
    if (Form1 == nullptr || Form1->Sprite.BackBuffer() == nullptr) return;
    engine::TSpriteEx& sprite = Form1->Sprite;
    engine::Surface& frame = *sprite.BackBuffer();
    MakeDimTable(sprite.StoredPalette());
    const engine::TRect field = PlayField;
    for (std::int32_t y = field.top; y < field.bottom && y < frame.height; ++y) {
        std::uint8_t* row = frame.row(y);
        for (std::int32_t x = field.left; x < field.right && x < frame.width; ++x) row[x] = Dim.Map[row[x]];
    }
    const std::int32_t left = (field.left + field.right - WordWidth) / 2;
    const std::int32_t top = (field.top + field.bottom - WordHeight) / 2;
    // A dark outline one dot wide in every direction, then the letters.
    for (std::int32_t dy = -2; dy <= 2; dy += 2)
        for (std::int32_t dx = -2; dx <= 2; dx += 2)
            if (dx != 0 || dy != 0) DrawWord(sprite, left + dx, top + dy, Black);
    DrawWord(sprite, left, top, White);
}

}  // namespace tz
