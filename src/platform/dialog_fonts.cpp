#include "platform/dialog_fonts.h"

#include <array>
#include <filesystem>
#include <system_error>

namespace plat {
namespace {

struct FontPair {
    const char* text;
    const char* fixed;
    bool japanese;
};

constexpr std::array<FontPair, 6> kCandidates{{
    {"/usr/share/fonts/truetype/vlgothic/VL-PGothic-Regular.ttf",
     "/usr/share/fonts/truetype/vlgothic/VL-Gothic-Regular.ttf", true},
    {"/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf", "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf", true},
    {"/usr/share/fonts/truetype/takao-gothic/TakaoPGothic.ttf",
     "/usr/share/fonts/truetype/takao-gothic/TakaoGothic.ttf", true},
    {"/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc", "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc",
     true},
    {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf", false},
    {"/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf",
     "/usr/share/fonts/truetype/liberation/LiberationMono-Regular.ttf", false},
}};

// The Latin fixed-pitch fonts, for a pair whose own fixed-pitch file is missing.
constexpr std::array<const char*, 2> kLatinFixed{
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf",
    "/usr/share/fonts/truetype/liberation/LiberationMono-Regular.ttf"};

}  // namespace

DialogFonts chooseDialogFonts(const std::function<bool(const std::string&)>& exists) {
    for (const FontPair& pair : kCandidates) {
        if (!exists(pair.text)) continue;
        DialogFonts fonts{pair.text, {}, pair.japanese};
        if (exists(pair.fixed)) {
            fonts.fixed = pair.fixed;
        } else if (!pair.japanese) {
            for (const char* f : kLatinFixed)
                if (exists(f)) {
                    fonts.fixed = f;
                    break;
                }
        }
        // A Japanese pair without its fixed-pitch file lists in its proportional font, which
        // still shows Japanese file names (empty fixed = the text font).
        return fonts;
    }
    return {};
}

DialogFonts findDialogFonts() {
    return chooseDialogFonts([](const std::string& path) {
        std::error_code ec;
        return std::filesystem::is_regular_file(path, ec);
    });
}

}  // namespace plat
