// The manual generator: writes "Korrindal.htm" beside the game from the texts in
// assets/manual/ and the pictures of the game's own sprite banks.
//
//   korrindal_manual --source <assets/manual> --banks <folder of the .sp4/.bmp> --out <file>
//
// The pictures live inside the page as data: URIs, so the manual is one file: the startup
// dialog opens exactly that file, and it can be copied, installed or sent on alone with no
// picture folder to lose on the way (the pictures are small, some 150 KB in all).

#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "bank_set.h"
#include "build_manual.h"
#include "core/atomic_write.h"
#include "core/bank_list.h"

namespace {

std::optional<std::string> readText(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    if (!f) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

int usage() {
    std::fprintf(stderr, "usage: korrindal_manual --source <folder> --banks <folder> --out <file>\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string source, banksDir, out;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string key = argv[i];
        if (key == "--source") source = argv[i + 1];
        else if (key == "--banks") banksDir = argv[i + 1];
        else if (key == "--out") out = argv[i + 1];
        else return usage();
    }
    if (argc % 2 == 0 || source.empty() || banksDir.empty() || out.empty()) return usage();

    manual::ManualSources sources;
    const std::pair<std::string*, const char*> files[] = {
        {&sources.text, "manual.txt"}, {&sources.pictures, "pictures.txt"}, {&sources.css, "style.css"}};
    for (const auto& [into, name] : files) {
        const auto text = readText(source + "/" + name);
        if (!text) {
            std::fprintf(stderr, "korrindal_manual: cannot read %s/%s\n", source.c_str(), name);
            return 1;
        }
        *into = *text;
    }
    manual::BankSet banks;
    std::string error;
    std::vector<std::string> bankFiles;
    for (const tz::TBankFile& bank : tz::BankFiles) bankFiles.emplace_back(bank.File);
    if (!banks.load(banksDir, bankFiles, error)) {
        std::fprintf(stderr, "korrindal_manual: %s\n", error.c_str());
        return 1;
    }
    const manual::ManualResult page = manual::buildManual(sources, banks);
    if (!page.ok) {
        std::fprintf(stderr, "korrindal_manual: %s\n", page.error.c_str());
        return 1;
    }
    // Written whole or not at all: a failed run leaves no half a page.
    if (const std::string failed = tz::WriteFileAtomically(out, page.html); !failed.empty()) {
        std::fprintf(stderr, "korrindal_manual: %s\n", failed.c_str());
        return 1;
    }
    return 0;
}
