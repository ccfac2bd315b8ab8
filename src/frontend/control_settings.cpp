#include "frontend/control_settings.h"

#include <algorithm>

#include "game/tz_gamepad.h"
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

}  // namespace

TKeyTexts DefaultKeyTexts() {
    TKeyTexts texts;
    for (std::size_t a = 0; a < tz::ActionCount; ++a)
        texts[a] = tz::FormatKeyList(tz::DefaultKeyBindings()[static_cast<TAction>(a)]);
    return texts;
}

std::vector<std::string> ApplyControlSettings(const TKeyTexts& Texts, const std::vector<std::string>& EntryNames,
                                              std::int32_t& DeadZone, tz::TKeyBindings& Bindings) {
    std::vector<std::string> warnings;
    for (std::size_t a = 0; a < tz::ActionCount; ++a) {
        const auto action = static_cast<TAction>(a);
        const std::string name(tz::ActionName(action));
        tz::TKeyListParse parsed = tz::ParseKeyList(Texts[a]);
        for (const std::string& unknown : parsed.Unknown)
            warnings.push_back("[Keys] " + name + ": '" + unknown + "' is not a key name; it is ignored");
        for (const std::string& extra : parsed.TooMany)
            warnings.push_back("[Keys] " + name + ": at most " + std::to_string(tz::KeysPerAction) + " keys; '" + extra +
                               "' is ignored");
        Bindings[action] = parsed.Keys;
    }
    std::vector<std::string> reported;
    for (const std::string& entry : EntryNames) {
        if (tz::ActionFromName(entry) != TAction::Count) continue;
        if (std::find(reported.begin(), reported.end(), entry) != reported.end()) continue;
        reported.push_back(entry);
        warnings.push_back("[Keys] '" + entry + "' is not an action (" + [] {
            std::vector<std::string> names;
            for (std::size_t a = 0; a < tz::ActionCount; ++a) names.emplace_back(tz::ActionName(static_cast<TAction>(a)));
            return Join(names, ", ");
        }() + "); it is ignored");
    }
    const std::int32_t clamped = std::clamp(DeadZone, std::int32_t{0}, tz::MaxPadDeadZone);
    if (clamped != DeadZone) {
        warnings.push_back("[Gamepad] DeadZone " + std::to_string(DeadZone) + " is outside 0.." +
                           std::to_string(tz::MaxPadDeadZone) + "; " + std::to_string(clamped) + " is used");
        DeadZone = clamped;
    }
    return warnings;
}

TControlsText DescribeControls(const tz::TKeyBindings& b, bool Japanese) {
    TControlsText t;
    if (Japanese) {
        const char* none = "なし";
        t.Keyboard = "キーボード\n移動  " + MoveKeys(b, "矢印キー", none) + "\nショット  " + KeysOf(b, TAction::Fire, none) +
                     "    ボム  " + KeysOf(b, TAction::Bomb, none) + "\nポーズ  " + KeysOf(b, TAction::Pause, none) +
                     "    リプレイ早送り  " + KeysOf(b, TAction::FastForward, none) + "\n画面の保存  " +
                     KeysOf(b, TAction::Screenshot, none);
        t.Gamepad = "ゲームパッド\n移動  左スティック / 十字キー\nショット  A    ボム  B\nポーズ  Start    早送り  RB\n"
                    "全画面  Alt+Enter    終了  Esc";
    } else {
        const char* none = "none";
        t.Keyboard = "Keyboard\nMove  " + MoveKeys(b, "arrow keys", none) + "\nFire  " + KeysOf(b, TAction::Fire, none) +
                     "    Bomb  " + KeysOf(b, TAction::Bomb, none) + "\nPause  " + KeysOf(b, TAction::Pause, none) +
                     "    Replay fast-forward  " + KeysOf(b, TAction::FastForward, none) + "\nScreenshot  " +
                     KeysOf(b, TAction::Screenshot, none);
        t.Gamepad = "Gamepad\nMove  left stick / d-pad\nFire  A    Bomb  B\nPause  Start    Fast-forward  RB\n"
                    "Full screen  Alt+Enter    Quit  Esc";
    }
    return t;
}

}  // namespace frontend
