#include "audio/report_once.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace audio {

bool ReportOnce(const std::string& message) {
    static std::vector<std::string> written;
    if (std::find(written.begin(), written.end(), message) != written.end()) return false;
    written.push_back(message);
    const std::string line = "korrindal: " + message + "\n";
    std::fputs(line.c_str(), stderr);
    return true;
}

}  // namespace audio
