#pragma once
// file:// URLs for handing files to the desktop. No SDL.

#include <string>

namespace plat {

// The file:// URL of an absolute path: every byte but unreserved characters and '/' is
// percent-encoded (spaces, '#', '?', '%' and UTF-8 bytes included).
std::string fileUrl(const std::string& absolutePath);

}  // namespace plat
