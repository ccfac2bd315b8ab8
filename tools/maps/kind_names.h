#pragma once
// The names a stage script may give the enemy kinds, so a wave reads "fighter" rather than
// "0". Every kind has exactly one name; a script may also write the kind's number.

#include <cstdint>
#include <optional>
#include <string_view>

namespace mapc {

// The kind named Name (a name below or a number 0..29); nothing when there is none.
std::optional<std::uint8_t> KindByName(std::string_view Name);

// The name of Kind ("?" for a number that is no kind).
std::string_view KindName(std::uint8_t Kind);

}  // namespace mapc
