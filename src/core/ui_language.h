#pragma once
// The language of the program's own texts (the startup dialog's captions, message boxes and
// window titles): Japanese under a Japanese locale, English otherwise, unless the settings
// file's Language entry or the command line's --lang chooses one.

#include <cstdint>
#include <string_view>

namespace tz {

enum class TLanguage : std::uint8_t { Japanese, English };

// A choice as the settings file and the command line spell it: "auto", "ja" or "en".
enum class TLanguageChoice : std::uint8_t { Auto, Japanese, English };

// False when Text is none of the three names (letter case is ignored).
bool ParseLanguageChoice(std::string_view Text, TLanguageChoice& Choice);
const char* LanguageChoiceName(TLanguageChoice Choice);

// The language of a locale name as LC_ALL, LC_MESSAGES or LANG hold it ("ja_JP.UTF-8",
// "ja"): Japanese for every "ja" locale, English for any other and for none.
TLanguage LanguageOfLocale(std::string_view Locale);

// The language of this process's locale: the first of LC_ALL, LC_MESSAGES and LANG that is
// set and not empty, as the C library picks the messages' locale.
TLanguage LocaleLanguage();

// The language in use: the command line's choice, else the settings file's, else the locale's.
TLanguage ChooseLanguage(TLanguageChoice CommandLine, TLanguageChoice Settings, TLanguage Locale);

// The language the program's texts are shown in (English until set).
TLanguage UiLanguage();
void SetUiLanguage(TLanguage Language);

}  // namespace tz
