#pragma once
// TEasyRestore: a component that reads or writes a set of values in an INI file through one
// handler. OnIO names every value with IOInteger and IOBoolean; the same handler serves
// Input (reading: each value takes the file's value, or its default when absent) and Output
// (writing: each value is written under its name). Section says where the next calls go.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "frontend/ini_file.h"

namespace frontend {

class TEasyRestore;
using TNotifyEvent = std::function<void(TEasyRestore& Sender)>;

// What Output did.
struct TOutputResult {
    enum class TKind : std::uint8_t {
        Written,    // the file holds the values
        ReadOnly,   // the file is read-only: nothing was written
        NoHandler,  // no OnIO: nothing to write
        Failed,     // the file could not be written (or read first): it is as it was
    };
    TKind Kind = TKind::Written;
    std::string Error;  // for Failed: what went wrong, naming the file
};

class TEasyRestore {
public:
    TEasyRestore() = default;
    TEasyRestore(const TEasyRestore&) = delete;
    TEasyRestore& operator=(const TEasyRestore&) = delete;

    // Input runs as soon as the component has been loaded (Loaded) when this is set.
    bool AutoInput = true;
    // The INI file; empty: derived on first use (IniPath).
    std::string IniFileName;
    // Read in its place while IniFileName does not exist yet (settings that came with the
    // program, when they are written elsewhere); empty: derived with IniFileName.
    std::string FallbackFileName;
    TNotifyEvent BeforeOutput;
    TNotifyEvent OnIO;
    TNotifyEvent AfterInput;
    // The section the next IOInteger and IOBoolean calls use.
    std::string Section;

    // True while Input runs, false while Output runs.
    bool Reading() const { return FReading; }

    // The component's stored properties are in place: Input, when AutoInput is set.
    void Loaded();
    // Reads every value OnIO names, then AfterInput. Without OnIO nothing happens. A file
    // that is there but cannot be read gives every value its default (see LastReadError).
    // While IniFileName does not exist, FallbackFileName is read instead.
    void Input();
    // Writes every value OnIO names (BeforeOutput first), unless the file exists and is
    // read-only or there is no OnIO. The file is read again first (FallbackFileName while it
    // does not exist), so what else it holds is kept, and then replaced whole; its folder is
    // made when missing.
    TOutputResult Output();

    void IOInteger(const std::string& Name, std::int32_t& Value, std::int32_t Default);
    void IOBoolean(const std::string& Name, bool& Value, bool Default);
    void IOString(const std::string& Name, std::string& Value, const std::string& Default);
    // The keys the file holds in Section (reading: to find the ones no handler names).
    std::vector<std::string> SectionKeys();

    // The INI file's path: IniFileName, or when that is empty it becomes the settings folder
    // (ConfigDir: the program's folder when it is writable) + the program file's name up to
    // its first "." + ".ini"; FallbackFileName then becomes the same name in the program's
    // folder when the two folders differ.
    const std::string& IniPath();
    // Why the last Input could not read the file (empty when it could, or it was absent).
    const std::string& LastReadError() const { return FReadError; }

private:
    TIniFile& Ini();
    bool LoadIni(std::string& Error);

    std::unique_ptr<TIniFile> FIni;
    bool FReading = false;
    std::string FReadError;
};

// A file that exists and carries no write permission for anyone: the INI file's read-only
// attribute.
bool IsReadOnlyFile(const std::string& path);

}  // namespace frontend
