#include "game/tz_patterns.h"

#include "engine/sprite_hit.h"
#include "game/tz_main.h"

namespace tz {

bool PatternsTouch(const TCharacter& a, const TCharacter& b) {
    if (Form1 == nullptr) return false;
    return engine::SpriteHit(Form1->Sprite.FPatterns, a.SpriteRec(), b.SpriteRec());
}

std::int32_t PatternWidth(std::int16_t Pattern) {
    if (Form1 == nullptr || Pattern < 0 || Pattern >= engine::kPatternCount) return 0;
    return Form1->Sprite.FPatterns[static_cast<std::size_t>(Pattern)].width();
}

}  // namespace tz
