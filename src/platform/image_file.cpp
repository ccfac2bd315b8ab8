#include "platform/image_file.h"

#include <stb_image_write.h>

namespace plat {

bool writePng(const std::string& path, const std::uint8_t* rgba, int width, int height) {
    if (!rgba || width <= 0 || height <= 0) return false;
    return stbi_write_png(path.c_str(), width, height, 4, rgba, width * 4) != 0;
}

}  // namespace plat
