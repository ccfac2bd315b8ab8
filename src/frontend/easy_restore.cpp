#include "frontend/easy_restore.h"

#include <sys/stat.h>

#include "core/data_path.h"

namespace frontend {

bool IsReadOnlyFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

namespace {

bool Exists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

}  // namespace

const std::string& TEasyRestore::IniPath() {
    if (IniFileName.empty()) {
        const std::string program = tz::ExecutableName();
        const std::string name = program.substr(0, program.find('.')) + ".ini";
        const std::string folder = tz::ConfigDir();
        IniFileName = folder + name;
        if (FallbackFileName.empty() && folder != tz::ProgramDir()) FallbackFileName = tz::ProgramDir() + name;
    }
    return IniFileName;
}

bool TEasyRestore::LoadIni(std::string& Error) {
    const std::string& path = IniPath();
    if (!Exists(path) && Exists(FallbackFileName)) return Ini().LoadFrom(FallbackFileName, Error);
    return Ini().Load(Error);
}

TIniFile& TEasyRestore::Ini() {
    if (!FIni) FIni = std::make_unique<TIniFile>(IniPath());
    return *FIni;
}

void TEasyRestore::Loaded() {
    if (AutoInput) Input();
}

void TEasyRestore::Input() {
    if (!OnIO) return;
    FReadError.clear();
    if (!LoadIni(FReadError)) Ini().SetText({});
    FReading = true;
    OnIO(*this);
    if (AfterInput) AfterInput(*this);
}

TOutputResult TEasyRestore::Output() {
    using TKind = TOutputResult::TKind;
    if (IsReadOnlyFile(IniPath())) return {TKind::ReadOnly, {}};
    if (!OnIO) return {TKind::NoHandler, {}};
    FReading = false;
    if (BeforeOutput) BeforeOutput(*this);
    // A file that cannot be read is not replaced: what it holds would be lost.
    std::string error;
    if (!LoadIni(error)) return {TKind::Failed, error + " (not overwritten)"};
    OnIO(*this);
    const std::string& path = IniPath();
    const std::string folder = path.substr(0, path.rfind('/') + 1);
    if (!folder.empty() && !tz::MakeFolder(folder, error)) return {TKind::Failed, "cannot write " + path + ": " + error};
    if (!Ini().UpdateFile(error)) return {TKind::Failed, error};
    return {TKind::Written, {}};
}

void TEasyRestore::IOInteger(const std::string& Name, std::int32_t& Value, std::int32_t Default) {
    if (FReading) {
        Value = Ini().ReadInteger(Section, Name, Default);
    } else {
        Ini().WriteInteger(Section, Name, Value);
    }
}

void TEasyRestore::IOBoolean(const std::string& Name, bool& Value, bool Default) {
    if (FReading) {
        Value = Ini().ReadBool(Section, Name, Default);
    } else {
        Ini().WriteBool(Section, Name, Value);
    }
}

}  // namespace frontend

namespace frontend {

void TEasyRestore::IOString(const std::string& Name, std::string& Value, const std::string& Default) {
    if (FReading) {
        Value = Ini().ReadString(Section, Name, Default);
    } else {
        Ini().WriteString(Section, Name, Value);
    }
}

std::vector<std::string> TEasyRestore::SectionKeys() { return Ini().KeyNames(Section); }

}  // namespace frontend
