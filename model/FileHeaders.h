// Small readers of file headers: icon and cursor directories, the header of an animated pointer,
// the length of a WAV sound. The previews check a file with them before handing it to the
// system, and opening a theme asks them whether a file it names is of its slot's kind. Each
// reads a bounded number of bytes through a read function, whatever the file's size.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quorvel::preview {

// Why a file cannot be previewed.
enum class Failure {
    Missing,       // the path does not exist (any more)
    Empty,         // zero bytes
    TooLarge,      // beyond the size the preview reads
    Unreadable,    // cannot be opened or read
    NotDecodable,  // the system's decoders know no such format
    Damaged,       // truncated or damaged
    TooManyPixels, // an image beyond the pixel count the preview decodes
    NotAnIcon,     // no icon in the file
    NotAPointer,   // not a cursor file
    BadAnimation,  // an animated pointer whose header is not sane
};

// Reads up to `count` bytes from `offset`; fewer at the end of the file, none after it.
using ReadAt = std::function<std::string(std::uint64_t offset, std::size_t count)>;

// An icon (.ico, type 1) or cursor (.cur, type 2) directory: the header, the first entry and
// whether that entry's image lies within the file. Nothing when it is sound.
std::optional<Failure> checkIconDirectory(const ReadAt& read, std::uint64_t fileSize, bool cursor);

// The animation of an .ani file, as the system steps it.
struct Animation {
    std::uint32_t frames = 0;
    std::uint32_t steps = 0;
    // The display time of each step in 1/60 seconds.
    std::vector<std::uint32_t> rates;

    bool operator==(const Animation&) const = default;
};
// Limits beyond which an animated pointer is refused before the system loads it.
inline constexpr std::uint32_t kMaxAnimationFrames = 1024;
inline constexpr std::uint32_t kMaxAnimationSteps = 4096;
// Reads the RIFF "ACON" header: "anih" (frame and step counts, the default rate), "rate" when
// present and the frame list's extent.
struct AnimationRead {
    std::optional<Animation> animation;
    Failure failure = Failure::BadAnimation;
};
AnimationRead readAnimation(const ReadAt& read, std::uint64_t fileSize);

// The length of a RIFF "WAVE" sound in milliseconds, from its format's bytes per second and the
// size of its data (as far as the file holds it). Nothing when it is not such a file.
std::optional<std::uint64_t> wavDurationMs(const ReadAt& read, std::uint64_t fileSize);

} // namespace quorvel::preview
