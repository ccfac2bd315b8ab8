// The manual's source format: sections, galleries, paired columns and the blocks inside
// them, and the faults a writer of the text is told about (with the line).

#include <gtest/gtest.h>

#include "source_reader.h"

namespace {

using manual::BlockKind;
using manual::readDocument;
using manual::Row;

TEST(ManualSource, ReadsSectionsGalleriesAndPairedColumns) {
    const auto r = readDocument(
        "% a comment\n"
        "= 題 | Title | banner\n"
        "+ 一行 | One line\n"
        "== first | 最初 | First\n"
        "[gallery a b]\n"
        "ja:\n"
        "段落の\n"
        "続き\n"
        "\n"
        "### 見出し\n"
        "- 項目1\n"
        "- 項目2\n"
        "  続き\n"
        "en:\n"
        "A paragraph\n"
        "goes on.\n"
        "| h1 | h2 |\n"
        "| a | b |\n"
        "> a note\n"
        "> more\n"
        "== second | 二番目 | Second\n"
        "ja:\n"
        "x\n"
        "en:\n"
        "y\n");
    ASSERT_TRUE(r.ok) << r.error;
    const auto& d = r.document;
    EXPECT_EQ(d.titleJa, "題");
    EXPECT_EQ(d.titleEn, "Title");
    EXPECT_EQ(d.banner, "banner");
    EXPECT_EQ(d.leadEn, "One line");
    ASSERT_EQ(d.sections.size(), 2u);
    const auto& s = d.sections[0];
    EXPECT_EQ(s.id, "first");
    EXPECT_EQ(s.titleJa, "最初");
    ASSERT_EQ(s.rows.size(), 2u);
    EXPECT_EQ(s.rows[0].kind, Row::Kind::Gallery);
    EXPECT_EQ(s.rows[0].pictures, (std::vector<std::string>{"a", "b"}));

    const auto& ja = s.rows[1].ja.blocks;
    ASSERT_EQ(ja.size(), 3u);
    EXPECT_EQ(ja[0].kind, BlockKind::Paragraph);
    EXPECT_EQ(ja[0].lines, (std::vector<std::string>{"段落の", "続き"}));
    EXPECT_EQ(ja[1].kind, BlockKind::Heading);
    EXPECT_EQ(ja[2].kind, BlockKind::List);
    EXPECT_EQ(ja[2].lines, (std::vector<std::string>{"項目1", "項目2 続き"}));

    const auto& en = s.rows[1].en.blocks;
    ASSERT_EQ(en.size(), 3u);
    EXPECT_EQ(en[0].lines.size(), 2u);
    EXPECT_EQ(en[1].kind, BlockKind::Table);
    EXPECT_EQ(en[1].rows, (std::vector<std::vector<std::string>>{{"h1", "h2"}, {"a", "b"}}));
    EXPECT_EQ(en[2].kind, BlockKind::Note);
    EXPECT_EQ(en[2].lines, (std::vector<std::string>{"a note", "more"}));
}

TEST(ManualSource, ABlankLineStartsANewBlockOfTheSameKind) {
    const auto r = readDocument("= a | b\n== s | 見 | S\nja:\n> one\n\n> two\n- x\n\n- y\nen:\np\n");
    ASSERT_TRUE(r.ok) << r.error;
    const auto& blocks = r.document.sections[0].rows[0].ja.blocks;
    ASSERT_EQ(blocks.size(), 4u);
    EXPECT_EQ(blocks[0].kind, BlockKind::Note);
    EXPECT_EQ(blocks[1].kind, BlockKind::Note);
    EXPECT_EQ(blocks[2].kind, BlockKind::List);
    EXPECT_EQ(blocks[3].kind, BlockKind::List);
}

TEST(ManualSource, ReportsFaultsWithTheirLine) {
    struct Case {
        const char* text;
        const char* expected;  // a part of the message
    };
    const Case cases[] = {
        {"= a | b\n== s | 見 | S\nja:\nx\n== t | 見 | T\n", "line 5: the ja: column has no en: column after it"},
        {"= a | b\n== s | 見 | S\nen:\nx\n", "line 3: en: without the ja: column"},
        {"= a | b\n== s | 見 | S\nja:\nen:\nx\n", "line 4: the ja: column before en: is empty"},
        {"= a | b\n== s | 見 | S\nloose text\n", "line 3: text outside a ja: or en: column"},
        {"= a | b\n== s | 見 | S\n[gallery p]\n== s | 見 | S\n", "line 4: section id \"s\" is used twice"},
        {"= a | b\n== Bad Id | 見 | S\n", "must be lower-case"},
        {"= a | b\n== s | 見\n", "a section line needs 3 parts"},
        {"= a | b\n== s | 見 | S\nja:\n| a | b |\n| c |\nen:\nx\n", "line 5: a table row with 1 cells where the header has 2"},
        {"== s | 見 | S\n[gallery p]\n", "the document has no title"},
        {"= a | b\n", "the document has no section"},
        {"= a | b\n== s | 見 | S\n", "section \"s\" is empty"},
        {"= a | b\n== s | 見 | S\nja:\nx\n", "at the end: the ja: column has no en: column"},
        {"= a | b\n== s | 見 | S\n[gallery]\n", "a gallery without pictures"},
        {"= a | b\nja:\n", "line 2: content before the first section"},
        {"= a | b\n= c | d\n", "line 2: a second title"},
    };
    for (const auto& c : cases) {
        const auto r = readDocument(c.text);
        EXPECT_FALSE(r.ok) << c.text;
        EXPECT_NE(r.error.find(c.expected), std::string::npos) << "got: " << r.error << "\nfor:\n" << c.text;
    }
}

}  // namespace
