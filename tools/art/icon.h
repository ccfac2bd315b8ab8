#pragma once
// The program's icon for the desktop.

#include <array>
#include <string>

namespace art {

// The sizes the icon theme's folders hold (hicolor/NxN/apps).
inline constexpr std::array<int, 7> kIconSizes{16, 24, 32, 48, 64, 128, 256};

// Writes korrindal_<size>.png, RGBA, for every size into dir.
void writeIcons(const std::string& dir);

}  // namespace art
