#include "html_scan.h"

#include <cctype>
#include <set>

namespace manualtest {

namespace {

const std::set<std::string> kVoid = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "source", "track", "wbr"};

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string decodeEntities(const std::string& s) {
    static const std::pair<const char*, const char*> kRefs[] = {{"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}};
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
        bool done = false;
        for (const auto& [ref, ch] : kRefs) {
            const std::string r = ref;
            if (s.compare(i, r.size(), r) == 0) {
                out += ch;
                i += r.size();
                done = true;
                break;
            }
        }
        if (!done) out += s[i++];
    }
    return out;
}

struct Open {
    std::string tag;
    std::string lang;
};

}  // namespace

Scan scanHtml(const std::string& html) {
    Scan scan;
    std::vector<Open> stack;
    const auto langNow = [&] { return stack.empty() ? std::string() : stack.back().lang; };
    std::size_t i = 0;
    while (i < html.size()) {
        if (html[i] != '<') {
            const std::size_t next = html.find('<', i);
            const std::string text = html.substr(i, next == std::string::npos ? std::string::npos : next - i);
            if (text.find('>') != std::string::npos) scan.errors.push_back("a stray > in text");
            bool blank = true;
            for (char c : text) blank = blank && std::isspace(static_cast<unsigned char>(c));
            if (!blank) scan.texts.push_back(TextRun{decodeEntities(text), langNow()});
            i = next == std::string::npos ? html.size() : next;
            continue;
        }
        if (html.compare(i, 4, "<!--") == 0) {
            const std::size_t end = html.find("-->", i);
            if (end == std::string::npos) {
                scan.errors.push_back("an unclosed comment");
                break;
            }
            i = end + 3;
            continue;
        }
        const std::size_t close = html.find('>', i);
        if (close == std::string::npos) {
            scan.errors.push_back("a tag without its >");
            break;
        }
        std::string inside = html.substr(i + 1, close - i - 1);
        i = close + 1;
        if (!inside.empty() && inside[0] == '!') continue;  // the doctype
        if (!inside.empty() && inside[0] == '/') {
            const std::string tag = lower(inside.substr(1));
            if (stack.empty() || stack.back().tag != tag) {
                scan.errors.push_back("</" + tag + "> closes " + (stack.empty() ? std::string("nothing") : "<" + stack.back().tag + ">"));
                continue;
            }
            stack.pop_back();
            continue;
        }
        const bool selfClosing = !inside.empty() && inside.back() == '/';
        if (selfClosing) inside.pop_back();
        Element e;
        std::size_t p = 0;
        while (p < inside.size() && !std::isspace(static_cast<unsigned char>(inside[p]))) ++p;
        e.tag = lower(inside.substr(0, p));
        if (e.tag.empty()) {
            scan.errors.push_back("a tag without a name");
            continue;
        }
        while (p < inside.size()) {
            while (p < inside.size() && std::isspace(static_cast<unsigned char>(inside[p]))) ++p;
            if (p >= inside.size()) break;
            const std::size_t nameStart = p;
            while (p < inside.size() && inside[p] != '=' && !std::isspace(static_cast<unsigned char>(inside[p]))) ++p;
            const std::string name = lower(inside.substr(nameStart, p - nameStart));
            std::string value;
            if (p < inside.size() && inside[p] == '=') {
                ++p;
                if (p < inside.size() && (inside[p] == '"' || inside[p] == '\'')) {
                    const char quote = inside[p];
                    const std::size_t end = inside.find(quote, p + 1);
                    if (end == std::string::npos) {
                        scan.errors.push_back("an unclosed attribute value in <" + e.tag + ">");
                        break;
                    }
                    value = inside.substr(p + 1, end - p - 1);
                    p = end + 1;
                } else {
                    const std::size_t start = p;
                    while (p < inside.size() && !std::isspace(static_cast<unsigned char>(inside[p]))) ++p;
                    value = inside.substr(start, p - start);
                }
            }
            if (e.attributes.contains(name)) scan.errors.push_back("<" + e.tag + "> repeats the attribute " + name);
            e.attributes[name] = decodeEntities(value);
        }
        const auto lang = e.attributes.find("lang");
        e.lang = lang != e.attributes.end() ? lang->second : langNow();
        scan.elements.push_back(e);
        if (e.tag == "style" || e.tag == "script") {  // raw text up to the end tag
            const std::size_t end = html.find("</" + e.tag + ">", i);
            if (end == std::string::npos) {
                scan.errors.push_back("<" + e.tag + "> is never closed");
                break;
            }
            i = end + e.tag.size() + 3;
            continue;
        }
        if (!selfClosing && !kVoid.contains(e.tag)) stack.push_back(Open{e.tag, e.lang});
    }
    for (const auto& o : stack) scan.errors.push_back("<" + o.tag + "> is never closed");
    return scan;
}

std::string textIn(const Scan& scan, const std::string& lang) {
    std::string out;
    for (const auto& t : scan.texts)
        if (t.lang == lang) out += t.text + " ";
    return out;
}

bool decodeBase64(const std::string& text, std::vector<unsigned char>& out) {
    out.clear();
    if (text.size() % 4 != 0) return false;
    const auto value = [](char c) -> int {
        if (c >= 'A' && c <= 'Z') return c - 'A';
        if (c >= 'a' && c <= 'z') return c - 'a' + 26;
        if (c >= '0' && c <= '9') return c - '0' + 52;
        if (c == '+') return 62;
        if (c == '/') return 63;
        return -1;
    };
    for (std::size_t i = 0; i < text.size(); i += 4) {
        int v[4];
        int pad = 0;
        for (int k = 0; k < 4; ++k) {
            const char c = text[i + static_cast<std::size_t>(k)];
            if (c == '=' && i + 4 == text.size() && k >= 2) {
                v[k] = 0;
                ++pad;
                continue;
            }
            if (pad > 0) return false;  // data after padding
            v[k] = value(c);
            if (v[k] < 0) return false;
        }
        const unsigned n = static_cast<unsigned>((v[0] << 18) | (v[1] << 12) | (v[2] << 6) | v[3]);
        out.push_back(static_cast<unsigned char>(n >> 16));
        if (pad < 2) out.push_back(static_cast<unsigned char>(n >> 8));
        if (pad < 1) out.push_back(static_cast<unsigned char>(n));
    }
    return true;
}

}  // namespace manualtest
