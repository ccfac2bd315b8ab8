#pragma once
// Write access to the engine's tables for tests that plant a value and then check whether the
// engine keeps or replaces it (a reload, a refused cache), or that wipe the tables between
// inputs. The program never includes this.

#include "engine/sprite_ex.h"

namespace engine {

class SpriteExTestAccess {
public:
    static TPatternTable& Patterns(TSpriteEx& s) { return s.FPatterns; }
    static TBankTable& BankData(TSpriteEx& s) { return s.FBankData; }
    static MixTable& AddTable(TSpriteEx& s) { return s.FAddTable; }
};

}  // namespace engine
