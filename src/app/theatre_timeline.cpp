#include "app/theatre_timeline.h"

#include <algorithm>
#include <cstdio>

#include "app/play_watch.h"
#include "engine/pen.h"
#include "engine/sprite_ex.h"
#include "game/tz_enemy.h"
#include "game/tz_globals.h"
#include "game/tz_state.h"

namespace app {

// ---- Marks ---------------------------------------------------------------------------------

void TTimelineMarks::Clear() { *this = TTimelineMarks{}; }

void TTimelineMarks::Add(std::int64_t step, TMarkKind kind) {
    if (count_ < marks_.size()) marks_[count_++] = TTimelineMark{step, kind};
}

void TTimelineMarks::Observe(std::int64_t step) {
    const std::uint8_t scene = tz::SceneState;
    if (scene == tz::Scene::Play && tz::StageNo != stage_) {
        stage_ = tz::StageNo;
        Add(step, TMarkKind::Stage);
    }
    const bool inPlay = scene >= tz::Scene::Play && scene <= tz::Scene::TimeOver;
    if (inPlay && scene != tz::Scene::TimeOver && deadTimer_ == 0 && tz::DeadTimer > 0) Add(step, TMarkKind::LifeLost);
    deadTimer_ = tz::DeadTimer;
    for (std::size_t i = 0; i < tz::Enemies.size(); ++i) {
        const tz::TEnemy& e = tz::Enemies[i];
        const bool boss = e.Index > 0 && IsBossKind(e.SubType);
        if (boss && !boss_[i]) Add(step, TMarkKind::Boss);
        boss_[i] = boss;
    }
}

// ---- Drawing ---------------------------------------------------------------------------------

std::size_t FormatSteps(std::int64_t steps, char* out) {
    const std::int64_t seconds = std::max<std::int64_t>(steps, 0) / tz::ProcessPerSec;
    const int n = std::snprintf(out, 12, "%lld:%02lld", static_cast<long long>(seconds / 60),
                                static_cast<long long>(seconds % 60));
    return n < 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(n), 11);
}

namespace {

// 5 x 7 characters, one row per byte, bit 4 the leftmost column.
using TGlyph = std::array<std::uint8_t, 7>;
constexpr std::array<TGlyph, 10> Digits{{
    {0b01110, 0b10001, 0b10011, 0b10101, 0b11001, 0b10001, 0b01110},
    {0b00100, 0b01100, 0b00100, 0b00100, 0b00100, 0b00100, 0b01110},
    {0b01110, 0b10001, 0b00001, 0b00010, 0b00100, 0b01000, 0b11111},
    {0b11110, 0b00001, 0b00001, 0b01110, 0b00001, 0b00001, 0b11110},
    {0b00010, 0b00110, 0b01010, 0b10010, 0b11111, 0b00010, 0b00010},
    {0b11111, 0b10000, 0b11110, 0b00001, 0b00001, 0b10001, 0b01110},
    {0b00110, 0b01000, 0b10000, 0b11110, 0b10001, 0b10001, 0b01110},
    {0b11111, 0b00001, 0b00010, 0b00100, 0b01000, 0b01000, 0b01000},
    {0b01110, 0b10001, 0b10001, 0b01110, 0b10001, 0b10001, 0b01110},
    {0b01110, 0b10001, 0b10001, 0b01111, 0b00001, 0b00010, 0b01100},
}};
constexpr TGlyph Colon{0b00000, 0b01100, 0b01100, 0b00000, 0b01100, 0b01100, 0b00000};
constexpr TGlyph Slash{0b00001, 0b00010, 0b00010, 0b00100, 0b01000, 0b01000, 0b10000};
constexpr TGlyph Times{0b00000, 0b00000, 0b10001, 0b01010, 0b00100, 0b01010, 0b10001};
constexpr TGlyph Blank{};

const TGlyph& GlyphOf(char c) {
    if (c >= '0' && c <= '9') return Digits[static_cast<std::size_t>(c - '0')];
    if (c == ':') return Colon;
    if (c == '/') return Slash;
    if (c == 'x') return Times;
    return Blank;
}

constexpr std::int32_t Dot = 2;
constexpr std::int32_t Advance = 6 * Dot;

// The band over the bottom of the screen and the track inside it.
constexpr engine::TRect Band{8, 444, 632, 476};
constexpr std::int32_t TextTop = 453;
constexpr std::int32_t TrackLeft = 200, TrackRight = 536, TrackY = 459;

struct TColours {
    std::uint8_t Black, White, Grey, Track, Stage, Boss, Life;
};

std::uint8_t Nearest(const plat::Palette& palette, int r, int g, int b) {
    int best = 0, bestDistance = 1 << 30;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const int dr = palette[i].r - r, dg = palette[i].g - g, db = palette[i].b - b;
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<int>(i);
        }
    }
    return static_cast<std::uint8_t>(best);
}

// The colours at a brightness (1 as they are, 0 black): the timeline fades out through them.
TColours ColoursOf(const plat::Palette& palette, double brightness) {
    const auto at = [&](int r, int g, int b) {
        return Nearest(palette, static_cast<int>(r * brightness), static_cast<int>(g * brightness),
                       static_cast<int>(b * brightness));
    };
    return {Nearest(palette, 0, 0, 0), at(255, 255, 255), at(110, 110, 120), at(60, 200, 255),
            at(80, 230, 80),           at(255, 60, 50),   at(255, 220, 40)};
}

void Fill(engine::TSpriteEx& sprite, std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom,
          std::uint8_t colour) {
    sprite.FillSurface(sprite.BackBuffer(), engine::TRect{left, top, right, bottom}, colour);
}

// Draws the text from x; returns where the next character would go.
std::int32_t DrawText(engine::TSpriteEx& sprite, std::int32_t x, std::int32_t y, const char* text, std::size_t n,
                      std::uint8_t colour) {
    for (std::size_t i = 0; i < n; ++i, x += Advance) {
        const TGlyph& glyph = GlyphOf(text[i]);
        for (std::int32_t row = 0; row < 7; ++row)
            for (std::int32_t col = 0; col < 5; ++col)
                if (glyph[static_cast<std::size_t>(row)] & (0b10000 >> col))
                    Fill(sprite, x + col * Dot, y + row * Dot, x + col * Dot + Dot, y + row * Dot + Dot, colour);
    }
    return x;
}

std::int32_t TrackX(const TTimelineView& v, std::int64_t step) {
    const std::int64_t length = std::max<std::int64_t>(v.End - v.First, 1);
    const std::int64_t at = std::clamp<std::int64_t>(step - v.First, 0, length);
    return TrackLeft + static_cast<std::int32_t>(at * (TrackRight - TrackLeft) / length);
}

}  // namespace

void DrawTimeline(engine::TSpriteEx& sprite, const TTimelineView& v) {
    if (sprite.BackBuffer() == nullptr) return;
    const engine::TPen pen(sprite, engine::TDrawMode::Plain, {0, 0}, engine::TRect{0, 0, 640, 480});
    const TColours c = ColoursOf(sprite.StoredPalette(), std::clamp(v.Brightness, 0.0, 1.0));
    Fill(sprite, Band.left, Band.top, Band.right, Band.bottom, c.Grey);
    Fill(sprite, Band.left + 1, Band.top + 1, Band.right - 1, Band.bottom - 1, c.Black);

    // The position and the length.
    char text[32];
    std::size_t n = FormatSteps(v.At - v.First, text);
    text[n++] = '/';
    n += FormatSteps(v.End - v.First, text + n);
    DrawText(sprite, Band.left + 8, TextTop, text, n, c.White);

    // The track, played up to the position, the marks, the position itself.
    const std::int32_t here = TrackX(v, v.At);
    Fill(sprite, TrackLeft, TrackY - 1, TrackRight, TrackY + 2, c.Grey);
    Fill(sprite, TrackLeft, TrackY - 1, here, TrackY + 2, c.Track);
    for (const TTimelineMark& m : v.Marks) {
        const std::int32_t x = TrackX(v, m.Step);
        switch (m.Kind) {
            case TMarkKind::Stage: Fill(sprite, x, TrackY - 10, x + 2, TrackY + 11, c.Stage); break;
            case TMarkKind::Boss: Fill(sprite, x - 1, TrackY - 8, x + 3, TrackY - 3, c.Boss); break;
            case TMarkKind::LifeLost: Fill(sprite, x - 1, TrackY + 4, x + 3, TrackY + 9, c.Life); break;
        }
    }
    Fill(sprite, here - 1, TrackY - 7, here + 2, TrackY + 8, c.White);

    // The speed.
    n = static_cast<std::size_t>(std::snprintf(text, sizeof text, "x%d", static_cast<int>(v.SpeedNum)));
    if (v.SpeedDen != 1)
        n += static_cast<std::size_t>(std::snprintf(text + n, sizeof text - n, "/%d", static_cast<int>(v.SpeedDen)));
    DrawText(sprite, Band.right - 8 - static_cast<std::int32_t>(n) * Advance, TextTop, text, n, c.White);
}

}  // namespace app
