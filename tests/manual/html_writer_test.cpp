// The page writer: escaping, inline marks, joining Japanese lines, and the page's structure
// with its languages and pictures.

#include <gtest/gtest.h>

#include "html_scan.h"
#include "html_writer.h"
#include "source_reader.h"

namespace {

using manual::escapeHtml;
using manual::inlineHtml;
using manual::joinLines;

TEST(ManualHtml, EscapesAndMarksUpInlineText) {
    EXPECT_EQ(escapeHtml("a < b & \"c\" > d"), "a &lt; b &amp; &quot;c&quot; &gt; d");
    EXPECT_EQ(inlineHtml("press {Esc} to **quit** the `game`"),
              "press <kbd>Esc</kbd> to <strong>quit</strong> the <code>game</code>");
    // Marks inside escaped text, and markers left without their partner.
    EXPECT_EQ(inlineHtml("{<}"), "<kbd>&lt;</kbd>");
    EXPECT_EQ(inlineHtml("5 ** 2 and {open"), "5 ** 2 and {open");
    EXPECT_EQ(inlineHtml("{} stays {A}"), "{} stays <kbd>A</kbd>");
    EXPECT_EQ(inlineHtml("<script>"), "&lt;script&gt;");
}

TEST(ManualHtml, JoinsJapaneseLinesWithoutASpace) {
    EXPECT_EQ(joinLines({"敵を", "倒す"}), "敵を倒す");
    EXPECT_EQ(joinLines({"one", "two"}), "one two");
    EXPECT_EQ(joinLines({"ボム", "Bomb"}), "ボム Bomb");
    EXPECT_EQ(joinLines({"x", "", "y"}), "x y");
}

manual::PagePicture picture(const std::string& name, int scale) {
    manual::PagePicture p;
    p.spec.name = name;
    p.spec.captionJa = "絵";
    p.spec.captionEn = "Picture " + name;
    p.spec.scale = scale;
    p.uri = "data:image/png;base64,AAAA";
    p.width = 10;
    p.height = 6;
    return p;
}

TEST(ManualHtml, WritesAWellFormedPageWithEveryPartInItsLanguage) {
    const auto doc = manual::readDocument(
        "= 題 | Title | top\n+ 一行 | line\n== one | 一 | One\n[gallery pic]\nja:\n### 見出し\n- 項目\n| 表 | 値 |\n| a | b |\n> 注意\nen:\nText & more\n");
    ASSERT_TRUE(doc.ok) << doc.error;
    std::map<std::string, manual::PagePicture> pictures{{"pic", picture("pic", 3)}, {"top", picture("top", 1)}};
    const auto page = manual::writePage(doc.document, pictures, "body{}\n");
    ASSERT_TRUE(page.ok) << page.error;

    const auto scan = manualtest::scanHtml(page.html);
    EXPECT_TRUE(scan.errors.empty()) << scan.errors.front();
    // The Japanese column and text in Japanese, the English ones in English.
    const std::string ja = manualtest::textIn(scan, "ja"), en = manualtest::textIn(scan, "en");
    for (const char* s : {"題", "一行", "一", "見出し", "項目", "表", "注意", "絵"}) EXPECT_NE(ja.find(s), std::string::npos) << s;
    for (const char* s : {"Title", "line", "One", "Text & more"}) EXPECT_NE(en.find(s), std::string::npos) << s;
    EXPECT_EQ(ja.find("Text"), std::string::npos);
    EXPECT_EQ(en.find("見出し"), std::string::npos);

    // The pictures at their magnification; the contents links to the section.
    int images = 0, sized = 0, links = 0;
    for (const auto& e : scan.elements) {
        if (e.tag == "img") {
            ++images;
            if (e.attributes.at("alt") == "Picture pic") {
                sized += e.attributes.at("width") == "30" && e.attributes.at("height") == "18" && e.attributes.contains("class");
            } else {
                EXPECT_FALSE(e.attributes.contains("class"));  // shown at 1:1: smoothing is fine
            }
        }
        if (e.tag == "a") links += e.attributes.at("href") == "#one";
        if (e.tag == "section") {
            EXPECT_EQ(e.attributes.at("id"), "one");
        }
    }
    EXPECT_EQ(images, 2);
    EXPECT_EQ(sized, 1);
    EXPECT_EQ(links, 1);
    EXPECT_NE(page.html.find("<style>\nbody{}\n</style>"), std::string::npos);
}

TEST(ManualHtml, RefusesAGalleryOfAnUnlistedPicture) {
    const auto doc = manual::readDocument("= 題 | Title\n== one | 一 | One\n[gallery nowhere]\n");
    ASSERT_TRUE(doc.ok) << doc.error;
    const auto page = manual::writePage(doc.document, {}, "");
    EXPECT_FALSE(page.ok);
    EXPECT_NE(page.error.find("\"nowhere\""), std::string::npos) << page.error;
    EXPECT_TRUE(page.html.empty());
}

}  // namespace
