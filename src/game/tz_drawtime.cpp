#include <array>

#include "engine/pen.h"
#include "game/tz_draw.h"
#include "game/tz_globals.h"
#include "game/tz_main.h"

namespace tz {

namespace {
constexpr std::int16_t FirstDigit = 13;
}

void DrawTime(std::int32_t X, std::int32_t Y, std::int32_t Ticks) {
    if (Form1 == nullptr) return;
    engine::TSpriteEx& sprite = Form1->Sprite;
    engine::TPen pen(sprite);
    pen.SetMode(engine::TDrawMode::Plain);
    // Whole minutes, seconds and hundredths of Ticks / 70 s, each truncated: integer forms of
    // t / 60 / 70, t / 70 and t / 70 * 100 that cannot land a hair below a whole number.
    const std::int64_t t = Ticks;
    const std::array<std::int64_t, 3> parts = {t / (60 * ProcessPerSec), (t / ProcessPerSec) % 60,
                                               (t * 100 / ProcessPerSec) % 100};
    // "mm ss cc": two places each, the spaces at places 3 and 6 left blank.
    for (std::size_t p = 0; p < parts.size(); ++p) {
        const std::int64_t v = ((parts[p] % 100) + 100) % 100;
        const std::int32_t place = static_cast<std::int32_t>(3 * p) + 1;
        sprite.DrawPattern(static_cast<std::int16_t>(X + 14 * place), static_cast<std::int16_t>(Y),
                           static_cast<std::int16_t>(FirstDigit + v / 10));
        sprite.DrawPattern(static_cast<std::int16_t>(X + 14 * (place + 1)), static_cast<std::int16_t>(Y),
                           static_cast<std::int16_t>(FirstDigit + v % 10));
    }
}

}  // namespace tz
