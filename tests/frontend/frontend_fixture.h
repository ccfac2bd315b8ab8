#pragma once
// Helpers of the front-end tests: a dialog window that records what it was shown and plays a
// script, and a fixture with a fresh program folder, the tests' platform (which records
// message boxes and files opened with the desktop and hands out the scripted windows) and a
// game window.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>

#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/data_path.h"
#include "core/ui_language.h"
#include "frontend/tz_debugmenu.h"
#include "game/tz_gamepad.h"
#include "game/tz_globals.h"
#include "game/tz_main.h"
#include "game/tz_replay.h"
#include "platform/platform.h"
#include "support/fake_platform.h"

namespace fetest {

namespace fs = std::filesystem;

class ScriptedWindow final : public plat::FormWindow {
public:
    bool japaneseFonts = true;
    bool opens = true;
    std::string openedCaption;
    std::vector<plat::FormControl> lastShown;
    std::deque<std::vector<plat::FormInput>> script;   // one entry per frame
    int frames = 0;
    bool* hidden = nullptr;   // set when hide() is called

    bool japanese() const override { return japaneseFonts; }
    bool open(std::string_view caption, int, int, const std::vector<plat::FormControl>& controls) override {
        openedCaption = caption;
        lastShown = controls;
        return opens;
    }
    void frame(const std::vector<plat::FormControl>& controls, std::vector<plat::FormInput>& inputs) override {
        ++frames;
        lastShown = controls;
        if (script.empty()) {
            inputs.push_back({plat::FormInput::Type::Close});   // the script is over
            return;
        }
        inputs = script.front();
        script.pop_front();
    }
    void hide() override {
        if (hidden) *hidden = true;
    }
    double scale() const override { return 1.0; }
    std::string errorText() const override { return opens ? "" : "no display here"; }
};

inline std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteText(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

// A replay file: score, check value, length and bytes, then extra bytes when given.
inline void WriteReplay(const fs::path& path, std::int32_t score, const std::vector<std::uint8_t>& bytes,
                        const std::string& extra = {}) {
    std::string data;
    auto put = [&data](std::int32_t v) {
        for (int i = 0; i < 4; ++i) data.push_back(static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF));
    };
    put(score);
    put(tz::ReplayCheckValue(score));
    put(static_cast<std::int32_t>(bytes.size()));
    data.append(bytes.begin(), bytes.end());
    data += extra;
    WriteText(path, data);
}

// A fresh program folder, the options at their start values, and a game window whose
// engine runs without its timer (every step one tick and one frame).
class FrontendTest : public ::testing::Test {
protected:
    fs::path dir;
    testplat::FakePlatform platform;   // records message boxes and files opened; scripted windows
    std::unique_ptr<tz::TForm1> game;
    std::optional<std::string> savedLcAll;

    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("korrindal_frontend_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
               "_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        tz::SetProgramDir(dir.string());
        // The dialog as stored (Japanese), whatever the locale the tests run under.
        if (const char* all = std::getenv("LC_ALL")) savedLcAll = all;
        ::setenv("LC_ALL", "ja_JP.UTF-8", 1);
        tz::FullScreen = true;
        tz::UseVram = true;
        tz::ReverseSound = false;
        tz::EnableBGM = true;
        tz::EnableSE = true;
        tz::SmoothMotion = true;
        tz::StartFrom = 0;
        tz::HiScore = 0;
        tz::ReplayMode = false;
        tz::ReplayPos = 0;
        platform.displayImpl.presentResult = false;   // no frame is ever shown
        game = std::make_unique<tz::TForm1>(platform);
        game->Sprite.SetExternalClock(true);
    }
    void TearDown() override {
        if (game) game->Sprite.Close();
        game.reset();
        tz::SetProgramDir("");
        tz::ReplayMode = false;
        tz::ReplayPos = 0;
        tz::StartFrom = 0;
        tz::FullScreen = true;
        tz::PadBindings = tz::DefaultPadBindings();
        tz::SetUiLanguage(tz::TLanguage::English);
        if (savedLcAll) ::setenv("LC_ALL", savedLcAll->c_str(), 1);
        else ::unsetenv("LC_ALL");
        tz::SmoothMotion = true;
        std::error_code ec;
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(dir, ec);
    }
    // The settings file the program's folder keeps (the test program's name + ".ini").
    fs::path IniPath() const { return dir / (tz::ExecutableName() + ".ini"); }
};

}  // namespace fetest
