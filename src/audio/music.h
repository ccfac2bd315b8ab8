#pragma once
// The music player: one MIDI piece at a time, opened from its file and played once through
// the output's synthesizer. A piece that reaches its end falls silent; nothing restarts it.
//
// A file that is missing or cannot be played is reported once on stderr and not opened, and
// the game plays on without music. Whether a piece counts as playing depends on its file
// alone, not on a device or soundfont being there, so the game's state is the same with
// sound and without. Main thread (the game's scene set-ups).

#include <cstdint>
#include <string>

#include "audio/data_path.h"

namespace audio {

// The player's four operations.
// Open: reads and checks the file (Name labels it in the report); false when it cannot be
// played, and nothing is open then.
bool MusicOpen(const std::string& FileName, const std::string& Name);
// Play: starts the open piece startMs after its start (past its end: it has ended).
void MusicPlay(double startMs = 0.0);
// Stop: silences the piece at once.
void MusicStop();
// Close: forgets the open piece.
void MusicClose();

// Stops and closes the piece playing, then opens dataPath(Name, ".mid") and plays it from
// startMs after its start. True when the new piece plays.
bool StartMusic(const std::string& Name, DataPathFn dataPath, double startMs = 0.0);
// How far the piece heard may be from where it is asked to be before FollowMusic moves it.
inline constexpr double kFollowToleranceMs = 30.0;
// Brings the music to piece Name at positionMs from its start, or to silence for an empty
// Name. A piece that plays already within kFollowToleranceMs of there goes on untouched; the
// open piece elsewhere is played from there without its file being read again; another piece
// is started. True when Name plays.
bool FollowMusic(const std::string& Name, DataPathFn dataPath, double positionMs);
// Stops and closes the piece playing, if any.
void StopMusic();
// A piece is open and was started.
bool MusicPlaying();

// What the player plays.
struct TMusicNow {
    std::string Name;            // the piece started ("" when none)
    double PositionMs = -1.0;    // where the synthesizer is in it, from its start, at most its
                                 // length; -1 when no synthesizer plays it
    std::uint32_t Starts = 0;    // pieces started on the synthesizer so far, from any point
};
TMusicNow MusicNow();
// Whether the file would open (read and checked as MusicOpen does, reported the same way),
// without touching the player.
bool MusicFilePlayable(const std::string& FileName, const std::string& Name);

}  // namespace audio
