#include "model/FileHeaders.h"

#include "platform/LittleEndian.h"

namespace quorvel::preview {

namespace {

// RIFF files are walked chunk by chunk; this many chunks at most, so that a file of tiny chunks
// costs no more than a glance.
constexpr int kMaxChunks = 256;

struct Chunk {
    std::string id;
    std::uint64_t dataOffset = 0;
    std::uint32_t size = 0;
};

// The chunks of a RIFF file of a form type ("ACON", "WAVE"), in order, stopping at the end of the
// file, of the RIFF's extent, or after kMaxChunks. Nothing when the header is another.
std::optional<std::vector<Chunk>> riffChunks(const ReadAt& read, std::uint64_t fileSize,
                                             std::string_view form) {
    const std::string head = read(0, 12);
    if (head.size() < 12 || head.compare(0, 4, "RIFF") != 0 || head.compare(8, 4, form) != 0) {
        return std::nullopt;
    }
    const std::uint64_t end = std::min<std::uint64_t>(fileSize, 8ull + le::get32(head, 4));
    std::vector<Chunk> chunks;
    std::uint64_t at = 12;
    while (at + 8 <= end && static_cast<int>(chunks.size()) < kMaxChunks) {
        const std::string header = read(at, 8);
        if (header.size() < 8) {
            break;
        }
        Chunk chunk{header.substr(0, 4), at + 8, le::get32(header, 4)};
        at = chunk.dataOffset + chunk.size + (chunk.size & 1);
        chunks.push_back(std::move(chunk));
    }
    return chunks;
}

} // namespace

std::optional<Failure> checkIconDirectory(const ReadAt& read, std::uint64_t fileSize, bool cursor) {
    const Failure notOne = cursor ? Failure::NotAPointer : Failure::NotAnIcon;
    if (fileSize == 0) {
        return Failure::Empty;
    }
    const std::string head = read(0, 6 + 16);
    if (head.size() < 6) {
        return Failure::Damaged;
    }
    const std::uint32_t type = le::get16(head, 2);
    const std::uint32_t count = le::get16(head, 4);
    if (le::get16(head, 0) != 0 || type != (cursor ? 2u : 1u) || count == 0) {
        return notOne;
    }
    if (head.size() < 22) {
        return Failure::Damaged;
    }
    const std::uint64_t bytes = le::get32(head, 6 + 8);
    const std::uint64_t offset = le::get32(head, 6 + 12);
    if (bytes == 0 || offset < 6 + 16ull * count) {
        return notOne;
    }
    if (offset + bytes > fileSize) {
        return Failure::Damaged;
    }
    return std::nullopt;
}

AnimationRead readAnimation(const ReadAt& read, std::uint64_t fileSize) {
    if (fileSize == 0) {
        return {std::nullopt, Failure::Empty};
    }
    const std::optional<std::vector<Chunk>> chunks = riffChunks(read, fileSize, "ACON");
    if (!chunks) {
        return {std::nullopt, Failure::NotAPointer};
    }
    Animation animation;
    bool header = false;
    bool frameList = false;
    std::uint32_t flags = 0;
    std::uint32_t defaultRate = 0;
    const Chunk* rates = nullptr;
    for (const Chunk& chunk : *chunks) {
        if (chunk.dataOffset + chunk.size > fileSize) {
            return {std::nullopt, Failure::Damaged};
        }
        if (chunk.id == "anih") {
            const std::string data = read(chunk.dataOffset, 36);
            if (chunk.size < 36 || data.size() < 36 || le::get32(data, 0) != 36) {
                return {};
            }
            animation.frames = le::get32(data, 4);
            animation.steps = le::get32(data, 8);
            defaultRate = le::get32(data, 28);
            flags = le::get32(data, 32);
            header = true;
        } else if (chunk.id == "rate") {
            rates = &chunk;
        } else if (chunk.id == "LIST" && read(chunk.dataOffset, 4) == "fram") {
            frameList = true;
        }
    }
    if (!header || !frameList || animation.frames == 0 || animation.steps == 0 ||
        animation.frames > kMaxAnimationFrames || animation.steps > kMaxAnimationSteps ||
        (flags & 1) == 0) {
        return {};
    }
    if (rates && rates->size >= 4ull * animation.steps) {
        const std::string data = read(rates->dataOffset, 4ull * animation.steps);
        if (data.size() < 4ull * animation.steps) {
            return {std::nullopt, Failure::Damaged};
        }
        for (std::uint32_t i = 0; i < animation.steps; ++i) {
            animation.rates.push_back(le::get32(data, 4ull * i));
        }
    } else {
        animation.rates.assign(animation.steps, defaultRate);
    }
    for (std::uint32_t& rate : animation.rates) {
        // A rate of 0 would spin; the system shows such a step for one tick.
        rate = std::max<std::uint32_t>(rate, 1);
    }
    return {animation, Failure::BadAnimation};
}

std::optional<std::uint64_t> wavDurationMs(const ReadAt& read, std::uint64_t fileSize) {
    const std::optional<std::vector<Chunk>> chunks = riffChunks(read, fileSize, "WAVE");
    if (!chunks) {
        return std::nullopt;
    }
    std::uint32_t bytesPerSecond = 0;
    std::optional<std::uint64_t> dataSize;
    for (const Chunk& chunk : *chunks) {
        if (chunk.id == "fmt ") {
            const std::string format = read(chunk.dataOffset, 16);
            if (chunk.size < 12 || format.size() < 12) {
                return std::nullopt;
            }
            bytesPerSecond = le::get32(format, 8);
        } else if (chunk.id == "data" && !dataSize) {
            // A truncated file plays as far as it goes.
            dataSize = std::min<std::uint64_t>(chunk.size,
                                               fileSize - std::min(fileSize, chunk.dataOffset));
        }
    }
    if (bytesPerSecond == 0 || !dataSize) {
        return std::nullopt;
    }
    return *dataSize * 1000 / bytesPerSecond;
}

} // namespace quorvel::preview
