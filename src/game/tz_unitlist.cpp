#include "game/tz_unitlist.h"

namespace tz {

TList UnitList;

void LoadUnitList() {
    UnitList.Max = UnitListMax;
    UnitList.SortDirection = TSortDirection::sdVertical;
    UnitList.WrapX = 0;
    UnitList.WrapY = 0;
    UnitList.CheckTypes = 0;
    UnitList.CheckType = UnitListCheckType;
    UnitList.TypeNames = {"自機", "自弾", "敵機", "敵弾", "死にかけ", "アイテム"};
    UnitList.Loaded();
}

}  // namespace tz
