#pragma once
// For fuzz targets that drive the engine: a platform that shows nothing, never ticks and
// keeps nothing, and a program folder of the process's own in shared
// memory for readers that look their files up by name (the data-file lookup).
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <system_error>

#include "core/data_path.h"
#include "support/fake_platform.h"

namespace fuzz {

// The tests' platform, keeping nothing of what it is told (a fuzzer runs millions of inputs
// through one): its timer never ticks unless stepped, and the target steps the engine itself.
class QuietPlatform final : public testplat::FakePlatform {
public:
    QuietPlatform() {
        keepBoxes = false;
        displayImpl.keepFrames = false;
    }
};

// A fresh folder (in /dev/shm when there is one, so the files never reach a disk) made the
// program's folder for the life of the object.
class ProgramFolder {
public:
    ProgramFolder() {
        std::error_code ec;
        const std::filesystem::path base =
            std::filesystem::is_directory("/dev/shm", ec) ? std::filesystem::path("/dev/shm") : std::filesystem::temp_directory_path();
        dir_ = base / ("korrindal_fuzz_" + std::to_string(::getpid()));
        std::filesystem::remove_all(dir_, ec);
        std::filesystem::create_directories(dir_, ec);
        tz::SetProgramDir(dir_.string());
    }
    ~ProgramFolder() {
        tz::SetProgramDir("");
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    // Writes the bytes as the named file; false when it could not be written whole.
    bool write(const std::string& name, const std::uint8_t* data, std::size_t size) const {
        std::FILE* f = std::fopen(path(name).c_str(), "wb");
        if (f == nullptr) return false;
        const bool ok = size == 0 || std::fwrite(data, 1, size, f) == size;
        return std::fclose(f) == 0 && ok;
    }

    void remove(const std::string& name) const {
        std::error_code ec;
        std::filesystem::remove(path(name), ec);
    }

private:
    std::filesystem::path dir_;
};

}  // namespace fuzz
