// The manual the build wrote beside the game: one well-formed, self-contained UTF-8 page
// whose pictures are real PNG files cut from the game's banks, and whose text covers what a
// player needs in both languages.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "engine/bmp8.h"
#include "engine/sp4_format.h"
#include "html_scan.h"
#include "stb_image.h"

namespace {

using manualtest::Element;
using manualtest::Scan;

std::string binPath(const std::string& file) { return std::string(KORRINDAL_BIN_DIR) + "/" + file; }

std::string readAll(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

bool validUtf8(const std::string& s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const int n = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : (c >> 3) == 0x1E ? 3 : -1;
        if (n < 0 || i + static_cast<std::size_t>(n) >= s.size()) return false;
        for (int k = 1; k <= n; ++k)
            if ((static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]) >> 6) != 0x2) return false;
        i += static_cast<std::size_t>(n) + 1;
    }
    return true;
}

struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgba;
};

// Decodes a data: URI holding a PNG; empty on any fault.
Picture decodeDataUri(const std::string& uri, std::string& fault) {
    static const std::string kPrefix = "data:image/png;base64,";
    Picture p;
    if (uri.compare(0, kPrefix.size(), kPrefix) != 0) {
        fault = "not a PNG data: URI";
        return p;
    }
    std::vector<unsigned char> bytes;
    if (!manualtest::decodeBase64(uri.substr(kPrefix.size()), bytes)) {
        fault = "bad base64";
        return p;
    }
    static const unsigned char kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (bytes.size() < 8 || !std::equal(std::begin(kSignature), std::end(kSignature), bytes.begin())) {
        fault = "no PNG signature";
        return p;
    }
    int channels = 0;
    unsigned char* px = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &p.width, &p.height, &channels, 4);
    if (px == nullptr) {
        fault = std::string("the PNG does not decode: ") + stbi_failure_reason();
        return {};
    }
    p.rgba.assign(px, px + static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height) * 4);
    stbi_image_free(px);
    return p;
}

class BuiltManual : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        html_ = new std::string(readAll(binPath("Korrindal.htm")));
        scan_ = new Scan(manualtest::scanHtml(*html_));
    }
    static void TearDownTestSuite() {
        delete html_;
        delete scan_;
        html_ = nullptr;
        scan_ = nullptr;
    }
    static std::vector<Element> elements(const std::string& tag) {
        std::vector<Element> out;
        for (const auto& e : scan_->elements)
            if (e.tag == tag) out.push_back(e);
        return out;
    }
    static std::set<std::string> kbdTexts(const std::string& lang);

    static std::string* html_;
    static Scan* scan_;
};

std::string* BuiltManual::html_ = nullptr;
Scan* BuiltManual::scan_ = nullptr;

TEST_F(BuiltManual, IsOneWellFormedSelfContainedUtf8Page) {
    ASSERT_FALSE(html_->empty()) << "no Korrindal.htm beside the game";
    EXPECT_TRUE(validUtf8(*html_));
    EXPECT_EQ(html_->rfind("<!DOCTYPE html>", 0), 0u);
    for (const auto& e : scan_->errors) ADD_FAILURE() << e;

    ASSERT_FALSE(scan_->elements.empty());
    const Element& root = scan_->elements.front();
    EXPECT_EQ(root.tag, "html");
    EXPECT_FALSE(root.lang.empty());
    bool charset = false;
    for (const auto& m : elements("meta")) charset = charset || m.attributes.contains("charset");
    EXPECT_TRUE(charset);
    for (const auto& m : elements("meta"))
        if (m.attributes.contains("charset")) {
            EXPECT_EQ(m.attributes.at("charset"), "utf-8");
        }

    // Nothing is fetched from elsewhere: no linked files, every picture inside the page, and
    // every link a place in it.
    EXPECT_TRUE(elements("link").empty());
    EXPECT_TRUE(elements("script").empty());
    std::set<std::string> ids;
    for (const auto& e : scan_->elements)
        if (e.attributes.contains("id")) {
            EXPECT_TRUE(ids.insert(e.attributes.at("id")).second) << "id used twice: " << e.attributes.at("id");
        }
    const auto links = elements("a");
    EXPECT_FALSE(links.empty());
    for (const auto& a : links) {
        const std::string href = a.attributes.contains("href") ? a.attributes.at("href") : "";
        ASSERT_FALSE(href.empty());
        ASSERT_EQ(href[0], '#') << href;
        EXPECT_TRUE(ids.contains(href.substr(1))) << "a link to a missing place: " << href;
    }
}

TEST_F(BuiltManual, EveryPictureIsAnEmbeddedPngOfSaneSize) {
    const auto images = elements("img");
    ASSERT_FALSE(images.empty());
    for (const auto& img : images) {
        SCOPED_TRACE(img.attributes.contains("alt") ? img.attributes.at("alt") : "(no alt)");
        ASSERT_TRUE(img.attributes.contains("src"));
        EXPECT_FALSE(img.attributes.contains("alt") ? img.attributes.at("alt").empty() : true);
        std::string fault;
        const Picture p = decodeDataUri(img.attributes.at("src"), fault);
        ASSERT_TRUE(fault.empty()) << fault;
        EXPECT_GE(p.width, 1);
        EXPECT_GE(p.height, 1);
        EXPECT_LE(p.width, 1024);
        EXPECT_LE(p.height, 1024);
        // Shown at a whole-number magnification of its own size.
        const int w = std::stoi(img.attributes.at("width"));
        const int h = std::stoi(img.attributes.at("height"));
        ASSERT_GT(p.width, 0);
        EXPECT_EQ(w % p.width, 0);
        EXPECT_EQ(w / p.width * p.height, h);
        // A picture, not an empty or single-colour box: the edges of the trimmed sprite are
        // drawn, and it has more than one colour.
        std::set<std::uint32_t> colours;
        bool opaque = false;
        for (std::size_t i = 0; i + 3 < p.rgba.size(); i += 4) {
            if (p.rgba[i + 3] == 0) continue;
            opaque = true;
            colours.insert(static_cast<std::uint32_t>(p.rgba[i] << 16 | p.rgba[i + 1] << 8 | p.rgba[i + 2]));
        }
        EXPECT_TRUE(opaque);
        EXPECT_GT(colours.size(), 1u);
    }
}

// The ship's picture is the game's own: pattern 85, the first of the second bank, cut from
// that bank's picture with its palette, its transparent colour left clear.
TEST_F(BuiltManual, ShowsTheShipAsTheBankHoldsIt) {
    namespace sp4 = engine::sp4;
    const std::string system = readAll(binPath("TZ_System.sp4"));
    const std::string game = readAll(binPath("tz_GameSprite.sp4"));
    ASSERT_GE(system.size(), static_cast<std::size_t>(sp4::kHeaderSize));
    ASSERT_GE(game.size(), static_cast<std::size_t>(sp4::kHeaderSize + sp4::kRecordSize));
    const int first = sp4::decodeHeader(reinterpret_cast<const std::uint8_t*>(system.data())).last + 1;
    ASSERT_LE(first, 85);
    const std::size_t k = static_cast<std::size_t>(85 - first);
    ASSERT_GE(game.size(), sp4::kHeaderSize + (k + 1) * sp4::kRecordSize);
    const auto rec = sp4::decodeRecord(reinterpret_cast<const std::uint8_t*>(game.data()) + sp4::kHeaderSize + k * sp4::kRecordSize);
    const auto bank = engine::bmp8::read(binPath("tz_GameSprite.bmp"));
    ASSERT_TRUE(bank.has_value());
    const std::uint8_t key = bank->at(0, 0);

    // The drawn pixels of the pattern, trimmed.
    int l = rec.source.right, t = rec.source.bottom, r = -1, b = -1;
    for (int y = rec.source.top; y < rec.source.bottom; ++y)
        for (int x = rec.source.left; x < rec.source.right; ++x)
            if (bank->at(x, y) != key) {
                l = std::min(l, x);
                t = std::min(t, y);
                r = std::max(r, x);
                b = std::max(b, y);
            }
    ASSERT_GE(r, 0) << "pattern 85 is blank";

    const Element* ship = nullptr;
    const auto images = elements("img");
    for (const auto& img : images)
        if (img.attributes.contains("alt") && img.attributes.at("alt") == "Ship") ship = &img;
    ASSERT_NE(ship, nullptr) << "no picture of the ship";
    std::string fault;
    const Picture p = decodeDataUri(ship->attributes.at("src"), fault);
    ASSERT_TRUE(fault.empty()) << fault;
    ASSERT_EQ(p.width, r - l + 1);
    ASSERT_EQ(p.height, b - t + 1);
    int mismatches = 0;
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            const std::uint8_t index = bank->at(l + x, t + y);
            const unsigned char* px = &p.rgba[(static_cast<std::size_t>(y) * static_cast<std::size_t>(p.width) + static_cast<std::size_t>(x)) * 4];
            if (index == key) {
                mismatches += px[3] != 0;
                continue;
            }
            const auto& c = bank->palette[index];
            mismatches += px[3] != 255 || px[0] != c.r || px[1] != c.g || px[2] != c.b;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

std::set<std::string> BuiltManual::kbdTexts(const std::string& lang) {
    // Key caps are the text runs directly inside <kbd>: find them by position in the page.
    std::set<std::string> keys;
    std::size_t pos = 0;
    while ((pos = html_->find("<kbd>", pos)) != std::string::npos) {
        const std::size_t end = html_->find("</kbd>", pos);
        if (end == std::string::npos) break;
        // The language of the nearest enclosing column or span.
        const std::size_t ja = html_->rfind("lang=\"ja\"", pos), en = html_->rfind("lang=\"en\"", pos);
        const bool isJa = ja != std::string::npos && (en == std::string::npos || ja > en);
        if ((lang == "ja") == isJa) keys.insert(html_->substr(pos + 5, end - pos - 5));
        pos = end;
    }
    return keys;
}

TEST_F(BuiltManual, NamesTheFiveWeaponsInBothLanguagesWithTheirPictures) {
    const std::string ja = manualtest::textIn(*scan_, "ja");
    const std::string en = manualtest::textIn(*scan_, "en");
    const std::pair<const char*, const char*> weapons[] = {
        {"バルカン", "Valcan"}, {"キャノン", "Canon"}, {"サンダー", "Thunder"}, {"ビーム", "Beam"}, {"レーザー", "Laser"}};
    const auto images = elements("img");
    for (const auto& [jaName, enName] : weapons) {
        EXPECT_NE(ja.find(jaName), std::string::npos) << jaName;
        EXPECT_NE(en.find(enName), std::string::npos) << enName;
        // The ship carrying it and its item.
        int pictures = 0;
        for (const auto& img : images) pictures += img.attributes.contains("alt") && img.attributes.at("alt") == enName;
        EXPECT_GE(pictures, 2) << enName;
    }
}

TEST_F(BuiltManual, HoldsTheStartupDialogsJapaneseCaptions) {
    const std::string ja = manualtest::textIn(*scan_, "ja");
    const char* captions[] = {"起動オプション", "ＶＲＡＭを使う", "効果音の左右反転", "ＢＧＭ", "効果音", "フルスクリーン",
                              "最初から", "１面中ボスから", "２面から", "３面から", "３面ボスから", "クレジット",
                              "リプレイデータの選択・再生", "起動", "説明書"};
    for (const char* c : captions) EXPECT_NE(ja.find(c), std::string::npos) << c;
}

TEST_F(BuiltManual, ListsBothKeyboardLayoutsAndTheFilesInBothLanguages) {
    const char* keys[] = {"Backspace", "Insert", "T", "V", "F", "H", "1", "2", "Esc", "Alt", "Enter"};
    for (const char* lang : {"ja", "en"}) {
        SCOPED_TRACE(lang);
        const auto caps = kbdTexts(lang);
        for (const char* k : keys) EXPECT_TRUE(caps.contains(k)) << k;
        const std::string text = manualtest::textIn(*scan_, lang);
        for (const char* file : {"LastGame.KRREP", "HighScore.KRREP", ".KRREP", "korrindal.ini", "Title.Add"})
            EXPECT_NE(text.find(file), std::string::npos) << file;
    }
}

}  // namespace
