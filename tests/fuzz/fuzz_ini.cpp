// The settings file: any text is read (never refused), the game's values come out of it the
// same through the settings component as through the file, and writing keeps what it does
// not touch. Rewriting the text and reading it again gives the same values; writing a value
// reads back as written, leaves every other value as it was and only adds lines; the key
// lists read from the "Keys" section survive being written back.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "frontend/control_settings.h"
#include "frontend/easy_restore.h"
#include "frontend/ini_file.h"
#include "fuzz_input.h"
#include "game/tz_gamepad.h"
#include "game/tz_keys.h"

namespace {

using frontend::TIniFile;

void Check(bool condition) {
    if (!condition) std::abort();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (std::size_t nl; (nl = text.find('\n', from)) != std::string::npos; from = nl + 1)
        lines.push_back(text.substr(from, nl - from));
    Check(from == text.size());   // Text() ends every line
    return lines;
}

// Section names to ask about: the game's own and whatever a line in brackets names (a rough
// look, on purpose: the reader decides what is a section).
std::vector<std::string> SectionsToAsk(std::string_view text) {
    std::vector<std::string> names{"Options", "Records", frontend::KeysSection, frontend::GamepadSection};
    for (std::size_t at = 0; (at = text.find('[', at)) != std::string_view::npos && names.size() < 6; ++at) {
        const std::size_t close = text.find(']', at);
        if (close == std::string_view::npos) break;
        names.emplace_back(text.substr(at + 1, close - at - 1));
    }
    return names;
}

using TValues = std::vector<std::pair<std::string, std::string>>;   // "section\nkey", value

// The keys of each section as listed, and the values of the first few of them (each look-up
// walks the lines, so asking for every key of a long section would slow the runs; a key a
// write adds comes last, so the keys asked for are the same before and after).
TValues Values(const TIniFile& ini, const std::vector<std::string>& sections) {
    constexpr std::size_t kAsk = 4;
    TValues values;
    for (const std::string& s : sections) {
        const std::vector<std::string> keys = ini.KeyNames(s);
        for (std::size_t i = 0; i < keys.size(); ++i) {
            const bool ask = i < kAsk;
            values.emplace_back(s + "\n" + keys[i], ask ? ini.ReadValue(s, keys[i]).value_or("\x01") : std::string());
        }
    }
    return values;
}

bool SameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

// True when every line of a appears in b in the same order.
bool Subsequence(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    std::size_t j = 0;
    for (const std::string& line : b)
        if (j < a.size() && a[j] == line) ++j;
    return j == a.size();
}

void CheckWrite(const TIniFile& original, const std::vector<std::string>& sections, const TValues& before,
                const std::string& section, const std::string& key, std::int32_t value) {
    TIniFile ini = original;
    const bool existed = ini.ReadValue(section, key).has_value();
    ini.WriteInteger(section, key, value);
    Check(ini.ReadInteger(section, key, value ^ 1) == value);
    // Every other value as it was.
    TValues after = Values(ini, sections);
    auto touched = [&](const std::pair<std::string, std::string>& v) {
        const std::size_t nl = v.first.find('\n');
        return SameName(std::string_view(v.first).substr(0, nl), section) &&
               SameName(std::string_view(v.first).substr(nl + 1), key);
    };
    TValues kept = before, kept2 = after;
    std::erase_if(kept, touched);
    std::erase_if(kept2, touched);
    Check(kept == kept2);
    // A new key only adds lines; an existing one changes its own line alone.
    const std::vector<std::string> oldLines = Lines(original.Text()), newLines = Lines(ini.Text());
    if (!existed) {
        Check(newLines.size() > oldLines.size() && newLines.size() <= oldLines.size() + 3);
        Check(Subsequence(oldLines, newLines));
    } else {
        Check(newLines.size() == oldLines.size());
        std::size_t changed = 0;
        for (std::size_t i = 0; i < oldLines.size(); ++i) changed += oldLines[i] != newLines[i];
        Check(changed <= 1);
    }
}

// The settings component reading the game's values, as the startup dialog's handler does.
struct TGameSettings {
    bool FullScreen = false, UseVram = false, ReverseSound = true, EnableBGM = false, EnableSE = false;
    std::int32_t StartFrom = -1, Highscore = -1, DeadZone = -1;
    frontend::TKeyTexts KeyTexts;
    std::vector<std::string> Entries;

    void IO(frontend::TEasyRestore& s) {
        s.Section = "Options";
        s.IOBoolean("FullScreen", FullScreen, true);
        s.IOBoolean("UseVram", UseVram, true);
        s.IOBoolean("ReverseSound", ReverseSound, false);
        s.IOBoolean("EnableBGM", EnableBGM, true);
        s.IOBoolean("EnableSE", EnableSE, true);
        s.IOInteger("StartFrom", StartFrom, 0);
        s.Section = "Records";
        s.IOInteger("Highscore", Highscore, 0);
        const frontend::TKeyTexts defaults = frontend::DefaultKeyTexts();
        s.Section = frontend::KeysSection;
        for (std::size_t a = 0; a < tz::ActionCount; ++a)
            s.IOString(std::string(tz::ActionName(static_cast<tz::TAction>(a))), KeyTexts[a], defaults[a]);
        Entries = s.SectionKeys();
        s.Section = frontend::GamepadSection;
        s.IOInteger("DeadZone", DeadZone, tz::DefaultPadDeadZone);
    }
};

void CheckGameSettings(const std::string& path, const TIniFile& ini) {
    frontend::TEasyRestore restore;
    restore.AutoInput = false;
    restore.IniFileName = path;
    TGameSettings got;
    restore.OnIO = [&got](frontend::TEasyRestore& s) { got.IO(s); };
    restore.Input();
    Check(restore.LastReadError().empty());
    Check(got.FullScreen == ini.ReadBool("Options", "FullScreen", true));
    Check(got.ReverseSound == ini.ReadBool("Options", "ReverseSound", false));
    Check(got.StartFrom == ini.ReadInteger("Options", "StartFrom", 0));
    Check(got.Highscore == ini.ReadInteger("Records", "Highscore", 0));
    Check(got.DeadZone == ini.ReadInteger(frontend::GamepadSection, "DeadZone", tz::DefaultPadDeadZone));
    Check(got.Entries == ini.KeyNames(frontend::KeysSection));

    std::int32_t deadZone = got.DeadZone;
    tz::TKeyBindings bindings{};
    (void)frontend::ApplyControlSettings(got.KeyTexts, got.Entries, deadZone, bindings);
    Check(deadZone >= 0 && deadZone <= tz::MaxPadDeadZone);
    for (std::size_t a = 0; a < tz::ActionCount; ++a) {
        const tz::TKeyList& keys = bindings.Keys[a];
        for (const plat::Key k : keys) Check(k <= plat::Key::Count);
        // What the game would write back for these keys reads as the same keys.
        const tz::TKeyListParse again = tz::ParseKeyList(tz::FormatKeyList(keys));
        Check(again.Keys == keys && again.Unknown.empty() && again.TooMany.empty());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::MemoryFile file(data, size);
    if (!file.ok()) return 0;
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    TIniFile ini("unused.ini");
    std::string error;
    Check(ini.LoadFrom(file.path(), error) && error.empty());
    TIniFile fromText("unused.ini");
    fromText.SetText(text);
    Check(fromText.Text() == ini.Text());

    const std::vector<std::string> sections = SectionsToAsk(text);
    const TValues values = Values(ini, sections);

    // Written out and read back: the same values and the same lines.
    TIniFile reread("unused.ini");
    reread.SetText(ini.Text());
    Check(Values(reread, sections) == values);
    Check(reread.Text() == ini.Text());

    // Into a section of the file when it has one (a key changed in place or added), and into
    // a section that is new.
    CheckWrite(ini, sections, values, "Records", "Highscore", 123456);
    CheckWrite(ini, sections, values, "FuzzNewSection", "Probe", 42);
    CheckGameSettings(file.path(), ini);
    return 0;
}
