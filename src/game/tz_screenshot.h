#pragma once
// Screenshots: the shown frame as a PNG file where the game writes its files, named by the
// date and time it was taken.

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace tz {

// Folder + "korrindal_YYYY-MM-DD_HH-MM-SS.png" in local time; "_2", "_3" ... before the
// extension while a file of that name exists.
std::string ScreenshotPath(const std::string& Folder, std::time_t When);

struct TScreenshotResult {
    bool Ok = false;
    std::string Path;    // the file written (or that could not be)
    std::string Error;   // when not Ok
};

// Writes Width x Height RGBA pixels as a PNG into SaveDir (made when missing).
TScreenshotResult WriteScreenshot(const std::vector<std::uint8_t>& Rgba, int Width, int Height, std::time_t When);

}  // namespace tz
