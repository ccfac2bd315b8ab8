#include "stylesheet.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace manual {

StyleResult applyPalette(const std::string& css, const plat::Palette& palette) {
    static constexpr std::string_view kOpen = "palette(";
    StyleResult r;
    std::size_t pos = 0;
    while (true) {
        const std::size_t at = css.find(kOpen, pos);
        // Comments are copied as they are, so they may speak of palette(N).
        const std::size_t comment = css.find("/*", pos);
        if (comment != std::string::npos && comment < at) {
            const std::size_t end = css.find("*/", comment + 2);
            const std::size_t stop = end == std::string::npos ? css.size() : end + 2;
            r.css.append(css, pos, stop - pos);
            pos = stop;
            continue;
        }
        r.css.append(css, pos, at == std::string::npos ? std::string::npos : at - pos);
        if (at == std::string::npos) break;
        const std::size_t digits = at + kOpen.size();
        const std::size_t close = css.find(')', digits);
        int index = -1;
        const char* first = css.data() + digits;
        const char* last = css.data() + (close == std::string::npos ? css.size() : close);
        const auto [end, ec] = std::from_chars(first, last, index);
        if (close == std::string::npos || ec != std::errc{} || end != last || index < 0 || index > 255) {
            r.error = "palette() takes an entry number 0..255, not \"";
            r.error.append(css, at, std::min<std::size_t>(20, css.size() - at));
            r.error += '"';
            return r;
        }
        const auto& c = palette[static_cast<std::size_t>(index)];
        char hex[8];
        std::snprintf(hex, sizeof hex, "#%02x%02x%02x", c.r, c.g, c.b);
        r.css += hex;
        pos = close + 1;
    }
    r.ok = true;
    return r;
}

}  // namespace manual
