#pragma once
// An INI file as the settings keep it: "[Section]" lines, "Key=Value" lines, and anything
// else (comments, blank lines, lines the reader does not understand) kept as it stands.
// Section and key names match without regard to letter case; values are trimmed, and a value
// in double quotes loses them. Writing a value changes the key's line in place (the first
// one, when a key appears twice), adds the key at the end of its section, or adds the section
// at the end of the file, so whatever else the file holds survives a rewrite.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace frontend {

class TIniFile {
public:
    explicit TIniFile(std::string FileName) : FFileName(std::move(FileName)) {}

    const std::string& FileName() const { return FFileName; }

    // Reads the file again, dropping unsaved writes. A missing file reads as an empty one;
    // false, with the reason in Error, when the file is there but cannot be read.
    bool Load(std::string& Error);
    // Reads the text of another file (FileName stays where it is written).
    bool LoadFrom(const std::string& Path, std::string& Error);

    // The value of Key in Section, or nothing when either is absent.
    std::optional<std::string> ReadValue(std::string_view Section, std::string_view Key) const;
    // The keys of Section in the order the file has them (none when it is absent).
    std::vector<std::string> KeyNames(std::string_view Section) const;
    std::string ReadString(std::string_view Section, std::string_view Key, const std::string& Default) const;
    // Decimal text with an optional sign, or hexadecimal after "$" or "0x"; anything else,
    // or a number beyond 32 bits, gives Default.
    std::int32_t ReadInteger(std::string_view Section, std::string_view Key, std::int32_t Default) const;
    // An integer other than 0 is true.
    bool ReadBool(std::string_view Section, std::string_view Key, bool Default) const;

    void WriteString(std::string_view Section, std::string_view Key, std::string_view Value);
    void WriteInteger(std::string_view Section, std::string_view Key, std::int32_t Value);
    // "1" or "0".
    void WriteBool(std::string_view Section, std::string_view Key, bool Value);

    // The file's text as UpdateFile writes it.
    std::string Text() const;
    // Writes the text over the file through a temporary file (atomic_write.h); false, with
    // the reason in Error, when it cannot.
    bool UpdateFile(std::string& Error) const;

    // Replaces the lines with those of Text (for reading text that is not a file).
    void SetText(std::string_view Text);

private:
    // The line index of Section's header, or -1; the index just past its last line.
    std::ptrdiff_t FindSection(std::string_view Section) const;
    std::size_t SectionEnd(std::size_t header) const;
    std::ptrdiff_t FindKey(std::size_t header, std::string_view Key) const;

    std::string FFileName;
    std::vector<std::string> FLines;
};

// Parses text as ReadInteger does; false when it is not such a number.
bool ParseIniInteger(std::string_view text, std::int32_t& value);

}  // namespace frontend
