#pragma once
// Replacing a file whole, the one way every part of the program and its tools write a file
// that must never be seen half written (settings, replays, generated data): the new contents
// go to a temporary file beside it (path + ".tmp"), which is flushed to the disk and renamed
// over the old one, so a reader sees either the old file or the new one, never a part.

#include <string>
#include <string_view>

namespace tz {

// Writes bytes as path. On failure path is left as it was, the temporary file is removed,
// and the text of the failure is returned; on success the result is empty. A file that is
// replaced keeps its permission bits.
std::string WriteFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace tz
