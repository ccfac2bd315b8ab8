#pragma once
// A started engine on the fake platform with its program folder in a fresh temporary
// directory, and helpers that write bank files (.sp4 + .bmp) there.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/bmp8.h"
#include "engine/sp4_writer.h"
#include "engine/sprite_ex.h"
#include "support/fake_platform.h"
#include "core/data_path.h"

namespace banktest {

namespace fs = std::filesystem;
using engine::sp4::PatternFields;

inline PatternFields pattern(int l, int t, int r, int b, int ox = 0, int oy = 0) {
    PatternFields f;
    f.source = {l, t, r, b};
    f.originX = static_cast<std::int16_t>(ox);
    f.originY = static_cast<std::int16_t>(oy);
    return f;
}

// The test palette: index i is (i, 255 - i, (i * 37) & 255); 0 black, 255 white.
inline plat::Palette testPalette() {
    plat::Palette p{};
    for (int i = 0; i < 256; ++i)
        p[static_cast<std::size_t>(i)] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i), static_cast<std::uint8_t>((i * 37) & 255)};
    p[0] = {0, 0, 0};
    p[255] = {255, 255, 255};
    return p;
}

struct BankTest : ::testing::Test {
    testplat::FakePlatform platform;
    std::unique_ptr<engine::TSpriteEx> sprite = std::make_unique<engine::TSpriteEx>(platform);
    fs::path dir;

    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::temp_directory_path() / (std::string("korrindal_banks_") + info->test_suite_name() + "_" + info->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        tz::SetProgramDir(dir.string());
        sprite->SetFullScreenMode(false);
    }
    void TearDown() override {
        sprite.reset();
        tz::SetProgramDir("");
        fs::permissions(dir, fs::perms::owner_all);
        fs::remove_all(dir);
    }

    std::string path(const std::string& name) const { return (dir / name).string(); }

    // Writes name.sp4 and name.bmp; the picture's top-left pixel is the key 0.
    void writeBank(const std::string& name, const std::vector<PatternFields>& pats, const engine::bmp8::Image& picture,
                   bool rotate = false) {
        ASSERT_TRUE(engine::sp4::writeFile(path(name + ".sp4"), engine::sp4::headerFor(pats, rotate), pats));
        ASSERT_TRUE(engine::bmp8::write(path(name + ".bmp"), picture));
    }

    // A picture w x h of key 0 with a filled rectangle of colour c at each pattern's Source.
    static engine::bmp8::Image picture(int w, int h, const std::vector<PatternFields>& pats) {
        engine::bmp8::Image img(w, h);
        img.palette = testPalette();
        std::uint8_t c = 10;
        for (const auto& p : pats) {
            for (int y = p.source.top; y < p.source.bottom; ++y)
                for (int x = p.source.left; x < p.source.right; ++x)
                    if (x >= 0 && y >= 0 && x < w && y < h) img.at(x, y) = c;
            c = static_cast<std::uint8_t>(c + 10);
        }
        return img;
    }

    void start() {
        sprite->Loaded();
        sprite->Paint();
        ASSERT_EQ(sprite->SystemState(), engine::TSystemState::ssNormal) << sprite->LastFailure();
        // User events of the tests run paused, as the game's do.
        sprite->SetPause(true);
    }
};

}  // namespace banktest
