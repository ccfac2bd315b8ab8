#include "frontend/ini_file.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>

#include "core/atomic_write.h"

namespace frontend {
namespace {

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// "[Name]" (spaces around the name allowed): the name; otherwise nothing.
std::optional<std::string_view> SectionName(std::string_view line) {
    line = Trim(line);
    if (line.size() < 2 || line.front() != '[') return std::nullopt;
    const auto close = line.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return Trim(line.substr(1, close - 1));
}

bool IsComment(std::string_view line) {
    line = Trim(line);
    return !line.empty() && (line.front() == ';' || line.front() == '#');
}

// "Key=Value": the key, and the raw value after the first '='.
bool SplitKey(std::string_view line, std::string_view& key, std::string_view& value) {
    if (IsComment(line)) return false;
    const auto eq = line.find('=');
    if (eq == std::string_view::npos) return false;
    key = Trim(line.substr(0, eq));
    value = line.substr(eq + 1);
    return !key.empty() && !SectionName(line);
}

std::string Unquote(std::string_view value) {
    value = Trim(value);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    return std::string(value);
}

}  // namespace

bool ParseIniInteger(std::string_view text, std::int32_t& value) {
    text = Trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (!text.empty() && text.front() == '$') {
        base = 16;
        text.remove_prefix(1);
    } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty() || text.front() == '-' || text.front() == '+') return false;
    std::int64_t magnitude = 0;
    const char* end = text.data() + text.size();
    const auto [p, ec] = std::from_chars(text.data(), end, magnitude, base);
    if (ec != std::errc{} || p != end) return false;
    const std::int64_t v = negative ? -magnitude : magnitude;
    if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max()) return false;
    value = static_cast<std::int32_t>(v);
    return true;
}

bool TIniFile::Load(std::string& Error) { return LoadFrom(FFileName, Error); }

bool TIniFile::LoadFrom(const std::string& Path, std::string& Error) {
    FLines.clear();
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(Path.c_str(), "rb"), &std::fclose);
    if (!in) {
        if (errno == ENOENT || errno == ENOTDIR) return true;   // no file: every value has its default
        Error = "cannot read " + Path + ": " + std::strerror(errno);
        return false;
    }
    std::string text;
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, in.get())) > 0;) text.append(chunk, n);
    if (std::ferror(in.get())) {
        Error = "cannot read " + Path + ": " + std::strerror(errno);
        return false;
    }
    SetText(text);
    return true;
}

void TIniFile::SetText(std::string_view text) {
    FLines.clear();
    while (!text.empty()) {
        const auto nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        // Every carriage return at the end goes, not just the one of a CRLF ending: the text
        // is written back with plain line feeds, and a line kept as "x\r" would come back as
        // "x" the next time, so each rewrite would change a line nothing wrote to.
        while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        FLines.emplace_back(line);
        if (nl == std::string_view::npos) break;
        text.remove_prefix(nl + 1);
    }
}

std::ptrdiff_t TIniFile::FindSection(std::string_view Section) const {
    for (std::size_t i = 0; i < FLines.size(); ++i) {
        const auto name = SectionName(FLines[i]);
        if (name && SameName(*name, Section)) return static_cast<std::ptrdiff_t>(i);
    }
    return -1;
}

std::size_t TIniFile::SectionEnd(std::size_t header) const {
    std::size_t i = header + 1;
    while (i < FLines.size() && !SectionName(FLines[i])) ++i;
    return i;
}

std::ptrdiff_t TIniFile::FindKey(std::size_t header, std::string_view Key) const {
    const std::size_t end = SectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        std::string_view key, value;
        if (SplitKey(FLines[i], key, value) && SameName(key, Key)) return static_cast<std::ptrdiff_t>(i);
    }
    return -1;
}

std::optional<std::string> TIniFile::ReadValue(std::string_view Section, std::string_view Key) const {
    const std::ptrdiff_t header = FindSection(Section);
    if (header < 0) return std::nullopt;
    const std::ptrdiff_t line = FindKey(static_cast<std::size_t>(header), Key);
    if (line < 0) return std::nullopt;
    std::string_view key, value;
    SplitKey(FLines[static_cast<std::size_t>(line)], key, value);
    return Unquote(value);
}

std::vector<std::string> TIniFile::KeyNames(std::string_view Section) const {
    std::vector<std::string> names;
    const std::ptrdiff_t header = FindSection(Section);
    if (header < 0) return names;
    const auto h = static_cast<std::size_t>(header);
    const std::size_t end = SectionEnd(h);
    for (std::size_t i = h + 1; i < end; ++i) {
        std::string_view key, value;
        if (SplitKey(FLines[i], key, value)) names.emplace_back(key);
    }
    return names;
}

std::string TIniFile::ReadString(std::string_view Section, std::string_view Key, const std::string& Default) const {
    return ReadValue(Section, Key).value_or(Default);
}

std::int32_t TIniFile::ReadInteger(std::string_view Section, std::string_view Key, std::int32_t Default) const {
    const auto text = ReadValue(Section, Key);
    std::int32_t value = 0;
    return text && ParseIniInteger(*text, value) ? value : Default;
}

bool TIniFile::ReadBool(std::string_view Section, std::string_view Key, bool Default) const {
    return ReadInteger(Section, Key, Default ? 1 : 0) != 0;
}

void TIniFile::WriteString(std::string_view Section, std::string_view Key, std::string_view Value) {
    const std::string line = std::string(Key) + "=" + std::string(Value);
    std::ptrdiff_t header = FindSection(Section);
    if (header < 0) {
        if (!FLines.empty() && !Trim(FLines.back()).empty()) FLines.emplace_back();
        std::string header(1, '[');
        header.append(Section).push_back(']');
        FLines.push_back(std::move(header));
        FLines.push_back(line);
        return;
    }
    const auto h = static_cast<std::size_t>(header);
    if (const std::ptrdiff_t at = FindKey(h, Key); at >= 0) {
        FLines[static_cast<std::size_t>(at)] = line;
        return;
    }
    // After the section's last line that is not blank.
    std::size_t end = SectionEnd(h);
    while (end > h + 1 && Trim(FLines[end - 1]).empty()) --end;
    FLines.insert(FLines.begin() + static_cast<std::ptrdiff_t>(end), line);
}

void TIniFile::WriteInteger(std::string_view Section, std::string_view Key, std::int32_t Value) {
    WriteString(Section, Key, std::to_string(Value));
}

void TIniFile::WriteBool(std::string_view Section, std::string_view Key, bool Value) {
    WriteString(Section, Key, Value ? "1" : "0");
}

std::string TIniFile::Text() const {
    std::string text;
    for (const std::string& line : FLines) {
        text += line;
        text += '\n';
    }
    return text;
}

bool TIniFile::UpdateFile(std::string& Error) const {
    Error = tz::WriteFileAtomically(FFileName, Text());
    return Error.empty();
}

}  // namespace frontend
