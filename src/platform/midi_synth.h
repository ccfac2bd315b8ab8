#pragma once
// A General MIDI synthesizer (FluidSynth) with one soundfont and a player for one piece at a
// time. The player is timed by the frames rendered, so the music keeps in step with
// whoever pulls it (the audio device, or the ticks of an offline render).
//
// Not synchronised: render() runs on the audio thread and the other calls on the main
// thread, so the owner keeps them apart (the mixer's lock does).

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "platform/audio_device.h"

namespace plat {

class MidiSynth final : public AudioSource {
public:
    // Loads the soundfont for output at sampleRate. nullptr with error set when FluidSynth
    // or the soundfont cannot be set up.
    static std::unique_ptr<MidiSynth> create(const std::string& soundFont, int sampleRate, std::string& error);
    ~MidiSynth() override;
    MidiSynth(const MidiSynth&) = delete;
    MidiSynth& operator=(const MidiSynth&) = delete;

    // Plays a standard MIDI file once from startTick (0: its start) to its end, stopping the
    // piece before it. The bytes are copied. The caller checks them first: FluidSynth reads
    // the file only as it plays, and a fault found then just ends in silence. False when
    // FluidSynth refuses.
    bool play(std::span<const std::uint8_t> midiFile, int startTick = 0);
    // Stops the piece and silences every voice at once; the synthesizer is reset for the next.
    void stop();
    // True from play until stop, and until a piece that ended by itself has rung out.
    bool active() const;
    // The MIDI tick the piece has reached (the start tick until frames are rendered); -1 with
    // no piece.
    int currentTick() const;
    // Writes frames interleaved stereo frames (silence when not active).
    void render(float* out, int frames) noexcept override;

    const std::string& soundFont() const { return soundFont_; }

private:
    struct Handles;
    explicit MidiSynth(std::unique_ptr<Handles> handles, std::string soundFont);
    std::unique_ptr<Handles> h_;
    std::string soundFont_;
};

}  // namespace plat
