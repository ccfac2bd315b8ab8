#include "map_script.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <map>
#include <sstream>

#include "kind_names.h"

namespace mapc {
namespace {

constexpr std::int32_t MaxPosition = 32767;  // the furthest a stage scrolls in a map entry

class TReader {
public:
    TReader(const std::string& file, int line) : FFile(file), FLine(line) {}

    [[noreturn]] void Fail(const std::string& why) const {
        throw tz::TMapError(FFile + ":" + std::to_string(FLine) + ": " + why);
    }

    // A whole number in lo..hi.
    long Number(std::string_view word, const char* what, long lo, long hi) const {
        long v = 0;
        const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), v);
        if (ec != std::errc{} || end != word.data() + word.size())
            Fail(std::string("expected ") + what + ", not \"" + std::string(word) + "\"");
        if (v < lo || v > hi)
            Fail(std::string(what) + " " + std::to_string(v) + " outside " + std::to_string(lo) + ".." +
                 std::to_string(hi));
        return v;
    }

    // A time: "12s", "1.25s" (seconds, to the nearest scroll unit) or a bare number of
    // scroll units; with a leading '+' when allowed.
    std::int32_t Time(std::string_view word, const char* what) const {
        if (!word.empty() && word.front() == '+') word.remove_prefix(1);
        if (word.empty() || word.back() != 's')
            return static_cast<std::int32_t>(Number(word, what, 0, MaxPosition));
        word.remove_suffix(1);
        const std::size_t dot = word.find('.');
        const std::string_view whole = word.substr(0, dot);
        std::string_view fraction = dot == std::string_view::npos ? std::string_view{} : word.substr(dot + 1);
        if (fraction.size() > 3) Fail(std::string(what) + ": at most three decimals");
        const long seconds = Number(whole.empty() ? "0" : whole, what, 0, MaxPosition / UnitsPerSecond + 1);
        long millis = 0;
        if (!fraction.empty()) {
            millis = Number(fraction, what, 0, 999);
            for (std::size_t k = fraction.size(); k < 3; ++k) millis *= 10;
        }
        const long units = ((seconds * 1000 + millis) * UnitsPerSecond + 500) / 1000;
        if (units > MaxPosition) Fail(std::string(what) + " beyond the end of a stage");
        return static_cast<std::int32_t>(units);
    }

private:
    const std::string& FFile;
    int FLine;
};

std::vector<std::string> Words(std::string text) {
    if (const auto hash = text.find('#'); hash != std::string::npos) text.erase(hash);
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

}  // namespace

TStageScript ParseStageScript(std::string_view Text, const std::string& FileName) {
    TStageScript script;
    std::map<std::string, std::uint8_t, std::less<>> groupNumbers;
    std::istringstream lines{std::string(Text)};
    std::string text;
    int lineNo = 0;
    while (std::getline(lines, text)) {
        ++lineNo;
        const TReader r(FileName, lineNo);
        const std::vector<std::string> w = Words(text);
        if (w.empty()) continue;
        if (w[0] == "group") {
            if (w.size() != 3) r.Fail("expected: group <name> <bonus>");
            if (groupNumbers.count(w[1])) r.Fail("group \"" + w[1] + "\" declared twice");
            if (script.Groups.size() >= 255) r.Fail("more than 255 groups");
            const auto bonus = static_cast<std::int16_t>(r.Number(w[2], "bonus", 1, 32767));
            script.Groups.push_back({w[1], bonus});
            groupNumbers.emplace(w[1], static_cast<std::uint8_t>(script.Groups.size()));
            continue;
        }
        if (w[0] == "wave") {
            if (w.size() < 3) r.Fail("expected: wave <time> <title>");
            TScriptWave wave{.Title = {}, .Position = r.Time(w[1], "wave time"), .Line = lineNo};
            for (std::size_t k = 2; k < w.size(); ++k) {
                if (k > 2) wave.Title += ' ';
                wave.Title += w[k];
            }
            script.Waves.push_back(wave);
            continue;
        }
        // An entry of the current wave.
        if (script.Waves.empty()) r.Fail("an entry before the first wave (or an unknown keyword \"" + w[0] + "\")");
        if (w.size() < 3) r.Fail("expected: <offset> <kind> <x> ...");
        TScriptEntry e;
        e.Wave = script.Waves.size() - 1;
        e.Line = lineNo;
        e.Position = script.Waves.back().Position + r.Time(w[0], "offset");
        const auto kind = KindByName(w[1]);
        if (!kind) r.Fail("no enemy kind \"" + w[1] + "\"");
        e.Kind = *kind;
        e.X = static_cast<std::int16_t>(r.Number(w[2], "x", -32768, 32767));
        long count = 1, every = 0, step = 0;
        bool mirror = false;
        for (std::size_t k = 3; k < w.size();) {
            if (w[k] == "in") {
                std::size_t named = 0;
                for (++k; k < w.size() && groupNumbers.count(w[k]); ++k, ++named) {
                    const std::uint8_t g = groupNumbers.find(w[k])->second;
                    if (named == 0) e.Group1 = g;
                    else if (named == 1 && g != e.Group1) e.Group2 = g;
                    else r.Fail("an entry belongs to at most two different groups");
                }
                if (named == 0) r.Fail(k < w.size() ? "no group \"" + w[k] + "\" declared" : "\"in\" names no group");
            } else if (w[k] == "mirror") {
                mirror = true;
                ++k;
            } else if (w[k] == "repeat") {
                if (k + 3 >= w.size() || w[k + 2] != "every") r.Fail("expected: repeat <n> every <dt>");
                count = r.Number(w[k + 1], "repeat count", 1, 64);
                every = r.Time(w[k + 3], "repeat interval");
                k += 4;
                if (k < w.size() && w[k] == "step") {
                    if (k + 1 >= w.size()) r.Fail("expected: step <dx>");
                    step = r.Number(w[k + 1], "step", -640, 640);
                    k += 2;
                }
            } else {
                r.Fail("unexpected \"" + w[k] + "\"");
            }
        }
        for (long n = 0; n < count; ++n) {
            TScriptEntry copy = e;
            copy.Position = static_cast<std::int32_t>(e.Position + n * every);
            if (copy.Position > MaxPosition) r.Fail("the repeat runs beyond the end of a stage");
            copy.X = static_cast<std::int16_t>(e.X + n * step);
            script.Entries.push_back(copy);
            if (mirror) {
                copy.X = static_cast<std::int16_t>(640 - copy.X);
                script.Entries.push_back(copy);
            }
        }
    }
    // They enter by time; at one time, in the order written.
    std::stable_sort(script.Entries.begin(), script.Entries.end(),
                     [](const TScriptEntry& a, const TScriptEntry& b) { return a.Position < b.Position; });
    std::vector<int> members(script.Groups.size() + 1, 0);
    for (const TScriptEntry& e : script.Entries) {
        ++members[e.Group1];
        ++members[e.Group2];
    }
    for (std::size_t g = 1; g <= script.Groups.size(); ++g)
        if (members[g] == 0)
            throw tz::TMapError(FileName + ": group \"" + script.Groups[g - 1].Name + "\" has no members");
    if (script.Entries.size() > static_cast<std::size_t>(tz::MapMaxEntries))
        throw tz::TMapError(FileName + ": " + std::to_string(script.Entries.size()) + " entries; at most " +
                            std::to_string(tz::MapMaxEntries) + " fit");
    return script;
}

tz::TMapData ToMap(const TStageScript& Script) {
    tz::TMapData map;
    const std::size_t n = Script.Entries.size();
    map.Entries.resize(n);
    // The game releases entries from the highest index down: the first to enter is last.
    for (std::size_t k = 0; k < n; ++k) {
        const TScriptEntry& e = Script.Entries[k];
        map.Entries[n - 1 - k] = tz::TSpawnEntry{e.X, static_cast<std::int16_t>(-e.Position),
                                                 static_cast<std::uint16_t>(e.Group1 | (e.Group2 << 8)), e.Kind};
        for (const std::uint8_t g : {e.Group1, e.Group2})
            if (g != 0) ++map.GroupCount[g];
    }
    for (std::size_t g = 0; g < Script.Groups.size(); ++g) map.GroupBonus[g + 1] = Script.Groups[g].Bonus;
    return map;
}

std::string Timeline(const TStageScript& Script) {
    std::vector<std::size_t> order(Script.Waves.size());
    for (std::size_t k = 0; k < order.size(); ++k) order[k] = k;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return Script.Waves[a].Position < Script.Waves[b].Position;
    });
    std::string out;
    for (const std::size_t w : order) {
        const TScriptWave& wave = Script.Waves[w];
        std::map<std::string_view, int> kinds;
        std::int32_t last = wave.Position;
        for (const TScriptEntry& e : Script.Entries)
            if (e.Wave == w) {
                ++kinds[KindName(e.Kind)];
                last = std::max(last, e.Position);
            }
        char head[96];
        std::snprintf(head, sizeof head, "%6.2fs %5d..%-5d ", wave.Position / double(UnitsPerSecond), wave.Position,
                      last);
        out += head;
        out += wave.Title;
        out += ':';
        for (const auto& [name, count] : kinds) {
            out += ' ';
            out += std::to_string(count);
            out += ' ';
            out += name;
        }
        out += "\n";
    }
    return out;
}

}  // namespace mapc
