#include "platform/midi_synth.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cstdio>
#include <mutex>

namespace plat {
namespace {

// FluidSynth's own messages: errors and warnings on stderr with our prefix, the chatter
// (information, debugging) nowhere, and never on stdout, which carries the runner's summary.
void logToStderr(int level, const char* message, void*) {
    const char* kind = level <= FLUID_ERR ? "error" : "warning";
    std::fprintf(stderr, "korrindal: fluidsynth %s: %s\n", kind, message);
}

void routeFluidLog() {
    static std::once_flag once;
    std::call_once(once, [] {
        fluid_set_log_function(FLUID_PANIC, logToStderr, nullptr);
        fluid_set_log_function(FLUID_ERR, logToStderr, nullptr);
        fluid_set_log_function(FLUID_WARN, logToStderr, nullptr);
        fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
        fluid_set_log_function(FLUID_DBG, nullptr, nullptr);
    });
}

// After the last voice has ended the reverb still rings; it is rendered this long more.
constexpr int kTailSeconds = 2;

}  // namespace

struct MidiSynth::Handles {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    fluid_player_t* player = nullptr;
    int sampleRate = kAudioRate;
    int quietFrames = 0;   // frames rendered since the piece's last voice ended
    int startTick = 0;     // where the piece was started
    bool rendered = false; // frames were rendered since: the player has read the file

    Handles() = default;
    Handles(const Handles&) = delete;
    Handles& operator=(const Handles&) = delete;
    ~Handles() {
        if (player != nullptr) delete_fluid_player(player);
        if (synth != nullptr) delete_fluid_synth(synth);
        if (settings != nullptr) delete_fluid_settings(settings);
    }
    bool sounding() const {
        return (player != nullptr && fluid_player_get_status(player) == FLUID_PLAYER_PLAYING) ||
               fluid_synth_get_active_voice_count(synth) > 0;
    }
};

std::unique_ptr<MidiSynth> MidiSynth::create(const std::string& soundFont, int sampleRate, std::string& error) {
    routeFluidLog();
    auto h = std::make_unique<Handles>();
    h->sampleRate = sampleRate;
    h->settings = new_fluid_settings();
    if (h->settings == nullptr) {
        error = "FluidSynth settings could not be made";
        return nullptr;
    }
    fluid_settings_setnum(h->settings, "synth.sample-rate", static_cast<double>(sampleRate));
    // The player's clock is the frames rendered, not the wall clock: music stays in step
    // with the pull, also when the pull is an offline render faster than real time.
    fluid_settings_setstr(h->settings, "player.timing-source", "sample");
    fluid_settings_setint(h->settings, "synth.cpu-cores", 1);   // no worker threads
    h->synth = new_fluid_synth(h->settings);
    if (h->synth == nullptr) {
        error = "FluidSynth could not be started";
        return nullptr;
    }
    if (fluid_synth_sfload(h->synth, soundFont.c_str(), 1) == FLUID_FAILED) {
        error = "the soundfont '" + soundFont + "' could not be loaded";
        return nullptr;
    }
    return std::unique_ptr<MidiSynth>(new MidiSynth(std::move(h), soundFont));
}

MidiSynth::MidiSynth(std::unique_ptr<Handles> handles, std::string soundFont)
    : h_(std::move(handles)), soundFont_(std::move(soundFont)) {}

MidiSynth::~MidiSynth() = default;

bool MidiSynth::play(std::span<const std::uint8_t> midiFile, int startTick) {
    stop();
    h_->player = new_fluid_player(h_->synth);
    if (h_->player == nullptr) return false;
    // A seek set before the player starts is taken when it reads the file, on the first
    // frames rendered: the notes before it are skipped, the programs, controllers and tempo
    // changes before it are sent.
    startTick = std::max(startTick, 0);
    if (fluid_player_add_mem(h_->player, midiFile.data(), midiFile.size()) != FLUID_OK ||
        (startTick > 0 && fluid_player_seek(h_->player, startTick) != FLUID_OK) ||
        fluid_player_play(h_->player) != FLUID_OK) {
        delete_fluid_player(h_->player);
        h_->player = nullptr;
        return false;
    }
    h_->quietFrames = 0;
    h_->startTick = startTick;
    h_->rendered = false;
    return true;
}

int MidiSynth::currentTick() const {
    if (h_->player == nullptr) return -1;
    return h_->rendered ? fluid_player_get_current_tick(h_->player) : h_->startTick;
}

void MidiSynth::stop() {
    if (h_->player != nullptr) {
        fluid_player_stop(h_->player);
        delete_fluid_player(h_->player);
        h_->player = nullptr;
    }
    fluid_synth_all_sounds_off(h_->synth, -1);
    // Programs, controllers, pitch bends and the reverb's tail of this piece do not reach
    // the next (the reset takes effect when the synthesizer next renders).
    fluid_synth_system_reset(h_->synth);
}

bool MidiSynth::active() const {
    return h_->player != nullptr && (h_->sounding() || h_->quietFrames < kTailSeconds * h_->sampleRate);
}

void MidiSynth::render(float* out, int frames) noexcept {
    if (frames <= 0) return;
    // Stopped (or never started): silence at once, nothing rendered, so nothing rings on.
    // A piece that ended by itself still renders its last notes' release and the reverb.
    if (!active()) {
        std::fill(out, out + 2 * frames, 0.0f);
        return;
    }
    h_->quietFrames = h_->sounding() ? 0 : h_->quietFrames + frames;
    fluid_synth_write_float(h_->synth, frames, out, 0, 2, out, 1, 2);
    h_->rendered = true;
}

}  // namespace plat
