#pragma once
// The replay files the startup dialog offers: every ".KRREP" file in one folder, each with the
// list's line for it.

#include <string>
#include <vector>


namespace frontend {

struct TReplayEntry {
    std::string Folder;      // its folder, with a trailing '/'
    std::string FileName;    // the file's name in the folder, extension included
    std::string Line;        // what the list shows
    bool Startable = true;   // its score could be read and the game would play it
    std::string Error;       // when not: why
};

// The files of Folder whose extension is ".KRREP" in any letter case, sorted by name without
// regard to case. A file whose score cannot be read, or that the game would refuse to play
// (shorter than its recorded length, a bad length field), is listed too, with a line saying
// so (UnreadableLine); a folder that cannot be read lists nothing.
std::vector<TReplayEntry> ListReplayFiles(const std::string& Folder);
// The files of several folders: a name found in an earlier folder hides the same name (in any
// letter case) in a later one; the list is sorted as above.
std::vector<TReplayEntry> ListReplayFiles(const std::vector<std::string>& Folders);

// The folders the dialog lists: where the game writes its replays (SaveDir) and, when that is
// another folder, the program's folder.
std::vector<std::string> ReplayFolders();

// "unreadable   [Name]": the "[" where a score's line has it.
std::string UnreadableLine(const std::string& Stem);

}  // namespace frontend
