#include "game/tz_unitlist.h"

#include "game/tz_check.h"
#include "game/tz_draw.h"
#include "game/tz_state.h"

namespace tz {

TList UnitList;

void LoadUnitList() {
    // The game's own procedures take the first numbers, whatever runs first.
    TCheckRef::Register(CheckHit);
    TDrawRef::Register(DrawCharacter);
    UnitList.Max = UnitListMax;
    UnitList.SortDirection = TSortDirection::sdVertical;
    UnitList.WrapX = 0;
    UnitList.WrapY = 0;
    UnitList.CheckTypes = 0;
    UnitList.CheckType = UnitListCheckType;
    UnitList.TypeNames = {"自機", "自弾", "敵機", "敵弾", "死にかけ", "アイテム"};
    // The list's order is part of the game state: its slots live in the state record and
    // are measured from its start.
    UnitList.Attach(GameState.Play.List, GameState.Play.ListSlots.data(),
                    static_cast<std::int32_t>(GameState.Play.ListSlots.size()), &GameState);
    UnitList.Loaded();
}

}  // namespace tz
