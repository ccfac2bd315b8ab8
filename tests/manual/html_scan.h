#pragma once
// A strict little reader of the manual's HTML for the tests: every element with its
// attributes and language, every run of text with the language it is in, and every fault in
// the nesting (a tag closed that was not open, or one left open).

#include <map>
#include <string>
#include <vector>

namespace manualtest {

struct Element {
    std::string tag;
    std::map<std::string, std::string> attributes;
    std::string lang;  // the language in force: its own lang attribute or its parent's
};

struct TextRun {
    std::string text;  // character references &amp; &lt; &gt; &quot; decoded
    std::string lang;
};

struct Scan {
    std::vector<Element> elements;
    std::vector<TextRun> texts;
    std::vector<std::string> errors;
};

Scan scanHtml(const std::string& html);

// All text in one language, runs joined by spaces.
std::string textIn(const Scan& scan, const std::string& lang);

// Standard base64; false on a character outside the alphabet or a bad length.
bool decodeBase64(const std::string& text, std::vector<unsigned char>& out);

}  // namespace manualtest
