#include "audio/midi_check.h"

#include <algorithm>
#include <string_view>

namespace audio {
namespace {

// The synthesizer's player holds at most this many tracks.
constexpr std::uint16_t kMaxTracks = 128;

std::uint32_t BigEndian(std::span<const std::uint8_t> b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v = (v << 8) | b[at + static_cast<std::size_t>(i)];
    return v;
}

std::string Hex(unsigned v) {
    constexpr std::string_view digits = "0123456789ABCDEF";
    return std::string("0x") + digits[(v >> 4) & 15] + digits[v & 15];
}

// One track's events, from at to end (the chunk's bounds inside the file).
class TTrackReader {
public:
    TTrackReader(std::span<const std::uint8_t> file, std::size_t at, std::size_t end)
        : file_(file), pos_(at), end_(end) {}

    // Empty when every event parses, else what is wrong. The tempo changes go to tempos.
    std::string Check(std::vector<TMidiTempo>& tempos) {
        tempos_ = &tempos;
        while (pos_ < end_) {
            std::uint32_t delta = 0;
            if (!VarLen(delta)) return "a delta time runs past the track or over four bytes";
            tick_ += delta;
            if (pos_ >= end_) return "the track ends after a delta time";
            std::uint8_t status = file_[pos_];
            if (status < 0x80) {
                if (running_ == 0) return "a data byte with no status before it";
                status = running_;
            } else {
                ++pos_;
            }
            if (status == 0xFF) {
                std::string e = Meta();
                if (!e.empty() || ended_) return e;
            } else if (status == 0xF0) {
                std::uint32_t length = 0;
                if (!VarLen(length) || !Skip(length)) return "a system-exclusive event runs past the track";
                running_ = 0;
            } else if (status > 0xF0) {
                return "system message " + Hex(status) + " in a track";
            } else {
                const int count = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2;
                for (int i = 0; i < count; ++i) {
                    if (pos_ >= end_) return "a channel message runs past the track";
                    if (file_[pos_++] >= 0x80) return "a channel message with a data byte of 0x80 or more";
                }
                running_ = status;
            }
        }
        return {};
    }

    // The tick of the last event read.
    std::uint32_t Tick() const { return tick_; }

private:
    bool VarLen(std::uint32_t& v) {
        v = 0;
        for (int i = 0; i < 4; ++i) {
            if (pos_ >= end_) return false;
            const std::uint8_t b = file_[pos_++];
            v = (v << 7) | (b & 0x7F);
            if ((b & 0x80) == 0) return true;
        }
        return false;
    }

    bool Skip(std::uint32_t n) {
        if (end_ - pos_ < n) return false;
        pos_ += n;
        return true;
    }

    std::string Meta() {
        if (pos_ >= end_) return "a meta event runs past the track";
        const std::uint8_t type = file_[pos_++];
        std::uint32_t length = 0;
        if (!VarLen(length) || !Skip(length)) return "a meta event runs past the track";
        running_ = 0;
        std::uint32_t fixed = length;
        switch (type) {
            case 0x2F: fixed = 0; ended_ = true; break;   // end of track
            case 0x51: fixed = 3; break;                  // tempo
            case 0x54: fixed = 5; break;                  // SMPTE offset
            case 0x58: fixed = 4; break;                  // time signature
            case 0x59: fixed = 2; break;                  // key signature
            default: break;
        }
        if (length != fixed) return "meta event " + Hex(type) + " of length " + std::to_string(length);
        if (type == 0x51) tempos_->push_back(TMidiTempo{tick_, BigEndian(file_, pos_ - 3, 3)});
        return {};
    }

    std::span<const std::uint8_t> file_;
    std::size_t pos_;
    std::size_t end_;
    std::uint8_t running_ = 0;
    bool ended_ = false;
    std::uint32_t tick_ = 0;
    std::vector<TMidiTempo>* tempos_ = nullptr;
};

bool Ascii(std::span<const std::uint8_t> file, std::size_t at) {
    for (std::size_t i = 0; i < 4; ++i)
        if (file[at + i] >= 0x80) return false;
    return true;
}

bool Tag(std::span<const std::uint8_t> file, std::size_t at, std::string_view tag) {
    for (std::size_t i = 0; i < 4; ++i)
        if (file[at + i] != static_cast<std::uint8_t>(tag[i])) return false;
    return true;
}

}  // namespace

TMidiCheck CheckMidi(std::span<const std::uint8_t> file) {
    TMidiCheck r;
    if (file.size() < 14 || !Tag(file, 0, "MThd")) {
        r.Error = "not a MIDI file (no MThd header)";
        return r;
    }
    if (BigEndian(file, 4, 4) != 6) {
        r.Error = "an MThd header of length " + std::to_string(BigEndian(file, 4, 4)) + " (6 expected)";
        return r;
    }
    r.Format = static_cast<std::uint16_t>(BigEndian(file, 8, 2));
    r.Tracks = static_cast<std::uint16_t>(BigEndian(file, 10, 2));
    r.Division = static_cast<std::uint16_t>(BigEndian(file, 12, 2));
    if (r.Format > 1) {
        r.Error = "MIDI format " + std::to_string(r.Format) + " (0 or 1 are played)";
        return r;
    }
    if (r.Tracks == 0 || r.Tracks > kMaxTracks || (r.Format == 0 && r.Tracks != 1)) {
        r.Error = std::to_string(r.Tracks) + " tracks in a format " + std::to_string(r.Format) + " file";
        return r;
    }
    if (r.Division == 0 || (r.Division & 0x8000) != 0) {
        r.Error = "time division " + std::to_string(r.Division) + " (ticks per quarter note are played)";
        return r;
    }
    std::size_t at = 14;
    for (std::uint16_t found = 0; found < r.Tracks;) {
        if (file.size() - at < 8) {
            r.Error = "the file ends after " + std::to_string(found) + " of " + std::to_string(r.Tracks) + " tracks";
            return r;
        }
        const std::uint32_t length = BigEndian(file, at + 4, 4);
        if (!Ascii(file, at)) {
            r.Error = "a chunk without a name at byte " + std::to_string(at);
            return r;
        }
        if (length > file.size() - at - 8) {
            r.Error = "a chunk of " + std::to_string(length) + " bytes runs past the end of the file";
            return r;
        }
        const std::size_t body = at + 8;
        if (Tag(file, at, "MTrk")) {
            TTrackReader track(file, body, body + length);
            const std::string error = track.Check(r.Tempos);
            if (!error.empty()) {
                r.Error = "track " + std::to_string(found + 1) + ": " + error;
                return r;
            }
            r.EndTick = std::max(r.EndTick, track.Tick());
            ++found;
        }
        at = body + length;
    }
    // Tracks are read one after another; the player merges their tempo changes by tick (a
    // later track's change at the same tick comes later, as the player sends it).
    std::stable_sort(r.Tempos.begin(), r.Tempos.end(),
                     [](const TMidiTempo& a, const TMidiTempo& b) { return a.Tick < b.Tick; });
    r.Ok = true;
    return r;
}

}  // namespace audio
