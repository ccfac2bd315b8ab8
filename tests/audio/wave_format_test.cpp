// Reading wave files: the byte-wise chunk search and the checks that keep damaged or
// unplayable files out, whatever their bytes.
#include <gtest/gtest.h>

#include <string_view>

#include "audio/test_sounds.h"
#include "audio/wave_format.h"

namespace {

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

TEST(SeekChunk, RestartsOnTheByteThatBrokeAPartialMatch) {
    struct Case {
        std::string_view bytes;
        std::size_t after;   // position after the match, 0 = not found
    };
    for (const Case c : {Case{"data", 4}, Case{"xxdata", 6}, Case{"ddata", 5}, Case{"dadata", 6},
                         Case{"datdata", 7}, Case{"dat", 0}, Case{"dxtadat", 0}, Case{"", 0}}) {
        SCOPED_TRACE(std::string(c.bytes));
        const auto bytes = Bytes(c.bytes);
        audio::TByteReader in(bytes);
        EXPECT_EQ(audio::SeekChunk(in, "data"), c.after != 0);
        if (c.after != 0) {
            EXPECT_EQ(in.Position(), c.after);
        }
    }
}

TEST(ParseWave, EveryTruncationIsRefusedWithoutReadingPastTheEnd) {
    testsound::WaveDesc desc;
    desc.samples = testsound::Sine(300.0, 22050, 0.01);
    desc.listChunk = true;
    const auto whole = testsound::WaveBytes(desc);
    for (std::size_t n = 0; n < whole.size(); ++n) {
        // A copy of exactly n bytes, so a read past it is a read past the allocation.
        const std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
        const audio::TWaveParse w = audio::ParseWave(cut);
        EXPECT_FALSE(w.Ok) << n;
        EXPECT_FALSE(w.Error.empty()) << n;
    }
    EXPECT_TRUE(audio::ParseWave(whole).Ok);
}

TEST(ParseWave, RefusesFormatsThatCannotBePlayed) {
    struct Case {
        const char* what;
        std::size_t offset;   // of the field, from the start of a plain file
        std::uint32_t value;
        int bytes;
    };
    // Plain layout: RIFF(12) "fmt "(4) size(4) tag@20 channels@22 rate@24 avg@28 block@32 bits@34.
    for (const Case c : {Case{"tag 3 (float)", 20, 3, 2}, Case{"no channels", 22, 0, 2}, Case{"three channels", 22, 3, 2},
                         Case{"rate 0", 24, 0, 4}, Case{"rate 50", 24, 50, 4}, Case{"rate 1 MHz", 24, 1000000, 4},
                         Case{"block 0", 32, 0, 2}, Case{"block 3", 32, 3, 2}, Case{"no bits", 34, 0, 2},
                         Case{"12 bits", 34, 12, 2}, Case{"24 bits", 34, 24, 2}}) {
        SCOPED_TRACE(c.what);
        testsound::WaveDesc desc;
        desc.samples = testsound::Sine(300.0, 22050, 0.01);
        auto bytes = testsound::WaveBytes(desc);
        for (int i = 0; i < c.bytes; ++i) bytes[c.offset + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(c.value >> (8 * i));
        const audio::TWaveParse w = audio::ParseWave(bytes);
        EXPECT_FALSE(w.Ok);
        EXPECT_FALSE(w.Error.empty());
    }
}

TEST(ParseWave, DataSizeBeyondTheFileIsRefused) {
    testsound::WaveDesc desc;
    desc.samples = testsound::Sine(300.0, 22050, 0.01);
    auto bytes = testsound::WaveBytes(desc);
    // The data size is the 4 bytes after "data" at 36; announce one byte more than there is.
    const std::uint32_t held = static_cast<std::uint32_t>(bytes.size() - 44);
    for (std::uint32_t announced : {held + 1, 0xFFFFFFFFu}) {
        for (int i = 0; i < 4; ++i) bytes[40 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(announced >> (8 * i));
        const audio::TWaveParse w = audio::ParseWave(bytes);
        EXPECT_FALSE(w.Ok) << announced;
        EXPECT_NE(w.Error.find("announces"), std::string::npos) << w.Error;
    }
}

}  // namespace
