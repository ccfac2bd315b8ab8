// Checking MIDI files before the synthesizer reads them.
#include <gtest/gtest.h>

#include "audio/midi_check.h"
#include "audio/test_sounds.h"

namespace {

using testsound::MidiTrack;

std::vector<std::uint8_t> TwoTrackPiece() {
    MidiTrack tempo;
    tempo.Event(0, {0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20});   // 120 beats a minute
    tempo.Event(0, {0xFF, 0x58, 0x04, 4, 2, 24, 8});         // 4/4
    tempo.End();
    MidiTrack notes;
    notes.Event(0, {0xFF, 0x03, 0x04, 'L', 'e', 'a', 'd'});  // a track name
    notes.Program(0, 19);
    notes.Event(0, {0x90, 60, 100});
    notes.Event(0, {64, 100});            // running status
    notes.Event(0, {0xB0, 7, 100});       // a controller
    notes.Event(0, {0xE0, 0, 64});        // pitch bend
    notes.Event(0, {0xF0, 0x03, 0x7E, 0x09, 0xF7});   // system exclusive
    notes.Event(200, {0x80, 60, 0});
    notes.Event(0, {64, 0});
    notes.End();
    return testsound::MidiBytes({tempo, notes});
}

TEST(CheckMidi, AcceptsWhatTheSynthesizerPlays) {
    const auto two = TwoTrackPiece();
    const audio::TMidiCheck r = audio::CheckMidi(two);
    ASSERT_TRUE(r.Ok) << r.Error;
    EXPECT_EQ(r.Format, 1);
    EXPECT_EQ(r.Tracks, 2);
    EXPECT_EQ(r.Division, 96);
    ASSERT_EQ(r.Tempos.size(), 1u);
    EXPECT_EQ(r.Tempos[0].MicrosPerQuarter, 500000u);
    EXPECT_EQ(r.EndTick, 200u);
    EXPECT_TRUE(audio::CheckMidi(testsound::HeldNote(60, 1.0)).Ok);

    // A chunk of another kind between the header and the tracks is skipped; bytes after the
    // end of a track are not read.
    auto withChunk = two;
    const std::vector<std::uint8_t> extra{'X', 'F', 'I', 'H', 0, 0, 0, 2, 1, 2};
    withChunk.insert(withChunk.begin() + 14, extra.begin(), extra.end());
    EXPECT_TRUE(audio::CheckMidi(withChunk).Ok) << audio::CheckMidi(withChunk).Error;
}

TEST(CheckMidi, EveryTruncationIsRefused) {
    const auto whole = TwoTrackPiece();
    for (std::size_t n = 0; n < whole.size(); ++n) {
        const std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
        const audio::TMidiCheck r = audio::CheckMidi(cut);
        EXPECT_FALSE(r.Ok) << n;
        EXPECT_FALSE(r.Error.empty()) << n;
    }
}

TEST(CheckMidi, RefusesHeadersItCannotPlay) {
    struct Case {
        const char* what;
        std::size_t offset;
        std::uint8_t value;
    };
    for (const Case c : {Case{"not MThd", 0, 'X'}, Case{"header length 7", 7, 7}, Case{"format 2", 9, 2},
                         Case{"no tracks", 11, 0}, Case{"three tracks announced, two there", 11, 3},
                         Case{"SMPTE division", 12, 0xE7}, Case{"division 0", 13, 0}}) {
        SCOPED_TRACE(c.what);
        auto bytes = TwoTrackPiece();
        bytes[c.offset] = c.value;
        if (c.offset == 13) bytes[12] = 0;
        EXPECT_FALSE(audio::CheckMidi(bytes).Ok);
    }
    // Format 0 with two tracks.
    auto bytes = TwoTrackPiece();
    bytes[9] = 0;
    EXPECT_FALSE(audio::CheckMidi(bytes).Ok);
}

TEST(CheckMidi, RefusesEventsThatDoNotParse) {
    struct Case {
        const char* what;
        std::vector<std::uint8_t> events;
    };
    const std::vector<Case> cases{
        {"a data byte first", {0, 60, 100}},
        {"running status after a meta event", {0, 0xFF, 0x01, 0x01, 'a', 0, 60, 100}},
        {"a status byte where data belongs", {0, 0x90, 60, 0x90}},
        {"a delta time of five bytes", {0x81, 0x81, 0x81, 0x81, 0x01, 0x90, 60, 100}},
        {"a tempo of two bytes", {0, 0xFF, 0x51, 0x02, 0x07, 0xA1}},
        {"an end of track with data", {0, 0xFF, 0x2F, 0x01, 0x00}},
        {"a meta event longer than its track", {0, 0xFF, 0x01, 0x7F, 'a'}},
        {"a system-exclusive event longer than its track", {0, 0xF0, 0x40, 0x7E}},
        {"an escape event", {0, 0xF7, 0x01, 0x7E}},
        {"a system message", {0, 0xF2, 0x00, 0x00}},
        {"a note cut short", {0, 0x90, 60}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MidiTrack t;
        t.events = c.events;
        const audio::TMidiCheck r = audio::CheckMidi(testsound::MidiBytes({t}));
        EXPECT_FALSE(r.Ok);
        EXPECT_FALSE(r.Error.empty());
    }
}

}  // namespace
