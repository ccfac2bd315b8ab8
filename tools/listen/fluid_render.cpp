#include "fluid_render.h"

#include <fluidsynth.h>

#include <memory>
#include <mutex>
#include <stdexcept>

namespace listen {

namespace {

struct SettingsDeleter {
  void operator()(fluid_settings_t* s) const { delete_fluid_settings(s); }
};
struct SynthDeleter {
  void operator()(fluid_synth_t* s) const { delete_fluid_synth(s); }
};
struct PlayerDeleter {
  void operator()(fluid_player_t* p) const { delete_fluid_player(p); }
};

// FluidSynth logs through process-wide hooks: collect errors into the rendering under way,
// drop its chatter.
std::mutex log_mutex;
std::string* log_target = nullptr;

void collect_error(int, const char* message, void*) {
  if (log_target) {
    *log_target += message;
    *log_target += '\n';
  }
}
void drop(int, const char*, void*) {}

class LogCapture {
 public:
  explicit LogCapture(std::string& target) : lock_(log_mutex) {
    log_target = &target;
    fluid_set_log_function(FLUID_PANIC, collect_error, nullptr);
    fluid_set_log_function(FLUID_ERR, collect_error, nullptr);
    fluid_set_log_function(FLUID_WARN, drop, nullptr);
    fluid_set_log_function(FLUID_INFO, drop, nullptr);
    fluid_set_log_function(FLUID_DBG, drop, nullptr);
  }
  ~LogCapture() { log_target = nullptr; }
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

 private:
  std::lock_guard<std::mutex> lock_;
};

}  // namespace

Rendering render_midi(std::span<const std::uint8_t> midi, const std::filesystem::path& soundfont,
                      const RenderOptions& options) {
  const int sample_rate = options.sample_rate;
  Rendering out;
  out.sample_rate = sample_rate;
  LogCapture capture(out.errors);

  std::unique_ptr<fluid_settings_t, SettingsDeleter> settings(new_fluid_settings());
  if (!settings) throw std::runtime_error("FluidSynth: no settings");
  fluid_settings_setnum(settings.get(), "synth.sample-rate", sample_rate);
  fluid_settings_setnum(settings.get(), "synth.gain", options.gain);
  std::unique_ptr<fluid_synth_t, SynthDeleter> synth(new_fluid_synth(settings.get()));
  if (!synth) throw std::runtime_error("FluidSynth: cannot create a synthesizer");
  if (fluid_synth_sfload(synth.get(), soundfont.c_str(), 1) == FLUID_FAILED)
    throw std::runtime_error("FluidSynth: cannot load the soundfont " + soundfont.string());
  std::unique_ptr<fluid_player_t, PlayerDeleter> player(new_fluid_player(synth.get()));
  if (!player) throw std::runtime_error("FluidSynth: cannot create a player");
  if (fluid_player_add_mem(player.get(), midi.data(), midi.size()) != FLUID_OK)
    throw std::runtime_error("FluidSynth: the player refused the file");
  fluid_player_play(player.get());

  constexpr int kBlock = 512;
  float left[kBlock], right[kBlock];
  const auto max_frames = static_cast<std::size_t>(options.limit * sample_rate);
  const auto tail_frames = static_cast<std::size_t>(options.tail * sample_rate);
  std::size_t frames = 0, end_frame = 0;
  bool ended = false;
  while (frames < max_frames) {
    fluid_synth_write_float(synth.get(), kBlock, left, 0, 1, right, 0, 1);
    for (int i = 0; i < kBlock; ++i) {
      out.samples.push_back(left[i]);
      out.samples.push_back(right[i]);
    }
    frames += kBlock;
    const int total = fluid_player_get_total_ticks(player.get());
    const int now = fluid_player_get_current_tick(player.get());
    if (!ended && ((total > 0 && now >= total) || fluid_player_get_status(player.get()) == FLUID_PLAYER_DONE)) {
      ended = true;
      end_frame = frames;
      out.total_ticks = static_cast<std::uint32_t>(std::max(total, 0));
    }
    if (ended && frames >= end_frame + tail_frames) break;
  }
  fluid_player_stop(player.get());
  out.music_seconds = static_cast<double>(ended ? end_frame : frames) / sample_rate;
  return out;
}

}  // namespace listen
