#include "core/data_path.h"

#include <filesystem>
#include <system_error>


namespace tz {
namespace {

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

}  // namespace

const std::string& ProgramDir() { return programDirStorage(); }

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
        std::string found = findInFolder(ProgramDir(), bare);
        if (!found.empty()) return found;
        // A home folder given in place of the executable's one need not hold the shipped
        // data: what it lacks comes from beside the executable.
        const std::string exeDir = ExecutableDir();
        if (exeDir != ProgramDir()) {
            found = findInFolder(exeDir, bare);
            if (!found.empty()) return found;
        }
    }
    const std::string asStored = ChangeFileExt(Name, ext);
    if (isRegularFile(asStored)) return asStored;
    return {};
}

}  // namespace tz
