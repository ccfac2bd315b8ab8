#pragma once
// Text set with FreeType and turned into a Shape (a signed distance field sampled from the
// rendered glyph coverage), so captions get the same bevel, fill and rim as the craft.

#include <memory>
#include <string>

#include "shape.h"

namespace art {

enum class Align : std::uint8_t { Left, Centre, Right };

class Font {
public:
    // Opens the first file of a list of candidates; throws std::runtime_error if none opens.
    explicit Font(std::initializer_list<const char*> candidates);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // The text at pixel size px (the em height), its baseline at y = 0, aligned on x = 0.
    // tracking adds space between letters (pixels). monoAdvance > 0 gives every glyph that
    // advance, centred in its cell (digits that do not jitter).
    Shape text(const std::string& s, float px, Align align = Align::Centre, float tracking = 0, float monoAdvance = 0) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The fonts of the game: a technical sans (bold) and a bold sans for small digits.
const Font& displayFont();
const Font& plainFont();

}  // namespace art
