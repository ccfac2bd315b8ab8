#include "core/data_path.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>


namespace tz {
namespace {

// The data folder of an installed game from the program's folder (set by the build from the
// install layout; share/korrindal beside bin/ by default).
#ifdef KORRINDAL_DATA_FROM_BIN
constexpr const char* InstalledDataFromBin = KORRINDAL_DATA_FROM_BIN;
#else
constexpr const char* InstalledDataFromBin = "../share/korrindal/";
#endif
// Debian's layout for games: the program in /usr/games, its data in /usr/share/games/.
constexpr const char* GamesDataFromBin = "../share/games/korrindal/";

// The folder of the running executable, with a trailing '/' ("./" when it cannot be read).
std::string executableFolder() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return "./";
    std::string dir = exe.parent_path().string();
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir;
}

std::string& programDirStorage() {
    static std::string dir = executableFolder();
    return dir;
}

bool isSeparator(char c) { return c == '/' || c == '\\'; }

bool isRegularFile(const std::filesystem::path& p) {
    std::error_code ec;
    return std::filesystem::is_regular_file(p, ec);
}

bool equalsNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// A file in dir named fileName, or failing that one whose name differs only in case.
std::string findInFolder(const std::string& dir, const std::string& fileName) {
    const std::string exact = dir + fileName;
    if (isRegularFile(exact)) return exact;
    std::error_code ec;
    std::filesystem::directory_iterator it(dir.empty() ? std::string(".") : dir, ec);
    if (ec) return {};
    for (const auto& entry : it) {
        const std::string name = entry.path().filename().string();
        if (equalsNoCase(name, fileName) && isRegularFile(entry.path())) return dir + name;
    }
    return {};
}

std::string withSlash(std::string dir) {
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir;
}

bool isFolder(const std::string& dir) {
    std::error_code ec;
    return std::filesystem::is_directory(dir, ec);
}

// The user's home folder: $HOME, else the password database's entry, else the current folder.
std::string homeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir && *pw->pw_dir) return pw->pw_dir;
    return ".";
}

// $variable when it holds an absolute path (the rules ignore a relative one), else the home
// folder + fallback; with "korrindal/" added.
std::string xdgFolder(const char* variable, const char* fallback) {
    const char* value = std::getenv(variable);
    const std::string base = value && value[0] == '/' ? std::string(value) : withSlash(homeFolder()) + fallback;
    return withSlash(base) + "korrindal/";
}

}  // namespace

const std::string& ProgramDir() { return programDirStorage(); }

bool ProgramDirWritable() { return ::access(ProgramDir().c_str(), W_OK) == 0; }

std::string UserDataDir() { return xdgFolder("XDG_DATA_HOME", ".local/share"); }

std::string UserConfigDir() { return xdgFolder("XDG_CONFIG_HOME", ".config"); }

std::string SaveDir() { return ProgramDirWritable() ? ProgramDir() : UserDataDir(); }

std::string ConfigDir() { return ProgramDirWritable() ? ProgramDir() : UserConfigDir(); }

std::string InstalledDataDir() {
    const std::string dir = ExecutableDir();
    if (!isFolder(dir + InstalledDataFromBin) && isFolder(dir + GamesDataFromBin)) return dir + GamesDataFromBin;
    return dir + InstalledDataFromBin;
}

bool MakeFolder(const std::string& dir, std::string& error) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (isFolder(dir)) return true;
    error = "cannot make the folder " + dir + (ec ? ": " + ec.message() : std::string());
    return false;
}

std::string ExecutableDir() {
    std::string dir = executableFolder();
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir;
}

std::string ExecutableName() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string("korrindal") : exe.filename().string();
}

void SetProgramDir(std::string dir) {
    if (dir.empty()) dir = executableFolder();
    if (dir.back() != '/') dir += '/';
    programDirStorage() = std::move(dir);
}

std::string ExtractFileName(const std::string& Name) {
    for (std::size_t i = Name.size(); i > 0; --i)
        if (isSeparator(Name[i - 1])) return Name.substr(i);
    return Name;
}

std::string ChangeFileExt(const std::string& Name, const std::string& Ext) {
    for (std::size_t i = Name.size(); i > 0; --i) {
        const char c = Name[i - 1];
        if (isSeparator(c)) break;
        if (c == '.') return Name.substr(0, i - 1) + Ext;
    }
    return Name + Ext;
}

std::string DataPath(const std::string& Name, const std::string& Ext) {
    std::string ext = Ext;
    if (!ext.empty() && ext.front() != '.') ext.insert(ext.begin(), '.');

    const std::string bare = ChangeFileExt(ExtractFileName(Name), ext);
    if (!bare.empty() && bare != ext) {
        // What the game wrote for itself (the colour-mix cache) is in the user's folder when
        // the program's folder cannot take it.
        if (!ProgramDirWritable()) {
            const std::string user = UserDataDir();
            if (isFolder(user)) {
                std::string found = findInFolder(user, bare);
                if (!found.empty()) return found;
            }
        }
        std::string found = findInFolder(ProgramDir(), bare);
        if (!found.empty()) return found;
        // A home folder given in place of the executable's one need not hold the shipped
        // data: what it lacks comes from beside the executable, or from the data folder of
        // an installed game.
        const std::string exeDir = ExecutableDir();
        if (exeDir != ProgramDir()) {
            found = findInFolder(exeDir, bare);
            if (!found.empty()) return found;
        }
        const std::string installed = InstalledDataDir();
        if (isFolder(installed)) {
            found = findInFolder(installed, bare);
            if (!found.empty()) return found;
        }
    }
    const std::string asStored = ChangeFileExt(Name, ext);
    if (isRegularFile(asStored)) return asStored;
    return {};
}

}  // namespace tz
