#pragma once
// Whether two drawn objects touch: any hit circle of one overlapping any of the other.

#include "engine/pattern_table.h"
#include "engine/sprite_rec.h"

namespace engine {

// True if a circle of a's pattern overlaps a circle of b's pattern (the radius sum strictly
// greater than the centre distance). Circle offsets are rotated by each object's rotation.
// Negative or out-of-table pattern numbers hit nothing.
bool SpriteHit(const TPatternTable& patterns, const TSpriteRec& a, const TSpriteRec& b);
// The same over the file records of the patterns alone (bank_file.h's readBankSet).
bool SpriteHit(const std::array<sp4::PatternFields, kPatternCount>& patterns, const TSpriteRec& a, const TSpriteRec& b);

}  // namespace engine
