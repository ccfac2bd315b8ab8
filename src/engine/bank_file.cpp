#include "engine/bank_file.h"

#include <cstdio>
#include <memory>

namespace engine {

bool readBankFile(const std::string& path, sp4::Header& header, std::vector<sp4::PatternFields>& records,
                  std::string& error) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!f) {
        error = "cannot open " + path;
        return false;
    }
    std::uint8_t head[sp4::kHeaderSize];
    if (std::fread(head, 1, sizeof head, f.get()) != sizeof head) {
        error = path + " is shorter than its header";
        return false;
    }
    const sp4::Header h = sp4::decodeHeader(head);
    if (h.last < -1) {
        error = path + " has an invalid pattern count (Last " + std::to_string(h.last) + ")";
        return false;
    }
    // Check the length before allocating, so a huge Last cannot exhaust memory.
    if (std::fseek(f.get(), 0, SEEK_END) != 0) {
        error = "cannot read " + path;
        return false;
    }
    const long size = std::ftell(f.get());
    // In 64 bits: a Last of 2^31 - 1 must not wrap to a small count.
    const long long count64 = static_cast<long long>(h.last) + 1;
    const long long need = sp4::kHeaderSize + count64 * sp4::kRecordSize;
    if (size < need) {
        error = path + " is truncated: Last " + std::to_string(h.last) + " needs " + std::to_string(need) +
                " bytes, the file has " + std::to_string(size);
        return false;
    }
    std::fseek(f.get(), sp4::kHeaderSize, SEEK_SET);
    const std::size_t count = static_cast<std::size_t>(count64);
    std::vector<std::uint8_t> bytes(count * sp4::kRecordSize);
    if (!bytes.empty() && std::fread(bytes.data(), 1, bytes.size(), f.get()) != bytes.size()) {
        error = "cannot read the patterns of " + path;
        return false;
    }
    records.resize(count);
    for (std::size_t i = 0; i < count; ++i) records[i] = sp4::decodeRecord(bytes.data() + i * sp4::kRecordSize);
    header = h;
    return true;
}

TBankSetResult readBankSet(TBankTable& banks, TPatternRecords& records, std::string& error) {
    std::array<std::vector<sp4::PatternFields>, kBankCount> read;
    for (int i = 0; i < kBankCount; ++i) {
        TBankRec& bank = banks[static_cast<std::size_t>(i)];
        if (bank.fileName.empty()) continue;
        sp4::Header header;
        if (!readBankFile(bank.fileName, header, read[static_cast<std::size_t>(i)], error)) return TBankSetResult::BadFile;
        bank.sysMem = header.sysMem;
        bank.rotate = header.rotate;
        bank.last = header.last;
    }
    const int overflow = layoutBankIndices(banks);
    if (overflow >= 0) {
        error = bankOverflowMessage(banks[static_cast<std::size_t>(overflow)], overflow);
        return TBankSetResult::Overflow;
    }
    for (int i = 0; i < kBankCount; ++i) {
        const auto& recs = read[static_cast<std::size_t>(i)];
        const auto first = static_cast<std::size_t>(banks[static_cast<std::size_t>(i)].first);
        for (std::size_t k = 0; k < recs.size(); ++k) {
            records[first + k] = recs[k];
            records[first + k].bank = static_cast<std::uint8_t>(i);
        }
    }
    return TBankSetResult::Ok;
}

int layoutBankIndices(TBankTable& banks) {
    int overflow = -1;
    std::int64_t next = 0;
    for (int i = 0; i < kBankCount; ++i) {
        TBankRec& b = banks[static_cast<std::size_t>(i)];
        b.first = static_cast<std::int32_t>(next);
        next += static_cast<std::int64_t>(b.last) + 1;
        if (overflow < 0 && next > kPatternCount) overflow = i;
        if (next > kPatternCount) next = kPatternCount;  // keeps later Firsts in range
    }
    return overflow;
}

std::string bankOverflowMessage(const TBankRec& bank, int index) {
    return "RealizeBank.TooManyPatterns - " + (bank.fileName.empty() ? "bank " + std::to_string(index) : bank.fileName) +
           " (patterns " + std::to_string(bank.first) + " to " + std::to_string(bank.first + bank.last) +
           " beyond the table of " + std::to_string(kPatternCount) + ")";
}

sp4::Rect scaleSource(const sp4::Rect& r, int sizeRate) {
    if (sizeRate == 4) return r;
    auto sc = [sizeRate](std::int32_t v) {
        return static_cast<std::int32_t>((static_cast<std::int64_t>(v) * sizeRate) >> 2);
    };
    return sp4::Rect{sc(r.left), sc(r.top), sc(r.right), sc(r.bottom)};
}

bool sourceInside(const sp4::Rect& r, int width, int height) {
    return r.left >= 0 && r.top >= 0 && r.left <= r.right && r.top <= r.bottom && r.right <= width &&
           r.bottom <= height;
}

}  // namespace engine
