#pragma once
// Mock play-field frames for review: the background with the banks' patterns placed as the
// game places them, written as PNG pictures at 1:1.

#include <map>
#include <string>

#include "bank.h"

namespace art {

// outputs: every built bank by its first pattern number.
void writePreviews(const std::string& dir, const std::map<int, Bank::Output>& outputs, const engine::bmp8::Image& background,
                   const engine::bmp8::Image& title);

}  // namespace art
