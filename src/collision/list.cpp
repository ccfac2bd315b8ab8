#include "collision/list.h"

#include <algorithm>

namespace tz {
namespace {

constexpr std::int32_t kHeadY = -32768 * 65536;
constexpr std::int32_t kTailY = 32767 * 65536;

// v reduced into [0, period) by whole periods.
std::int32_t wrapInto(std::int64_t v, std::int64_t period) {
    std::int64_t r = v % period;
    if (r < 0) r += period;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(r));
}

void prepareSentinel(TCharacter& s, std::int32_t pos) {
    s = TCharacter{};
    s.X = pos;
    s.Y = pos;
    s.Radius = 0;
    s.Margin = 0;
    s.OnDraw = nullptr;
    s.OnCheck = nullptr;
}

}  // namespace

TList::TList() : FCore(&FOwnCore) {}
TList::~TList() = default;

TCharacter* TList::Slot(std::int32_t k) const {
    if (FCore->Last < 0 || k < 0 || k > FCore->Last) return nullptr;
    return decode(FSlots[k]);
}

bool TList::Listed(const TCharacter& Rec) const {
    return FCore->Last >= 0 && Rec.Index >= 1 && Rec.Index < FCore->Last && decode(FSlots[Rec.Index]) == &Rec;
}

void TList::Loaded() {
    for (int t = 0; t < CharTypeCount; ++t)
        CheckType[static_cast<std::size_t>(t)] = GetCheckType(static_cast<std::uint8_t>(t));
    SetupSlots();
}

void TList::Attach(TListCore& Core, TListSlot* Slots, std::int32_t SlotRoom, const void* Base) {
    FOwnSlots.reset();
    FOwnRoom = 0;
    FOwnCore = TListCore{};
    FCore = &Core;
    FSlots = Slots;
    FSlotRoom = SlotRoom;
    FBase = reinterpret_cast<std::uintptr_t>(Base);
    FAttached = true;
    dropSlots();
}

void TList::Detach() {
    // The attached storage belongs to its owner and is left as it is.
    FCore = &FOwnCore;
    FSlots = nullptr;
    FSlotRoom = 0;
    FBase = 0;
    FAttached = false;
    dropSlots();
}

void TList::dropSlots() {
    FCore->Last = -1;
    FCore->Capacity = -1;
    FCore->SlotCount = 0;
}

void TList::SetupSlots() {
    if (Max < 1) {
        dropSlots();
        return;
    }
    const std::int32_t count = Max + 2;
    if (FAttached) {
        if (count > FSlotRoom) {
            dropSlots();
            return;
        }
    } else if (!FOwnSlots || FOwnRoom != count) {
        // The array is kept when its size does not change: a stage start then allocates nothing.
        FOwnSlots.reset();
        FOwnSlots = std::make_unique<TListSlot[]>(static_cast<std::size_t>(count));
        FOwnRoom = count;
        FSlots = FOwnSlots.get();
        FSlotRoom = count;
    }
    // Every slot is cleared, the unused ones too: the whole array is part of the state.
    std::fill_n(FSlots, FSlotRoom, TListSlot{0});
    FCore->SlotCount = count;
    FCore->Capacity = Max + 1;
    prepareSentinel(FCore->Head, kHeadY);
    prepareSentinel(FCore->Tail, kTailY);
    FCore->Last = 1;
    put(0, &FCore->Head);
    FCore->Head.Index = 0;
    put(1, &FCore->Tail);
    FCore->Tail.Index = 1;
}

bool TList::AddCharacter(TCharacter& Rec, std::int16_t X, std::int16_t Y, std::uint8_t Dir, std::int16_t Pattern,
                         TCharType CharType, std::int16_t Radius, std::int16_t Range, std::int16_t Margin,
                         std::int8_t Visibility, std::uint8_t Mode) {
    if (!HasSlots() || Listed(Rec)) return false;
    Rec.X = static_cast<std::int32_t>(X) * 65536;
    Rec.Y = static_cast<std::int32_t>(Y) * 65536;
    Rec.Angle = static_cast<std::uint16_t>(Dir << 8);
    Rec.Rotation = 0;
    Rec.Pattern = Pattern;
    Rec.CharType = CharType;
    Rec.Radius = Radius;
    Rec.Range = Range;
    Rec.Margin = Margin;
    Rec.Visibility = Visibility;
    if (Mode == 0) {
        if (DefaultCheck != nullptr) Rec.OnCheck = DefaultCheck;
        if (DefaultDraw != nullptr) Rec.OnDraw = DefaultDraw;
    } else if (Mode == 1) {
        Rec.OnCheck = nullptr;
        Rec.OnDraw = nullptr;
    }
    return InsertCharacter(Rec);
}

void TList::placeAt(TCharacter& Rec, std::int32_t k) {
    ++FCore->Last;
    for (std::int32_t i = FCore->Last; i > k; --i) {
        FSlots[i] = FSlots[i - 1];
        at(i).Index = static_cast<std::int16_t>(i);
    }
    put(k, &Rec);
    Rec.Index = static_cast<std::int16_t>(k);
}

bool TList::InsertCharacter(TCharacter& Rec) {
    if (!HasSlots() || FCore->Last == FCore->Capacity) return false;
    // A record that is already listed would occupy two slots; one beyond the tail sentinel
    // would break the order the sweep relies on.
    if (Listed(Rec) || Rec.Y > FCore->Tail.Y) return false;
    std::int32_t k = 0;
    while (k <= FCore->Last && at(k).Y < Rec.Y) ++k;
    // A record as high as the head sentinel goes right after it: slot 0 stays the head.
    if (k < 1) k = 1;
    placeAt(Rec, k);
    return true;
}

bool TList::RemoveCharacter(TCharacter& Rec) {
    // Only the record that really occupies its slot: an Index left over from before the last
    // SetupSlots must not take out whatever lies there now.
    if (!Listed(Rec)) return false;
    for (std::int32_t i = Rec.Index; i < FCore->Last; ++i) {
        FSlots[i] = FSlots[i + 1];
        at(i).Index = static_cast<std::int16_t>(i);
    }
    FSlots[FCore->Last] = 0;
    --FCore->Last;
    Rec.Index = -1;
    return true;
}

void TList::swapSlots(std::int32_t a, std::int32_t b) {
    std::swap(FSlots[a], FSlots[b]);
    at(a).Index = static_cast<std::int16_t>(a);
    at(b).Index = static_cast<std::int16_t>(b);
}

void TList::moveRecord(TCharacter& Rec, std::int32_t DX, std::int32_t DY, std::int16_t Turn) {
    const std::int64_t newY = static_cast<std::int64_t>(Rec.Y) + DY;
    if (DY < 0 && newY < FCore->Head.Y) DY = 0;
    if (DY > 0 && newY > FCore->Tail.Y) DY = 0;

    if (WrapX > 0)
        Rec.X = wrapInto(static_cast<std::int64_t>(Rec.X) + DX, static_cast<std::int64_t>(WrapX) * 65536);
    else
        Rec.X = WrapAdd(Rec.X, DX);
    if (WrapY > 0)
        Rec.Y = wrapInto(static_cast<std::int64_t>(Rec.Y) + DY, static_cast<std::int64_t>(WrapY) * 65536);
    else
        Rec.Y = WrapAdd(Rec.Y, DY);
    Rec.Angle = static_cast<std::uint16_t>(Rec.Angle + static_cast<std::uint16_t>(Turn));

    std::int32_t k = Rec.Index;
    if (DY < 0) {
        while (at(k - 1).Y > Rec.Y) {
            if (k - 1 == 0) {
                Rec.Y = FCore->Head.Y + 1;
                break;
            }
            swapSlots(k - 1, k);
            --k;
        }
    } else if (DY > 0) {
        while (at(k + 1).Y < Rec.Y) {
            if (k + 1 == FCore->Last) {
                Rec.Y = FCore->Tail.Y - 1;
                break;
            }
            swapSlots(k, k + 1);
            ++k;
        }
    }
}

void TList::MoveCharacter(TCharacter& Rec, std::int32_t DX, std::int32_t DY, std::int16_t Turn) {
    if (!Listed(Rec)) return;
    moveRecord(Rec, DX, DY, Turn);
}

void TList::MoveCheck(TCharacter& Rec, std::int32_t DX, std::int32_t DY, std::int16_t Turn) {
    if (!Listed(Rec)) return;
    moveRecord(Rec, DX, DY, Turn);
    if (Rec.OnCheck) sweep(Rec);
}

void TList::Advance(TCharacter& Rec) {
    const std::uint8_t d = Rec.Direction();
    MoveCheck(Rec, WrapMul(Rec.Speed, Cos(d)), WrapMul(Rec.Speed, Sin(d)), 0);
}

void TList::PushAway(TCharacter& OwnRec, TCharacter& DstRec, std::int32_t Strength) {
    const std::uint8_t a = GetDirection(WrapSub(DstRec.X, OwnRec.X), WrapSub(DstRec.Y, OwnRec.Y));
    MoveCharacter(DstRec, WrapMul(WrapMul(Cos(a), 64), Strength), WrapMul(WrapMul(Sin(a), 64), Strength), 0);
}

// Tests one partner; true when the sweep must end.
bool TList::contactCall(TCharacter& Rec, TCharacter& P, std::uint8_t& flags) {
    const std::int64_t dx = P.XPos() - Rec.XPos();
    const std::int64_t dy = P.YPos() - Rec.YPos();
    const std::int64_t r = static_cast<std::int64_t>(P.Radius) + Rec.Radius;
    if (dx * dx + dy * dy >= r * r) return false;
    const auto partnerType = static_cast<unsigned>(P.CharType);
    if (partnerType >= CharTypeCount) return false;
    if (((GetCheckType(static_cast<std::uint8_t>(Rec.CharType)) >> partnerType) & 1u) == 0) return false;
    const TCheckEvent check = Rec.OnCheck.get();
    if (check == nullptr) return true;  // an earlier call took the procedure away
    check(Rec, P, flags);
    if (flags != 0) {
        if (flags & cfRemoveOwn) RemoveCharacter(Rec);
        if (flags & cfRemoveDst) RemoveCharacter(P);
        return true;
    }
    // A handler that removed the moving record itself ends its sweep too.
    return !Listed(Rec);
}

void TList::sweep(TCharacter& Rec) {
    std::uint8_t flags = 0;
    for (std::int32_t k = Rec.Index - 1; k >= 1 && k < FCore->Last; --k) {
        TCharacter& P = at(k);
        if (!(P.YPos() > Rec.YPos() - Rec.Range)) break;
        if (contactCall(Rec, P, flags)) return;
    }
    for (std::int32_t k = Rec.Index + 1; k < FCore->Last; ++k) {
        TCharacter& P = at(k);
        if (!(P.YPos() < Rec.YPos() + Rec.Range)) break;
        if (contactCall(Rec, P, flags)) return;
    }
}

void TList::DrawArea(std::int16_t Start, const engine::TRect& Area) {
    if (!HasSlots()) return;
    std::int32_t s = std::clamp<std::int32_t>(Start, 1, FCore->Last);
    while (s > 1) {
        const TCharacter& prev = at(s - 1);
        if (!(prev.YPos() > Area.top - prev.Margin)) break;
        --s;
    }
    for (std::int32_t k = s; k < FCore->Last; ++k) {
        TCharacter& P = at(k);
        if (!(P.YPos() < Area.bottom + P.Margin)) break;
        const std::int32_t x = P.XPos();
        if (Area.left - P.Margin < x && x < Area.right + P.Margin && P.Visibility != HiddenVisibility &&
            P.OnDraw)
            P.OnDraw(P);
    }
}

std::uint16_t TList::GetCheckType(std::uint8_t T) const {
    const std::size_t row = T & 127u;
    return row < CheckType.size() ? CheckType[row] : 0;
}

std::array<std::uint8_t, 2 * CharTypeCount> TList::WriteCheckTypeData() const {
    std::array<std::uint8_t, 2 * CharTypeCount> data{};
    for (std::size_t t = 0; t < CheckType.size(); ++t) {
        data[2 * t] = static_cast<std::uint8_t>(CheckType[t] & 0xFF);
        data[2 * t + 1] = static_cast<std::uint8_t>(CheckType[t] >> 8);
    }
    return data;
}

bool TList::ReadCheckTypeData(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr || size != 2 * CheckType.size()) return false;
    for (std::size_t t = 0; t < CheckType.size(); ++t)
        CheckType[t] = static_cast<std::uint16_t>(data[2 * t] | (data[2 * t + 1] << 8));
    return true;
}

}  // namespace tz
