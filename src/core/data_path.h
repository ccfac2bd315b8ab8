#pragma once
// The program's folder and the lookup of data files in it.

#include <string>

namespace tz {

// The folder the game reads its data from and writes its records to, with a trailing '/'.
// By default the folder of the executable; the headless runner's --home option replaces it.
const std::string& ProgramDir();

// Replaces ProgramDir (a trailing '/' is added when missing; an empty value restores the
// executable's folder). Call it before the game starts; it is not synchronised.
void SetProgramDir(std::string dir);

// The executable's own folder with a trailing '/', whatever ProgramDir has been set to.
std::string ExecutableDir();

// The executable's file name, without its folder ("korrindal" when it cannot be read).
std::string ExecutableName();

// Where the files the game writes go. The program's folder takes them while the running user
// may write into it (a game unpacked or built somewhere of one's own); otherwise (a game
// installed for all users, a read-only home folder) they go to the user's own folders of the
// XDG base directory rules, which are then read first too:
//   replays, the colour-mix cache and screenshots: $XDG_DATA_HOME/korrindal/
//       (~/.local/share/korrindal/ when XDG_DATA_HOME is unset or not an absolute path)
//   the settings file: $XDG_CONFIG_HOME/korrindal/ (~/.config/korrindal/ likewise)
bool ProgramDirWritable();
std::string UserDataDir();
std::string UserConfigDir();
// ProgramDir when it is writable, else UserDataDir.
std::string SaveDir();
// ProgramDir when it is writable, else UserConfigDir.
std::string ConfigDir();
// The data folder of an installed game: ExecutableDir + the way from the install's bin folder
// to its data folder ("../share/korrindal/" by default), or "../share/games/korrindal/" when
// only that one exists (a program installed in /usr/games).
std::string InstalledDataDir();
// Makes the folder and its parents when missing; false, with the reason in error, when it
// cannot be made.
bool MakeFolder(const std::string& dir, std::string& error);

// Full path of a data file: first ProgramDir + the bare file name of Name with its extension
// replaced by Ext (UserDataDir before it when ProgramDir is not writable), then the same bare
// name in ExecutableDir (when ProgramDir was replaced by a home folder) and in
// InstalledDataDir, then Name itself (with whatever folder it carries) with that extension.
// Ext may be given with or without the leading dot. Stored names may use '\' as a folder
// separator. In the program folder a name that differs only in letter case is accepted too
// (data names were chosen on a case-insensitive system). A missing file gives "".
std::string DataPath(const std::string& Name, const std::string& Ext);

// Name with its extension (from the last '.' after the last folder separator) replaced by
// Ext, or Ext appended when Name has none.
std::string ChangeFileExt(const std::string& Name, const std::string& Ext);

// The part of Name after its last '/' or '\'.
std::string ExtractFileName(const std::string& Name);

}  // namespace tz
