#include "html_writer.h"

#include <stdexcept>

namespace manual {

namespace {

// Both languages of a short text, each in its own span.
std::string bilingual(const std::string& ja, const std::string& en) {
    return "<span lang=\"ja\">" + inlineHtml(ja) + "</span> <span lang=\"en\">" + inlineHtml(en) + "</span>";
}

// Replaces a marked span (open ... close) in already escaped text; unclosed markers stay.
std::string markUp(const std::string& s, const std::string& open, const std::string& close, const std::string& tagOpen,
                   const std::string& tagClose) {
    std::string out;
    std::size_t pos = 0;
    while (true) {
        const std::size_t a = s.find(open, pos);
        if (a == std::string::npos) break;
        const std::size_t b = s.find(close, a + open.size());
        if (b == std::string::npos) break;
        if (b == a + open.size()) {  // nothing between the markers: leave them
            out.append(s, pos, b - pos);
            pos = b;
            continue;
        }
        out.append(s, pos, a - pos);
        out += tagOpen;
        out.append(s, a + open.size(), b - a - open.size());
        out += tagClose;
        pos = b + close.size();
    }
    out.append(s, pos, std::string::npos);
    return out;
}

void writeBlock(std::string& out, const Block& b) {
    switch (b.kind) {
        case BlockKind::Paragraph: out += "<p>" + inlineHtml(joinLines(b.lines)) + "</p>\n"; break;
        case BlockKind::Heading: out += "<h3>" + inlineHtml(joinLines(b.lines)) + "</h3>\n"; break;
        case BlockKind::Note: out += "<p class=\"note\">" + inlineHtml(joinLines(b.lines)) + "</p>\n"; break;
        case BlockKind::List:
            out += "<ul>\n";
            for (const auto& item : b.lines) out += "<li>" + inlineHtml(item) + "</li>\n";
            out += "</ul>\n";
            break;
        case BlockKind::Table:
            out += "<table>\n";
            for (std::size_t r = 0; r < b.rows.size(); ++r) {
                const char* cell = r == 0 ? "th" : "td";
                if (r == 0) out += "<thead>\n";
                if (r == 1) out += "<tbody>\n";
                out += "<tr>";
                for (const auto& c : b.rows[r]) out += std::string("<") + cell + ">" + inlineHtml(c) + "</" + cell + ">";
                out += "</tr>\n";
                if (r == 0) out += "</thead>\n";
            }
            if (b.rows.size() > 1) out += "</tbody>\n";
            out += "</table>\n";
            break;
    }
}

void writeColumn(std::string& out, const Column& c, const char* lang) {
    out += std::string("<div class=\"col\" lang=\"") + lang + "\">\n";
    for (const auto& b : c.blocks) writeBlock(out, b);
    out += "</div>\n";
}

const PagePicture& pictureNamed(const std::string& name, const std::map<std::string, PagePicture>& pictures) {
    const auto it = pictures.find(name);
    if (it == pictures.end()) throw std::runtime_error("the picture \"" + name + "\" is not listed");
    return it->second;
}

std::string imageTag(const PagePicture& p) {
    const int scale = p.spec.scale;
    return "<img src=\"" + p.uri + "\" width=\"" + std::to_string(p.width * scale) + "\" height=\"" +
           std::to_string(p.height * scale) + "\" alt=\"" + escapeHtml(p.spec.captionEn) + "\"" +
           (scale > 1 ? " class=\"pixels\"" : "") + ">";
}

void writeGallery(std::string& out, const Row& row, const std::map<std::string, PagePicture>& pictures) {
    out += "<div class=\"gallery\">\n";
    for (const auto& name : row.pictures) {
        const PagePicture& p = pictureNamed(name, pictures);
        out += "<figure>";
        out += "<div class=\"frame\">" + imageTag(p) + "</div>";
        out += "<figcaption>" + bilingual(p.spec.captionJa, p.spec.captionEn) + "</figcaption>";
        out += "</figure>\n";
    }
    out += "</div>\n";
}

void writeSection(std::string& out, const Section& s, const std::map<std::string, PagePicture>& pictures) {
    out += "<section id=\"" + s.id + "\">\n";
    out += "<h2>" + bilingual(s.titleJa, s.titleEn) + "</h2>\n";
    for (const auto& row : s.rows) {
        if (row.kind == Row::Kind::Gallery) {
            writeGallery(out, row, pictures);
            continue;
        }
        out += "<div class=\"pair\">\n";
        writeColumn(out, row.ja, "ja");
        writeColumn(out, row.en, "en");
        out += "</div>\n";
    }
    out += "</section>\n";
}

}  // namespace

std::string escapeHtml(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c; break;
        }
    }
    return out;
}

std::string inlineHtml(const std::string& text) {
    std::string s = escapeHtml(text);
    s = markUp(s, "**", "**", "<strong>", "</strong>");
    s = markUp(s, "`", "`", "<code>", "</code>");
    s = markUp(s, "{", "}", "<kbd>", "</kbd>");
    return s;
}

std::string joinLines(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) {
        if (l.empty()) continue;
        const bool wide = !out.empty() && static_cast<unsigned char>(out.back()) >= 0x80 &&
                          static_cast<unsigned char>(l.front()) >= 0x80;
        if (!out.empty() && !wide) out += ' ';
        out += l;
    }
    return out;
}

PageResult writePage(const Document& doc, const std::map<std::string, PagePicture>& pictures, const std::string& css) {
    PageResult r;
    std::string& out = r.html;
    try {
        out += "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n";
        out += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
        out += "<title>" + escapeHtml(doc.titleEn) + " / " + escapeHtml(doc.titleJa) + "</title>\n";
        out += "<style>\n" + css + "</style>\n</head>\n<body>\n";
        out += "<header class=\"masthead\">\n";
        if (!doc.banner.empty()) out += "<div class=\"banner\">" + imageTag(pictureNamed(doc.banner, pictures)) + "</div>\n";
        out += "<h1>" + bilingual(doc.titleJa, doc.titleEn) + "</h1>\n";
        if (!doc.leadJa.empty()) out += "<p class=\"lead\">" + bilingual(doc.leadJa, doc.leadEn) + "</p>\n";
        out += "</header>\n";
        out += "<nav class=\"toc\">\n<ol>\n";
        for (const auto& s : doc.sections)
            out += "<li><a href=\"#" + s.id + "\">" + bilingual(s.titleJa, s.titleEn) + "</a></li>\n";
        out += "</ol>\n</nav>\n<main>\n";
        for (const auto& s : doc.sections) writeSection(out, s, pictures);
        out += "</main>\n</body>\n</html>\n";
        r.ok = true;
    } catch (const std::exception& e) {
        r.html.clear();
        r.error = e.what();
    }
    return r;
}

}  // namespace manual
