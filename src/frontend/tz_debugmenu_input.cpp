// The startup dialog's controls as its window shows them, and what the keyboard and the
// mouse do to them (see tz_debugmenu.h for the keys).
#include <algorithm>
#include <array>

#include "frontend/tz_debugmenu.h"

namespace frontend {
namespace {

constexpr std::size_t Index(TControlId id) { return static_cast<std::size_t>(id); }

// The focus order: every control but the frame and the label.
constexpr std::array<TControlId, 10> kTabOrder{
    TControlId::cbVRAM,     TControlId::cbReverseSound, TControlId::cbBGM,          TControlId::cbSE,
    TControlId::cbFullScreen, TControlId::cbSmoothMotion, TControlId::cbStartFrom, TControlId::ReplayList,
    TControlId::btnStart,   TControlId::btnManual};

plat::FormControl Describe(plat::ControlKind kind, const TControl& c) {
    plat::FormControl d;
    d.kind = kind;
    d.rect = c.Bounds;
    d.caption = c.Caption;
    d.visible = c.Visible;
    d.enabled = c.Enabled;
    return d;
}

}  // namespace

std::vector<plat::FormControl> TForm2::Controls() const {
    using K = plat::ControlKind;
    std::vector<plat::FormControl> c(Index(TControlId::Count));
    c[Index(TControlId::Bevel1)] = Describe(K::Frame, Bevel1);
    const std::array<std::pair<TControlId, const TCheckBox*>, 6> boxes{{{TControlId::cbVRAM, &cbVRAM},
                                                                        {TControlId::cbReverseSound, &cbReverseSound},
                                                                        {TControlId::cbBGM, &cbBGM},
                                                                        {TControlId::cbSE, &cbSE},
                                                                        {TControlId::cbFullScreen, &cbFullScreen},
                                                                        {TControlId::cbSmoothMotion, &cbSmoothMotion}}};
    for (const auto& [id, box] : boxes) {
        c[Index(id)] = Describe(K::CheckBox, *box);
        c[Index(id)].checked = box->Checked;
    }
    plat::FormControl& combo = c[Index(TControlId::cbStartFrom)] = Describe(K::ComboBox, cbStartFrom);
    combo.items = cbStartFrom.Items;
    combo.itemIndex = cbStartFrom.ItemIndex;
    c[Index(TControlId::Label1)] = Describe(K::Label, Label1);
    plat::FormControl& list = c[Index(TControlId::ReplayList)] = Describe(K::ListBox, ReplayList);
    list.items = ReplayList.Items;
    list.itemIndex = ReplayList.ItemIndex;
    list.itemHeight = ReplayItemHeight;
    list.fixedPitch = true;
    c[Index(TControlId::btnStart)] = Describe(K::Button, btnStart);
    c[Index(TControlId::btnStart)].isDefault = true;
    c[Index(TControlId::btnManual)] = Describe(K::Button, btnManual);
    c[Index(TControlId::Bevel2)] = Describe(K::Frame, Bevel2);
    c[Index(TControlId::lblKeyboard)] = Describe(K::Label, lblKeyboard);
    c[Index(TControlId::lblGamepad)] = Describe(K::Label, lblGamepad);
    c[Index(FFocus)].focused = true;
    return c;
}

const TControl& TForm2::ControlOf(TControlId Id) const {
    switch (Id) {
    case TControlId::Bevel1: return Bevel1;
    case TControlId::cbVRAM: return cbVRAM;
    case TControlId::cbReverseSound: return cbReverseSound;
    case TControlId::cbBGM: return cbBGM;
    case TControlId::cbSE: return cbSE;
    case TControlId::cbFullScreen: return cbFullScreen;
    case TControlId::cbSmoothMotion: return cbSmoothMotion;
    case TControlId::cbStartFrom: return cbStartFrom;
    case TControlId::Label1: return Label1;
    case TControlId::ReplayList: return ReplayList;
    case TControlId::btnStart: return btnStart;
    case TControlId::Bevel2: return Bevel2;
    case TControlId::lblKeyboard: return lblKeyboard;
    case TControlId::lblGamepad: return lblGamepad;
    case TControlId::btnManual:
    case TControlId::Count: break;
    }
    return btnManual;
}

bool TForm2::Focusable(TControlId Id) const {
    const TControl& c = ControlOf(Id);
    return c.Visible && c.Enabled;
}

void TForm2::MoveFocus(bool Backward) {
    auto at = std::find(kTabOrder.begin(), kTabOrder.end(), FFocus);
    std::size_t i = at == kTabOrder.end() ? 0 : static_cast<std::size_t>(at - kTabOrder.begin());
    for (std::size_t step = 0; step < kTabOrder.size(); ++step) {
        i = Backward ? (i + kTabOrder.size() - 1) % kTabOrder.size() : (i + 1) % kTabOrder.size();
        if (Focusable(kTabOrder[i])) {
            FFocus = kTabOrder[i];
            return;
        }
    }
}

void TForm2::MoveSelection(plat::FormKey Key) {
    using plat::FormKey;
    // The start-from list when it has the focus, the replay list otherwise.
    const bool combo = FFocus == TControlId::cbStartFrom;
    if (!combo && (!ReplayList.Enabled || !ReplayList.Visible || ReplayList.Items.empty())) return;
    const int count = combo ? static_cast<int>(cbStartFrom.Items.size()) : static_cast<int>(ReplayList.Items.size());
    int& index = combo ? cbStartFrom.ItemIndex : ReplayList.ItemIndex;
    const int page = std::max(1, ReplayList.Bounds.h / ReplayItemHeight - 1);
    int next = index;
    switch (Key) {
    case FormKey::Up: next = index < 0 ? 0 : index - 1; break;
    case FormKey::Down: next = index + 1; break;
    case FormKey::PageUp: next = index - page; break;
    case FormKey::PageDown: next = index < 0 ? page - 1 : index + page; break;
    case FormKey::Home: next = 0; break;
    case FormKey::End: next = count - 1; break;
    default: return;
    }
    index = std::clamp(next, 0, count - 1);
    if (!combo) FFocus = TControlId::ReplayList;
}

void TForm2::PressFocused() {
    switch (FFocus) {
    case TControlId::cbVRAM: cbVRAM.Checked = !cbVRAM.Checked; break;
    case TControlId::cbReverseSound: cbReverseSound.Checked = !cbReverseSound.Checked; break;
    case TControlId::cbBGM: cbBGM.Checked = !cbBGM.Checked; break;
    case TControlId::cbSE: cbSE.Checked = !cbSE.Checked; break;
    case TControlId::cbFullScreen: cbFullScreen.Checked = !cbFullScreen.Checked; break;
    case TControlId::cbSmoothMotion: cbSmoothMotion.Checked = !cbSmoothMotion.Checked; break;
    case TControlId::ReplayList: ReplayListClick(); break;
    case TControlId::btnStart: btnStartClick(); break;
    case TControlId::btnManual: btnManualClick(); break;
    default: break;
    }
}

void TForm2::HandleInput(const plat::FormInput& Input) {
    using plat::FormInput;
    using plat::FormKey;
    if (FClosed) return;
    switch (Input.type) {
    case FormInput::Type::Close: Close(); return;
    case FormInput::Type::Click: {
        if (Input.control < 0 || Input.control >= static_cast<int>(TControlId::Count)) return;
        const auto id = static_cast<TControlId>(Input.control);
        if (std::find(kTabOrder.begin(), kTabOrder.end(), id) == kTabOrder.end() || !Focusable(id)) return;
        FFocus = id;
        PressFocused();
        return;
    }
    case FormInput::Type::Choose: {
        if (Input.control == static_cast<int>(TControlId::cbStartFrom) && Focusable(TControlId::cbStartFrom)) {
            if (Input.item < 0 || Input.item >= static_cast<int>(cbStartFrom.Items.size())) return;
            FFocus = TControlId::cbStartFrom;
            cbStartFrom.ItemIndex = Input.item;
        } else if (Input.control == static_cast<int>(TControlId::ReplayList) && Focusable(TControlId::ReplayList)) {
            if (Input.item < 0 || Input.item >= static_cast<int>(ReplayList.Items.size())) return;
            FFocus = TControlId::ReplayList;
            ReplayList.ItemIndex = Input.item;
            ReplayListClick();   // a click on a line plays it
        }
        return;
    }
    case FormInput::Type::Key: break;
    }
    switch (Input.key) {
    case FormKey::Escape: Close(); break;
    case FormKey::Tab: MoveFocus(Input.shift); break;
    case FormKey::Space: PressFocused(); break;
    case FormKey::Enter:
        if (FFocus == TControlId::ReplayList && ReplayList.ItemIndex >= 0) {
            ReplayListClick();
        } else if (FFocus == TControlId::btnManual) {
            btnManualClick();
        } else {
            btnStartClick();
        }
        break;
    default: MoveSelection(Input.key); break;
    }
}

}  // namespace frontend
