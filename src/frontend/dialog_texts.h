#pragma once
// The texts of the startup dialog's message boxes and of the settings warnings they list, in
// Japanese and in English (core/ui_language.h chooses).

#include <initializer_list>
#include <string>
#include <string_view>

#include "core/ui_language.h"

namespace frontend {

struct TDialogTexts {
    const char* CommandLineReplayRefused;   // followed by a line with the reason
    const char* SettingsUnreadable;         // followed by a line with the reason
    const char* SettingsIgnoredBefore;      // + the settings file's path +
    const char* SettingsIgnoredAfter;       // then one line per warning
    const char* ReplayRefused;              // followed by a line with the reason
    const char* ManualNotOpened;            // + the manual's path
    const char* SettingsNotSaved;           // followed by a line with the reason
    // Settings warnings; "%1" is replaced by the entry, "%2" by the value, "%3" by a number or
    // a list.
    const char* UnknownKeyName;       // [Keys] action: a key name not known
    const char* UnknownButtonName;    // [Gamepad] action: a button name not known
    const char* TooManyKeys;          // more names than an action takes
    const char* UnknownAction;        // an entry that names no action
    const char* DeadZoneOutside;      // the dead zone brought inside 0..90
    const char* UnknownLanguage;      // a Language value that is not auto, ja or en
};

inline constexpr TDialogTexts JapaneseTexts{
    "コマンドラインで指定されたリプレイは再生できません。\n",
    "設定を読み込めません。既定の設定を使います。\n",
    "使えない設定があるため無視します（",
    "）：",
    "このリプレイは再生できません。\n",
    "説明書を開けません：",
    "設定を保存できませんでした。\n",
    "%1：「%2」はキーの名前ではないため無視します",
    "%1：「%2」はゲームパッドのボタンの名前ではないため無視します",
    "%1：割り当ては %3 個までです。「%2」は無視します",
    "「%1」は操作の名前（%3）ではないため無視します",
    "%1 %2 は 0..%3 の範囲外です。%4 を使います",
    "%1：「%2」は auto、ja、en のどれでもないため auto を使います",
};

inline constexpr TDialogTexts EnglishTexts{
    "The replay on the command line cannot be played.\n",
    "The settings cannot be read; the defaults are used.\n",
    "Some settings cannot be used and are ignored (",
    "):",
    "This replay cannot be played.\n",
    "The manual cannot be opened: ",
    "The settings were not saved.\n",
    "%1: '%2' is not a key name; it is ignored",
    "%1: '%2' is not a gamepad button name; it is ignored",
    "%1: at most %3 names; '%2' is ignored",
    "'%1' is not an action (%3); it is ignored",
    "%1 %2 is outside 0..%3; %4 is used",
    "%1: '%2' is not auto, ja or en; auto is used",
};

inline const TDialogTexts& TextsFor(tz::TLanguage Language) {
    return Language == tz::TLanguage::Japanese ? JapaneseTexts : EnglishTexts;
}

// Pattern with "%1", "%2" ... replaced by the arguments in order.
inline std::string FillText(std::string_view Pattern, std::initializer_list<std::string_view> Args) {
    std::string text;
    for (std::size_t i = 0; i < Pattern.size(); ++i) {
        const char c = Pattern[i];
        if (c == '%' && i + 1 < Pattern.size() && Pattern[i + 1] >= '1' && Pattern[i + 1] <= '9') {
            const auto n = static_cast<std::size_t>(Pattern[i + 1] - '1');
            if (n < Args.size()) text += *(Args.begin() + n);
            ++i;
        } else {
            text += c;
        }
    }
    return text;
}

}  // namespace frontend
