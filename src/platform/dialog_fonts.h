#pragma once
// The font files a dialog window draws with, chosen among the fonts Debian's packages put
// in /usr/share/fonts: a Japanese-capable pair when one is installed (fonts-vlgothic first),
// otherwise a Latin pair, otherwise none (the window then uses its built-in font). No SDL.

#include <functional>
#include <string>

namespace plat {

struct DialogFonts {
    std::string text;       // proportional font for captions ("" = built-in)
    std::string fixed;      // fixed-pitch font for lists ("" = the text font)
    bool japanese = false;  // both can show the dialog's Japanese captions
};

// The first installed pair of the candidate list, exists telling which files are there.
DialogFonts chooseDialogFonts(const std::function<bool(const std::string&)>& exists);
// The same on this machine.
DialogFonts findDialogFonts();

}  // namespace plat
