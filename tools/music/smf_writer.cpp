#include "smf_writer.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>
#include <string>

namespace mml {

namespace {

struct Event {
  std::uint32_t tick;
  int order;  // at one tick: note-offs, then programs, controllers, note-ons
  std::vector<std::uint8_t> bytes;
};

void put_vlq(std::vector<std::uint8_t>& out, std::uint32_t v) {
  std::uint8_t buf[5];
  int n = 0;
  buf[n++] = v & 0x7F;
  while (v >>= 7) buf[n++] = static_cast<std::uint8_t>(0x80 | (v & 0x7F));
  while (n) out.push_back(buf[--n]);
}

void put_u32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<std::uint8_t>(v >> s));
}

std::vector<std::uint8_t> meta(std::uint8_t type, const std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> b{0xFF, type};
  put_vlq(b, static_cast<std::uint32_t>(data.size()));
  b.insert(b.end(), data.begin(), data.end());
  return b;
}

std::vector<std::uint8_t> text_meta(std::uint8_t type, const std::string& s) {
  return meta(type, std::vector<std::uint8_t>(s.begin(), s.end()));
}

// A chunk "MTrk" with the events in time order and the end-of-track at `end`.
void put_track(std::vector<std::uint8_t>& out, std::vector<Event> events, std::uint32_t end) {
  std::stable_sort(events.begin(), events.end(),
                   [](const Event& a, const Event& b) { return a.tick != b.tick ? a.tick < b.tick : a.order < b.order; });
  std::vector<std::uint8_t> data;
  std::uint32_t now = 0;
  for (const Event& e : events) {
    put_vlq(data, e.tick - now);
    now = e.tick;
    data.insert(data.end(), e.bytes.begin(), e.bytes.end());
  }
  put_vlq(data, std::max(end, now) - now);
  const auto eot = meta(0x2F, {});
  data.insert(data.end(), eot.begin(), eot.end());
  out.insert(out.end(), {'M', 'T', 'r', 'k'});
  put_u32(out, static_cast<std::uint32_t>(data.size()));
  out.insert(out.end(), data.begin(), data.end());
}

}  // namespace

std::vector<std::uint8_t> encode_smf(const Score& score) {
  if (score.tracks.size() > 0xFFFE) throw std::invalid_argument("too many tracks");
  std::vector<std::uint8_t> out{'M', 'T', 'h', 'd'};
  put_u32(out, 6);
  out.insert(out.end(), {0, 1});  // format 1
  const auto ntracks = static_cast<std::uint16_t>(score.tracks.size() + 1);
  out.push_back(static_cast<std::uint8_t>(ntracks >> 8));
  out.push_back(static_cast<std::uint8_t>(ntracks));
  out.push_back(static_cast<std::uint8_t>(score.division >> 8));
  out.push_back(static_cast<std::uint8_t>(score.division));

  const std::uint32_t end = score.length();
  std::vector<Event> conductor;
  if (!score.title.empty()) conductor.push_back({0, 0, text_meta(0x03, score.title)});
  int log2 = 0;
  while ((1 << log2) < score.meter_denominator) ++log2;
  conductor.push_back({0, 1,
                       meta(0x58, {static_cast<std::uint8_t>(score.meter_numerator),
                                   static_cast<std::uint8_t>(log2), 24, 8})});
  for (const TempoChange& t : score.tempos) {
    const auto us = static_cast<std::uint32_t>(std::lround(60000000.0 / t.bpm));
    conductor.push_back({t.tick, 2,
                         meta(0x51, {static_cast<std::uint8_t>(us >> 16), static_cast<std::uint8_t>(us >> 8),
                                     static_cast<std::uint8_t>(us)})});
  }
  put_track(out, conductor, end);

  for (const Track& track : score.tracks) {
    const auto ch = static_cast<std::uint8_t>(track.channel & 0x0F);
    std::vector<Event> events;
    events.push_back({0, -1, text_meta(0x03, track.name)});
    for (const Control& c : track.controls) {
      if (c.controller < 0)
        events.push_back({c.tick, 1, {static_cast<std::uint8_t>(0xC0 | ch), c.value}});
      else
        events.push_back({c.tick, 2, {static_cast<std::uint8_t>(0xB0 | ch), static_cast<std::uint8_t>(c.controller), c.value}});
    }
    for (const Note& n : track.notes) {
      events.push_back({n.start, 3, {static_cast<std::uint8_t>(0x90 | ch), n.key, n.velocity}});
      events.push_back({n.start + n.duration, 0, {static_cast<std::uint8_t>(0x80 | ch), n.key, 0}});
    }
    put_track(out, std::move(events), end);
  }
  return out;
}

void write_smf(const std::filesystem::path& file, const Score& score) {
  const std::vector<std::uint8_t> bytes = encode_smf(score);
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

}  // namespace mml
