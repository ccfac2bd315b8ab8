#include "frontend/replay_files.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/data_path.h"
#include "game/tz_replay.h"

namespace frontend {
namespace {

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

}  // namespace

std::string UnreadableLine(const std::string& Stem) { return "unreadable   [" + Stem + "]"; }

std::vector<TReplayEntry> ListReplayFiles(const std::string& Folder) {
    namespace fs = std::filesystem;
    std::vector<TReplayEntry> entries;
    std::error_code ec;
    fs::directory_iterator it(Folder.empty() ? fs::path(".") : fs::path(Folder), ec);
    const std::string extension = Lower(tz::ReplayExtension);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const fs::path& path = it->path();
        if (Lower(path.extension().string()) != extension) continue;
        std::error_code kind;
        if (it->is_directory(kind)) continue;
        TReplayEntry entry;
        entry.Folder = Folder.empty() ? std::string("./") : (Folder.back() == '/' ? Folder : Folder + "/");
        entry.FileName = path.filename().string();
        entries.push_back(std::move(entry));
    }
    std::sort(entries.begin(), entries.end(), [](const TReplayEntry& a, const TReplayEntry& b) {
        const std::string la = Lower(a.FileName), lb = Lower(b.FileName);
        return la != lb ? la < lb : a.FileName < b.FileName;
    });
    for (TReplayEntry& entry : entries) {
        const fs::path path = fs::path(Folder) / entry.FileName;
        // A file whose score cannot be read, or that the game would refuse to play, is
        // listed as unreadable (and cannot be started).
        const tz::TReplayListLine line = tz::ReplayListLine(path.string());
        const tz::TReplayResult check = line.Ok ? tz::CheckReplayFile(path.string()) : tz::TReplayResult{};
        if (line.Ok && check.Ok) {
            entry.Line = line.Line;
        } else {
            entry.Startable = false;
            entry.Error = line.Ok ? check.Error : line.Error;
            entry.Line = UnreadableLine(path.stem().string());
        }
    }
    return entries;
}

std::vector<TReplayEntry> ListReplayFiles(const std::vector<std::string>& Folders) {
    std::vector<TReplayEntry> all;
    for (const std::string& folder : Folders) {
        for (TReplayEntry& e : ListReplayFiles(folder)) {
            const std::string name = Lower(e.FileName);
            const bool hidden = std::any_of(all.begin(), all.end(), [&](const TReplayEntry& a) { return Lower(a.FileName) == name; });
            if (!hidden) all.push_back(std::move(e));
        }
    }
    std::stable_sort(all.begin(), all.end(), [](const TReplayEntry& a, const TReplayEntry& b) {
        const std::string la = Lower(a.FileName), lb = Lower(b.FileName);
        return la != lb ? la < lb : a.FileName < b.FileName;
    });
    return all;
}

std::vector<std::string> ReplayFolders() {
    std::vector<std::string> folders{tz::SaveDir()};
    if (folders.front() != tz::ProgramDir()) folders.push_back(tz::ProgramDir());
    return folders;
}

}  // namespace frontend
