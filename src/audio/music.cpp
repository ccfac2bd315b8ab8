#include "audio/music.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "audio/audio_output.h"
#include "audio/file_bytes.h"
#include "audio/midi_check.h"
#include "audio/midi_timing.h"
#include "audio/report_once.h"
#include "platform/midi_synth.h"

namespace audio {
namespace {

// The game's pieces are a few kilobytes; anything this large is not one of them.
constexpr std::size_t kMaxMidiFileBytes = 8u << 20;

struct TPlayer {
    std::vector<std::uint8_t> Piece;   // the open file's bytes
    TMidiCheck Timing;                 // and what its check found: its tempo changes and end
    std::string Name;
    bool Open = false;
    bool Playing = false;
    std::uint32_t Starts = 0;
};

TPlayer Player;

// Runs action on the synthesizer, apart from the audio thread; false without one.
template <class F>
bool WithSynth(F&& action) {
    TMixer* mixer = AudioMixer();
    plat::MidiSynth* synth = AudioSynth();
    if (mixer == nullptr || synth == nullptr) return false;
    mixer->Exclusive([&] { action(*synth); });
    return true;
}

// Reads and checks a piece into bytes; a file that cannot be played is reported once.
bool ReadPiece(const std::string& FileName, const std::string& Name, std::vector<std::uint8_t>& bytes,
               TMidiCheck& check) {
    std::string error;
    if (!ReadFileBytes(FileName, kMaxMidiFileBytes, bytes, error)) {
        ReportOnce("music '" + Name + "'" + (FileName.empty() ? "" : " (" + FileName + ")") + ": " + error +
                   "; the game plays on without it");
        return false;
    }
    check = CheckMidi(bytes);
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
    Player.Open = ReadPiece(FileName, Name, Player.Piece, Player.Timing);
    if (Player.Open) Player.Name = Name;
    return Player.Open;
}

bool MusicFilePlayable(const std::string& FileName, const std::string& Name) {
    std::vector<std::uint8_t> bytes;
    TMidiCheck check;
    return ReadPiece(FileName, Name, bytes, check);
}

void MusicPlay(double startMs) {
    if (!Player.Open) return;
    Player.Playing = true;
    // Past the end the player is put at the end, where it has nothing more to play.
    const auto tick = static_cast<int>(std::min<std::uint32_t>(
        std::min(MidiMsTick(Player.Timing, startMs), Player.Timing.EndTick), 0x7FFFFFFF));
    bool started = false;
    WithSynth([tick, &started](plat::MidiSynth& s) {
        started = s.play(Player.Piece, tick);
        if (!started) ReportOnce("music: the synthesizer refused a piece");
    });
    if (started) ++Player.Starts;
}

void MusicStop() {
    Player.Playing = false;
    WithSynth([](plat::MidiSynth& synth) { synth.stop(); });
}

void MusicClose() {
    Player.Open = false;
    Player.Playing = false;
    std::vector<std::uint8_t>().swap(Player.Piece);
    Player.Timing = TMidiCheck{};
    Player.Name.clear();
}

bool StartMusic(const std::string& Name, DataPathFn dataPath, double startMs) {
    StopMusic();
    const std::string file = dataPath != nullptr ? dataPath(Name, ".mid") : Name;
    if (!MusicOpen(file, Name)) return false;
    MusicPlay(startMs);
    return true;
}

bool FollowMusic(const std::string& Name, DataPathFn dataPath, double positionMs) {
    if (Name.empty()) {
        StopMusic();
        return false;
    }
    if (!Player.Open || Player.Name != Name) return StartMusic(Name, dataPath, positionMs);
    const TMusicNow now = MusicNow();
    // Where no synthesizer plays, there is no place to be at: the piece is kept open.
    if (!Player.Playing || (now.PositionMs >= 0.0 &&
                            std::abs(now.PositionMs - std::min(positionMs, MidiLengthMs(Player.Timing))) >
                                kFollowToleranceMs))
        MusicPlay(positionMs);
    return true;
}

void StopMusic() {
    if (!Player.Playing && !Player.Open) return;
    MusicStop();
    MusicClose();
}

bool MusicPlaying() { return Player.Playing; }

TMusicNow MusicNow() {
    TMusicNow now;
    now.Starts = Player.Starts;
    if (!Player.Playing) return now;
    now.Name = Player.Name;
    int tick = -1;
    WithSynth([&tick](plat::MidiSynth& s) { tick = s.currentTick(); });
    if (tick >= 0)
        now.PositionMs = std::min(MidiTickMs(Player.Timing, static_cast<std::uint32_t>(tick)), MidiLengthMs(Player.Timing));
    return now;
}

}  // namespace audio
