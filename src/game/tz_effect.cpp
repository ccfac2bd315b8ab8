#include "game/tz_effect.h"

namespace tz {


namespace {

// Life of each effect kind in ticks (kinds with a random life use their shortest).
constexpr std::array<std::int32_t, 22> EffectLife = {5,  9,   10, 10, 19, 19,  12,  2,   29,  12,  28,
                                                     28, 100, 150, 20, 100, 49, 100, 40, 650, 610, 50};

}  // namespace

// The shared part of every effect: position, life and motion. The kinds' own start values and
// animation come with the effects themselves.
void SpawnEffect(std::uint8_t Kind, const TCharacter& Source, std::int32_t Param) {
    (void)Param;
    for (TEffect& e : Effects) {
        if (e.Index > 0) continue;
        e.EffectKind = Kind;
        e.X = WithWholePart(e.X, Source.XPos());
        e.Y = WithWholePart(e.Y, Source.YPos());
        e.Index = 1;
        e.Fall = 0;
        e.Pattern = -1;
        e.Speed = 0;
        e.Timer = Kind < EffectLife.size() ? EffectLife[Kind] : 1;
        return;
    }
}

void MoveEffects() {
    for (TEffect& e : Effects) {
        if (e.Index <= 0) continue;
        const std::uint8_t dir = e.Direction();
        e.X = WrapAdd(e.X, WrapMul(Cos(dir), e.Speed));
        e.Y = WrapAdd(e.Y, WrapAdd(WrapMul(Sin(dir), e.Speed), e.Fall * 2048));
        e.Timer -= 1;
        if (e.YPos() > 600 || e.YPos() < -120 || e.Timer <= 0) e.Index = -1;
    }
}

}  // namespace tz
