#pragma once
// The list of pictures the manual shows (assets/manual/pictures.txt), one a line:
//
//   name | 日本語の名前 | English name | scale | layers
//
// Layers are pattern numbers of the game's sprite banks, drawn in order at one point, each
// by its own hot spot (as the game draws the ship and its weapon parts); "95@16,-4" moves a
// layer by (16, -4) screen pixels (y grows downward), and "115/192" turns it as the game
// turns a sprite of direction 192 (up): directions are 256ths of a turn, 0 pointing right,
// 64 down; only whole quarter turns are allowed. Both may be given: "115/192@12,-30".
// Instead of layers, "picture.bmp x,y,w,h" cuts a rectangle out of one of the game's full
// pictures beside it. Scale is the whole-number magnification the page shows the picture at. "%" starts a
// comment line.

#include <string>
#include <vector>

namespace manual {

struct Layer {
    int pattern = 0;
    int dx = 0, dy = 0;
    int turn = 0;  // 0, 64, 128 or 192
};

struct PictureSpec {
    std::string name;
    std::string captionJa, captionEn;
    int scale = 1;
    std::vector<Layer> layers;
    std::string bitmap;           // a full picture's file name, when cut from one
    int cropX = 0, cropY = 0, cropW = 0, cropH = 0;
};

struct PictureListResult {
    bool ok = false;
    std::vector<PictureSpec> pictures;
    std::string error;  // "line N: what is wrong"
};

PictureListResult readPictureList(const std::string& text);

}  // namespace manual
