// The score compiler: what each command does to notes and time, and the errors it gives.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mml.h"
#include "smf_reader.h"
#include "smf_writer.h"

namespace {

constexpr std::uint32_t kQ = 480;  // ticks a quarter note

mml::Score score(const std::string& body, const std::string& header = "") {
  return mml::compile(header + "track A 1\nA " + body + "\n", "t.mml");
}

std::vector<int> keys(const mml::Track& t) {
  std::vector<int> k;
  for (const mml::Note& n : t.notes) k.push_back(n.key);
  return k;
}

std::string error_of(const std::string& text) {
  try {
    mml::compile(text, "t.mml");
  } catch (const mml::MmlError& e) {
    return e.what();
  }
  return "";
}

TEST(Mml, NotesOctavesAndAccidentals) {
  const mml::Track t = score("c d e f g a b > c < < b o2 c+ d- e+ o9 g").tracks[0];
  EXPECT_EQ(keys(t), (std::vector<int>{60, 62, 64, 65, 67, 69, 71, 72, 59, 37, 37, 41, 127}));
  EXPECT_EQ(t.notes[1].start, kQ);
  EXPECT_EQ(t.length, 13 * kQ);
}

TEST(Mml, LengthsDotsDefaultsAndGate) {
  const mml::Track t = score("l8 c c4 c4. c8.. l16. c q8 c2 q4 c1 c%100").tracks[0];
  const std::vector<std::uint32_t> starts{0, 240, 720, 1440, 1860, 2040, 3000, 4920};
  ASSERT_EQ(t.notes.size(), starts.size());
  for (std::size_t i = 0; i < starts.size(); ++i) EXPECT_EQ(t.notes[i].start, starts[i]) << i;
  EXPECT_EQ(t.notes[0].duration, 240u * 7 / 8);  // the default gate sounds 7/8
  EXPECT_EQ(t.notes[5].duration, 960u);          // q8: the whole length
  EXPECT_EQ(t.notes[6].duration, 960u);          // q4 of a whole note
  EXPECT_EQ(t.length, 5020u);
}

TEST(Mml, TiesExtendAndSlursJoinTheSameKey) {
  const mml::Track t = score("q8 c4^8^16 r8^8 d4&d8 q4 e4&f4 'ceg'4^4").tracks[0];
  ASSERT_EQ(keys(t), (std::vector<int>{60, 62, 64, 65, 60, 64, 67}));
  EXPECT_EQ(t.notes[0].duration, 480u + 240 + 120);
  EXPECT_EQ(t.notes[1].start, 840u + 480);   // after the tied rest
  EXPECT_EQ(t.notes[1].duration, 720u);      // d4&d8: one note
  EXPECT_EQ(t.notes[2].duration, 480u);      // e legato into f: its whole length
  EXPECT_EQ(t.notes[3].duration, 240u);      // f at the gate q4
  EXPECT_EQ(t.notes[4].duration, 480u);      // every note of the chord tied, then gated
  EXPECT_EQ(t.notes[6].start, t.notes[4].start);
}

TEST(Mml, LoopsRepeatAndLeaveAtTheBreakOnTheLastTime) {
  const mml::Track t = score("[c [d e]3 : f]2 g").tracks[0];
  EXPECT_EQ(keys(t), (std::vector<int>{60, 62, 64, 62, 64, 62, 64, 65, 60, 62, 64, 62, 64, 62, 64, 67}));
  // Octave changes inside a loop carry over from one time through to the next.
  EXPECT_EQ(keys(score("[c >]3").tracks[0]), (std::vector<int>{60, 72, 84}));
}

TEST(Mml, ChordsKeepTheirOctaveChangesInsideAndTupletsShareTheirLength) {
  const mml::Track t = score("o4 '<g>ce'2 c {c d e}4 {c 'eg' r}2").tracks[0];
  EXPECT_EQ(keys(t), (std::vector<int>{55, 60, 64, 60, 60, 62, 64, 60, 64, 67}));
  EXPECT_EQ(t.notes[3].start, 960u);
  EXPECT_EQ(t.notes[5].start, 1440u + 160);
  EXPECT_EQ(t.notes[7].start, 1920u);
  EXPECT_EQ(t.notes[8].start, 1920u + 320);
  EXPECT_EQ(t.length, 1920u + 960);
}

TEST(Mml, MacrosTransposeAndKeyShift) {
  const mml::Score s = mml::compile(
      "track A 1\nkey K 36\n$m = c e\n$n = $m g\nA $n k2 $n k-12 c _3 c k0 $m K n40,8\n", "t.mml");
  EXPECT_EQ(keys(s.tracks[0]), (std::vector<int>{60, 64, 67, 62, 66, 69, 48, 51, 63, 67, 36, 40}));
}

TEST(Mml, ControlsProgramsAndChannels) {
  const mml::Score s = mml::compile("track A 3\ntrack D 10\nA @81 p20 y91,50 c\nD @0 c\n", "t.mml");
  EXPECT_EQ(s.tracks[0].channel, 2);
  EXPECT_EQ(s.tracks[1].channel, 9);
  ASSERT_EQ(s.tracks[0].controls.size(), 3u);
  EXPECT_EQ(s.tracks[0].controls[0].controller, -1);
  EXPECT_EQ(s.tracks[0].controls[0].value, 81);
  EXPECT_EQ(s.tracks[0].controls[1].controller, 10);
  EXPECT_EQ(s.tracks[0].controls[2].controller, 91);
}

TEST(Mml, TempoChangesFromAnyTrackMakeOneTempoMapThroughToTheFile) {
  const mml::Score s = mml::compile(
      "tempo 120\ntrack A 1\ntrack B 2\nA c1 t60 c1 c1\nB c1 c1 t240 c1 c1\n", "t.mml");
  ASSERT_EQ(s.tempos.size(), 3u);
  EXPECT_DOUBLE_EQ(s.seconds_at(1920), 2.0);
  EXPECT_DOUBLE_EQ(s.seconds_at(3840), 6.0);
  EXPECT_DOUBLE_EQ(s.seconds_at(4 * 1920), 6.0 + 2.0);
  const music_test::Midi m = music_test::parse_midi(mml::encode_smf(s));
  EXPECT_EQ(m.format, 1);
  EXPECT_EQ(m.track_count, 3);
  EXPECT_EQ(m.last_tick, 4u * 1920);
  EXPECT_DOUBLE_EQ(m.seconds(), 8.0);
  EXPECT_EQ(m.notes.size(), 7u);
}

TEST(Mml, RepeatedKeysReleaseBeforeTheyStrikeAgain) {
  const music_test::Midi m = music_test::parse_midi(mml::encode_smf(score("q8 c c c")));
  ASSERT_EQ(m.notes.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(m.notes[i].start, i * kQ);
    EXPECT_EQ(m.notes[i].end, (i + 1) * kQ);
  }
}

TEST(Mml, BarChecksPassOnBarLinesAndReportWhereTheyFail) {
  EXPECT_NO_THROW(score("l4 c d e f | [g a b > c <]2 |"));
  EXPECT_NO_THROW(score("l4 c d e | f g a |", "meter 3/4\n"));
  EXPECT_EQ(error_of("track A 1\nA c d e\n  f g |\n"),
            "t.mml:3:7: bar check: track 'A' stands 480 ticks (1.00 beats) into bar 2");
}

TEST(Mml, BadInputIsReportedWithItsLineAndColumn) {
  const std::string head = "title x\ntrack A 1\n";
  EXPECT_EQ(error_of(head + "A c d x\n"), "t.mml:3:7: unexpected 'x'");
  EXPECT_EQ(error_of(head + "A c [d e\n"), "t.mml:3:9: missing ']'");
  EXPECT_EQ(error_of(head + "A c d e]\n"), "t.mml:3:8: unexpected ']'");
  EXPECT_EQ(error_of(head + "A c7\n"), "t.mml:3:4: note value 7 does not divide a whole note into whole ticks");
  EXPECT_EQ(error_of(head + "A o9 b\n"), "t.mml:3:6: note out of the MIDI range (key 131)");
  EXPECT_EQ(error_of(head + "A c : d\n"), "t.mml:3:5: ':' outside a loop");
  EXPECT_EQ(error_of(head + "A ^4\n"), "t.mml:3:3: '^' with no note or rest before it");
  EXPECT_EQ(error_of(head + "A 'c l8 e'\n"), "t.mml:3:6: 'l' is not allowed inside a chord or tuplet");
  EXPECT_EQ(error_of(head + "A {c d e f g a b}4\n"),
            "t.mml:3:3: the tuplet's length does not divide into 7 whole ticks");
  EXPECT_EQ(error_of(head + "A $nothing\n"), "t.mml:3:3: undefined macro $nothing");
  EXPECT_EQ(error_of(head + "B c\n"), "t.mml:3:1: unknown statement or undeclared track 'B'");
  EXPECT_EQ(error_of(head + "A K\n"), "t.mml:3:3: key letter 'K' is not defined");
  EXPECT_EQ(error_of(head + "A v200\n"), "t.mml:3:4: velocity 200 out of 0..127");
  EXPECT_EQ(error_of(head + "A t500\n"), "t.mml:3:3: tempo out of 20..400");
  EXPECT_EQ(error_of("  c d\n"), "t.mml:1:1: a continuation line with nothing to continue");
  EXPECT_EQ(error_of("tempo fast\ntrack A 1\n"), "t.mml:1:1: bad tempo 'fast' (20..400)");
  EXPECT_EQ(error_of("track A 17\n"), "t.mml:1:1: bad channel '17' (1..16)");
  EXPECT_EQ(error_of("title x\n"), "t.mml:1:1: the score declares no track");
}

TEST(Mml, ErrorsInsideMacrosPointAtTheMacroAndAtTheUse) {
  EXPECT_EQ(error_of("track A 1\n$a = c $b\n$b = d o12\nA c\n  $a\n"),
            "t.mml:3:9: octave 12 out of 0..9");
  EXPECT_EQ(error_of("track A 1\n$a = c o9 b\nA c\n  d $a\n"),
            "t.mml:2:11: note out of the MIDI range (key 131) (in $a, used at line 4)");
  EXPECT_EQ(error_of("track A 1\n$a = c $b\n$b = d $a\nA $a\n"),
            "t.mml:3:8: macro $a uses itself (in $b, used at line 2)");
}

}  // namespace
