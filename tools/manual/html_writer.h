#pragma once
// Writes the manual as one HTML page: a masthead, a bilingual table of contents, and each
// section with its galleries and its Japanese and English columns side by side. Every
// Japanese part carries lang="ja" and every English part lang="en".

#include <map>
#include <string>

#include "document.h"
#include "picture_list.h"

namespace manual {

// A picture ready for the page: its listing and its data: URI and size in pixels.
struct PagePicture {
    PictureSpec spec;
    std::string uri;
    int width = 0, height = 0;
};

// Escapes &, <, > and " for text and attribute values.
std::string escapeHtml(const std::string& text);

// One line of source text as HTML: escaped, with **strong**, `code` and {Key} marked up.
// An opening marker without its closing one stays as it is.
std::string inlineHtml(const std::string& text);

// Joins the lines of a paragraph: with a space, except between two Japanese (non-ASCII)
// characters, where a space would show.
std::string joinLines(const std::vector<std::string>& lines);

struct PageResult {
    bool ok = false;
    std::string html;
    std::string error;
};

// Every picture a gallery names must be in pictures; css is put into the page as it is.
PageResult writePage(const Document& doc, const std::map<std::string, PagePicture>& pictures, const std::string& css);

}  // namespace manual
