#pragma once
// The game's sound output: the mixer, the platform's device pulling from it and, for the
// music, the MIDI synthesizer with the soundfont found, mixed under the effects. One output
// at a time, opened when the game window starts and closed when it terminates. Main thread.

#include <string>

#include "audio/mixer.h"

namespace plat {
class Platform;
class MidiSynth;
}  // namespace plat

namespace audio {

struct TAudioOptions {
    bool Music = true;   // load the soundfont and mix the music
};

// Opens the output on the platform's device. False when the platform has none: the game
// then runs silent (InitSound refuses, the music calls only keep their state). With music
// but no soundfont, one warning is printed and the music stays silent.
bool OpenAudio(plat::Platform& platform, const TAudioOptions& options);
// Shuts the effects and the music down and closes the output.
void CloseAudio();
// Holds the whole sound (effects and music) where it is, or lets it go on: the player's pause.
void HoldAudio(bool on);

// The open output's parts (null when closed, or no synthesizer).
TMixer* AudioMixer();
plat::MidiSynth* AudioSynth();

// An offline output: renders frames (interleaved stereo) on the caller's thread. False,
// with out left alone, when the output is closed or its device pulls by itself.
bool PullAudio(float* out, int frames);

}  // namespace audio
