#pragma once
// Problems with the game's sound files go to stderr once per file and problem, however
// often the file is loaded again (every screen change reloads the waves, every stage start
// opens its piece).

#include <string>

namespace audio {

// Writes "korrindal: <message>" to stderr unless the same message was written before.
// Returns true when it was written. After 1024 distinct messages one last line says that
// further problems are not reported, and nothing more is written (or remembered). Main
// thread only.
bool ReportOnce(const std::string& message);

}  // namespace audio
