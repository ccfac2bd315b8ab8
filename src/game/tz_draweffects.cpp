// The effects, drawn from their table: blinking smoke and labels, the bonus label with its
// value and rate, and the ending captions as they open.
#include <cstdio>
#include <string>

#include "engine/blit.h"
#include "engine/pen.h"
#include "game/tz_draw.h"
#include "game/tz_effect.h"
#include "game/tz_globals.h"
#include "game/tz_main.h"

namespace tz {

namespace {

constexpr std::int16_t BonusBadge = 33, BigBonusBadge = 34;
constexpr std::int16_t BonusDigit = 23;
constexpr std::int16_t RateSign = 54, RateDigit = 55;
constexpr std::int16_t CaptionSparkPattern = 51;

std::int16_t I16(std::int32_t v) { return static_cast<std::int16_t>(v); }

void DrawTurned(engine::TSpriteEx& sprite, const TEffect& e) { sprite.DrawSprite(e.SpriteRec()); }

// The bonus label: badge, value (blinking) and rate; it blinks away in its last ticks.
void DrawBonusLabel(engine::TSpriteEx& sprite, const TEffect& e) {
    if (RefreshCount % 2 != 0 && e.Timer <= 10) return;
    const std::int32_t x = e.XPos(), y = e.YPos();
    sprite.DrawPattern(I16(x), I16(y - 9), e.Value1 <= 1000 ? BonusBadge : BigBonusBadge);
    if (SceneTimer % 8 < 6) {
        char text[16];
        const int n = std::snprintf(text, sizeof text, "%d", e.Value1);
        const std::int32_t x0 = x - 7 * n - 7;
        bool drawn = false;
        for (int i = 1; i <= n; ++i) {
            const char ch = text[i - 1];
            if (ch < '0' || ch > '9') continue;
            if (ch != '0' || drawn || i == 9) {
                sprite.DrawPattern(I16(x0 + 14 * i), I16(y + 9), I16(BonusDigit + (ch - '0')));
                drawn = true;
            }
        }
    }
    sprite.DrawPattern(I16(x + 36), I16(y + 9), RateSign);
    sprite.DrawPattern(I16(x + 46), I16(y + 9), I16(RateDigit + e.Value2));
}

// An ending caption: its spark spiralling in, then the caption opening from its centre, then
// the whole caption.
void DrawCaption(engine::TSpriteEx& sprite, const TEffect& e) {
    const std::int32_t x = e.XPos(), y = e.YPos();
    const auto pattern = I16(e.Value2);
    if (e.Step == 0) {
        // A scratch sprite of the drawing's own, never a game record.
        engine::TSpriteRec spark;
        const std::uint8_t d = e.Direction();
        spark.setPos(x + Cos(d) * e.Value1 / 1024, y + Sin(d) * e.Value1 / 1024);
        spark.rotation = static_cast<std::uint8_t>(8 * SceneTimer);
        spark.pattern = CaptionSparkPattern;
        sprite.DrawSprite(spark);
        return;
    }
    if (e.Step > 1 || pattern < 0 || pattern >= engine::kPatternCount) {
        sprite.DrawPattern(I16(x), I16(y), pattern);
        return;
    }
    const engine::TPatternRec& p = sprite.Patterns()[static_cast<std::size_t>(pattern)];
    if (p.width() / 2 <= e.Value1) {
        sprite.DrawPattern(I16(x), I16(y), pattern);
        return;
    }
    // Opening: a keyed copy of the middle columns, placed without the draw offsets.
    if (p.bank >= engine::kBankCount) return;
    const engine::Surface* bank = sprite.BankData()[p.bank].surface.get();
    if (bank == nullptr || sprite.BackBuffer() == nullptr) return;
    TCaptionReveal reveal;
    engine::Surface& back = *sprite.BackBuffer();
    if (CaptionReveal(p, e.Value1, x, y, back.width, back.height, reveal))
        engine::blitKeyed(back, reveal.X, reveal.Y, *bank, reveal.Source);
}

}  // namespace

bool CaptionReveal(const engine::TPatternRec& P, std::int32_t Reveal, std::int32_t X, std::int32_t Y,
                   std::int32_t ScreenW, std::int32_t ScreenH, TCaptionReveal& Out) {
    const engine::TRect& r = P.source;
    engine::TRect s{r.left + P.originX - Reveal, r.top, r.left + P.originX + Reveal + 1, r.bottom};
    std::int32_t dx = X - Reveal, dy = Y - P.originY;
    // Only the pattern's own columns, never its neighbours' in the bank.
    if (s.left < r.left) {
        dx += r.left - s.left;
        s.left = r.left;
    }
    if (s.right > r.right) s.right = r.right;
    // Only what lies on the screen, left and right, top and bottom.
    if (dx < 0) {
        s.left -= dx;
        dx = 0;
    }
    if (dy < 0) {
        s.top -= dy;
        dy = 0;
    }
    if (dx + (s.right - s.left) > ScreenW) s.right = s.left + (ScreenW - dx);
    if (dy + (s.bottom - s.top) > ScreenH) s.bottom = s.top + (ScreenH - dy);
    if (s.right <= s.left || s.bottom <= s.top) return false;
    Out = TCaptionReveal{s, dx, dy};
    return true;
}

void DrawEffects() {
    if (Form1 == nullptr) return;
    engine::TSpriteEx& sprite = Form1->Sprite;
    engine::TPen pen(sprite);
    pen.SetMode(engine::TDrawMode::Plain);
    const bool evenFrame = RefreshCount % 2 == 0;
    for (const TEffect& e : Effects) {
        if (e.Index <= 0) continue;
        switch (static_cast<std::uint8_t>(e.EffectKind)) {
        case Effect::SmokePuff:
            if (evenFrame) DrawTurned(sprite, e);
            break;
        case Effect::Smoke:
        case Effect::ScoreLabel:
        case Effect::Wreckage: {
            // Steady at first, blinking in the last ticks of their lives.
            const std::int32_t steady = e.EffectKind == Effect::Smoke ? 12 : e.EffectKind == Effect::ScoreLabel ? 10 : 20;
            if (evenFrame || e.Timer > steady) sprite.DrawPattern(e.XPos(), e.YPos(), e.Pattern);
            break;
        }
        case Effect::BonusLabel: DrawBonusLabel(sprite, e); break;
        case Effect::BigExplosion:
        case Effect::ExplosionRay: break;
        case Effect::CaptionFromBelow:
        case Effect::CaptionFromAbove: DrawCaption(sprite, e); break;
        case Effect::CaptionSpark:
            if (e.Timer > 30 || evenFrame) DrawTurned(sprite, e);
            break;
        default: DrawTurned(sprite, e); break;
        }
    }
}

}  // namespace tz
