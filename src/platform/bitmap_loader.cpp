#include "platform/bitmap_loader.h"

#include <SDL.h>

#include <cstring>
#include <memory>

namespace plat {

bool loadBitmap8(const std::string& path, Bitmap8& out, std::string& error) {
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
    Bitmap8 b;
    b.width = s->w;
    b.height = s->h;
    b.pixels.resize(static_cast<std::size_t>(b.width) * static_cast<std::size_t>(b.height));
    if (SDL_LockSurface(s.get()) != 0) {
        error = std::string("cannot lock ") + path + ": " + SDL_GetError();
        return false;
    }
    const auto* src = static_cast<const std::uint8_t*>(s->pixels);
    for (int y = 0; y < b.height; ++y) {
        std::memcpy(b.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(b.width),
                    src + static_cast<std::ptrdiff_t>(y) * s->pitch, static_cast<std::size_t>(b.width));
    }
    SDL_UnlockSurface(s.get());
    const int n = fmt->palette->ncolors < 256 ? fmt->palette->ncolors : 256;
    for (int i = 0; i < n; ++i) {
        const SDL_Color c = fmt->palette->colors[i];
        b.palette[static_cast<std::size_t>(i)] = Rgb{c.r, c.g, c.b};
    }
    out = std::move(b);
    return true;
}

}  // namespace plat
