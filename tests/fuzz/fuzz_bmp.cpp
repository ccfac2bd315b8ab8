// Bank pictures and backdrops: the picture decoder of the data tools and the game's own
// loader take any bytes and either give a whole picture or refuse.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "engine/bmp8.h"
#include "fuzz_input.h"
#include "platform/bitmap_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (const auto image = engine::bmp8::decode(std::span<const std::uint8_t>(data, size))) {
        if (image->pixels.size() != static_cast<std::size_t>(image->width) * static_cast<std::size_t>(image->height))
            std::abort();
    }
    fuzz::MemoryFile file(data, size);
    if (!file.ok()) return 0;
    plat::Bitmap8 picture;
    std::string error;
    if (plat::loadBitmap8(file.path(), picture, error)) {
        if (picture.pixels.size() < static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height))
            std::abort();
    } else if (error.empty()) {
        std::abort();
    }
    return 0;
}
