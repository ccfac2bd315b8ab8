#pragma once
// The manual's style sheet (assets/manual/style.css) takes its colours from the game's
// palette: "palette(N)" stands for the colour of palette entry N, so the page wears the
// same colours as the game. Comments are left alone.

#include <string>

#include "platform/platform.h"

namespace manual {

struct StyleResult {
    bool ok = false;
    std::string css;
    std::string error;
};

StyleResult applyPalette(const std::string& css, const plat::Palette& palette);

}  // namespace manual
