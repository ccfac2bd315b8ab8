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

TList::TList() = default;

TCharacter* TList::Slot(std::int32_t k) const {
    if (!FSlots || k < 0 || k > FLast) return nullptr;
    return FSlots[static_cast<std::size_t>(k)];
}

bool TList::Listed(const TCharacter& Rec) const {
    return FSlots && Rec.Index >= 1 && Rec.Index < FLast && FSlots[static_cast<std::size_t>(Rec.Index)] == &Rec;
}

void TList::Loaded() {
    for (int t = 0; t < CharTypeCount; ++t)
        CheckType[static_cast<std::size_t>(t)] = GetCheckType(static_cast<std::uint8_t>(t));
    SetupSlots();
}

void TList::SetupSlots() {
    if (Max < 1) {
        FSlots.reset();
        FSlotCount = 0;
        FLast = -1;
        FCapacity = -1;
        return;
    }
    // The array is kept when its size does not change: a stage start then allocates nothing.
    if (!FSlots || FSlotCount != Max + 2) {
        FSlots.reset();
        FSlots = std::make_unique<TCharacter*[]>(static_cast<std::size_t>(Max) + 2);
        FSlotCount = Max + 2;
    }
    std::fill_n(FSlots.get(), FSlotCount, nullptr);
    FCapacity = Max + 1;
    prepareSentinel(FHead, kHeadY);
    prepareSentinel(FTail, kTailY);
    FLast = 1;
    FSlots[0] = &FHead;
    FHead.Index = 0;
    FSlots[1] = &FTail;
    FTail.Index = 1;
}

bool TList::AddCharacter(TCharacter& Rec, std::int16_t X, std::int16_t Y, std::uint8_t Dir, std::int16_t Pattern,
                         TCharType CharType, std::int16_t Radius, std::int16_t Range, std::int16_t Margin,
                         std::int8_t Visibility, std::uint8_t Mode) {
    if (!FSlots || Listed(Rec)) return false;
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
    ++FLast;
    for (std::int32_t i = FLast; i > k; --i) {
        TCharacter* moved = FSlots[static_cast<std::size_t>(i - 1)];
        FSlots[static_cast<std::size_t>(i)] = moved;
        moved->Index = static_cast<std::int16_t>(i);
    }
    FSlots[static_cast<std::size_t>(k)] = &Rec;
    Rec.Index = static_cast<std::int16_t>(k);
}

bool TList::InsertCharacter(TCharacter& Rec) {
    if (!FSlots || FLast == FCapacity) return false;
    // A record that is already listed would occupy two slots; one beyond the tail sentinel
    // would break the order the sweep relies on.
    if (Listed(Rec) || Rec.Y > FTail.Y) return false;
    std::int32_t k = 0;
    while (k <= FLast && FSlots[static_cast<std::size_t>(k)]->Y < Rec.Y) ++k;
    // A record as high as the head sentinel goes right after it: slot 0 stays the head.
    if (k < 1) k = 1;
    placeAt(Rec, k);
    return true;
}

bool TList::RemoveCharacter(TCharacter& Rec) {
    // Only the record that really occupies its slot: an Index left over from before the last
    // SetupSlots must not take out whatever lies there now.
    if (!Listed(Rec)) return false;
    for (std::int32_t i = Rec.Index; i < FLast; ++i) {
        TCharacter* moved = FSlots[static_cast<std::size_t>(i + 1)];
        FSlots[static_cast<std::size_t>(i)] = moved;
        moved->Index = static_cast<std::int16_t>(i);
    }
    FSlots[static_cast<std::size_t>(FLast)] = nullptr;
    --FLast;
    Rec.Index = -1;
    return true;
}

void TList::swapSlots(std::int32_t a, std::int32_t b) {
    std::swap(FSlots[static_cast<std::size_t>(a)], FSlots[static_cast<std::size_t>(b)]);
    FSlots[static_cast<std::size_t>(a)]->Index = static_cast<std::int16_t>(a);
    FSlots[static_cast<std::size_t>(b)]->Index = static_cast<std::int16_t>(b);
}

void TList::moveRecord(TCharacter& Rec, std::int32_t DX, std::int32_t DY, std::int16_t Turn) {
    const std::int64_t newY = static_cast<std::int64_t>(Rec.Y) + DY;
    if (DY < 0 && newY < FHead.Y) DY = 0;
    if (DY > 0 && newY > FTail.Y) DY = 0;

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
        while (FSlots[static_cast<std::size_t>(k - 1)]->Y > Rec.Y) {
            if (k - 1 == 0) {
                Rec.Y = FHead.Y + 1;
                break;
            }
            swapSlots(k - 1, k);
            --k;
        }
    } else if (DY > 0) {
        while (FSlots[static_cast<std::size_t>(k + 1)]->Y < Rec.Y) {
            if (k + 1 == FLast) {
                Rec.Y = FTail.Y - 1;
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
    if (Rec.OnCheck != nullptr) sweep(Rec);
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
    if (Rec.OnCheck == nullptr) return true;  // an earlier call took the procedure away
    Rec.OnCheck(Rec, P, flags);
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
    for (std::int32_t k = Rec.Index - 1; k >= 1 && k < FLast; --k) {
        TCharacter& P = *FSlots[static_cast<std::size_t>(k)];
        if (!(P.YPos() > Rec.YPos() - Rec.Range)) break;
        if (contactCall(Rec, P, flags)) return;
    }
    for (std::int32_t k = Rec.Index + 1; k < FLast; ++k) {
        TCharacter& P = *FSlots[static_cast<std::size_t>(k)];
        if (!(P.YPos() < Rec.YPos() + Rec.Range)) break;
        if (contactCall(Rec, P, flags)) return;
    }
}

void TList::DrawArea(std::int16_t Start, const engine::TRect& Area) {
    if (!FSlots) return;
    std::int32_t s = std::clamp<std::int32_t>(Start, 1, FLast);
    while (s > 1) {
        const TCharacter& prev = *FSlots[static_cast<std::size_t>(s - 1)];
        if (!(prev.YPos() > Area.top - prev.Margin)) break;
        --s;
    }
    for (std::int32_t k = s; k < FLast; ++k) {
        TCharacter& P = *FSlots[static_cast<std::size_t>(k)];
        if (!(P.YPos() < Area.bottom + P.Margin)) break;
        const std::int32_t x = P.XPos();
        if (Area.left - P.Margin < x && x < Area.right + P.Margin && P.Visibility != HiddenVisibility &&
            P.OnDraw != nullptr)
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

void TList::SaveState(TListState& state) const {
    state.last = FLast;
    state.slots.assign(FSlots.get(), FSlots.get() + (FSlots ? FSlotCount : 0));
}

void TList::RestoreState(const TListState& state) {
    if (!FSlots || static_cast<std::int32_t>(state.slots.size()) != FSlotCount) return;
    std::copy(state.slots.begin(), state.slots.end(), FSlots.get());
    FLast = state.last;
    FHead.Index = 0;
    FTail.Index = static_cast<std::int16_t>(FLast);
}

}  // namespace tz
