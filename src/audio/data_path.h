#pragma once
// How the audio unit finds the game's files: the game hands in its data-file rule (full
// path of Name with extension Ext, or "" when there is none), so the unit depends on the
// rule and not on where it lives.

#include <string>

namespace audio {

using DataPathFn = std::string (*)(const std::string& Name, const std::string& Ext);

}  // namespace audio
