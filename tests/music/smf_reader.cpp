#include "smf_reader.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <stdexcept>

namespace music_test {

namespace {

class Reader {
 public:
  Reader(const std::vector<std::uint8_t>& b, std::size_t begin, std::size_t end) : b_(b), at_(begin), end_(end) {}
  bool done() const { return at_ >= end_; }
  std::size_t at() const { return at_; }
  std::uint8_t byte() {
    if (at_ >= end_) fail("unexpected end of chunk");
    return b_[at_++];
  }
  std::uint8_t peek() const {
    if (at_ >= end_) fail("unexpected end of chunk");
    return b_[at_];
  }
  std::uint32_t vlq() {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
      const std::uint8_t c = byte();
      v = (v << 7) | (c & 0x7F);
      if (!(c & 0x80)) return v;
    }
    fail("variable-length number longer than four bytes");
  }
  void skip(std::uint32_t n) {
    if (at_ + n > end_) fail("data runs past the end of its chunk");
    at_ += n;
  }
  [[noreturn]] void fail(const std::string& what) const {
    throw std::runtime_error(what + " at byte " + std::to_string(at_));
  }

 private:
  const std::vector<std::uint8_t>& b_;
  std::size_t at_, end_;
};

std::uint32_t be32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3];
}

}  // namespace

double Midi::seconds_at(std::uint32_t tick) const {
  double s = 0.0;
  std::uint32_t at = 0, us = 500000;
  for (const auto& [t, u] : tempos) {
    if (t >= tick) break;
    s += (t - at) * (us / 1e6) / division;
    at = t;
    us = u;
  }
  return s + (tick - at) * (us / 1e6) / division;
}

Midi parse_midi(const std::vector<std::uint8_t>& b) {
  Midi m;
  if (b.size() < 14 || std::memcmp(b.data(), "MThd", 4) != 0 || be32(b, 4) != 6)
    throw std::runtime_error("no MThd header of length 6");
  m.format = b[8] << 8 | b[9];
  m.track_count = b[10] << 8 | b[11];
  m.division = b[12] << 8 | b[13];
  if (m.format > 2 || m.track_count < 1 || m.division <= 0 || (m.division & 0x8000))
    throw std::runtime_error("bad header fields");
  std::size_t at = 14;
  for (int t = 0; t < m.track_count; ++t) {
    if (at + 8 > b.size() || std::memcmp(b.data() + at, "MTrk", 4) != 0)
      throw std::runtime_error("track " + std::to_string(t) + " missing");
    const std::uint32_t length = be32(b, at + 4);
    if (at + 8 + length > b.size()) throw std::runtime_error("track " + std::to_string(t) + " truncated");
    Reader r(b, at + 8, at + 8 + length);
    std::uint32_t tick = 0;
    std::uint8_t status = 0;
    bool ended = false;
    std::map<std::pair<int, int>, std::vector<std::size_t>> open;  // channel, key -> note indices
    while (!r.done()) {
      if (ended) r.fail("events after the end of track");
      tick += r.vlq();
      if (r.peek() & 0x80) status = r.byte();
      else if (status == 0 || status >= 0xF0) r.fail("running status without a status");
      if (status == 0xFF) {
        const std::uint8_t type = r.byte();
        const std::uint32_t n = r.vlq();
        if (type == 0x51) {
          if (n != 3) r.fail("tempo event of wrong length");
          const std::uint32_t hi = r.byte(), mid = r.byte(), lo = r.byte();
          m.tempos.emplace_back(tick, hi << 16 | mid << 8 | lo);
        } else if (type == 0x2F) {
          if (n != 0) r.fail("end of track with data");
          ended = true;
        } else {
          r.skip(n);
        }
        status = 0;
      } else if (status == 0xF0 || status == 0xF7) {
        r.skip(r.vlq());
        status = 0;
      } else {
        const int kind = status & 0xF0, ch = status & 0x0F;
        const std::uint8_t d1 = r.byte();
        if (d1 & 0x80) r.fail("data byte with the top bit set");
        std::uint8_t d2 = 0;
        if (kind != 0xC0 && kind != 0xD0) {
          d2 = r.byte();
          if (d2 & 0x80) r.fail("data byte with the top bit set");
        }
        if (kind == 0x90 && d2 > 0) {
          open[{ch, d1}].push_back(m.notes.size());
          m.notes.push_back({tick, tick, ch, d1, d2});
        } else if (kind == 0x80 || kind == 0x90) {
          auto& list = open[{ch, d1}];
          if (list.empty()) r.fail("note off without a note on");
          m.notes[list.front()].end = tick;
          list.erase(list.begin());
        } else if (kind == 0xC0) {
          m.programs.emplace_back(ch, d1);
        }
      }
    }
    if (!ended) throw std::runtime_error("track " + std::to_string(t) + " has no end of track");
    for (const auto& [k, list] : open)
      if (!list.empty()) throw std::runtime_error("a note is never released");
    m.last_tick = std::max(m.last_tick, tick);
    at += 8 + length;
  }
  if (at != b.size()) throw std::runtime_error("bytes after the last track");
  std::stable_sort(m.tempos.begin(), m.tempos.end(), [](auto& a, auto& c) { return a.first < c.first; });
  return m;
}

}  // namespace music_test
