#pragma once
// The manual as read from its source: sections of rows, each row either a picture gallery
// across the page or a Japanese and an English column side by side.

#include <string>
#include <vector>

namespace manual {

enum class BlockKind { Paragraph, List, Table, Heading, Note };

// One block of a column. Paragraphs, headings and notes keep their text in lines (joined
// with spaces when written); a list has one line per item; a table one row per line, the
// first row its header.
struct Block {
    BlockKind kind = BlockKind::Paragraph;
    std::vector<std::string> lines;
    std::vector<std::vector<std::string>> rows;
};

struct Column {
    std::vector<Block> blocks;
};

struct Row {
    enum class Kind { Columns, Gallery } kind = Kind::Columns;
    Column ja, en;                      // Columns
    std::vector<std::string> pictures;  // Gallery: picture names, in order
};

struct Section {
    std::string id;
    std::string titleJa, titleEn;
    std::vector<Row> rows;
};

struct Document {
    std::string titleJa, titleEn;
    std::string leadJa, leadEn;         // one line under the title
    std::string banner;                 // picture name shown with the title, or empty
    std::vector<Section> sections;
};

}  // namespace manual
