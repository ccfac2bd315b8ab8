#pragma once
// Where the frame goes inside the window. No SDL.

namespace plat {

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
};

// The place of a frameW x frameH picture in an output of outW x outH: the largest integer
// multiple that fits, centred; an output smaller than the frame gets it shrunk to fit with
// its aspect kept. Empty when either size is empty.
Rect letterbox(int frameW, int frameH, int outW, int outH);

}  // namespace plat
