// Reading a score: statements from lines, then every body into a tree of commands.
#include <cctype>
#include <cmath>
#include <optional>

#include "mml.h"
#include "mml_ast.h"

namespace mml {

namespace {

class Lexer {
 public:
  Lexer(const std::vector<Fragment>& fragments, const std::string& origin)
      : fragments_(fragments), origin_(origin) {}

  // The next character, '\0' at the end; the end of a fragment reads as a space.
  char peek() const {
    if (fi_ >= fragments_.size()) return '\0';
    if (off_ >= fragments_[fi_].text.size()) return ' ';
    return fragments_[fi_].text[off_];
  }
  char get() {
    const char c = peek();
    if (fi_ < fragments_.size()) {
      if (off_ >= fragments_[fi_].text.size()) {
        ++fi_;
        off_ = 0;
      } else {
        ++off_;
      }
    }
    return c;
  }
  Pos pos() const {
    if (fi_ >= fragments_.size()) return last_pos();
    return {fragments_[fi_].pos.line, fragments_[fi_].pos.column + static_cast<int>(off_)};
  }
  void skip_space() {
    while (peek() != '\0' && std::isspace(static_cast<unsigned char>(peek()))) get();
  }
  [[noreturn]] void fail(Pos p, const std::string& message) const {
    throw MmlError(origin_, p.line, p.column, message);
  }

  std::optional<int> integer() {
    const Pos p = pos();
    bool negative = false;
    if (peek() == '+' || peek() == '-') negative = get() == '-';
    if (!std::isdigit(static_cast<unsigned char>(peek()))) {
      if (negative) fail(p, "a number must follow '-'");
      return std::nullopt;
    }
    long v = 0;
    while (std::isdigit(static_cast<unsigned char>(peek()))) {
      v = v * 10 + (get() - '0');
      if (v > 1000000) fail(p, "number too large");
    }
    return static_cast<int>(negative ? -v : v);
  }
  int required(const char* what, int lo, int hi) {
    const Pos p = pos();
    const auto v = integer();
    if (!v) fail(p, std::string("expected ") + what);
    if (*v < lo || *v > hi)
      fail(p, std::string(what) + " " + std::to_string(*v) + " out of " + std::to_string(lo) + ".." +
                  std::to_string(hi));
    return *v;
  }
  double decimal(const char* what) {
    const Pos p = pos();
    std::string digits;
    while (std::isdigit(static_cast<unsigned char>(peek())) || peek() == '.') digits += get();
    if (digits.empty() || digits.front() == '.' || digits.back() == '.')
      fail(p, std::string("expected ") + what);
    return std::stod(digits);
  }

  // [N | %TICKS] [.]...
  LengthSpec length() {
    LengthSpec l;
    const Pos p = pos();
    if (peek() == '%') {
      get();
      l.ticks = required("tick count", 1, 1 << 20);
    } else if (const auto n = integer()) {
      if (*n < 1 || *n > kWholeTicks || kWholeTicks % *n != 0)
        fail(p, "note value " + std::to_string(*n) + " does not divide a whole note into whole ticks");
      l.ticks = kWholeTicks / *n;
    }
    while (peek() == '.') {
      get();
      ++l.dots;
    }
    return l;
  }

 private:
  Pos last_pos() const {
    if (fragments_.empty()) return {};
    const Fragment& f = fragments_.back();
    return {f.pos.line, f.pos.column + static_cast<int>(f.text.size())};
  }

  const std::vector<Fragment>& fragments_;
  const std::string& origin_;
  std::size_t fi_ = 0;
  std::size_t off_ = 0;
};

enum class Context { Top, Loop, Chord, Tuplet };

int letter_semitone(char c) {
  static constexpr int kFromA[7] = {9, 11, 0, 2, 4, 5, 7};
  return kFromA[c - 'a'];
}

class BodyParser {
 public:
  BodyParser(Lexer& lexer, const int (&keys)[26]) : lex_(lexer), keys_(keys) {}

  Body sequence(Context context, char close, int* break_at = nullptr) {
    Body body;
    for (;;) {
      lex_.skip_space();
      const Pos p = lex_.pos();
      const char c = lex_.peek();
      if (c == '\0') {
        if (close) lex_.fail(p, std::string("missing '") + close + "'");
        return body;
      }
      if (c == close) {
        lex_.get();
        return body;
      }
      if (c == ']' || c == '}') lex_.fail(p, std::string("unexpected '") + c + "'");
      if (c == ':') {
        lex_.get();
        if (context != Context::Loop) lex_.fail(p, "':' outside a loop");
        if (*break_at >= 0) lex_.fail(p, "a second ':' in one loop");
        *break_at = static_cast<int>(body.size());
        continue;
      }
      Node n = command(context);
      n.pos = p;
      body.push_back(std::move(n));
    }
  }

 private:
  void only_at_top(Context context, Pos p, char c) {
    if (context == Context::Chord || context == Context::Tuplet)
      lex_.fail(p, std::string("'") + c + "' is not allowed inside a chord or tuplet");
  }

  Node command(Context context) {
    const Pos p = lex_.pos();
    const char c = lex_.get();
    Node n;
    const bool in_group = context == Context::Chord || context == Context::Tuplet;
    if (c >= 'a' && c <= 'g') {
      NoteNode note;
      note.semitone = letter_semitone(c);
      while (lex_.peek() == '+' || lex_.peek() == '-') note.semitone += lex_.get() == '+' ? 1 : -1;
      note.length = group_free_length(in_group);
      n.value = note;
    } else if (c == 'r') {
      if (context == Context::Chord) lex_.fail(p, "a rest inside a chord");
      n.value = RestNode{group_free_length(in_group)};
    } else if (c == 'n') {
      NoteNode note;
      note.key = lex_.required("key number", 0, 127);
      if (lex_.peek() == ',') {
        lex_.get();
        note.length = lex_.length();
        if (note.length.ticks == 0) lex_.fail(lex_.pos(), "expected a length after ','");
        if (in_group) lex_.fail(p, "notes inside a chord or tuplet take no length");
      }
      n.value = note;
    } else if (c >= 'A' && c <= 'Z') {
      if (keys_[c - 'A'] < 0) lex_.fail(p, std::string("key letter '") + c + "' is not defined");
      NoteNode note;
      note.key = keys_[c - 'A'];
      note.length = group_free_length(in_group);
      n.value = note;
    } else if (c == '^') {
      only_at_top(context, p, c);
      n.value = TieNode{lex_.length()};
    } else if (c == '&') {
      only_at_top(context, p, c);
      n.value = SlurNode{};
    } else if (c == 'o') {
      n.value = OctaveNode{lex_.required("octave", 0, 9), false};
    } else if (c == '>' || c == '<') {
      n.value = OctaveNode{c == '>' ? 1 : -1, true};
    } else if (c == 'l') {
      only_at_top(context, p, c);
      const LengthSpec l = lex_.length();
      if (l.ticks == 0) lex_.fail(p, "'l' needs a length");
      n.value = DefaultLengthNode{l};
    } else if (c == 'v') {
      only_at_top(context, p, c);
      const bool relative = lex_.peek() == '+' || lex_.peek() == '-';
      n.value = SetNode{'v', relative ? lex_.required("velocity step", -127, 127) : lex_.required("velocity", 0, 127),
                        relative};
    } else if (c == 'q') {
      only_at_top(context, p, c);
      n.value = SetNode{'q', lex_.required("gate", 1, 8), false};
    } else if (c == '@') {
      only_at_top(context, p, c);
      n.value = SetNode{'@', lex_.required("program", 0, 127), false};
    } else if (c == 'p') {
      only_at_top(context, p, c);
      n.value = SetNode{'p', lex_.required("pan", 0, 127), false};
    } else if (c == 'k') {
      only_at_top(context, p, c);
      n.value = SetNode{'k', lex_.required("transpose", -48, 48), false};
    } else if (c == '_') {
      only_at_top(context, p, c);
      n.value = SetNode{'_', lex_.required("key shift", -48, 48), false};
    } else if (c == 't') {
      only_at_top(context, p, c);
      const double bpm = lex_.decimal("tempo");
      if (bpm < 20.0 || bpm > 400.0) lex_.fail(p, "tempo out of 20..400");
      n.value = TempoNode{bpm};
    } else if (c == 'y') {
      only_at_top(context, p, c);
      ControlNode cc;
      cc.controller = lex_.required("controller", 0, 127);
      if (lex_.get() != ',') lex_.fail(lex_.pos(), "expected ',' after the controller number");
      cc.value = lex_.required("controller value", 0, 127);
      n.value = cc;
    } else if (c == '|') {
      only_at_top(context, p, c);
      n.value = BarCheckNode{};
    } else if (c == '[') {
      only_at_top(context, p, c);
      LoopNode loop;
      loop.body = sequence(Context::Loop, ']', &loop.break_at);
      const Pos cp = lex_.pos();
      if (const auto count = lex_.integer()) {
        if (*count < 1 || *count > 999) lex_.fail(cp, "loop count out of 1..999");
        loop.count = *count;
      }
      n.value = std::move(loop);
    } else if (c == '\'') {
      if (context == Context::Chord) lex_.fail(p, "a chord inside a chord");
      ChordNode chord;
      chord.items = sequence(Context::Chord, '\'');
      check_group(chord.items, p, "chord");
      chord.length = group_free_length(context == Context::Tuplet);
      n.value = std::move(chord);
    } else if (c == '{') {
      only_at_top(context, p, c);
      TupletNode tuplet;
      tuplet.items = sequence(Context::Tuplet, '}');
      check_group(tuplet.items, p, "tuplet");
      tuplet.length = lex_.length();
      n.value = std::move(tuplet);
    } else if (c == '$') {
      only_at_top(context, p, c);
      std::string name;
      while (std::isalnum(static_cast<unsigned char>(lex_.peek())) || lex_.peek() == '_') name += lex_.get();
      if (name.empty()) lex_.fail(p, "expected a macro name after '$'");
      n.value = MacroNode{name};
    } else {
      lex_.fail(p, std::string("unexpected '") + c + "'");
    }
    return n;
  }

  LengthSpec group_free_length(bool in_group) {
    const Pos p = lex_.pos();
    const LengthSpec l = lex_.length();
    if (in_group && (l.ticks != 0 || l.dots != 0)) lex_.fail(p, "notes inside a chord or tuplet take no length");
    return l;
  }

  void check_group(const Body& items, Pos p, const char* what) {
    int sounding = 0;
    for (const Node& n : items)
      if (!std::holds_alternative<OctaveNode>(n.value)) ++sounding;
    if (sounding == 0) lex_.fail(p, std::string("empty ") + what);
  }

  Lexer& lex_;
  const int (&keys_)[26];
};

struct Statement {
  Pos pos;
  std::vector<Fragment> fragments;  // the first holds the rest of the first line
  std::string_view head;            // the first word
};

std::string_view trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

std::vector<Statement> statements(std::string_view text, const std::string& origin) {
  std::vector<Statement> out;
  int line = 0;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    const std::size_t eol = std::min(text.find('\n', pos), text.size());
    std::string_view raw = text.substr(pos, eol - pos);
    ++line;
    if (const std::size_t hash = raw.find('#'); hash != std::string_view::npos) raw = raw.substr(0, hash);
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    if (!trim(raw).empty()) {
      if (std::isspace(static_cast<unsigned char>(raw.front()))) {
        if (out.empty()) throw MmlError(origin, line, 1, "a continuation line with nothing to continue");
        out.back().fragments.push_back({raw, {line, 1}});
      } else {
        std::size_t w = 0;
        while (w < raw.size() && !std::isspace(static_cast<unsigned char>(raw[w]))) ++w;
        Statement s;
        s.pos = {line, 1};
        s.head = raw.substr(0, w);
        s.fragments.push_back({raw.substr(w), {line, static_cast<int>(w) + 1}});
        out.push_back(std::move(s));
      }
    }
    if (eol == text.size()) break;
    pos = eol + 1;
  }
  return out;
}

// The words of a header statement (which cannot continue on the next lines).
std::vector<std::string> header_words(const Statement& s, const std::string& origin) {
  if (s.fragments.size() > 1)
    throw MmlError(origin, s.fragments[1].pos.line, 1, "'" + std::string(s.head) + "' takes one line");
  std::vector<std::string> words;
  std::string_view rest = s.fragments[0].text;
  for (;;) {
    rest = trim(rest);
    if (rest.empty()) break;
    std::size_t w = 0;
    while (w < rest.size() && !std::isspace(static_cast<unsigned char>(rest[w]))) ++w;
    words.emplace_back(rest.substr(0, w));
    rest.remove_prefix(w);
  }
  return words;
}

int parse_int(const std::string& w, const std::string& origin, Pos p, const char* what, int lo, int hi) {
  std::size_t used = 0;
  int v = 0;
  try {
    v = std::stoi(w, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used != w.size() || v < lo || v > hi)
    throw MmlError(origin, p.line, p.column,
                   std::string("bad ") + what + " '" + w + "' (" + std::to_string(lo) + ".." + std::to_string(hi) + ")");
  return v;
}

bool is_name(std::string_view s) {
  if (s.empty() || !(std::isalpha(static_cast<unsigned char>(s[0])) || s[0] == '_')) return false;
  for (char c : s)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
  return true;
}

}  // namespace

MmlError::MmlError(const std::string& origin, int line, int column, const std::string& message)
    : std::runtime_error(origin + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " + message),
      origin_(origin),
      message_(message),
      line_(line),
      column_(column) {}

ScoreAst parse(std::string_view text, const std::string& origin) {
  ScoreAst ast;
  for (int& k : ast.keys) k = -1;
  for (const Statement& s : statements(text, origin)) {
    const std::string head(s.head);
    auto fail = [&](const std::string& message) -> void {
      throw MmlError(origin, s.pos.line, s.pos.column, message);
    };
    if (head == "title") {
      header_words(s, origin);
      ast.title = std::string(trim(s.fragments[0].text));
    } else if (head == "tempo") {
      const auto w = header_words(s, origin);
      if (w.size() != 1) fail("tempo takes one number");
      ast.tempo = parse_int(w[0], origin, s.pos, "tempo", 20, 400);
    } else if (head == "meter") {
      const auto w = header_words(s, origin);
      const std::size_t slash = w.size() == 1 ? w[0].find('/') : std::string::npos;
      if (slash == std::string::npos) fail("meter takes N/D, e.g. 4/4");
      ast.meter_numerator = parse_int(w[0].substr(0, slash), origin, s.pos, "meter", 1, 32);
      ast.meter_denominator = parse_int(w[0].substr(slash + 1), origin, s.pos, "meter", 1, 32);
      const int d = ast.meter_denominator;
      if ((d & (d - 1)) != 0 || d > 16) fail("the meter's denominator must be 1, 2, 4, 8 or 16");
    } else if (head == "track") {
      const auto w = header_words(s, origin);
      if (w.size() != 2 || !is_name(w[0])) fail("track takes a name and a channel 1..16");
      for (const TrackDecl& t : ast.tracks)
        if (t.name == w[0]) fail("track '" + w[0] + "' declared twice");
      if (w[0] == "title" || w[0] == "tempo" || w[0] == "meter" || w[0] == "track" || w[0] == "key")
        fail("'" + w[0] + "' cannot name a track");
      ast.tracks.push_back({w[0], parse_int(w[1], origin, s.pos, "channel", 1, 16) - 1, s.pos, {}});
    } else if (head == "key") {
      const auto w = header_words(s, origin);
      if (w.size() != 2 || w[0].size() != 1 || w[0][0] < 'A' || w[0][0] > 'Z')
        fail("key takes an upper-case letter and a key number");
      ast.keys[w[0][0] - 'A'] = parse_int(w[1], origin, s.pos, "key number", 0, 127);
    } else if (head.size() > 1 && head[0] == '$') {
      const std::string name = head.substr(1);
      if (!is_name(name)) fail("bad macro name '" + name + "'");
      if (ast.macros.count(name)) fail("macro $" + name + " defined twice");
      std::vector<Fragment> fragments = s.fragments;
      std::string_view first = fragments[0].text;
      const std::size_t eq = first.find_first_not_of(" \t");
      if (eq == std::string_view::npos || first[eq] != '=') fail("expected '=' after $" + name);
      fragments[0].text = first.substr(eq + 1);
      fragments[0].pos.column += static_cast<int>(eq + 1);
      Lexer lexer(fragments, origin);
      BodyParser parser(lexer, ast.keys);
      ast.macros[name] = parser.sequence(Context::Top, '\0');
      ast.macro_pos[name] = s.pos;
    } else {
      TrackDecl* track = nullptr;
      for (TrackDecl& t : ast.tracks)
        if (t.name == head) track = &t;
      if (!track) fail("unknown statement or undeclared track '" + head + "'");
      Lexer lexer(s.fragments, origin);
      BodyParser parser(lexer, ast.keys);
      Body body = parser.sequence(Context::Top, '\0');
      for (Node& n : body) track->body.push_back(std::move(n));
    }
  }
  return ast;
}

}  // namespace mml
