#include "game/tz_screenshot.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "core/data_path.h"
#include "platform/image_file.h"

namespace tz {

std::string ScreenshotPath(const std::string& Folder, std::time_t When) {
    std::tm local{};
    localtime_r(&When, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", &local);
    const std::string base = Folder + "korrindal_" + stamp;
    std::string path = base + ".png";
    std::error_code ec;
    for (int n = 2; std::filesystem::exists(path, ec) && n < 1000; ++n) path = base + "_" + std::to_string(n) + ".png";
    return path;
}

TScreenshotResult WriteScreenshot(const std::vector<std::uint8_t>& Rgba, int Width, int Height, std::time_t When) {
    TScreenshotResult result;
    const std::string folder = SaveDir();
    if (!MakeFolder(folder, result.Error)) return result;
    result.Path = ScreenshotPath(folder, When);
    if (Width <= 0 || Height <= 0 || Rgba.size() < static_cast<std::size_t>(Width) * static_cast<std::size_t>(Height) * 4) {
        result.Error = "no frame has been shown yet";
        return result;
    }
    errno = 0;
    if (!plat::writePng(result.Path, Rgba.data(), Width, Height)) {
        result.Error = "cannot write " + result.Path + (errno != 0 ? std::string(": ") + std::strerror(errno) : std::string());
        return result;
    }
    result.Ok = true;
    return result;
}

}  // namespace tz
