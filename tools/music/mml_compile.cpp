// Playing the parsed score through: each track's commands in order, with its octave,
// lengths, velocity, gate and transposition, into timed notes and controller changes.
#include <algorithm>
#include <set>

#include "mml.h"
#include "mml_ast.h"

namespace mml {

namespace {

struct RawNote {
  std::uint32_t start = 0;
  std::uint32_t full = 0;  // ticks until the next command's time
  int key = 60;
  int velocity = 100;
  int gate = 8;
  bool legato = false;
};

class TrackCompiler {
 public:
  TrackCompiler(const ScoreAst& ast, const std::string& origin, Track& track, std::vector<TempoChange>& tempos)
      : ast_(ast), origin_(origin), track_(track), tempos_(tempos) {}

  void run(const Body& body) {
    for (const Node& n : body) step(n);
    for (const RawNote& r : notes_) {
      const std::uint32_t d = r.legato ? r.full : std::max<std::uint32_t>(1, r.full * r.gate / 8);
      track_.notes.push_back({r.start, d, static_cast<std::uint8_t>(r.key), static_cast<std::uint8_t>(r.velocity)});
    }
    track_.length = time_;
  }

 private:
  [[noreturn]] void fail(Pos p, const std::string& message) const {
    throw MmlError(origin_, p.line, p.column, message);
  }

  std::uint32_t resolve(const LengthSpec& l, Pos p) const {
    std::uint32_t base = l.ticks ? static_cast<std::uint32_t>(l.ticks) : default_ticks_;
    std::uint32_t total = base, add = base;
    const int dots = l.ticks ? l.dots : default_dots_ + l.dots;
    for (int i = 0; i < dots; ++i) {
      if (add % 2) fail(p, "the dotted length is not a whole number of ticks");
      add /= 2;
      total += add;
    }
    return total;
  }

  int key_of(const NoteNode& n, Pos p) const {
    const int key = n.key >= 0 ? n.key : (octave_ + 1) * 12 + n.semitone + transpose_ + shift_;
    if (key < 0 || key > 127) fail(p, "note out of the MIDI range (key " + std::to_string(key) + ")");
    return key;
  }

  // Starts notes at the current time; `&` before them joins a single repeated key.
  void sound(const std::vector<int>& keys, std::uint32_t length) {
    if (slur_) {
      slur_ = false;
      if (keys.size() == 1 && last_.size() == 1 && notes_[last_[0]].key == keys[0]) {
        notes_[last_[0]].full += length;
        time_ += length;
        last_rest_ = false;
        return;
      }
      for (std::size_t i : last_) notes_[i].legato = true;
    }
    last_.clear();
    for (int k : keys) {
      last_.push_back(notes_.size());
      notes_.push_back({time_, length, k, velocity_, gate_, false});
    }
    last_rest_ = false;
    time_ += length;
  }

  void rest(std::uint32_t length) {
    slur_ = false;
    last_.clear();
    last_rest_ = true;
    time_ += length;
  }

  void octave(const OctaveNode& o, Pos p) {
    const int v = o.relative ? octave_ + o.value : o.value;
    if (v < 0 || v > 9) fail(p, "octave out of 0..9");
    octave_ = v;
  }

  std::vector<int> chord_keys(const Body& items) {
    const int saved = octave_;
    std::vector<int> keys;
    for (const Node& n : items) {
      if (const auto* o = std::get_if<OctaveNode>(&n.value))
        octave(*o, n.pos);
      else
        keys.push_back(key_of(std::get<NoteNode>(n.value), n.pos));
    }
    octave_ = saved;  // octave changes inside a chord stay inside it
    return keys;
  }

  void tuplet(const TupletNode& t, Pos p) {
    const std::uint32_t total = resolve(t.length, p);
    const auto parts = static_cast<std::uint32_t>(std::count_if(
        t.items.begin(), t.items.end(), [](const Node& n) { return !std::holds_alternative<OctaveNode>(n.value); }));
    if (total % parts) fail(p, "the tuplet's length does not divide into " + std::to_string(parts) + " whole ticks");
    for (const Node& n : t.items) {
      if (const auto* o = std::get_if<OctaveNode>(&n.value))
        octave(*o, n.pos);
      else if (const auto* note = std::get_if<NoteNode>(&n.value))
        sound({key_of(*note, n.pos)}, total / parts);
      else if (const auto* c = std::get_if<ChordNode>(&n.value))
        sound(chord_keys(c->items), total / parts);
      else
        rest(total / parts);
    }
  }

  void bar_check(Pos p) const {
    const std::uint32_t bar = ast_.meter_numerator * kWholeTicks / ast_.meter_denominator;
    if (time_ % bar != 0) {
      const std::uint32_t beat = kWholeTicks / ast_.meter_denominator;
      fail(p, "bar check: track '" + track_.name + "' stands " + std::to_string(time_ % bar) + " ticks (" +
                  std::to_string((time_ % bar) / static_cast<double>(beat)).substr(0, 4) + " beats) into bar " +
                  std::to_string(time_ / bar + 1));
    }
  }

  void macro(const MacroNode& m, Pos p) {
    const auto it = ast_.macros.find(m.name);
    if (it == ast_.macros.end()) fail(p, "undefined macro $" + m.name);
    if (active_.count(m.name)) fail(p, "macro $" + m.name + " uses itself");
    active_.insert(m.name);
    try {
      for (const Node& n : it->second) step(n);
    } catch (const MmlError& e) {
      if (e.message().find(" (in $") != std::string::npos) throw;
      throw MmlError(e.origin(), e.line(), e.column(),
                     e.message() + " (in $" + m.name + ", used at line " + std::to_string(p.line) + ")");
    }
    active_.erase(m.name);
  }

  void step(const Node& n) {
    std::visit(
        [&](const auto& v) {
          using T = std::decay_t<decltype(v)>;
          if constexpr (std::is_same_v<T, NoteNode>) {
            sound({key_of(v, n.pos)}, resolve(v.length, n.pos));
          } else if constexpr (std::is_same_v<T, RestNode>) {
            rest(resolve(v.length, n.pos));
          } else if constexpr (std::is_same_v<T, TieNode>) {
            if (last_.empty() && !last_rest_) fail(n.pos, "'^' with no note or rest before it");
            const std::uint32_t l = resolve(v.length, n.pos);
            for (std::size_t i : last_) notes_[i].full += l;
            time_ += l;
          } else if constexpr (std::is_same_v<T, SlurNode>) {
            if (last_.empty()) fail(n.pos, "'&' with no note before it");
            slur_ = true;
          } else if constexpr (std::is_same_v<T, OctaveNode>) {
            octave(v, n.pos);
          } else if constexpr (std::is_same_v<T, DefaultLengthNode>) {
            default_ticks_ = v.length.ticks;
            default_dots_ = v.length.dots;
          } else if constexpr (std::is_same_v<T, SetNode>) {
            set(v, n.pos);
          } else if constexpr (std::is_same_v<T, TempoNode>) {
            tempos_.push_back({time_, v.bpm});
          } else if constexpr (std::is_same_v<T, ControlNode>) {
            track_.controls.push_back({time_, v.controller, static_cast<std::uint8_t>(v.value)});
          } else if constexpr (std::is_same_v<T, BarCheckNode>) {
            bar_check(n.pos);
          } else if constexpr (std::is_same_v<T, LoopNode>) {
            for (int i = 0; i < v.count; ++i)
              for (std::size_t k = 0; k < v.body.size(); ++k) {
                if (i == v.count - 1 && static_cast<int>(k) == v.break_at) return;
                step(v.body[k]);
              }
          } else if constexpr (std::is_same_v<T, ChordNode>) {
            sound(chord_keys(v.items), resolve(v.length, n.pos));
          } else if constexpr (std::is_same_v<T, TupletNode>) {
            tuplet(v, n.pos);
          } else if constexpr (std::is_same_v<T, MacroNode>) {
            macro(v, n.pos);
          } else {
            fail(n.pos, "internal: unexpected command");
          }
        },
        n.value);
  }

  void set(const SetNode& s, Pos p) {
    switch (s.command) {
      case 'v':
        velocity_ = s.relative ? velocity_ + s.value : s.value;
        if (velocity_ < 1 || velocity_ > 127) fail(p, "velocity out of 1..127");
        break;
      case 'q':
        gate_ = s.value;
        break;
      case '@':
        track_.controls.push_back({time_, -1, static_cast<std::uint8_t>(s.value)});
        break;
      case 'p':
        track_.controls.push_back({time_, 10, static_cast<std::uint8_t>(s.value)});
        break;
      case 'k':
        transpose_ = s.value;
        break;
      case '_':
        shift_ = s.value;
        break;
      default:
        fail(p, "internal: unknown setting");
    }
  }

  const ScoreAst& ast_;
  const std::string& origin_;
  Track& track_;
  std::vector<TempoChange>& tempos_;
  std::vector<RawNote> notes_;
  std::vector<std::size_t> last_;  // the notes a tie or slur applies to
  bool last_rest_ = false;
  bool slur_ = false;
  std::set<std::string> active_;  // macros being expanded
  std::uint32_t time_ = 0;
  std::uint32_t default_ticks_ = kDivision;
  int default_dots_ = 0;
  int octave_ = 4;
  int velocity_ = 100;
  int gate_ = 7;
  int transpose_ = 0;
  int shift_ = 0;  // a key change of a whole passage, added to the transposition
};

}  // namespace

Score compile(std::string_view text, const std::string& origin) {
  const ScoreAst ast = parse(text, origin);
  if (ast.tracks.empty()) throw MmlError(origin, 1, 1, "the score declares no track");
  Score score;
  score.title = ast.title;
  score.division = kDivision;
  score.meter_numerator = ast.meter_numerator;
  score.meter_denominator = ast.meter_denominator;
  std::vector<TempoChange> tempos{{0, ast.tempo}};
  for (const TrackDecl& decl : ast.tracks) {
    Track track;
    track.name = decl.name;
    track.channel = decl.channel;
    TrackCompiler(ast, origin, track, tempos).run(decl.body);
    score.tracks.push_back(std::move(track));
  }
  // One tempo per tick: a later change at the same tick replaces an earlier one.
  std::stable_sort(tempos.begin(), tempos.end(), [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
  for (const TempoChange& t : tempos) {
    if (!score.tempos.empty() && score.tempos.back().tick == t.tick)
      score.tempos.back() = t;
    else
      score.tempos.push_back(t);
  }
  return score;
}

}  // namespace mml
