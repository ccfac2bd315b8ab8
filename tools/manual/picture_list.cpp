#include "picture_list.h"

#include <charconv>
#include <set>
#include <stdexcept>

#include "text_util.h"

namespace manual {

namespace {

int number(std::string_view s, const char* what) {
    int v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc{} || end != s.data() + s.size())
        throw std::runtime_error(std::string(what) + " \"" + std::string(s) + "\" is not a whole number");
    return v;
}

Layer layer(const std::string& word) {
    Layer l;
    const auto at = word.find('@');
    const std::string head = word.substr(0, at);
    const auto slash = head.find('/');
    l.pattern = number(std::string_view(head).substr(0, slash), "the pattern");
    if (l.pattern < 0 || l.pattern > 1023) throw std::runtime_error("pattern " + std::to_string(l.pattern) + " is outside 0..1023");
    if (slash != std::string::npos) {
        l.turn = number(std::string_view(head).substr(slash + 1), "the turn");
        if (l.turn != 0 && l.turn != 64 && l.turn != 128 && l.turn != 192)
            throw std::runtime_error("the turn " + std::to_string(l.turn) + " is not 0, 64, 128 or 192");
    }
    if (at == std::string::npos) return l;
    const std::string offset = word.substr(at + 1);
    const auto comma = offset.find(',');
    if (comma == std::string::npos) throw std::runtime_error("the offset \"" + offset + "\" needs the form dx,dy");
    l.dx = number(std::string_view(offset).substr(0, comma), "the offset");
    l.dy = number(std::string_view(offset).substr(comma + 1), "the offset");
    return l;
}

PictureSpec picture(const std::string& line) {
    const auto p = splitTrimmed(line, '|');
    if (p.size() != 5) throw std::runtime_error("a picture needs: name | 日本語 | English | scale | layers");
    for (const auto& x : p)
        if (x.empty()) throw std::runtime_error("a picture line has an empty part");
    PictureSpec s{p[0], p[1], p[2], number(p[3], "the scale"), {}, {}};
    if (s.scale < 1 || s.scale > 8) throw std::runtime_error("the scale must be 1..8");
    const auto words = splitTrimmed(p[4], ' ');
    if (words.front().ends_with(".bmp")) {
        if (words.size() != 2) throw std::runtime_error("a cut from a picture needs: file.bmp x,y,w,h");
        const auto r = splitTrimmed(words[1], ',');
        if (r.size() != 4) throw std::runtime_error("a cut from a picture needs the rectangle x,y,w,h");
        s.bitmap = words[0];
        s.cropX = number(r[0], "x");
        s.cropY = number(r[1], "y");
        s.cropW = number(r[2], "the width");
        s.cropH = number(r[3], "the height");
        if (s.cropX < 0 || s.cropY < 0 || s.cropW < 1 || s.cropH < 1) throw std::runtime_error("an empty or negative rectangle");
        return s;
    }
    for (const auto& w : words)
        if (!w.empty()) s.layers.push_back(layer(w));
    if (s.layers.empty()) throw std::runtime_error("a picture without layers");
    return s;
}

}  // namespace

PictureListResult readPictureList(const std::string& text) {
    PictureListResult r;
    std::set<std::string> names;
    const auto lines = splitLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string t = trim(lines[i]);
        if (t.empty() || startsWith(t, "%")) continue;
        try {
            PictureSpec s = picture(t);
            if (!names.insert(s.name).second) throw std::runtime_error("the name \"" + s.name + "\" is used twice");
            r.pictures.push_back(std::move(s));
        } catch (const std::exception& e) {
            r.error = "line " + std::to_string(i + 1) + ": " + e.what();
            return r;
        }
    }
    if (r.pictures.empty()) {
        r.error = "no picture is listed";
        return r;
    }
    r.ok = true;
    return r;
}

}  // namespace manual
