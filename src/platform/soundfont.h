#pragma once
// Where the General MIDI soundfont for the music comes from: the file named by the
// environment variable KORRINDAL_SOUNDFONT, then one beside the program, then the places
// Debian's soundfont packages install to. The FluidR3 GM set (fluid-soundfont-gm) is
// preferred, then MuseScore General (musescore-general-soundfont-small and its larger
// sibling), then the small TimGM6mb (timgm6mb-soundfont).

#include <string>
#include <vector>

namespace plat {

inline constexpr const char* kSoundFontVariable = "KORRINDAL_SOUNDFONT";

// The files to try, best first: envValue (when not empty), then the preferred names in
// programDir, then Debian's places.
std::vector<std::string> soundFontCandidates(const std::string& envValue, const std::string& programDir);

// The first candidate that is a regular file, for this process's environment and the
// executable's folder; empty when there is none.
std::string findSoundFont();

}  // namespace plat
