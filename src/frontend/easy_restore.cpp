#include "frontend/easy_restore.h"

#include <sys/stat.h>

#include "core/data_path.h"

namespace frontend {

bool IsReadOnlyFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

const std::string& TEasyRestore::IniPath() {
    if (IniFileName.empty()) {
        const std::string program = tz::ExecutableName();
        IniFileName = tz::ProgramDir() + program.substr(0, program.find('.')) + ".ini";
    }
    return IniFileName;
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
    if (!Ini().Load(FReadError)) Ini().SetText({});
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
    if (!Ini().Load(error)) return {TKind::Failed, error + " (not overwritten)"};
    OnIO(*this);
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
