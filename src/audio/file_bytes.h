#pragma once
// Reading a whole sound or music file into memory, with a size limit: the parsers then
// work on bytes whose end they know.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace audio {

// False with error set when the file cannot be read or is larger than maxBytes.
bool ReadFileBytes(const std::string& path, std::size_t maxBytes, std::vector<std::uint8_t>& bytes,
                   std::string& error);

}  // namespace audio
