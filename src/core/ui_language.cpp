#include "core/ui_language.h"

#include <array>
#include <atomic>
#include <cstdlib>

namespace tz {
namespace {

constexpr std::array<const char*, 3> ChoiceNames{"auto", "ja", "en"};

bool SameLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

std::atomic<TLanguage>& CurrentLanguage() {
    static std::atomic<TLanguage> language{TLanguage::English};
    return language;
}

}  // namespace

bool ParseLanguageChoice(std::string_view Text, TLanguageChoice& Choice) {
    while (!Text.empty() && (Text.front() == ' ' || Text.front() == '\t')) Text.remove_prefix(1);
    while (!Text.empty() && (Text.back() == ' ' || Text.back() == '\t')) Text.remove_suffix(1);
    for (std::size_t i = 0; i < ChoiceNames.size(); ++i)
        if (SameLetters(Text, ChoiceNames[i])) {
            Choice = static_cast<TLanguageChoice>(i);
            return true;
        }
    return false;
}

const char* LanguageChoiceName(TLanguageChoice Choice) { return ChoiceNames[static_cast<std::size_t>(Choice)]; }

TLanguage LanguageOfLocale(std::string_view Locale) {
    // "ja", "ja_JP", "ja_JP.UTF-8", "ja_JP.eucJP@..." : the language part before '_', '.' or '@'.
    const std::string_view language = Locale.substr(0, Locale.find_first_of("_.@"));
    return language == "ja" ? TLanguage::Japanese : TLanguage::English;
}

TLanguage LocaleLanguage() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return LanguageOfLocale(value);
    }
    return TLanguage::English;
}

TLanguage ChooseLanguage(TLanguageChoice CommandLine, TLanguageChoice Settings, TLanguage Locale) {
    const TLanguageChoice choice = CommandLine != TLanguageChoice::Auto ? CommandLine : Settings;
    switch (choice) {
        case TLanguageChoice::Japanese: return TLanguage::Japanese;
        case TLanguageChoice::English: return TLanguage::English;
        case TLanguageChoice::Auto: break;
    }
    return Locale;
}

TLanguage UiLanguage() { return CurrentLanguage().load(std::memory_order_relaxed); }

void SetUiLanguage(TLanguage Language) { CurrentLanguage().store(Language, std::memory_order_relaxed); }

}  // namespace tz
