// The empty-recycle-bin sound: a short paper-crumple rustle over a falling tone. It is
// synthesised with integer arithmetic only, so every compiler and every run produces the same
// bytes.
#include "generator/Payload.h"
#include "platform/LittleEndian.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace quorvel::payload {

namespace {

constexpr std::uint32_t kSampleRate = 44100;
constexpr std::uint16_t kChannels = 2;
constexpr std::uint16_t kBitsPerSample = 16;
constexpr std::uint32_t kFrames = 25344;
constexpr std::int32_t kPeak = 5719;
constexpr std::uint32_t kAttackFrames = 441; // 10 ms
constexpr std::uint32_t kFadeFrames = 4410;  // the last 100 ms fade linearly to silence

void putTag(std::vector<std::uint8_t>& out, const char (&tag)[5]) {
    out.insert(out.end(), tag, tag + 4);
}

// The unscaled signal of both channels, interleaved.
std::vector<std::int64_t> synthesise() {
    std::vector<std::int64_t> raw(static_cast<std::size_t>(kFrames) * kChannels);
    std::uint32_t seed = 0x5EED1234u;
    std::int64_t lowLeft = 0;
    std::int64_t lowRight = 0;
    // A sine oscillator by the "magic circle" recurrence in 16.16 fixed point.
    std::int64_t sx = 0;
    std::int64_t sy = 1 << 20;
    std::int64_t envelope = 0; // 16.16
    for (std::uint32_t i = 0; i < kFrames; ++i) {
        if (i < kAttackFrames) {
            envelope = (static_cast<std::int64_t>(i) << 16) / kAttackFrames;
        } else {
            envelope -= envelope / 3000; // slow exponential decay
        }
        std::int64_t gain = envelope;
        if (i + kFadeFrames >= kFrames) {
            gain = gain * static_cast<std::int64_t>(kFrames - 1 - i) / kFadeFrames;
        }
        seed = seed * 1664525u + 1013904223u;
        const std::int64_t noiseLeft = static_cast<std::int64_t>(seed >> 16) - 32768;
        seed = seed * 1664525u + 1013904223u;
        const std::int64_t noiseRight = static_cast<std::int64_t>(seed >> 16) - 32768;
        lowLeft += (noiseLeft - lowLeft) / 6;
        lowRight += (noiseRight - lowRight) / 6;
        // The tone falls from about 1.1 kHz to about 300 Hz.
        const std::int64_t step = 10300 - static_cast<std::int64_t>(i) * 7500 / kFrames;
        sx += (step * sy) >> 16;
        sy -= (step * sx) >> 16;
        const std::int64_t tone = sy >> 5;
        raw[2 * i] = ((lowLeft + tone) * gain) >> 16;
        raw[2 * i + 1] = ((lowRight + tone) * gain) >> 16;
    }
    return raw;
}

std::vector<std::uint8_t> build() {
    const std::vector<std::int64_t> raw = synthesise();
    std::int64_t loudest = 1;
    for (std::int64_t sample : raw) {
        loudest = std::max(loudest, std::abs(sample));
    }

    const std::uint32_t dataBytes = kFrames * kChannels * (kBitsPerSample / 8);
    const std::uint16_t blockAlign = kChannels * (kBitsPerSample / 8);
    std::vector<std::uint8_t> out;
    out.reserve(12 + 26 + 8 + dataBytes);
    putTag(out, "RIFF");
    le::append32(out, 4 + 26 + 8 + dataBytes);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    le::append32(out, 18);
    le::append16(out, 1); // PCM
    le::append16(out, kChannels);
    le::append32(out, kSampleRate);
    le::append32(out, kSampleRate * blockAlign);
    le::append16(out, blockAlign);
    le::append16(out, kBitsPerSample);
    le::append16(out, 0); // no extra format bytes
    putTag(out, "data");
    le::append32(out, dataBytes);
    for (std::int64_t sample : raw) {
        // Scale so that the loudest sample is exactly the peak, rounding half away from zero.
        const std::int64_t scaled =
            (sample * kPeak * 2 + (sample >= 0 ? loudest : -loudest)) / (2 * loudest);
        le::append16(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(scaled)));
    }
    return out;
}

} // namespace

std::span<const std::uint8_t> emptyWav() {
    static const std::vector<std::uint8_t> bytes = build();
    return bytes;
}

} // namespace quorvel::payload
