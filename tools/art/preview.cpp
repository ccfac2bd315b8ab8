#include "preview.h"

#include <cmath>
#include <stdexcept>

#include "png_write.h"

namespace art {

namespace {

class Frame {
public:
    Frame(const std::map<int, Bank::Output>& banks, const engine::bmp8::Image& bg) : banks_(banks), img_(bg) {}

    // Draws pattern n with its hot spot at (x, y), clipped to the play field unless told.
    void draw(int n, int x, int y, bool field = true) {
        auto it = banks_.upper_bound(n);
        if (it == banks_.begin()) return;
        --it;
        const Bank::Output& b = it->second;
        const std::size_t i = static_cast<std::size_t>(n - it->first);
        if (i >= b.records.size()) return;
        const auto& f = b.records[i];
        const int cl = field ? 128 : 0, cr = field ? 512 : 640;
        for (int sy = f.source.top; sy < f.source.bottom; ++sy)
            for (int sx = f.source.left; sx < f.source.right; ++sx) {
                const std::uint8_t v = b.image.at(sx, sy);
                if (v == 0) continue;
                const int X = x - f.originX + sx - f.source.left, Y = y - f.originY + sy - f.source.top;
                if (X < cl || X >= cr || Y < 0 || Y >= 480) continue;
                img_.at(X, Y) = v;
            }
    }
    // The colour-mix mode: source x 80 % + destination, mapped back to the palette.
    void drawAdd(int n, int x, int y) {
        auto it = banks_.upper_bound(n);
        if (it == banks_.begin()) return;
        --it;
        const Bank::Output& b = it->second;
        const auto& f = b.records[static_cast<std::size_t>(n - it->first)];
        for (int sy = f.source.top; sy < f.source.bottom; ++sy)
            for (int sx = f.source.left; sx < f.source.right; ++sx) {
                const std::uint8_t v = b.image.at(sx, sy);
                if (v == 0) continue;
                const int X = x - f.originX + sx - f.source.left, Y = y - f.originY + sy - f.source.top;
                if (X < 0 || X >= 640 || Y < 0 || Y >= 480) continue;
                const Rgbf s = paletteColour(v) * 0.8f, d = paletteColour(img_.at(X, Y));
                img_.at(X, Y) = nearestIndex({std::min(1.0f, s.r + d.r), std::min(1.0f, s.g + d.g), std::min(1.0f, s.b + d.b)});
            }
    }
    void stars(int seed) {
        std::uint32_t s = static_cast<std::uint32_t>(seed) * 2654435761u + 1;
        for (int i = 0; i < 90; ++i) {
            s = s * 1103515245u + 12345u;
            const int x = 128 + static_cast<int>((s >> 8) % 384);
            s = s * 1103515245u + 12345u;
            const int y = static_cast<int>((s >> 8) % 480);
            img_.at(x, y) = static_cast<std::uint8_t>(i % 3 == 0 ? 255 : 1 + 15 * 0 + 8 + (i % 6));
        }
    }
    void score(int x, int y, int v) {
        const std::string s = std::to_string(v + 1000000000).substr(1);
        bool drawn = false;
        for (int i = 1; i <= 9; ++i) {
            const char ch = s[static_cast<std::size_t>(i - 1)];
            if (ch != '0' || drawn || i == 9) {
                draw(13 + ch - '0', x + 14 * i, y);
                drawn = true;
            }
        }
    }
    void write(const std::string& path) const {
        std::vector<std::uint8_t> rgb(static_cast<std::size_t>(img_.width * img_.height * 3));
        for (int y = 0; y < img_.height; ++y)
            for (int x = 0; x < img_.width; ++x) {
                const plat::Rgb c = img_.palette[img_.at(x, y)];
                std::uint8_t* p = &rgb[static_cast<std::size_t>((y * img_.width + x) * 3)];
                p[0] = c.r;
                p[1] = c.g;
                p[2] = c.b;
            }
        writePng(path, img_.width, img_.height, rgb);
    }

private:
    const std::map<int, Bank::Output>& banks_;
    engine::bmp8::Image img_;
};

void status(Frame& f) {
    f.score(370, 25, 1234560);
    const int t[] = {0, 2, -1, 4, 5, -1, 7, 3};
    for (int i = 1; i <= 8; ++i)
        if (t[i - 1] >= 0) f.draw(13 + t[i - 1], 140 + 14 * i, 25);
    for (int k = 1; k <= 2; ++k) f.draw(214, 132 - 30 * k, 350, false);
    for (int k = 1; k <= 5; ++k) f.draw(215, 518 + 20 * k, 350, false);
}

void ship(Frame& f, int x, int y, int weapon) {
    if (weapon == 1) f.draw(97, x, y);
    if (weapon == 4) f.draw(102, x, y);
    f.draw(85, x, y);
    if (weapon == 0) {
        f.draw(95, x, y);
        f.draw(96, x, y);
    }
    if (weapon == 2) {
        f.draw(98, x, y);
        f.draw(99, x, y);
    }
    if (weapon == 3) {
        f.draw(100, x, y);
        f.draw(101, x, y);
    }
}

}  // namespace

void writePreviews(const std::string& dir, const std::map<int, Bank::Output>& outputs, const engine::bmp8::Image& background,
                   const engine::bmp8::Image& title) {
    {  // Stage 1: fighters, pods, bullets, an explosion, a bonus.
        Frame f(outputs, background);
        f.stars(1);
        f.draw(219, 470, 120);
        f.draw(221, 320, 110);
        f.draw(128, 200, 230);
        f.draw(129, 250, 260);
        f.draw(130, 430, 250);
        f.draw(131, 470, 200);
        f.draw(132, 380, 300);
        f.draw(133, 368, 300);
        f.draw(134, 393, 300);
        f.draw(136, 170, 330);
        f.draw(139, 460, 330);
        f.draw(158, 230, 180);
        f.draw(159, 250, 165);
        f.draw(160, 215, 160);
        f.draw(146, 240, 200);
        f.draw(148, 210, 195);
        f.draw(11, 300, 200);
        for (int i = 0; i < 5; ++i) f.draw(124 + (i & 1), 340 + 12 * i, 340 + 9 * i);
        for (int i = 0; i < 4; ++i) f.draw(126, 180 + 20 * i, 400 - 10 * i);
        f.draw(127, 290, 360);
        f.draw(127, 260, 380);
        f.draw(48, 430, 420);
        f.draw(33, 430, 380);
        f.draw(27, 416, 398);
        f.draw(28, 430, 398);
        f.draw(54, 466, 398);
        f.draw(57, 476, 398);
        ship(f, 320, 420, 0);
        f.draw(0, 306, 360);
        f.draw(0, 334, 330);
        f.draw(1, 306, 370);
        f.draw(50, 320, 130);
        f.draw(14, 376, 130);
        status(f);
        f.write(dir + "/preview_stage1.png");
    }
    {  // Stage 2: the boss, drifters, mines, other weapons.
        Frame f(outputs, background);
        f.stars(2);
        f.draw(234, 320, 150);
        for (int k = 0; k < 3; ++k) f.draw(235, 245 + 5 * k, 154 + 11 * k);
        f.draw(236, 395, 154);
        f.draw(225, 170, 380);
        f.draw(230, 450, 300);
        f.draw(231, 414, 260);
        f.draw(231, 438, 260);
        f.draw(232, 462, 260);
        f.draw(229, 250, 330);
        f.draw(233, 400, 400);
        f.draw(227, 480, 470);
        for (int i = 0; i < 6; ++i) f.draw(237, 210 + 40 * i, 300 + (i % 2) * 20);
        for (int i = 0; i < 8; ++i) f.draw(126, 260 + 14 * i, 250 + 5 * (i % 3));
        ship(f, 330, 430, 2);
        f.draw(110, 306, 414);
        f.draw(110, 354, 400);
        f.draw(111, 300, 400);
        f.draw(113, 350, 380);
        f.draw(223, 320, 240);
        status(f);
        f.write(dir + "/preview_stage2.png");
    }
    {  // Stage 3: the final boss and its bullets, the laser.
        Frame f(outputs, background);
        f.stars(3);
        f.draw(245, 320, 150);
        for (int i = -4; i <= 4; ++i) f.draw(246 + (i + 4) % 3, 190 + 12 * i, 230 + std::abs(i) * 3);
        for (int i = -4; i <= 4; ++i) f.draw(246 + (i + 4) % 3, 450 + 12 * i, 230 + std::abs(i) * 3);
        f.draw(242, 250, 380);
        f.draw(243, 420, 330);
        f.draw(239, 180, 300);
        ship(f, 320, 430, 4);
        for (int y = 340; y > 160; y -= 66) f.draw(121, 320, y);
        f.draw(122, 320, 306);
        f.draw(208, 450, 420);
        f.draw(66, 320, 200);
        status(f);
        f.write(dir + "/preview_stage3.png");
    }
    {  // Title with its four letters, five copies each (the colour-mix mode is not shown).
        Frame f(outputs, title);
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j <= 4; ++j)
                f.drawAdd(249 + i, 450 + 48 * i, 445 + static_cast<int>(std::sin(static_cast<float>((32 * i + 20 * j - 300) & 255) * 6.2831853f / 256.0f) * 8.0f));
        f.write(dir + "/preview_title.png");
    }
}

}  // namespace art
