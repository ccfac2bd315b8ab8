#include "audio/file_bytes.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace audio {

bool ReadFileBytes(const std::string& path, std::size_t maxBytes, std::vector<std::uint8_t>& bytes,
                   std::string& error) {
    bytes.clear();
    std::error_code ec;
    if (path.empty() || !std::filesystem::is_regular_file(path, ec)) {
        error = "no such file";
        return false;
    }
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) {
        error = "cannot read its size";
        return false;
    }
    if (size > maxBytes) {
        error = "too large (" + std::to_string(size) + " bytes)";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot be opened";
        return false;
    }
    bytes.resize(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (static_cast<std::uintmax_t>(in.gcount()) != size) {
        bytes.clear();
        error = "cannot be read";
        return false;
    }
    return true;
}

}  // namespace audio
