#include "png_write.h"

#include <stdexcept>

// The implementation stays private to this file.
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include "stb_image_write.h"

namespace art {

void writePng(const std::string& path, int w, int h, const std::vector<std::uint8_t>& rgb) {
    if (rgb.size() != static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 3 || !stbi_write_png(path.c_str(), w, h, 3, rgb.data(), w * 3))
        throw std::runtime_error("cannot write " + path);
}

}  // namespace art
