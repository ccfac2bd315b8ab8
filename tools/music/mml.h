#pragma once
// The music macro language: a text score compiled into a Score.
//
// A score is a list of statements, one a line; a line that starts with blank space
// continues the statement above it. '#' comments out the rest of a line.
//   title TEXT                  the piece's name
//   tempo BPM                   the starting tempo (default 120)
//   meter N/D                   the time signature that bar checks use (default 4/4)
//   track NAME CHANNEL          declares a track on MIDI channel 1..16 (10: drums)
//   key LETTER NUMBER           an upper-case letter standing for a fixed key (a drum)
//   $NAME = BODY                a macro: BODY is used wherever $NAME appears in a body
//   NAME BODY                   appends BODY to the track NAME
// A body is a sequence of commands:
//   c d e f g a b [+|-]...[LEN]  a note (+ sharp, - flat) in the current octave
//   r[LEN]  rest     nKEY[,LEN] a key by number     A..Z[LEN] a key letter from `key`
//   LEN is a note value (1 whole, 4 quarter, 8, 16, 3, 6, 12 ... triplets) with dots, or
//       %TICKS; without it the default length applies
//   ^LEN    ties more time to the note (or rest) before
//   &       joins the next note: the same key continues, another is played legato
//   'ceg'LEN  a chord          {cde}LEN  a tuplet: the notes share LEN equally
//   oN octave (o4: c = middle C)   > up   < down   lLEN default length
//   vN velocity 0..127 (v+N, v-N relative)   qN gate: sounds N/8 of the length (1..8)
//   @N program 0..127   pN pan   yCC,VALUE controller   tBPM tempo
//   kN transpose by N semitones   _N shift the key by N semitones on top of k (for a key
//       change of a passage whose macros set k themselves)
//   [BODY]N repeat N times (default 2); ':' inside leaves the last time through
//   |       bar check: fails unless the track stands on a bar line
#include <stdexcept>
#include <string>
#include <string_view>

#include "score.h"

namespace mml {

class MmlError : public std::runtime_error {
 public:
  MmlError(const std::string& origin, int line, int column, const std::string& message);
  int line() const { return line_; }
  int column() const { return column_; }
  const std::string& origin() const { return origin_; }
  const std::string& message() const { return message_; }

 private:
  std::string origin_;
  std::string message_;
  int line_;
  int column_;
};

// `origin` names the text in error messages ("origin:line:column: message").
Score compile(std::string_view text, const std::string& origin = "score");

}  // namespace mml
