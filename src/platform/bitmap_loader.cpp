#include "platform/bitmap_loader.h"

#include <SDL.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <memory>

namespace plat {
namespace {

constexpr std::int64_t kMaxSide = 16384;
// The most pixels a picture may have (the game's largest is about a third of a million). A
// run-length-coded picture can claim any size in a few bytes (its end-of-picture code leaves
// the rest blank), so the size alone, not the file's length, bounds what its decoding takes.
constexpr std::int64_t kMaxPixels = std::int64_t{4096} * 4096;

std::uint32_t le32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t le16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

// Checks the headers before the picture decoder sees the file: a paletted picture of sane
// size whose pixel rows (when stored plainly) lie inside the file. A damaged or hostile
// header is refused with a reason instead of driving the decoder into a huge allocation
// or a read past the file.
bool checkHeaders(const std::string& path, std::string& error, std::int64_t* sideX = nullptr,
                  std::int64_t* sideY = nullptr) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!f) {
        error = "cannot open " + path;
        return false;
    }
    unsigned char h[54] = {};
    const std::size_t got = std::fread(h, 1, sizeof h, f.get());
    std::fseek(f.get(), 0, SEEK_END);
    const long size = std::ftell(f.get());
    if (got < 26 || h[0] != 'B' || h[1] != 'M') {
        error = path + " is not a BMP picture";
        return false;
    }
    const std::uint32_t dataOffset = le32(h + 10);
    const std::uint32_t infoSize = le32(h + 14);
    std::int64_t width = 0, height = 0;
    std::uint16_t planes = 0, bits = 0;
    std::uint32_t compression = 0;
    if (infoSize == 12) {  // the old core header: 16-bit fields
        width = le16(h + 18);
        height = static_cast<std::int16_t>(le16(h + 20));
        planes = le16(h + 22);
        bits = le16(h + 24);
    } else if (infoSize >= 40 && got >= 54) {
        width = static_cast<std::int32_t>(le32(h + 18));
        height = static_cast<std::int32_t>(le32(h + 22));
        planes = le16(h + 26);
        bits = le16(h + 28);
        compression = le32(h + 30);
    } else {
        error = path + " has an unknown picture header";
        return false;
    }
    if (height < 0) height = -height;
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide || width * height > kMaxPixels) {
        error = path + " has an impossible size " + std::to_string(width) + "x" + std::to_string(height);
        return false;
    }
    if (sideX != nullptr) *sideX = width;
    if (sideY != nullptr) *sideY = height;
    if (planes != 1 || (bits != 1 && bits != 4 && bits != 8)) {
        error = path + " is not a paletted picture of 1, 4 or 8 bits";
        return false;
    }
    if (compression == 0) {
        const std::int64_t stride = ((width * bits + 31) / 32) * 4;
        if (static_cast<std::int64_t>(dataOffset) + stride * height > size) {
            error = path + " is truncated: its pixel rows need more bytes than the file has";
            return false;
        }
    } else if (compression != 1 && compression != 2) {
        error = path + " uses an unsupported compression";
        return false;
    }
    return true;
}

}  // namespace

bool loadBitmap8(const std::string& path, Bitmap8& out, std::string& error) {
    if (!checkHeaders(path, error)) return false;
    std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)> s(SDL_LoadBMP(path.c_str()), &SDL_FreeSurface);
    if (!s) {
        error = std::string("cannot load ") + path + ": " + SDL_GetError();
        return false;
    }
    const SDL_PixelFormat* fmt = s->format;
    if (fmt->BitsPerPixel != 8 || fmt->palette == nullptr) {
        error = path + " is not an 8-bit paletted picture";
        return false;
    }
    if (s->w <= 0 || s->h <= 0) {
        error = path + " has no pixels";
        return false;
    }
    if (SDL_LockSurface(s.get()) != 0) {
        error = std::string("cannot lock ") + path + ": " + SDL_GetError();
        return false;
    }
    // Filled in place: a bitmap whose storage is already large enough is reloaded without
    // touching the heap.
    out.width = s->w;
    out.height = s->h;
    out.pixels.resize(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height));
    const auto* src = static_cast<const std::uint8_t*>(s->pixels);
    for (int y = 0; y < out.height; ++y) {
        std::memcpy(out.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(out.width),
                    src + static_cast<std::ptrdiff_t>(y) * s->pitch, static_cast<std::size_t>(out.width));
    }
    SDL_UnlockSurface(s.get());
    out.palette = Palette{};
    const int n = fmt->palette->ncolors < 256 ? fmt->palette->ncolors : 256;
    for (int i = 0; i < n; ++i) {
        const SDL_Color c = fmt->palette->colors[i];
        out.palette[static_cast<std::size_t>(i)] = Rgb{c.r, c.g, c.b};
    }
    return true;
}

bool readBitmapSize(const std::string& path, int& width, int& height, std::string& error) {
    std::int64_t w = 0, h = 0;
    if (!checkHeaders(path, error, &w, &h)) return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

}  // namespace plat
