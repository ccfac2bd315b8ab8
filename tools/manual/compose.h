#pragma once
// Draws a listed picture from the banks: every layer's pattern cut from its bank picture,
// placed by its hot spot, the bank's palette applied and its transparent colour left clear.
// The result is trimmed to the pixels drawn. A cut from a full picture is taken as it is.

#include <cstdint>
#include <string>
#include <vector>

#include "bank_set.h"
#include "picture_list.h"

namespace manual {

struct RgbaImage {
    int width = 0, height = 0;
    std::vector<std::uint8_t> pixels;  // width * height * 4, top row first
};

struct ComposeResult {
    bool ok = false;
    RgbaImage image;
    std::string error;
};

ComposeResult compose(const PictureSpec& spec, const BankSet& banks);

}  // namespace manual
