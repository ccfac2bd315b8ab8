#pragma once
// Small string helpers shared by the manual's readers.

#include <string>
#include <string_view>
#include <vector>

namespace manual {

std::string trim(std::string_view s);
bool startsWith(std::string_view s, std::string_view prefix);
// Splits on a separator character; every piece trimmed.
std::vector<std::string> splitTrimmed(std::string_view s, char separator);
// Splits a text into lines, dropping a trailing carriage return from each.
std::vector<std::string> splitLines(std::string_view text);

}  // namespace manual
