#include "frontend/control_settings.h"

#include <algorithm>

#include "frontend/dialog_texts.h"
#include "game/tz_gamepad.h"
#include "game/tz_name_list.h"
#include "platform/key_names.h"

namespace frontend {
namespace {

using tz::TAction;
using plat::Key;

std::string Join(const std::vector<std::string>& parts, const char* separator) {
    std::string text;
    for (const std::string& p : parts) {
        if (!text.empty()) text += separator;
        text += p;
    }
    return text;
}

// The keys of one action, "Z / Space"; Unbound when it has none.
std::string KeysOf(const tz::TKeyBindings& b, TAction a, const char* unbound) {
    std::vector<std::string> names;
    for (Key k : b[a])
        if (k != Key::Count) names.emplace_back(plat::keyName(k));
    return names.empty() ? std::string(unbound) : Join(names, " / ");
}

// The four directions, place by place: the arrow keys as one word, single letters run together
// ("WASD"), any other keys one by one.
std::string MoveKeys(const tz::TKeyBindings& b, const char* arrows, const char* unbound) {
    constexpr std::array<TAction, 4> order{TAction::Up, TAction::Left, TAction::Down, TAction::Right};
    std::vector<std::string> groups;
    for (std::size_t i = 0; i < tz::KeysPerAction; ++i) {
        std::array<Key, 4> keys{};
        bool any = false, letters = true;
        for (std::size_t d = 0; d < order.size(); ++d) {
            keys[d] = b[order[d]][i];
            any = any || keys[d] != Key::Count;
            letters = letters && keys[d] != Key::Count && plat::keyName(keys[d]).size() == 1;
        }
        if (!any) continue;
        if (keys == std::array<Key, 4>{Key::Up, Key::Left, Key::Down, Key::Right}) {
            groups.emplace_back(arrows);
        } else if (letters) {
            std::string word;
            for (Key k : keys) word += plat::keyName(k);
            groups.push_back(word);
        } else {
            std::vector<std::string> names;
            for (Key k : keys)
                if (k != Key::Count) names.emplace_back(plat::keyName(k));
            groups.push_back(Join(names, "/"));
        }
    }
    return groups.empty() ? std::string(unbound) : Join(groups, " / ");
}

// The buttons of one action, "A / X"; Unbound when it has none.
std::string ButtonsOf(const tz::TPadBindings& b, TAction a, const char* unbound) {
    std::vector<std::string> names;
    for (plat::PadButton button : b[a])
        if (button != plat::PadButton::Count) names.emplace_back(plat::padButtonName(button));
    return names.empty() ? std::string(unbound) : Join(names, " / ");
}

// The left stick, then the d-pad as one word when it moves, other buttons one by one.
std::string MoveButtons(const tz::TPadBindings& b, const char* stick, const char* dpad) {
    using plat::PadButton;
    const tz::TPadBindings& d = tz::DefaultPadBindings();
    if (b[TAction::Up] == d[TAction::Up] && b[TAction::Left] == d[TAction::Left] && b[TAction::Down] == d[TAction::Down] &&
        b[TAction::Right] == d[TAction::Right])
        return std::string(stick) + " / " + dpad;
    std::vector<std::string> names;
    for (TAction a : {TAction::Up, TAction::Left, TAction::Down, TAction::Right}) names.push_back(ButtonsOf(b, a, "-"));
    return std::string(stick) + " / " + Join(names, "/");
}

std::string ActionList() {
    std::vector<std::string> names;
    for (std::size_t a = 0; a < tz::ActionCount; ++a) names.emplace_back(tz::ActionName(static_cast<TAction>(a)));
    return Join(names, ", ");
}

}  // namespace

TPadTexts DefaultPadTexts() {
    TPadTexts texts;
    for (std::size_t a = 0; a < tz::ActionCount; ++a)
        texts[a] = tz::FormatPadList(tz::DefaultPadBindings()[static_cast<TAction>(a)]);
    return texts;
}

TKeyTexts DefaultKeyTexts() {
    TKeyTexts texts;
    for (std::size_t a = 0; a < tz::ActionCount; ++a)
        texts[a] = tz::FormatKeyList(tz::DefaultKeyBindings()[static_cast<TAction>(a)]);
    return texts;
}

std::vector<std::string> ApplyControlSettings(const TKeyTexts& Texts, const std::vector<std::string>& EntryNames,
                                              std::int32_t& DeadZone, tz::TKeyBindings& Bindings, tz::TLanguage Language) {
    const TDialogTexts& say = TextsFor(Language);
    const std::string section = std::string("[") + KeysSection + "] ";
    const std::string most = std::to_string(tz::KeysPerAction);
    std::vector<std::string> warnings;
    for (std::size_t a = 0; a < tz::ActionCount; ++a) {
        const auto action = static_cast<TAction>(a);
        const std::string name(tz::ActionName(action));
        tz::TKeyListParse parsed = tz::ParseKeyList(Texts[a]);
        for (const std::string& unknown : parsed.Unknown)
            warnings.push_back(section + FillText(say.UnknownKeyName, {name, unknown}));
        for (const std::string& extra : parsed.TooMany)
            warnings.push_back(section + FillText(say.TooManyKeys, {name, extra, most}));
        Bindings[action] = parsed.Keys;
    }
    std::vector<std::string> reported;
    for (const std::string& entry : EntryNames) {
        if (tz::ActionFromName(entry) != TAction::Count) continue;
        if (std::find(reported.begin(), reported.end(), entry) != reported.end()) continue;
        reported.push_back(entry);
        warnings.push_back(section + FillText(say.UnknownAction, {entry, "", ActionList()}));
    }
    const std::int32_t clamped = std::clamp(DeadZone, std::int32_t{0}, tz::MaxPadDeadZone);
    if (clamped != DeadZone) {
        warnings.push_back(std::string("[") + GamepadSection + "] " +
                           FillText(say.DeadZoneOutside, {DeadZoneEntry, std::to_string(DeadZone),
                                                          std::to_string(tz::MaxPadDeadZone), std::to_string(clamped)}));
        DeadZone = clamped;
    }
    return warnings;
}

std::vector<std::string> ApplyPadSettings(const TPadTexts& Texts, const std::vector<std::string>& EntryNames,
                                          tz::TPadBindings& Bindings, tz::TLanguage Language) {
    const TDialogTexts& say = TextsFor(Language);
    const std::string section = std::string("[") + GamepadSection + "] ";
    const std::string most = std::to_string(tz::KeysPerAction);
    std::vector<std::string> warnings;
    for (std::size_t a = 0; a < tz::ActionCount; ++a) {
        const auto action = static_cast<TAction>(a);
        const std::string name(tz::ActionName(action));
        tz::TPadListParse parsed = tz::ParsePadList(Texts[a]);
        for (const std::string& unknown : parsed.Unknown)
            warnings.push_back(section + FillText(say.UnknownButtonName, {name, unknown}));
        for (const std::string& extra : parsed.TooMany)
            warnings.push_back(section + FillText(say.TooManyKeys, {name, extra, most}));
        Bindings[action] = parsed.Buttons;
    }
    std::vector<std::string> reported;
    for (const std::string& entry : EntryNames) {
        if (tz::ActionFromName(entry) != TAction::Count || tz::SameNoCase(entry, DeadZoneEntry)) continue;
        if (std::find(reported.begin(), reported.end(), entry) != reported.end()) continue;
        reported.push_back(entry);
        warnings.push_back(section + FillText(say.UnknownAction, {entry, "", ActionList() + ", " + DeadZoneEntry}));
    }
    return warnings;
}

TControlsText DescribeControls(const tz::TKeyBindings& b, bool Japanese, const tz::TPadBindings& p) {
    TControlsText t;
    if (Japanese) {
        const char* none = "なし";
        t.Keyboard = "キーボード\n移動  " + MoveKeys(b, "矢印キー", none) + "\nショット  " + KeysOf(b, TAction::Fire, none) +
                     "    ボム  " + KeysOf(b, TAction::Bomb, none) + "\nポーズ  " + KeysOf(b, TAction::Pause, none) +
                     "    リプレイ早送り  " + KeysOf(b, TAction::FastForward, none) + "\n画面の保存  " +
                     KeysOf(b, TAction::Screenshot, none) + "\nリプレイ  ←/→  Home/End  , .  [ ]  Enter";
        t.Gamepad = "ゲームパッド\n移動  " + MoveButtons(p, "左スティック", "十字キー") + "\nショット  " +
                    ButtonsOf(p, TAction::Fire, none) + "    ボム  " + ButtonsOf(p, TAction::Bomb, none) + "\nポーズ  " +
                    ButtonsOf(p, TAction::Pause, none) + "    早送り  " + ButtonsOf(p, TAction::FastForward, none) +
                    "\nリプレイ  十字キー左右で移動    Back 引き継ぎ\n全画面  Alt+Enter    終了  Esc";
    } else {
        const char* none = "none";
        t.Keyboard = "Keyboard\nMove  " + MoveKeys(b, "arrow keys", none) + "\nFire  " + KeysOf(b, TAction::Fire, none) +
                     "    Bomb  " + KeysOf(b, TAction::Bomb, none) + "\nPause  " + KeysOf(b, TAction::Pause, none) +
                     "    Replay fast-forward  " + KeysOf(b, TAction::FastForward, none) + "\nScreenshot  " +
                     KeysOf(b, TAction::Screenshot, none) + "\nReplay  Left/Right  Home/End  , .  [ ]  Enter";
        t.Gamepad = "Gamepad\nMove  " + MoveButtons(p, "left stick", "d-pad") + "\nFire  " +
                    ButtonsOf(p, TAction::Fire, none) + "    Bomb  " + ButtonsOf(p, TAction::Bomb, none) + "\nPause  " +
                    ButtonsOf(p, TAction::Pause, none) + "    Fast-forward  " + ButtonsOf(p, TAction::FastForward, none) +
                    "\nReplay  d-pad left/right seek    Back takes over\nFull screen  Alt+Enter    Quit  Esc";
    }
    return t;
}

}  // namespace frontend
