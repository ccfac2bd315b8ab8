#include <cstdio>

#include "engine/pen.h"
#include "game/tz_draw.h"
#include "game/tz_main.h"

namespace tz {

namespace {
constexpr std::int16_t FirstDigit = 13;
}

void DrawScore(std::int32_t X, std::int32_t Y, std::int32_t Value) {
    if (Form1 == nullptr) return;
    engine::TSpriteEx& sprite = Form1->Sprite;
    engine::TPen pen(sprite);
    pen.SetMode(engine::TDrawMode::Plain);
    // The last nine places of Value + 10^9: Value modulo 10^9 with its leading zeros.
    char text[16];
    const int n = std::snprintf(text, sizeof text, "%d", WrapAdd(Value, 1000000000));
    const int first = n > 9 ? n - 9 : 0;
    bool drawn = false;
    for (int i = 1; i <= 9 && first + i - 1 < n; ++i) {
        const char ch = text[first + i - 1];
        if (ch < '0' || ch > '9') continue;
        if (ch != '0' || drawn || i == 9) {
            sprite.DrawPattern(static_cast<std::int16_t>(X + 14 * i), static_cast<std::int16_t>(Y),
                               static_cast<std::int16_t>(FirstDigit + (ch - '0')));
            drawn = true;
        }
    }
}

}  // namespace tz
