#include "audio/music.h"

#include <cstdint>
#include <vector>

#include "audio/audio_output.h"
#include "audio/file_bytes.h"
#include "audio/midi_check.h"
#include "audio/report_once.h"
#include "platform/midi_synth.h"

namespace audio {
namespace {

// The game's pieces are a few kilobytes; anything this large is not one of them.
constexpr std::size_t kMaxMidiFileBytes = 8u << 20;

struct TPlayer {
    std::vector<std::uint8_t> Piece;   // the open file's bytes
    bool Open = false;
    bool Playing = false;
};

TPlayer Player;

void WithSynth(void (*action)(plat::MidiSynth&)) {
    TMixer* mixer = AudioMixer();
    plat::MidiSynth* synth = AudioSynth();
    if (mixer == nullptr || synth == nullptr) return;
    mixer->Exclusive([&] { action(*synth); });
}

// Reads and checks a piece into bytes; a file that cannot be played is reported once.
bool ReadPiece(const std::string& FileName, const std::string& Name, std::vector<std::uint8_t>& bytes) {
    std::string error;
    if (!ReadFileBytes(FileName, kMaxMidiFileBytes, bytes, error)) {
        ReportOnce("music '" + Name + "'" + (FileName.empty() ? "" : " (" + FileName + ")") + ": " + error +
                   "; the game plays on without it");
        return false;
    }
    const TMidiCheck check = CheckMidi(bytes);
    if (!check.Ok) {
        ReportOnce("music '" + Name + "' (" + FileName + "): " + check.Error + "; the game plays on without it");
        bytes.clear();
        return false;
    }
    return true;
}

}  // namespace

bool MusicOpen(const std::string& FileName, const std::string& Name) {
    MusicClose();
    Player.Open = ReadPiece(FileName, Name, Player.Piece);
    return Player.Open;
}

bool MusicFilePlayable(const std::string& FileName, const std::string& Name) {
    std::vector<std::uint8_t> bytes;
    return ReadPiece(FileName, Name, bytes);
}

void MusicPlay() {
    if (!Player.Open) return;
    Player.Playing = true;
    WithSynth([](plat::MidiSynth& synth) {
        if (!synth.play(Player.Piece)) ReportOnce("music: the synthesizer refused a piece");
    });
}

void MusicStop() {
    Player.Playing = false;
    WithSynth([](plat::MidiSynth& synth) { synth.stop(); });
}

void MusicClose() {
    Player.Open = false;
    Player.Playing = false;
    std::vector<std::uint8_t>().swap(Player.Piece);
}

bool StartMusic(const std::string& Name, DataPathFn dataPath) {
    StopMusic();
    const std::string file = dataPath != nullptr ? dataPath(Name, ".mid") : Name;
    if (!MusicOpen(file, Name)) return false;
    MusicPlay();
    return true;
}

void StopMusic() {
    if (!Player.Playing && !Player.Open) return;
    MusicStop();
    MusicClose();
}

bool MusicPlaying() { return Player.Playing; }

}  // namespace audio
