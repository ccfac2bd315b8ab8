#pragma once
// The parsed form of a score: statements, and each body as a tree of commands.
#include <map>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace mml {

struct Pos {
  int line = 0;
  int column = 0;
};

// A note value as written: `ticks` 0 means the default length; dots add halves.
struct LengthSpec {
  int ticks = 0;
  int dots = 0;
};

struct Node;
using Body = std::vector<Node>;

struct NoteNode {
  int semitone = 0;  // from c of the octave, accidentals applied (may be -1 or 12)
  int key = -1;      // >= 0: a fixed key (n or a key letter), octave and transpose unused
  LengthSpec length;
};
struct RestNode { LengthSpec length; };
struct TieNode { LengthSpec length; };
struct SlurNode {};
struct OctaveNode {
  int value = 0;
  bool relative = false;
};
struct DefaultLengthNode { LengthSpec length; };
// v, q, @, p, k: a value, absolute or relative (v only).
struct SetNode {
  char command = 'v';
  int value = 0;
  bool relative = false;
};
struct TempoNode { double bpm = 120.0; };
struct ControlNode {
  int controller = 0;
  int value = 0;
};
struct BarCheckNode {};
struct LoopNode {
  Body body;
  int count = 2;
  int break_at = -1;  // index in body of the ':' or -1
};
struct ChordNode {
  Body items;  // notes and octave changes
  LengthSpec length;
};
struct TupletNode {
  Body items;  // notes, rests, chords and octave changes
  LengthSpec length;
};
struct MacroNode { std::string name; };
struct BreakNode {};

struct Node {
  Pos pos;
  std::variant<NoteNode, RestNode, TieNode, SlurNode, OctaveNode, DefaultLengthNode, SetNode, TempoNode,
               ControlNode, BarCheckNode, LoopNode, ChordNode, TupletNode, MacroNode, BreakNode>
      value;
};

// A piece of body text and where it starts in the score.
struct Fragment {
  std::string_view text;
  Pos pos;
};

struct TrackDecl {
  std::string name;
  int channel = 0;
  Pos pos;
  Body body;
};

struct ScoreAst {
  std::string title;
  double tempo = 120.0;
  int meter_numerator = 4;
  int meter_denominator = 4;
  int keys[26];  // key letters; -1 = undefined
  std::vector<TrackDecl> tracks;
  std::map<std::string, Body> macros;
  std::map<std::string, Pos> macro_pos;
};

constexpr int kDivision = 480;
constexpr int kWholeTicks = 4 * kDivision;

ScoreAst parse(std::string_view text, const std::string& origin);

}  // namespace mml
