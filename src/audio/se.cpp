#include "audio/se.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <new>
#include <span>
#include <system_error>
#include <vector>

#include "audio/file_bytes.h"
#include "audio/report_once.h"

namespace audio {

std::array<TSoundSlot, kSoundSlots> Sounds;
bool SoundReady = false;
bool SEReverse = false;

namespace {

TMixer* Mixer = nullptr;

// Effects are short; a wave file larger than this is not one of ours.
constexpr std::size_t kMaxWaveFileBytes = 64u << 20;
// The sizes a sound buffer can have.
constexpr std::uint32_t kMinBufferBytes = 4;
constexpr std::uint32_t kMaxBufferBytes = 0x0FFFFFFF;

bool FileExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

void Report(const TSoundSlot& slot, const std::string& problem) {
    ReportOnce("sound '" + slot.FileName + "': " + problem);
}

// Reads, checks and decodes the slot's file into a buffer and its duplicate.
bool LoadSlot(TSoundSlot& slot) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!ReadFileBytes(slot.FileName, kMaxWaveFileBytes, bytes, error)) {
        Report(slot, error + "; the slot stays silent");
        return false;
    }
    const TWaveParse wave = ParseWave(bytes);
    if (!wave.Ok) {
        Report(slot, wave.Error + "; the slot stays silent");
        return false;
    }
    slot.Format = wave.Format;
    if (wave.DataSize < kMinBufferBytes || wave.DataSize > kMaxBufferBytes) {
        Report(slot, "no buffer for " + std::to_string(wave.DataSize) + " bytes of sound");
        return false;
    }
    std::unique_ptr<TSoundData> data;
    try {
        data = std::make_unique<TSoundData>(
            DecodePcm(wave.Format, std::span<const std::uint8_t>(bytes).subspan(wave.DataOffset, wave.DataSize)));
    } catch (const std::bad_alloc&) {
        Report(slot, "out of memory for its buffer");
        return false;
    }
    slot.Buffer = Mixer->CreateBuffer(*data);
    if (!slot.Buffer.Valid()) {
        Report(slot, "no free voice for its buffer");
        return false;
    }
    slot.Data = std::move(data);
    // Without a duplicate the slot plays its one buffer every time (a new play cuts the last).
    slot.Twin = Mixer->DuplicateBuffer(slot.Buffer);
    if (!slot.Twin.Valid()) Report(slot, "no free voice for a second copy; it plays one at a time");
    return true;
}

// Every buffer released and the mixer let go; not ready any more.
void CloseUnit() {
    if (!SoundReady) return;
    ReleaseSounds();
    Mixer = nullptr;
    SoundReady = false;
}

}  // namespace

bool InitSound(TMixer* mixer) {
    if (SoundReady) CloseUnit();   // the registrations stay
    if (mixer == nullptr) return false;
    Mixer = mixer;
    for (TSoundSlot& slot : Sounds) {
        slot.Buffer = {};
        slot.Twin = {};
        slot.UseTwin = false;
        slot.Data.reset();
    }
    SoundReady = true;
    return true;
}

void ShutdownSound() {
    CloseUnit();
    // The registrations go too, ready or not (the game registers its effects again when it
    // starts), so nothing of the unit stays on the heap.
    for (TSoundSlot& slot : Sounds) std::string().swap(slot.FileName);
}

void SetSound(std::int32_t Index, const std::string& Name, std::int32_t BaseVolume, DataPathFn dataPath) {
    if (Index < 0 || Index >= kSoundSlots) return;
    TSoundSlot& slot = Sounds[static_cast<std::size_t>(Index)];
    slot.FileName = dataPath != nullptr ? dataPath(Name, ".wav") : Name;
    constexpr std::int64_t lo = std::numeric_limits<std::int32_t>::min(), hi = std::numeric_limits<std::int32_t>::max();
    slot.VolumeBase = static_cast<std::int32_t>(std::clamp<std::int64_t>(std::int64_t{BaseVolume} * 100, lo, hi));
}

bool LoadSounds(const TSoundMask& Mask) {
    if (!SoundReady) return false;
    ReleaseSounds();
    bool ok = true;
    for (std::size_t i = 0; i < Sounds.size(); ++i) {
        TSoundSlot& slot = Sounds[i];
        if (!Mask.test(i) || !FileExists(slot.FileName)) continue;
        if (!LoadSlot(slot)) ok = false;
    }
    return ok;
}

void PlaySE(std::int32_t Index, std::int32_t Pan, std::int32_t Volume, std::int32_t Freq) {
    if (!SoundReady || Index < 0 || Index >= kSoundSlots) return;
    TSoundSlot& slot = Sounds[static_cast<std::size_t>(Index)];
    if (!slot.Buffer.Valid()) return;
    std::int64_t pan = Pan;
    if (SEReverse) pan = -pan;
    const TVoiceHandle voice = slot.UseTwin && slot.Twin.Valid() ? slot.Twin : slot.Buffer;
    slot.UseTwin = !slot.UseTwin;
    Mixer->PostRestart(voice, pan * 100, std::int64_t{Volume} * 100 + slot.VolumeBase,
                       std::int64_t{slot.Format.SamplesPerSec} * Freq / 100);
}

void StopSounds() {
    if (!SoundReady) return;
    std::array<TVoiceHandle, 2 * kSoundSlots> voices{};
    std::size_t n = 0;
    for (TSoundSlot& slot : Sounds) {
        if (slot.Buffer.Valid()) voices[n++] = slot.Buffer;
        if (slot.Twin.Valid()) voices[n++] = slot.Twin;
        slot.UseTwin = false;
    }
    Mixer->SilenceBuffers(std::span<const TVoiceHandle>(voices.data(), n));
}

void ReleaseSounds() {
    if (!SoundReady) return;
    StopSounds();
    for (TSoundSlot& slot : Sounds) {
        if (slot.Twin.Valid()) Mixer->ReleaseBuffer(slot.Twin);
        if (slot.Buffer.Valid()) Mixer->ReleaseBuffer(slot.Buffer);
        slot.Twin = {};
        slot.Buffer = {};
        slot.UseTwin = false;
        slot.Data.reset();   // no voice reads it any more
    }
}

}  // namespace audio
