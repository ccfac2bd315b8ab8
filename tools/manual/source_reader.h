#pragma once
// Reads the manual's source text (assets/manual/manual.txt). The format:
//
//   % a comment line (ignored anywhere)
//   = 日本語の題 | English title [| picture] the document's title (once, first), with the
//                                           name of a picture shown with it
//   + 日本語の一行 | English line           the line under the title (optional)
//   == id | 日本語の見出し | English heading  a section
//   [gallery name name ...]                 a row of pictures across the page
//   ja:                                     a Japanese column; it must be followed by
//   en:                                     its English column: the two stand side by side
//
// Inside a column: blank lines separate blocks; "### text" is a heading, "- text" a list
// item, "| a | b |" a table row (the first row is the header), "> text" a note; any other
// line continues a paragraph. Inline: **strong**, `code` and {Key} for a key cap.

#include <string>

#include "document.h"

namespace manual {

struct ReadResult {
    bool ok = false;
    Document document;
    std::string error;  // "line N: what is wrong"
};

ReadResult readDocument(const std::string& text);

}  // namespace manual
