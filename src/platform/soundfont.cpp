#include "platform/soundfont.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/platform.h"

namespace plat {
namespace {

// Best first. FluidR3 GM (fluid-soundfont-gm) is the one chosen for the pieces: every
// instrument they use, rendered fuller than TimGM6mb, and it loads in a fraction of the time
// MuseScore General's compressed samples take to decode (musescore-general-soundfont-small
// installs the Lite set; its alternative links the full name to it). TimGM6mb, small and
// thin, comes last.
constexpr std::array<const char*, 4> kPreferredNames{"FluidR3_GM.sf2", "MuseScore_General.sf3",
                                                     "MuseScore_General_Lite.sf3", "TimGM6mb.sf2"};

// Debian's folders, then the generic names its alternatives system points at the best
// installed set.
constexpr std::array<const char*, 3> kDebianFolders{"/usr/share/sounds/sf2/", "/usr/share/sounds/sf3/",
                                                    "/usr/share/soundfonts/"};
constexpr std::array<const char*, 3> kDebianDefaults{"/usr/share/sounds/sf2/default-GM.sf2",
                                                     "/usr/share/sounds/sf3/default-GM.sf3",
                                                     "/usr/share/soundfonts/default.sf2"};

bool isRegularFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);   // follows symbolic links
}

}  // namespace

std::vector<std::string> soundFontCandidates(const std::string& envValue, const std::string& programDir) {
    std::vector<std::string> list;
    if (!envValue.empty()) list.push_back(envValue);
    std::string dir = programDir;
    if (!dir.empty() && dir.back() != '/') dir += '/';
    for (const char* name : kPreferredNames) list.push_back(dir + name);
    for (const char* name : kPreferredNames)
        for (const char* folder : kDebianFolders) list.push_back(std::string(folder) + name);
    for (const char* path : kDebianDefaults) list.emplace_back(path);
    return list;
}

std::string findSoundFont() {
    const char* env = std::getenv(kSoundFontVariable);
    if (env != nullptr && *env != '\0' && !isRegularFile(env))
        std::fprintf(stderr, "korrindal: %s names no file ('%s'); looking elsewhere\n", kSoundFontVariable, env);
    for (const std::string& path : soundFontCandidates(env ? env : "", programDir()))
        if (isRegularFile(path)) return path;
    return {};
}

}  // namespace plat
