// The empty-recycle-bin sound carried inside the program.
#include "generator/Payload.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace quorvel {
namespace {

std::uint32_t le32(std::span<const std::uint8_t> b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
           (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint16_t le16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}
std::string tag(std::span<const std::uint8_t> b, std::size_t at) {
    return std::string(reinterpret_cast<const char*>(b.data() + at), 4);
}

TEST(EmptyWav, HasTheRiffLayoutOfAStereo16BitPcmFile) {
    const auto wav = payload::emptyWav();
    ASSERT_EQ(wav.size(), 101422u);
    EXPECT_EQ(tag(wav, 0), "RIFF");
    EXPECT_EQ(le32(wav, 4), wav.size() - 8);
    EXPECT_EQ(tag(wav, 8), "WAVE");
    EXPECT_EQ(tag(wav, 12), "fmt ");
    EXPECT_EQ(le32(wav, 16), 18u);
    EXPECT_EQ(le16(wav, 20), 1u);      // PCM
    EXPECT_EQ(le16(wav, 22), 2u);      // channels
    EXPECT_EQ(le32(wav, 24), 44100u);  // samples per second
    EXPECT_EQ(le32(wav, 28), 176400u); // bytes per second
    EXPECT_EQ(le16(wav, 32), 4u);      // block align
    EXPECT_EQ(le16(wav, 34), 16u);     // bits per sample
    EXPECT_EQ(le16(wav, 36), 0u);      // extra format bytes
    EXPECT_EQ(tag(wav, 38), "data");
    EXPECT_EQ(le32(wav, 42), 101376u);
}

TEST(EmptyWav, IsAShortSoundThatPeaksEarlyAndFadesToSilence) {
    const auto wav = payload::emptyWav();
    const std::size_t first = 46;
    const std::size_t samples = (wav.size() - first) / 2;
    int peak = 0;
    std::size_t peakAt = 0;
    for (std::size_t i = 0; i < samples; ++i) {
        const int value = std::abs(static_cast<std::int16_t>(le16(wav, first + 2 * i)));
        if (value > peak) {
            peak = value;
            peakAt = i;
        }
    }
    EXPECT_EQ(peak, 5719);
    EXPECT_LT(peakAt / 2, 44100u / 4) << "the peak lies within the first quarter second";
    // The last frame is silent, and the last tenth of a second is much quieter than the peak.
    EXPECT_EQ(le16(wav, wav.size() - 4), 0);
    EXPECT_EQ(le16(wav, wav.size() - 2), 0);
    int tail = 0;
    for (std::size_t i = samples - 4410 * 2; i < samples; ++i) {
        tail = std::max(tail, std::abs(static_cast<std::int16_t>(le16(wav, first + 2 * i))));
    }
    EXPECT_LT(tail, peak / 10);
    // Not silent: a good share of the first quarter second is audible.
    std::size_t audible = 0;
    for (std::size_t i = 0; i < 44100 / 2; ++i) {
        audible += std::abs(static_cast<std::int16_t>(le16(wav, first + 2 * i))) > 500;
    }
    EXPECT_GT(audible, 44100u / 8);
}

TEST(EmptyWav, IsTheSameOnEveryCall) {
    const auto a = payload::emptyWav();
    const auto b = payload::emptyWav();
    EXPECT_EQ(a.data(), b.data());
    EXPECT_TRUE(std::equal(a.begin(), a.end(), b.begin(), b.end()));
}

} // namespace
} // namespace quorvel
