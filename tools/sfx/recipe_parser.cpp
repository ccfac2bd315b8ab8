// The recipe language, one statement a line:
//   rate 44100 | length 0.09 | level -10 | ceiling -0.5 | fade 0.002 0.01
//   expect length|peak|loudness MIN MAX | rates MIN MAX | info "text" | fmt extended
//   voice sine|triangle|saw|square|noise|crackle      (starts a layer)
//   master                                            (settings of the sum of the layers)
// Inside a voice: at, seed, freq CURVE, notes STEP GLIDE NOTE..., amp CURVE, duty CURVE,
// gain DB, vibrato|tremolo|jitter RATE DEPTH, fm RATIO INDEX-CURVE, ring HZ,
// unison COUNT CENTS, lowpass|highpass|bandpass|notch CURVE [q Q], drive DB.
// The master takes the four filters, drive and echo DELAY FEEDBACK MIX.
// A curve is a start value and segments "-> TARGET SECONDS [lin|exp|hold]"; frequencies
// may be note names (A4 = 440 Hz). A '#' that starts a word comments out the rest of the line.
#include <cctype>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>

#include "recipe.h"

namespace sfx {

namespace {

struct Line {
  int number = 0;
  std::vector<std::string> words;
};

std::vector<Line> split_lines(std::string_view text, const std::string& origin) {
  std::vector<Line> lines;
  int number = 0;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    const std::size_t eol = std::min(text.find('\n', pos), text.size());
    const std::string_view raw = text.substr(pos, eol - pos);
    ++number;
    Line line{number, {}};
    std::size_t i = 0;
    while (i < raw.size()) {
      if (std::isspace(static_cast<unsigned char>(raw[i]))) {
        ++i;
      } else if (raw[i] == '#') {
        break;
      } else if (raw[i] == '"') {
        const std::size_t close = raw.find('"', i + 1);
        if (close == std::string_view::npos)
          throw RecipeError(origin + ":" + std::to_string(number) + ": unterminated string");
        line.words.emplace_back(raw.substr(i, close - i + 1));
        i = close + 1;
      } else {
        std::size_t j = i;
        while (j < raw.size() && !std::isspace(static_cast<unsigned char>(raw[j]))) ++j;
        line.words.emplace_back(raw.substr(i, j - i));
        i = j;
      }
    }
    if (!line.words.empty()) lines.push_back(std::move(line));
    if (eol == text.size()) break;
    pos = eol + 1;
  }
  return lines;
}

class Parser {
 public:
  Parser(const std::string& origin, const Line& line) : origin_(origin), line_(line) {}

  [[noreturn]] void fail(const std::string& message) const {
    throw RecipeError(origin_ + ":" + std::to_string(line_.number) + ": " + message);
  }
  bool more() const { return pos_ < line_.words.size(); }
  const std::string& peek() const { return line_.words[pos_]; }
  const std::string& word(const char* what) {
    if (!more()) fail(std::string("missing ") + what);
    return line_.words[pos_++];
  }
  double number(const char* what) {
    const std::string& w = word(what);
    return to_number(w, what);
  }
  double frequency(const char* what) {
    const std::string& w = word(what);
    if (auto f = note_frequency(w)) return *f;
    return to_number(w, what);
  }
  void done() const {
    if (more()) fail("unexpected '" + peek() + "'");
  }

  // VALUE [-> VALUE SECONDS [lin|exp|hold]]...
  Curve curve(bool frequencies) {
    Curve c(frequencies ? frequency("value") : number("value"));
    while (more() && peek() == "->") {
      ++pos_;
      Segment s;
      s.target = frequencies ? frequency("target") : number("target");
      s.duration = number("duration");
      if (s.duration < 0.0) fail("negative duration");
      if (more() && (peek() == "lin" || peek() == "exp" || peek() == "hold")) {
        const std::string& shape = word("shape");
        s.shape = shape == "lin" ? Shape::Linear : shape == "exp" ? Shape::Exponential : Shape::Hold;
      }
      c.add(s);
    }
    return c;
  }

 private:
  double to_number(const std::string& w, const char* what) const {
    std::size_t used = 0;
    double v = 0.0;
    try {
      v = std::stod(w, &used);
    } catch (const std::exception&) {
      used = 0;
    }
    if (used != w.size() || !std::isfinite(v)) fail(std::string("bad ") + what + " '" + w + "'");
    return v;
  }

  const std::string& origin_;
  const Line& line_;
  std::size_t pos_ = 1;
};

const std::map<std::string, Wave>& waves() {
  static const std::map<std::string, Wave> table{
      {"sine", Wave::Sine},   {"triangle", Wave::Triangle}, {"saw", Wave::Saw},
      {"square", Wave::Square}, {"noise", Wave::Noise},     {"crackle", Wave::Crackle}};
  return table;
}

const std::map<std::string, FilterType>& filter_types() {
  static const std::map<std::string, FilterType> table{{"lowpass", FilterType::Lowpass},
                                                       {"highpass", FilterType::Highpass},
                                                       {"bandpass", FilterType::Bandpass},
                                                       {"notch", FilterType::Notch}};
  return table;
}

FilterSpec parse_filter(Parser& p, FilterType type) {
  FilterSpec f;
  f.type = type;
  f.cutoff = p.curve(true);
  if (p.more() && p.peek() == "q") {
    p.word("q");
    f.q = p.number("q");
    if (f.q <= 0.0) p.fail("q must be positive");
  }
  return f;
}

Range parse_range(Parser& p) {
  Range r;
  r.lo = p.number("minimum");
  r.hi = p.number("maximum");
  if (r.lo > r.hi) p.fail("minimum above maximum");
  return r;
}

// notes STEP GLIDE NOTE...: the frequency steps through the notes, STEP seconds each,
// sliding GLIDE seconds into every new note.
Curve parse_notes(Parser& p) {
  const double step = p.number("step");
  const double glide = p.number("glide");
  if (step <= 0.0 || glide < 0.0 || glide > step) p.fail("notes need 0 <= glide <= step, step > 0");
  Curve c(p.frequency("note"));
  c.add({c.start(), step, Shape::Hold});
  while (p.more()) {
    const double f = p.frequency("note");
    c.add({f, glide, Shape::Exponential});
    c.add({f, step - glide, Shape::Hold});
  }
  return c;
}

void parse_voice_line(Parser& p, const std::string& key, VoiceSpec& v) {
  if (key == "at") {
    v.at = p.number("time");
  } else if (key == "seed") {
    v.seed = static_cast<std::uint64_t>(p.number("seed"));
  } else if (key == "freq") {
    v.freq = p.curve(true);
  } else if (key == "notes") {
    v.freq = parse_notes(p);
  } else if (key == "amp") {
    v.amp = p.curve(false);
  } else if (key == "duty") {
    v.duty = p.curve(false);
  } else if (key == "gain") {
    v.gain_db = p.number("gain");
  } else if (key == "vibrato" || key == "tremolo" || key == "jitter") {
    Lfo l{p.number("rate"), p.number("depth")};
    (key == "vibrato" ? v.vibrato : key == "tremolo" ? v.tremolo : v.jitter) = l;
  } else if (key == "fm") {
    v.fm_ratio = p.number("ratio");
    v.fm_index = p.curve(false);
  } else if (key == "ring") {
    v.ring = p.frequency("frequency");
  } else if (key == "unison") {
    v.unison = static_cast<int>(p.number("count"));
    v.unison_cents = p.number("cents");
    if (v.unison < 1 || v.unison > 8) p.fail("unison takes 1..8 copies");
  } else if (auto f = filter_types().find(key); f != filter_types().end()) {
    v.filters.push_back(parse_filter(p, f->second));
  } else if (key == "drive") {
    v.drive_db = p.number("drive");
  } else {
    p.fail("unknown voice setting '" + key + "'");
  }
}

void parse_master_line(Parser& p, const std::string& key, MasterSpec& m) {
  if (auto f = filter_types().find(key); f != filter_types().end()) {
    m.filters.push_back(parse_filter(p, f->second));
  } else if (key == "drive") {
    m.drive_db = p.number("drive");
  } else if (key == "echo") {
    m.echo = {p.number("delay"), p.number("feedback"), p.number("mix")};
    if (m.echo.delay <= 0.0 || m.echo.feedback < 0.0 || m.echo.feedback >= 1.0)
      p.fail("echo needs a positive delay and a feedback in 0..1");
  } else {
    p.fail("unknown master setting '" + key + "'");
  }
}

void parse_global_line(Parser& p, const std::string& key, Recipe& r, bool expect_seen[3]) {
  if (key == "rate") {
    r.sample_rate = static_cast<int>(p.number("rate"));
    if (r.sample_rate < 8000 || r.sample_rate > 96000) p.fail("sample rate out of 8000..96000");
  } else if (key == "length") {
    r.length = p.number("length");
    if (r.length <= 0.0 || r.length > 10.0) p.fail("length out of 0..10 s");
  } else if (key == "level") {
    r.level_db = p.number("level");
  } else if (key == "ceiling") {
    r.ceiling_db = p.number("ceiling");
  } else if (key == "fade") {
    r.fade_in = p.number("fade-in");
    r.fade_out = p.number("fade-out");
  } else if (key == "expect") {
    const std::string& what = p.word("measure");
    const int i = what == "length" ? 0 : what == "peak" ? 1 : what == "loudness" ? 2 : -1;
    if (i < 0) p.fail("expect takes length, peak or loudness");
    (i == 0 ? r.expect_length : i == 1 ? r.expect_peak : r.expect_loudness) = parse_range(p);
    expect_seen[i] = true;
  } else if (key == "rates") {
    r.rates = parse_range(p);
  } else if (key == "info") {
    const std::string& s = p.word("text");
    if (s.size() < 2 || s.front() != '"') p.fail("info takes a quoted text");
    r.info = s.substr(1, s.size() - 2);
  } else if (key == "fmt") {
    if (p.word("format") != "extended") p.fail("fmt takes 'extended'");
    r.fmt_extended = true;
  } else {
    p.fail("unknown setting '" + key + "'");
  }
}

}  // namespace

std::optional<double> note_frequency(std::string_view name) {
  static constexpr int kSteps[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G from C
  if (name.size() < 2 || name[0] < 'A' || name[0] > 'G') return std::nullopt;
  int semitone = kSteps[name[0] - 'A'];
  std::size_t i = 1;
  if (name[i] == '#') {
    ++semitone;
    ++i;
  } else if (name[i] == 'b') {
    --semitone;
    ++i;
  }
  if (i + 1 != name.size() || name[i] < '0' || name[i] > '9') return std::nullopt;
  const int midi = (name[i] - '0' + 1) * 12 + semitone;
  return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

Recipe parse_recipe(std::string_view text, const std::string& name, const std::string& origin) {
  Recipe r;
  r.name = name;
  enum class Section { Global, Voice, Master } section = Section::Global;
  bool expect_seen[3] = {false, false, false};
  for (const Line& line : split_lines(text, origin)) {
    Parser p(origin, line);
    const std::string& key = line.words[0];
    if (key == "voice") {
      const std::string& kind = p.word("waveform");
      const auto w = waves().find(kind);
      if (w == waves().end()) p.fail("unknown waveform '" + kind + "'");
      VoiceSpec v;
      v.wave = w->second;
      // Noise draws a new value every sample unless its rate is set.
      if (v.wave == Wave::Noise) v.freq = Curve(1.0e6);
      v.line = line.number;
      v.seed = r.voices.size() + 1;
      r.voices.push_back(std::move(v));
      section = Section::Voice;
    } else if (key == "master") {
      section = Section::Master;
    } else if (section == Section::Voice) {
      parse_voice_line(p, key, r.voices.back());
    } else if (section == Section::Master) {
      parse_master_line(p, key, r.master);
    } else {
      parse_global_line(p, key, r, expect_seen);
    }
    p.done();
  }
  const char* names[3] = {"length", "peak", "loudness"};
  for (int i = 0; i < 3; ++i)
    if (!expect_seen[i]) throw RecipeError(origin + ": no 'expect " + names[i] + "'");
  if (r.length <= 0.0) throw RecipeError(origin + ": no length");
  if (r.voices.empty()) throw RecipeError(origin + ": no voice");
  if (r.ceiling_db > 0.0) throw RecipeError(origin + ": ceiling above full scale");
  return r;
}

Recipe load_recipe(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw RecipeError(file.string() + ": cannot open");
  std::ostringstream text;
  text << in.rdbuf();
  return parse_recipe(text.str(), file.stem().string(), file.string());
}

}  // namespace sfx
