#pragma once
// Small sounds and pieces made by the tests themselves: wave files of any format (with the
// chunk layouts the loader must cope with) and standard MIDI files, plus the measurements
// taken on rendered buffers.

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

namespace testsound {

// ---- Wave files --------------------------------------------------------------------------

struct WaveDesc {
    std::uint16_t channels = 1;
    std::uint32_t rate = 22050;
    std::uint16_t bits = 16;
    std::vector<float> samples;        // interleaved, -1..1
    std::uint16_t fmtExtra = 0;        // bytes after the 16 standard fmt bytes (cbSize and more)
    bool listChunk = false;            // a LIST chunk between fmt and data
};

inline void Put16(std::vector<std::uint8_t>& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}

inline void Put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

inline void PutTag(std::vector<std::uint8_t>& b, const char* tag) { b.insert(b.end(), tag, tag + 4); }

inline std::vector<std::uint8_t> WaveBytes(const WaveDesc& s) {
    std::vector<std::uint8_t> data;
    for (float v : s.samples) {
        const float c = std::clamp(v, -1.0f, 1.0f);
        if (s.bits == 8) {
            data.push_back(static_cast<std::uint8_t>(std::lrint(c * 127.0f) + 128));
        } else {
            Put16(data, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lrint(c * 32767.0f))));
        }
    }
    const std::uint16_t block = static_cast<std::uint16_t>(s.channels * (s.bits / 8));
    std::vector<std::uint8_t> fmt;
    Put16(fmt, 1);
    Put16(fmt, s.channels);
    Put32(fmt, s.rate);
    Put32(fmt, s.rate * block);
    Put16(fmt, block);
    Put16(fmt, s.bits);
    if (s.fmtExtra >= 2) {
        Put16(fmt, s.fmtExtra - 2u);                       // cbSize
        for (int i = 2; i < s.fmtExtra; ++i) fmt.push_back('d');   // bytes that look like a tag's start
    }
    std::vector<std::uint8_t> b;
    PutTag(b, "RIFF");
    Put32(b, 0);
    PutTag(b, "WAVE");
    PutTag(b, "fmt ");
    Put32(b, static_cast<std::uint32_t>(fmt.size()));
    b.insert(b.end(), fmt.begin(), fmt.end());
    if (s.listChunk) {
        PutTag(b, "LIST");
        Put32(b, 12);
        PutTag(b, "INFO");
        PutTag(b, "ISFT");
        Put32(b, 0);
    }
    PutTag(b, "data");
    Put32(b, static_cast<std::uint32_t>(data.size()));
    b.insert(b.end(), data.begin(), data.end());
    const auto riff = static_cast<std::uint32_t>(b.size() - 8);
    for (int i = 0; i < 4; ++i) b[4 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(riff >> (8 * i));
    return b;
}

// A sine of channels identical channels.
inline std::vector<float> Sine(double hz, std::uint32_t rate, double seconds, float amplitude = 0.5f,
                               int channels = 1) {
    const auto n = static_cast<std::size_t>(seconds * rate);
    std::vector<float> out(n * static_cast<std::size_t>(channels));
    for (std::size_t i = 0; i < n; ++i) {
        const float v = amplitude * static_cast<float>(std::sin(2.0 * std::numbers::pi * hz * static_cast<double>(i) / rate));
        for (int c = 0; c < channels; ++c) out[i * static_cast<std::size_t>(channels) + static_cast<std::size_t>(c)] = v;
    }
    return out;
}

inline void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A fresh folder under the temporary directory (the process id keeps concurrent runs apart).
inline std::filesystem::path TempFolder(const std::string& name) {
    const auto dir = std::filesystem::temp_directory_path() / ("korrindal_" + name + "_" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

// ---- MIDI files ---------------------------------------------------------------------------

struct MidiTrack {
    std::vector<std::uint8_t> events;
    void Delta(std::uint32_t ticks) {
        std::uint8_t buf[4];
        int n = 0;
        buf[n++] = ticks & 0x7F;
        while ((ticks >>= 7) != 0) buf[n++] = static_cast<std::uint8_t>(0x80 | (ticks & 0x7F));
        while (n > 0) events.push_back(buf[--n]);
    }
    void Event(std::uint32_t delta, std::initializer_list<std::uint8_t> bytes) {
        Delta(delta);
        events.insert(events.end(), bytes);
    }
    void Program(std::uint8_t channel, std::uint8_t program) { Event(0, {static_cast<std::uint8_t>(0xC0 | channel), program}); }
    void Note(std::uint8_t channel, std::uint8_t key, std::uint32_t length, std::uint8_t velocity = 100,
              std::uint32_t delay = 0) {
        Event(delay, {static_cast<std::uint8_t>(0x90 | channel), key, velocity});
        Event(length, {static_cast<std::uint8_t>(0x80 | channel), key, 0});
    }
    void End() { Event(0, {0xFF, 0x2F, 0x00}); }
};

inline std::vector<std::uint8_t> MidiBytes(const std::vector<MidiTrack>& tracks, std::uint16_t division = 96) {
    std::vector<std::uint8_t> b{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, static_cast<std::uint8_t>(tracks.size() > 1 ? 1 : 0)};
    b.push_back(static_cast<std::uint8_t>(tracks.size() >> 8));
    b.push_back(static_cast<std::uint8_t>(tracks.size()));
    b.push_back(static_cast<std::uint8_t>(division >> 8));
    b.push_back(static_cast<std::uint8_t>(division));
    for (const MidiTrack& t : tracks) {
        b.insert(b.end(), {'M', 'T', 'r', 'k'});
        const auto n = static_cast<std::uint32_t>(t.events.size());
        for (int i = 3; i >= 0; --i) b.push_back(static_cast<std::uint8_t>(n >> (8 * i)));
        b.insert(b.end(), t.events.begin(), t.events.end());
    }
    return b;
}

// One sustained note (a flute holds it without decay, nearly a sine) for seconds at 120
// beats a minute.
inline std::vector<std::uint8_t> HeldNote(std::uint8_t key, double seconds, std::uint8_t program = 73) {
    MidiTrack t;
    t.Program(0, program);
    t.Note(0, key, static_cast<std::uint32_t>(seconds * 2 * 96));
    t.End();
    return MidiBytes({t});
}

// ---- Measurements on interleaved stereo buffers ---------------------------------------------

inline double Rms(const std::vector<float>& stereo, int channel, std::size_t from = 0, std::size_t to = SIZE_MAX) {
    to = std::min(to, stereo.size() / 2);
    double sum = 0.0;
    for (std::size_t i = from; i < to; ++i) sum += double(stereo[2 * i + channel]) * stereo[2 * i + channel];
    return to > from ? std::sqrt(sum / static_cast<double>(to - from)) : 0.0;
}

inline double Peak(const std::vector<float>& stereo) {
    double p = 0.0;
    for (float v : stereo) p = std::max(p, static_cast<double>(std::abs(v)));
    return p;
}

inline double Db(double ratio) { return 20.0 * std::log10(ratio); }

// The amplitude of the component at hz (Goertzel over a Hann window), frames from..to of one
// channel.
inline double ToneAmplitude(const std::vector<float>& stereo, int channel, double hz, double rate, std::size_t from,
                            std::size_t to) {
    to = std::min(to, stereo.size() / 2);
    const double w = 2.0 * std::numbers::pi * hz / rate;
    double re = 0.0, im = 0.0, windowSum = 0.0;
    const double n = static_cast<double>(to - from);
    for (std::size_t i = from; i < to; ++i) {
        const double k = static_cast<double>(i - from);
        const double hann = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * k / n);
        const double v = stereo[2 * i + channel] * hann;
        re += v * std::cos(w * k);
        im -= v * std::sin(w * k);
        windowSum += hann;
    }
    return 2.0 * std::sqrt(re * re + im * im) / windowSum;
}

// The strongest component within 3 % of hz (an instrument of a soundfont is rarely tuned
// exactly, and may carry vibrato).
inline double ToneNear(const std::vector<float>& stereo, int channel, double hz, double rate, std::size_t from,
                       std::size_t to) {
    double best = 0.0;
    for (double f = hz * 0.97; f <= hz * 1.03; f += 1.0)
        best = std::max(best, ToneAmplitude(stereo, channel, f, rate, from, to));
    return best;
}

// The frequency of a clean tone from its upward zero crossings (first to last crossing).
inline double ZeroCrossingHz(const std::vector<float>& stereo, int channel, double rate, std::size_t from,
                             std::size_t to) {
    to = std::min(to, stereo.size() / 2);
    double first = -1.0, last = -1.0;
    int crossings = 0;
    for (std::size_t i = from + 1; i < to; ++i) {
        const float a = stereo[2 * (i - 1) + channel], b = stereo[2 * i + channel];
        if (a < 0.0f && b >= 0.0f) {
            const double t = static_cast<double>(i - 1) + a / (a - b);   // interpolated crossing
            if (first < 0.0) first = t;
            last = t;
            ++crossings;
        }
    }
    return crossings > 1 ? (crossings - 1) * rate / (last - first) : 0.0;
}

}  // namespace testsound
