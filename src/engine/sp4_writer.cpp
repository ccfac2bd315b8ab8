#include "engine/sp4_writer.h"

#include <cstdio>
#include <memory>

namespace engine::sp4 {

Header headerFor(std::span<const PatternFields> patterns, bool rotate, bool sysMem) {
    Header h;
    h.sysMem = sysMem ? 1 : 0;
    h.rotate = rotate ? 1 : 0;
    h.last = static_cast<std::int32_t>(patterns.size()) - 1;
    return h;
}

std::vector<std::uint8_t> encodeFile(const Header& header, std::span<const PatternFields> patterns) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(kHeaderSize) + patterns.size() * kRecordSize);
    encodeHeader(header, bytes.data());
    std::uint8_t* p = bytes.data() + kHeaderSize;
    for (const PatternFields& f : patterns) {
        encodeRecord(f, p);
        p += kRecordSize;
    }
    return bytes;
}

bool writeFile(const std::string& path, const Header& header, std::span<const PatternFields> patterns) {
    const std::vector<std::uint8_t> bytes = encodeFile(header, patterns);
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!f) return false;
    if (std::fwrite(bytes.data(), 1, bytes.size(), f.get()) != bytes.size()) return false;
    return std::fclose(f.release()) == 0;
}

}  // namespace engine::sp4
