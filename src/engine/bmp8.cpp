#include "engine/bmp8.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace engine::bmp8 {

namespace {

void put16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
void put32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
std::uint32_t get16(const std::uint8_t* p) { return static_cast<std::uint32_t>(p[0] | (p[1] << 8)); }
std::uint32_t get32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

}  // namespace

std::vector<std::uint8_t> encode(const Image& image) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height)) {
        return {};
    }
    const std::size_t stride = static_cast<std::size_t>(rowStride(image.width));
    const std::size_t dataSize = stride * static_cast<std::size_t>(image.height);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(kPixelOffset) + dataSize, 0);
    std::uint8_t* p = bytes.data();
    // BITMAPFILEHEADER
    p[0] = 'B';
    p[1] = 'M';
    put32(p + 2, static_cast<std::uint32_t>(bytes.size()));
    put32(p + 10, kPixelOffset);
    // BITMAPINFOHEADER
    p += kFileHeaderSize;
    put32(p + 0, kInfoHeaderSize);
    put32(p + 4, static_cast<std::uint32_t>(image.width));
    put32(p + 8, static_cast<std::uint32_t>(image.height));  // positive: bottom-up rows
    put16(p + 12, 1);                                         // planes
    put16(p + 14, 8);                                         // bits per pixel
    put32(p + 16, 0);                                         // BI_RGB
    put32(p + 20, static_cast<std::uint32_t>(dataSize));
    put32(p + 24, 2835);                                      // 72 dpi
    put32(p + 28, 2835);
    put32(p + 32, 256);                                       // colours used
    put32(p + 36, 0);
    // Palette: blue, green, red, reserved.
    p += kInfoHeaderSize;
    for (const plat::Rgb& c : image.palette) {
        p[0] = c.b;
        p[1] = c.g;
        p[2] = c.r;
        p[3] = 0;
        p += 4;
    }
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t* src = image.pixels.data() + static_cast<std::size_t>(image.height - 1 - y) * static_cast<std::size_t>(image.width);
        std::memcpy(p + static_cast<std::size_t>(y) * stride, src, static_cast<std::size_t>(image.width));
    }
    return bytes;
}

bool write(const std::string& path, const Image& image) {
    const std::vector<std::uint8_t> bytes = encode(image);
    if (bytes.empty()) return false;
    File f(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!f) return false;
    if (std::fwrite(bytes.data(), 1, bytes.size(), f.get()) != bytes.size()) return false;
    return std::fclose(f.release()) == 0;
}

std::optional<Image> decode(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < static_cast<std::size_t>(kFileHeaderSize + kInfoHeaderSize)) return std::nullopt;
    const std::uint8_t* p = bytes.data();
    if (p[0] != 'B' || p[1] != 'M') return std::nullopt;
    const std::uint32_t pixelOffset = get32(p + 10);
    const std::uint8_t* info = p + kFileHeaderSize;
    const std::uint32_t infoSize = get32(info);
    if (infoSize < kInfoHeaderSize) return std::nullopt;
    const auto width = static_cast<std::int32_t>(get32(info + 4));
    const auto rawHeight = static_cast<std::int32_t>(get32(info + 8));
    if (get16(info + 12) != 1 || get16(info + 14) != 8 || get32(info + 16) != 0) return std::nullopt;
    if (width <= 0 || rawHeight == 0 || width > 65536 || rawHeight > 65536 || rawHeight < -65536) return std::nullopt;
    const bool topDown = rawHeight < 0;
    const int height = topDown ? -rawHeight : rawHeight;
    std::uint32_t colours = get32(info + 32);
    if (colours == 0 || colours > 256) colours = 256;
    const std::size_t paletteAt = kFileHeaderSize + static_cast<std::size_t>(infoSize);
    const std::size_t stride = static_cast<std::size_t>(rowStride(width));
    if (paletteAt + colours * 4 > bytes.size() || pixelOffset < paletteAt + colours * 4) return std::nullopt;
    if (pixelOffset + stride * static_cast<std::size_t>(height) > bytes.size()) return std::nullopt;

    Image image(width, height);
    for (std::uint32_t i = 0; i < colours; ++i) {
        const std::uint8_t* c = p + paletteAt + i * 4;
        image.palette[i] = plat::Rgb{c[2], c[1], c[0]};
    }
    for (int y = 0; y < height; ++y) {
        const int stored = topDown ? y : height - 1 - y;
        std::memcpy(&image.at(0, y), p + pixelOffset + static_cast<std::size_t>(stored) * stride, static_cast<std::size_t>(width));
    }
    return image;
}

std::optional<Image> read(const std::string& path) {
    File f(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!f) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    std::uint8_t buf[65536];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f.get())) > 0) bytes.insert(bytes.end(), buf, buf + n);
    return decode(bytes);
}

}  // namespace engine::bmp8
