#pragma once
// The music player: one MIDI piece at a time, opened from its file and played once through
// the output's synthesizer. A piece that reaches its end falls silent; nothing restarts it.
//
// A file that is missing or cannot be played is reported once on stderr and not opened, and
// the game plays on without music. Whether a piece counts as playing depends on its file
// alone, not on a device or soundfont being there, so the game's state is the same with
// sound and without. Main thread (the game's scene set-ups).

#include <string>

#include "audio/data_path.h"

namespace audio {

// The player's four operations.
// Open: reads and checks the file (Name labels it in the report); false when it cannot be
// played, and nothing is open then.
bool MusicOpen(const std::string& FileName, const std::string& Name);
// Play: starts the open piece from its start.
void MusicPlay();
// Stop: silences the piece at once.
void MusicStop();
// Close: forgets the open piece.
void MusicClose();

// Stops and closes the piece playing, then opens and plays dataPath(Name, ".mid"). True
// when the new piece plays.
bool StartMusic(const std::string& Name, DataPathFn dataPath);
// Stops and closes the piece playing, if any.
void StopMusic();
// A piece is open and was started.
bool MusicPlaying();
// Whether the file would open (read and checked as MusicOpen does, reported the same way),
// without touching the player.
bool MusicFilePlayable(const std::string& FileName, const std::string& Name);

}  // namespace audio
