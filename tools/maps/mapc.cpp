// korrindal_mapc SOURCE.txt OUT.map: compiles one stage script into a stage map.
//
// Script lines (everything after '#' is a comment):
//   entry <position> <x> <kind> [<group> [<group>]]
//       an enemy entering when the stage has scrolled <position> pixels (0 = on the first
//       tick) at start x <x>; entries are written in the order they enter, so positions never
//       decrease; entries at the same position enter in the order written.
//   group <number> <bonus>
//       group 1..255 pays <bonus> when all its members are destroyed; its member count is
//       the number of entries that name it.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <limits>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "game/tz_mapfile.h"

using namespace tz;

namespace {

struct Line {
    long Position = 0;
    TSpawnEntry Entry;
};

[[noreturn]] void Fail(const std::string& file, int lineNo, const std::string& why) {
    throw TMapError(file + ":" + std::to_string(lineNo) + ": " + why);
}

long ReadNumber(std::istringstream& in, const std::string& file, int lineNo, const char* what, long lo, long hi) {
    long v = 0;
    if (!(in >> v)) Fail(file, lineNo, std::string("expected ") + what);
    if (v < lo || v > hi)
        Fail(file, lineNo, std::string(what) + " " + std::to_string(v) + " outside " + std::to_string(lo) + ".." +
                               std::to_string(hi));
    return v;
}

TMapData Compile(const std::string& file) {
    std::ifstream in(file);
    if (!in) throw TMapError(file + ": cannot open");
    std::vector<Line> lines;
    std::map<long, std::pair<long, int>> groups;  // number -> (bonus, line declared)
    std::string text;
    int lineNo = 0;
    long lastPosition = 0;
    while (std::getline(in, text)) {
        ++lineNo;
        if (auto hash = text.find('#'); hash != std::string::npos) text.erase(hash);
        std::istringstream words(text);
        std::string keyword;
        if (!(words >> keyword)) continue;
        if (keyword == "entry") {
            Line l;
            l.Position = ReadNumber(words, file, lineNo, "position", 0, 32767);
            if (l.Position < lastPosition)
                Fail(file, lineNo, "position " + std::to_string(l.Position) + " comes before the previous entry's " +
                                       std::to_string(lastPosition));
            lastPosition = l.Position;
            l.Entry.X = static_cast<std::int16_t>(ReadNumber(words, file, lineNo, "x", -32768, 32767));
            l.Entry.Y = static_cast<std::int16_t>(-l.Position);
            l.Entry.Kind = static_cast<std::uint8_t>(ReadNumber(words, file, lineNo, "kind", 0, 29));
            long g1 = 0, g2 = 0;
            if (words >> g1) {
                if (g1 < 1 || g1 > 255) Fail(file, lineNo, "group " + std::to_string(g1) + " outside 1..255");
                if (words >> g2 && (g2 < 1 || g2 > 255))
                    Fail(file, lineNo, "group " + std::to_string(g2) + " outside 1..255");
            }
            l.Entry.Param = static_cast<std::uint16_t>(g1 | (g2 << 8));
            lines.push_back(l);
        } else if (keyword == "group") {
            const long g = ReadNumber(words, file, lineNo, "group number", 1, 255);
            const long bonus = ReadNumber(words, file, lineNo, "bonus", 0, 32767);
            if (!groups.emplace(g, std::make_pair(bonus, lineNo)).second)
                Fail(file, lineNo, "group " + std::to_string(g) + " declared twice");
        } else {
            Fail(file, lineNo, "unknown keyword \"" + keyword + "\"");
        }
        std::string rest;
        if (words.clear(), words >> rest) Fail(file, lineNo, "unexpected \"" + rest + "\"");
    }
    if (lines.size() > static_cast<std::size_t>(MapMaxEntries))
        throw TMapError(file + ": " + std::to_string(lines.size()) + " entries; at most " +
                        std::to_string(MapMaxEntries) + " fit");

    TMapData map;
    // The game releases entries from the highest index down, so the first to enter is last.
    map.Entries.resize(lines.size());
    for (std::size_t k = 0; k < lines.size(); ++k) map.Entries[lines.size() - 1 - k] = lines[k].Entry;
    for (const Line& l : lines) {
        for (int g : {l.Entry.Param & 0xFF, l.Entry.Param >> 8}) {
            if (g == 0) continue;
            if (!groups.count(g)) throw TMapError(file + ": group " + std::to_string(g) + " is used but not declared");
            ++map.GroupCount[static_cast<std::size_t>(g)];
        }
    }
    for (const auto& [g, decl] : groups) {
        if (map.GroupCount[static_cast<std::size_t>(g)] == 0)
            Fail(file, decl.second, "group " + std::to_string(g) + " has no members");
        map.GroupBonus[static_cast<std::size_t>(g)] = static_cast<std::int16_t>(decl.first);
    }
    return map;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: korrindal_mapc SOURCE.txt OUT.map\n";
        return 2;
    }
    try {
        const TMapData map = Compile(argv[1]);
        const std::vector<std::uint8_t> bytes = EncodeMap(map);
        DecodeMap(bytes, argv[2]);  // the game's own reader must accept what we write
        const std::string tmp = std::string(argv[2]) + ".tmp";
        {
            std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
            if (!out.flush()) throw TMapError(tmp + ": cannot write");
        }
        if (std::rename(tmp.c_str(), argv[2]) != 0) throw TMapError(std::string(argv[2]) + ": cannot replace");
    } catch (const std::exception& e) {
        std::cerr << "korrindal_mapc: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
