// Checks the generated pictures beside the game: every bank's layout and picture, the
// shared palette, and the screen pictures.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/bank_list.h"
#include "engine/bmp8.h"
#include "engine/sp4_format.h"

namespace {

namespace sp4 = engine::sp4;

// The banks and the pattern ranges the game code draws by (the game's own list).
constexpr const auto& kBanks = tz::BankFiles;

struct LoadedBank {
    sp4::Header header;
    std::vector<sp4::PatternFields> records;
    std::vector<std::vector<std::uint8_t>> rawRecords;
    engine::bmp8::Image image;
};

std::string binPath(const std::string& file) { return std::string(KORRINDAL_BIN_DIR) + "/" + file; }

std::vector<std::uint8_t> readAll(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

std::optional<LoadedBank> loadBank(const std::string& name) {
    const auto bytes = readAll(binPath(name + ".sp4"));
    if (bytes.size() < static_cast<std::size_t>(sp4::kHeaderSize)) return std::nullopt;
    LoadedBank b;
    b.header = sp4::decodeHeader(bytes.data());
    if (b.header.last < 0) return std::nullopt;
    const std::size_t count = static_cast<std::size_t>(b.header.last) + 1;
    if (bytes.size() != sp4::kHeaderSize + count * sp4::kRecordSize) return std::nullopt;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* p = bytes.data() + sp4::kHeaderSize + i * sp4::kRecordSize;
        b.records.push_back(sp4::decodeRecord(p));
        b.rawRecords.emplace_back(p, p + sp4::kRecordSize);
    }
    auto img = engine::bmp8::read(binPath(name + ".bmp"));
    if (!img) return std::nullopt;
    b.image = std::move(*img);
    return b;
}

const std::vector<LoadedBank>& banks() {
    static const std::vector<LoadedBank> all = [] {
        std::vector<LoadedBank> v;
        for (const tz::TBankFile& s : kBanks) {
            auto b = loadBank(std::string(s.Stem()));
            if (!b) throw std::runtime_error("cannot load bank " + std::string(s.Stem()));
            v.push_back(std::move(*b));
        }
        return v;
    }();
    return all;
}

// Pattern number -> (bank, record).
const sp4::PatternFields& pattern(int n, const LoadedBank** bankOut = nullptr) {
    for (std::size_t i = 0; i < std::size(kBanks); ++i) {
        if (n >= kBanks[i].First && n <= kBanks[i].Last) {
            if (bankOut) *bankOut = &banks()[i];
            return banks()[i].records[static_cast<std::size_t>(n - kBanks[i].First)];
        }
    }
    throw std::out_of_range("pattern " + std::to_string(n));
}

std::vector<int> range(int a, int b) {
    std::vector<int> v;
    for (int i = a; i <= b; ++i) v.push_back(i);
    return v;
}

std::vector<int> join(std::initializer_list<std::vector<int>> parts) {
    std::vector<int> v;
    for (const auto& p : parts) v.insert(v.end(), p.begin(), p.end());
    return v;
}

// Numbers with no picture of their own (free for extra frames).
const std::set<int> kSpare = [] {
    std::set<int> s;
    for (auto r : {range(103, 108), range(151, 157), range(162, 202), range(209, 213), range(216, 218), range(240, 241)})
        s.insert(r.begin(), r.end());
    return s;
}();

// Patterns a hit test reads: the ship, its shots, enemy bullets, enemies, bosses and items.
const std::vector<int> kColliding = join({range(85, 94), {0, 109, 110}, range(111, 117), range(121, 127), range(158, 161), range(128, 132), range(135, 144),
                                          range(203, 208), {47, 48, 49, 95, 97, 98, 100, 102},
                                          {221, 224, 225, 226, 227, 228, 229, 230, 231, 233, 234, 237, 239, 242, 243, 244},
                                          range(245, 248)});

// Patterns the game draws turned by a changing angle.
const std::vector<int> kRotated = join({range(3, 9), range(51, 53), range(111, 120), {126, 127}, range(158, 161), {231, 237},
                                        range(246, 248)});

int luma(const plat::Rgb& c) { return 299 * c.r + 587 * c.g + 114 * c.b; }

// Relative luminance (0..1) of an sRGB colour.
double luminance(const plat::Rgb& c) {
    auto lin = [](int v) {
        const double x = v / 255.0;
        return x <= 0.04045 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * lin(c.r) + 0.7152 * lin(c.g) + 0.0722 * lin(c.b);
}

bool hasVisiblePixel(const LoadedBank& b, const sp4::PatternFields& f) {
    for (int y = f.source.top; y < f.source.bottom; ++y)
        for (int x = f.source.left; x < f.source.right; ++x)
            if (b.image.at(x, y) != 0) return true;
    return false;
}

TEST(BankFiles, RangesFollowOneAnotherExactlyAsTheGameNumbersThem) {
    int first = 0;
    for (std::size_t i = 0; i < std::size(kBanks); ++i) {
        const LoadedBank& b = banks()[i];
        EXPECT_EQ(first, kBanks[i].First) << kBanks[i].File;
        EXPECT_EQ(b.header.last, kBanks[i].Last - kBanks[i].First) << kBanks[i].File;
        first += b.header.last + 1;
    }
    EXPECT_EQ(first, 273);
    EXPECT_LE(first + 7, 1024);  // the seven empty bank names take one index each
}

TEST(BankFiles, PicturesAre640WideEightBitWithTheKeyInTheCorner) {
    for (std::size_t i = 0; i < std::size(kBanks); ++i) {
        const LoadedBank& b = banks()[i];
        EXPECT_EQ(b.image.width, 640) << kBanks[i].File;
        EXPECT_GT(b.image.height, 0) << kBanks[i].File;
        EXPECT_EQ(b.image.at(0, 0), 0) << kBanks[i].File << ": top-left pixel is the transparent colour";
    }
}

TEST(BankFiles, EverySourceRectangleLiesInsideItsPicture) {
    for (std::size_t i = 0; i < std::size(kBanks); ++i) {
        const LoadedBank& b = banks()[i];
        for (std::size_t r = 0; r < b.records.size(); ++r) {
            const auto& s = b.records[r].source;
            const int n = kBanks[i].First + static_cast<int>(r);
            EXPECT_GE(s.left, 0) << n;
            EXPECT_GE(s.top, 0) << n;
            EXPECT_LT(s.left, s.right) << n;
            EXPECT_LT(s.top, s.bottom) << n;
            EXPECT_LE(s.right, b.image.width) << n;
            EXPECT_LE(s.bottom, b.image.height) << n;
        }
    }
}

TEST(BankFiles, EveryDrawnPatternHasVisiblePixelsAndRecordsKeepReservedBytesZero) {
    for (std::size_t i = 0; i < std::size(kBanks); ++i) {
        const LoadedBank& b = banks()[i];
        for (std::size_t r = 0; r < b.records.size(); ++r) {
            const int n = kBanks[i].First + static_cast<int>(r);
            if (!kSpare.count(n)) {
                EXPECT_TRUE(hasVisiblePixel(b, b.records[r])) << "pattern " << n << " is empty";
                // A transparent column on each side keeps neighbours from bleeding in when
                // a picture is cut one column wide (the ending's caption reveal).
                const auto& src = b.records[r].source;
                for (int y = src.top; y < src.bottom; ++y) {
                    if (src.left > 0) {
                        EXPECT_EQ(b.image.at(src.left - 1, y), 0) << "pattern " << n;
                    }
                    if (src.right < b.image.width) {
                        EXPECT_EQ(b.image.at(src.right, y), 0) << "pattern " << n;
                    }
                }
            }
            const auto& raw = b.rawRecords[r];
            for (int k = 72; k < 100; ++k) EXPECT_EQ(raw[static_cast<std::size_t>(k)], 0) << "pattern " << n << " byte " << k;
        }
    }
}

TEST(BankFiles, HitCirclesExistWhereTheGameTestsThemAndSitOnThePicture) {
    for (int n : kColliding) {
        const LoadedBank* b = nullptr;
        const auto& f = pattern(n, &b);
        ASSERT_GE(f.hitLast, 0) << "pattern " << n << " has no hit circle";
        ASSERT_LE(f.hitLast, 3) << n;
        const int w = f.source.right - f.source.left, h = f.source.bottom - f.source.top;
        for (int k = 0; k <= f.hitLast; ++k) {
            const auto& c = f.hits[static_cast<std::size_t>(k)];
            EXPECT_GT(c.radius, 0) << n;
            if (n >= 95 && n <= 102) {
                // Weapon parts sit where they mount on the ship, but as items their halves
                // orbit the item's position: the pick-up circle is centred there.
                EXPECT_EQ(c.x, 0) << n;
                EXPECT_EQ(c.y, 0) << n;
                EXPECT_GE(c.radius, 12) << n;
                continue;
            }
            // The centre lies on the picture (relative to the hot spot).
            EXPECT_GE(c.x + f.originX, 0) << n;
            EXPECT_LE(c.x + f.originX, w) << n;
            EXPECT_GE(c.y + f.originY, 0) << n;
            EXPECT_LE(c.y + f.originY, h) << n;
        }
    }
    // The ship is hit only near its cockpit.
    for (int n = 85; n <= 94; ++n) {
        const auto& f = pattern(n);
        EXPECT_EQ(f.hitLast, 0) << n;
        EXPECT_LE(f.hits[0].radius, 5) << n;
        EXPECT_LE(std::abs(f.hits[0].x), 2) << n;
    }
    // Background scenery and the carrier cannot be hit.
    EXPECT_LT(pattern(219).hitLast, 0);
    EXPECT_LT(pattern(220).hitLast, 0);
}

TEST(BankFiles, PatternsDrawnTurnedComeWithPreRotatedFrames) {
    for (int n : kRotated) {
        const LoadedBank* b = nullptr;
        const auto& f = pattern(n, &b);
        EXPECT_GE(f.rotLast, 7) << "pattern " << n;
        EXPECT_NE(b->header.rotate, 0) << "bank of pattern " << n;
    }
    // Hot spots of turned patterns lie inside the picture (they turn about it).
    for (int n : kRotated) {
        const auto& f = pattern(n);
        EXPECT_GE(f.originX, 0) << n;
        EXPECT_LE(f.originX, f.source.right - f.source.left) << n;
        EXPECT_GE(f.originY, 0) << n;
        EXPECT_LE(f.originY, f.source.bottom - f.source.top) << n;
    }
}

TEST(BankFiles, TextLinesUpWithWhatTheGameDrawsBesideIt) {
    // "STAGE" at x 320 and the stage digit at x 376 must not overlap.
    const auto& stage = pattern(50);
    const auto& digit = pattern(14);
    const int stageRight = 320 - stage.originX + (stage.source.right - stage.source.left);
    const int digitLeft = 376 - digit.originX;
    EXPECT_LT(stageRight, digitLeft);
    // Tally labels at x 220 end before the first tally digit at x 350.
    const auto& tallyDigit = pattern(72);
    for (int n = 68; n <= 71; ++n) {
        const auto& f = pattern(n);
        EXPECT_LT(220 - f.originX + (f.source.right - f.source.left), 350 - tallyDigit.originX) << n;
        EXPECT_GE(220 - f.originX, 128) << n << " starts inside the play field";
    }
    // Score digits 14 pixels apart must not touch; the stock icons fit their spacing.
    for (int n = 13; n <= 22; ++n) EXPECT_LE(pattern(n).source.right - pattern(n).source.left, 15) << n;
    EXPECT_LE(pattern(214).source.right - pattern(214).source.left, 28);
    EXPECT_LE(pattern(215).source.right - pattern(215).source.left, 20);
}

TEST(BankFiles, EndingCaptionsRevealSymmetricallyAboutTheirHotSpot) {
    // The reveal copies the columns hot spot - v .. hot spot + v until v reaches half the
    // width: with the hot spot in the middle it never reads outside the caption.
    for (int n = 253; n <= 264; ++n) {
        const auto& f = pattern(n);
        const int w = f.source.right - f.source.left;
        EXPECT_EQ(f.originX, w / 2) << n;
        EXPECT_LT(w, 640) << n;
    }
}

TEST(BankFiles, BossesAreLargeAndTheFinalBossFillsMostOfThePlayField) {
    auto width = [](int n) { return pattern(n).source.right - pattern(n).source.left; };
    EXPECT_GE(width(221), 200);
    EXPECT_GE(width(234), 200);
    EXPECT_GE(width(244), 300);
    EXPECT_LE(width(244), 640);
    EXPECT_GE(width(245), 300);
}

TEST(Palette, OneSharedPaletteWithBlackKeyWhiteTopAndRisingRamps) {
    const plat::Palette& pal = banks()[0].image.palette;
    EXPECT_EQ(pal[0].r + pal[0].g + pal[0].b, 0);
    EXPECT_EQ(pal[255].r, 255);
    EXPECT_EQ(pal[255].g, 255);
    EXPECT_EQ(pal[255].b, 255);
    for (int i = 1; i < 256; ++i) EXPECT_GT(pal[static_cast<std::size_t>(i)].r + pal[static_cast<std::size_t>(i)].g + pal[static_cast<std::size_t>(i)].b, 0) << "only index 0 is black: " << i;
    // Fifteen ramps of sixteen steps, each from near-black to near-white.
    for (int r = 0; r < 15; ++r) {
        const int base = 1 + 16 * r;
        EXPECT_LT(luma(pal[static_cast<std::size_t>(base)]), 60000) << "ramp " << r;
        EXPECT_GT(luma(pal[static_cast<std::size_t>(base + 15)]), 180000) << "ramp " << r;
        for (int k = 1; k < 16; ++k)
            EXPECT_GT(luminance(pal[static_cast<std::size_t>(base + k)]), luminance(pal[static_cast<std::size_t>(base + k - 1)])) << "ramp " << r << " step " << k;
    }
    auto same = [&](const plat::Palette& p) {
        for (int i = 0; i < 256; ++i)
            if (p[static_cast<std::size_t>(i)].r != pal[static_cast<std::size_t>(i)].r || p[static_cast<std::size_t>(i)].g != pal[static_cast<std::size_t>(i)].g ||
                p[static_cast<std::size_t>(i)].b != pal[static_cast<std::size_t>(i)].b)
                return false;
        return true;
    };
    for (const LoadedBank& b : banks()) EXPECT_TRUE(same(b.image.palette));
    for (const char* f : {"tz_TitleBack.bmp", "tz_BG.bmp"}) {
        const auto img = engine::bmp8::read(binPath(f));
        ASSERT_TRUE(img.has_value()) << f;
        EXPECT_TRUE(same(img->palette)) << f;
    }
}

TEST(ScreenPictures, TitleAndPlayBackgroundAre640By480WithABlackPlayField) {
    for (const char* f : {"tz_TitleBack.bmp", "tz_BG.bmp"}) {
        const auto img = engine::bmp8::read(binPath(f));
        ASSERT_TRUE(img.has_value()) << f;
        EXPECT_EQ(img->width, 640) << f;
        EXPECT_EQ(img->height, 480) << f;
    }
    const auto bg = engine::bmp8::read(binPath("tz_BG.bmp"));
    ASSERT_TRUE(bg.has_value());
    int panel = 0;
    for (int y = 0; y < 480; ++y) {
        for (int x = 128; x < 512; ++x) ASSERT_EQ(bg->at(x, y), 0) << x << "," << y;
        for (int x : {0, 64, 127, 512, 600, 639}) panel += bg->at(x, y) != 0;
    }
    EXPECT_GT(panel, 6 * 480 * 9 / 10) << "side panels are drawn";
    // Nothing bright behind the stock icons at y 350.
    const plat::Palette& pal = bg->palette;
    for (int y = 340; y <= 360; ++y)
        for (int x : {12, 42, 72, 102, 538, 558, 578, 598, 618})
            EXPECT_LT(luma(pal[bg->at(x, y)]), 70000) << x << "," << y;
}

}  // namespace
