// The driver of a fuzz target outside libFuzzer: runs the target once over every file
// named on the command line. Folders are walked; "DIR/*SUFFIX" takes the files of DIR whose
// names end in SUFFIX (the data the build wrote, as seeds). A crash or sanitizer report
// ends the run; otherwise it reports how many inputs it ran.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

int RunFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return 1;
    }
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    int inputs = 0;
    int failures = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string text = argv[i];
        const std::filesystem::path arg = text;
        std::error_code ec;
        if (const auto star = text.find("/*"); star != std::string::npos) {
            const std::string suffix = text.substr(star + 2);
            for (const auto& entry : std::filesystem::directory_iterator(text.substr(0, star), ec)) {
                const std::string name = entry.path().filename().string();
                if (!entry.is_regular_file() || name.size() < suffix.size() ||
                    name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
                    continue;
                failures += RunFile(entry.path());
                ++inputs;
            }
        } else if (std::filesystem::is_directory(arg, ec)) {
            for (const auto& entry : std::filesystem::recursive_directory_iterator(arg, ec)) {
                if (!entry.is_regular_file()) continue;
                failures += RunFile(entry.path());
                ++inputs;
            }
        } else if (std::filesystem::exists(arg, ec)) {
            failures += RunFile(arg);
            ++inputs;
        }
    }
    // The empty input is always worth one run.
    LLVMFuzzerTestOneInput(nullptr, 0);
    std::printf("%d inputs\n", inputs + 1);
    return failures == 0 ? 0 : 1;
}
