#include "source_reader.h"

#include <set>
#include <stdexcept>

#include "text_util.h"

namespace manual {

namespace {

struct ParseError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

bool validId(const std::string& id) {
    if (id.empty()) return false;
    for (char c : id)
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-')) return false;
    return true;
}

// Splits "a | b | c" into exactly n non-empty parts.
std::vector<std::string> parts(const std::string& s, std::size_t n, const char* what) {
    auto p = splitTrimmed(s, '|');
    if (p.size() != n) throw ParseError(std::string(what) + " needs " + std::to_string(n) + " parts separated by |");
    for (const auto& x : p)
        if (x.empty()) throw ParseError(std::string(what) + " has an empty part");
    return p;
}

std::vector<std::string> tableCells(const std::string& line) {
    std::string_view s = line;
    s.remove_prefix(1);
    if (!s.empty() && s.back() == '|') s.remove_suffix(1);
    return splitTrimmed(s, '|');
}

class Reader {
public:
    Document run(const std::string& text) {
        const auto lines = splitLines(text);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            lineNo_ = i + 1;
            try {
                line(lines[i]);
            } catch (const ParseError& e) {
                throw std::runtime_error("line " + std::to_string(lineNo_) + ": " + e.what());
            }
        }
        lineNo_ = lines.size();
        try {
            closeColumn();
            if (doc_.titleJa.empty()) throw ParseError("the document has no title line (= 日本語 | English)");
            if (doc_.sections.empty()) throw ParseError("the document has no section");
            for (const auto& s : doc_.sections)
                if (s.rows.empty()) throw ParseError("section \"" + s.id + "\" is empty");
        } catch (const ParseError& e) {
            throw std::runtime_error("at the end: " + std::string(e.what()));
        }
        return doc_;
    }

private:
    void line(const std::string& raw) {
        const std::string t = trim(raw);
        if (startsWith(t, "%")) return;
        if (startsWith(t, "== ")) return section(t.substr(3));
        if (startsWith(t, "= ")) return title(t.substr(2));
        if (startsWith(t, "+ ") && column_ == nullptr && doc_.sections.empty()) return lead(t.substr(2));
        if (startsWith(t, "[gallery") && t.back() == ']') return gallery(t.substr(8, t.size() - 9));
        if (t == "ja:") return startJa();
        if (t == "en:") return startEn();
        if (t.empty()) {
            block_ = nullptr;
            return;
        }
        if (column_ == nullptr) throw ParseError("text outside a ja: or en: column");
        text(raw, t);
    }

    void title(const std::string& rest) {
        if (!doc_.titleJa.empty()) throw ParseError("a second title line");
        if (!doc_.sections.empty()) throw ParseError("the title must come before the sections");
        const bool withPicture = splitTrimmed(rest, '|').size() == 3;
        const auto p = parts(rest, withPicture ? 3 : 2, "the title");
        doc_.titleJa = p[0];
        doc_.titleEn = p[1];
        if (withPicture) doc_.banner = p[2];
    }

    void lead(const std::string& rest) {
        const auto p = parts(rest, 2, "the lead line");
        doc_.leadJa = p[0];
        doc_.leadEn = p[1];
    }

    void section(const std::string& rest) {
        closeColumn();
        const auto p = parts(rest, 3, "a section line");
        if (!validId(p[0])) throw ParseError("section id \"" + p[0] + "\" must be lower-case letters, digits and -");
        if (!ids_.insert(p[0]).second) throw ParseError("section id \"" + p[0] + "\" is used twice");
        doc_.sections.push_back(Section{p[0], p[1], p[2], {}});
    }

    Section& current() {
        if (doc_.sections.empty()) throw ParseError("content before the first section (== id | 見出し | Heading)");
        return doc_.sections.back();
    }

    void gallery(const std::string& names) {
        closeColumn();
        Row row;
        row.kind = Row::Kind::Gallery;
        for (const auto& n : splitTrimmed(names, ' '))
            if (!n.empty()) row.pictures.push_back(n);
        if (row.pictures.empty()) throw ParseError("a gallery without pictures");
        current().rows.push_back(std::move(row));
    }

    void startJa() {
        closeColumn();
        current().rows.push_back(Row{});
        column_ = &current().rows.back().ja;
        inJa_ = true;
    }

    void startEn() {
        if (!inJa_) throw ParseError("en: without the ja: column before it");
        if (column_->blocks.empty()) throw ParseError("the ja: column before en: is empty");
        column_ = &current().rows.back().en;
        inJa_ = false;
        block_ = nullptr;
    }

    void closeColumn() {
        if (inJa_) throw ParseError("the ja: column has no en: column after it");
        if (column_ != nullptr && column_->blocks.empty()) throw ParseError("an empty en: column");
        column_ = nullptr;
        block_ = nullptr;
    }

    Block& open(BlockKind kind) {
        column_->blocks.push_back(Block{kind, {}, {}});
        block_ = &column_->blocks.back();
        return *block_;
    }

    void text(const std::string& raw, const std::string& t) {
        if (startsWith(t, "### ")) {
            open(BlockKind::Heading).lines.push_back(trim(t.substr(4)));
            block_ = nullptr;
            return;
        }
        if (startsWith(t, "- ")) {
            if (block_ == nullptr || block_->kind != BlockKind::List) open(BlockKind::List);
            block_->lines.push_back(trim(t.substr(2)));
            return;
        }
        if (startsWith(t, "|")) {
            if (block_ == nullptr || block_->kind != BlockKind::Table) open(BlockKind::Table);
            auto cells = tableCells(t);
            if (!block_->rows.empty() && cells.size() != block_->rows.front().size())
                throw ParseError("a table row with " + std::to_string(cells.size()) + " cells where the header has " +
                                 std::to_string(block_->rows.front().size()));
            block_->rows.push_back(std::move(cells));
            return;
        }
        if (startsWith(t, "> ") || t == ">") {
            if (block_ == nullptr || block_->kind != BlockKind::Note) open(BlockKind::Note);
            block_->lines.push_back(trim(t.substr(1)));
            return;
        }
        // An indented line continues the list item above it.
        if (block_ != nullptr && block_->kind == BlockKind::List && startsWith(raw, "  ")) {
            block_->lines.back() += " " + t;
            return;
        }
        if (block_ == nullptr || block_->kind != BlockKind::Paragraph) open(BlockKind::Paragraph);
        block_->lines.push_back(t);
    }

    Document doc_;
    std::set<std::string> ids_;
    Column* column_ = nullptr;
    Block* block_ = nullptr;
    bool inJa_ = false;
    std::size_t lineNo_ = 0;
};

}  // namespace

ReadResult readDocument(const std::string& text) {
    ReadResult r;
    try {
        r.document = Reader().run(text);
        r.ok = true;
    } catch (const std::exception& e) {
        r.error = e.what();
    }
    return r;
}

}  // namespace manual
