#pragma once
// Helpers of the end-to-end tests: a home folder linked to the program's data, a headless
// run of the real program, and the fields of its summary line.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace e2e {

namespace fs = std::filesystem;


inline const fs::path BinDir = KORRINDAL_BIN_DIR;

struct RunResult {
    int exitCode = -1;
    std::string summary;  // the JSON line
    std::string errors;
};

// A folder holding links to the program's data, so a run may write its records there.
inline fs::path MakeHome(const std::string& name) {
    // The process id keeps concurrent runs of the tests (other build trees) apart.
    const fs::path home = fs::temp_directory_path() / ("korrindal_e2e_" + name + "_" + std::to_string(::getpid()));
    fs::remove_all(home);
    fs::create_directories(home);
    for (const auto& entry : fs::directory_iterator(BinDir)) {
        const auto ext = entry.path().extension().string();
        if (ext == ".sp4" || ext == ".bmp" || ext == ".map" || ext == ".wav" || ext == ".mid" || ext == ".Add")
            fs::create_symlink(entry.path(), home / entry.path().filename());
    }
    return home;
}

inline std::string ReadText(const fs::path& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline RunResult RunGame(const fs::path& home, const std::string& args) {
    const fs::path out = home / "stdout.txt";
    const fs::path err = home / "stderr.txt";
    const std::string command = (BinDir / "korrindal").string() + " --headless --summary --home " + home.string() +
                                " " + args + " >" + out.string() + " 2>" + err.string();
    RunResult run;
    const int status = std::system(command.c_str());
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::istringstream lines(ReadText(out));
    for (std::string line; std::getline(lines, line);)
        if (!line.empty() && line.front() == '{') run.summary = line;
    run.errors = ReadText(err);
    return run;
}

inline long long Field(const std::string& json, const std::string& name) {
    const std::regex re("\"" + name + "\":(-?[0-9]+)");
    std::smatch m;
    if (!std::regex_search(json, m, re)) {
        ADD_FAILURE() << "no field " << name << " in " << json;
        return 0;
    }
    return std::stoll(m[1]);
}

inline std::string TextField(const std::string& json, const std::string& name) {
    const std::regex re("\"" + name + "\":\"([^\"]*)\"");
    std::smatch m;
    return std::regex_search(json, m, re) ? m[1].str() : std::string();
}

inline std::vector<std::string> Lines(const fs::path& path) {
    std::vector<std::string> out;
    std::istringstream in(ReadText(path));
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

// A game's worth of input: the ship weaves, fires in bursts and bombs now and then.
inline void WriteInput(const fs::path& path, std::size_t ticks) {
    std::ofstream out(path, std::ios::binary);
    for (std::size_t t = 0; t < ticks; ++t) {
        std::uint8_t keys = 0;
        const std::size_t phase = (t / 90) % 4;
        keys |= phase == 0 ? 8 : phase == 2 ? 2 : 0;   // left, pause, right, pause
        if ((t / 40) % 3 != 2) keys |= 16;              // fire in bursts
        if (t % 900 == 450) keys |= 32;                 // a bomb
        if ((t / 200) % 5 == 1) keys |= 1;              // up now and then
        out.put(static_cast<char>(keys));
    }
}

}  // namespace e2e
