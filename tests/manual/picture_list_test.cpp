// The picture list: layers with moves and turns, cuts from full pictures, and its faults.

#include <gtest/gtest.h>

#include "picture_list.h"

namespace {

using manual::readPictureList;

TEST(ManualPictureList, ReadsLayersMovesTurnsAndCuts) {
    const auto r = readPictureList(
        "% comment\n"
        "\n"
        "ship | 自機 | Ship | 2 | 85 95 96@-16,4 115/192@12,-30\n"
        "title | 題 | Title | 1 | tz_TitleBack.bmp 0,50,640,270\n");
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.pictures.size(), 2u);
    const auto& s = r.pictures[0];
    EXPECT_EQ(s.name, "ship");
    EXPECT_EQ(s.captionJa, "自機");
    EXPECT_EQ(s.captionEn, "Ship");
    EXPECT_EQ(s.scale, 2);
    ASSERT_EQ(s.layers.size(), 4u);
    EXPECT_EQ(s.layers[0].pattern, 85);
    EXPECT_EQ(s.layers[0].dx, 0);
    EXPECT_EQ(s.layers[2].pattern, 96);
    EXPECT_EQ(s.layers[2].dx, -16);
    EXPECT_EQ(s.layers[2].dy, 4);
    EXPECT_EQ(s.layers[3].pattern, 115);
    EXPECT_EQ(s.layers[3].turn, 192);
    EXPECT_EQ(s.layers[3].dx, 12);
    EXPECT_EQ(s.layers[3].dy, -30);
    EXPECT_TRUE(s.bitmap.empty());

    const auto& t = r.pictures[1];
    EXPECT_EQ(t.bitmap, "tz_TitleBack.bmp");
    EXPECT_EQ(t.cropY, 50);
    EXPECT_EQ(t.cropW, 640);
    EXPECT_EQ(t.cropH, 270);
    EXPECT_TRUE(t.layers.empty());
}

TEST(ManualPictureList, ReportsFaultsWithTheirLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"a | b | c | 1 | 85\na | b | c | 1 | 86\n", "line 2: the name \"a\" is used twice"},
        {"a | b | c | 1\n", "line 1: a picture needs"},
        {"a | b | c | 0 | 85\n", "the scale must be 1..8"},
        {"a | b | c | x | 85\n", "the scale \"x\" is not a whole number"},
        {"a | b | c | 1 | 85/32\n", "the turn 32 is not 0, 64, 128 or 192"},
        {"a | b | c | 1 | 1024\n", "pattern 1024 is outside 0..1023"},
        {"a | b | c | 1 | 85@3\n", "needs the form dx,dy"},
        {"a | b | c | 1 | 8x5\n", "the pattern \"8x5\""},
        {"a |  | c | 1 | 85\n", "an empty part"},
        {"a | b | c | 1 | p.bmp 0,0,10\n", "the rectangle x,y,w,h"},
        {"a | b | c | 1 | p.bmp 0,0,0,5\n", "an empty or negative rectangle"},
        {"% only a comment\n", "no picture is listed"},
    };
    for (const auto& [text, expected] : cases) {
        const auto r = readPictureList(text);
        EXPECT_FALSE(r.ok) << text;
        EXPECT_NE(r.error.find(expected), std::string::npos) << "got: " << r.error << "\nfor: " << text;
    }
}

}  // namespace
