// korrindal_mapc SOURCE.txt OUT.map   compiles a stage script (map_script.h) into a stage map
// korrindal_mapc --timeline SOURCE.txt prints the stage's waves in order of time
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "core/atomic_write.h"
#include "game/tz_mapfile.h"
#include "map_script.h"

namespace {

std::string ReadSource(const std::string& file) {
    std::ifstream in(file);
    if (!in) throw tz::TMapError(file + ": cannot open");
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteMap(const mapc::TStageScript& script, const std::string& out) {
    const std::vector<std::uint8_t> bytes = tz::EncodeMap(mapc::ToMap(script));
    tz::DecodeMap(bytes, out);  // the game's own reader must accept what we write
    const std::string failed =
        tz::WriteFileAtomically(out, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    if (!failed.empty()) throw tz::TMapError(failed);
}

}  // namespace

int main(int argc, char** argv) {
    const bool timeline = argc == 3 && std::string(argv[1]) == "--timeline";
    if (argc != 3) {
        std::cerr << "usage: korrindal_mapc SOURCE.txt OUT.map | korrindal_mapc --timeline SOURCE.txt\n";
        return 2;
    }
    try {
        const std::string source = timeline ? argv[2] : argv[1];
        const mapc::TStageScript script = mapc::ParseStageScript(ReadSource(source), source);
        if (timeline)
            std::cout << mapc::Timeline(script);
        else
            WriteMap(script, argv[2]);
    } catch (const std::exception& e) {
        std::cerr << "korrindal_mapc: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
