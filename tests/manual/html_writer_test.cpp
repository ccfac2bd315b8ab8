// The page writer's text: escaping, inline marks and joining Japanese lines. (The page's
// structure, languages and pictures are checked on the built manual.)

#include <gtest/gtest.h>

#include "html_writer.h"

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

}  // namespace
