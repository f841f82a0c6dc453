// Helpers of the Win32 cabinet writer that need no system: its temporary files, and the thread
// that writes the cabinet while the cabinet library goes on.
//
// The cabinet library (FCI) writes the data of every folder into a temporary file as members are
// added and copies it into the cabinet when the cabinet is flushed. For members stored as they
// are (JPEG and PNG images, most of a theme's bytes) that temporary data is the members' own bytes
// again. A SpoolFile keeps such stretches as references to the member's source, checked byte for
// byte when FCI writes them and read back from the source when FCI asks for them; only what
// differs (compressed data, headers) is held in memory. So an export of 400 MB of images needs a
// few MB rather than 400 MB of fresh memory, which under Wine costs more than the copy itself.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

namespace quorvel {

// A file that bytes of a SpoolFile are known to equal, read at any offset. readAt gives exactly
// count bytes or fails (a source that shrank or cannot be read any more).
class SpoolSource {
public:
    virtual ~SpoolSource() = default;
    virtual bool readAt(std::uint64_t offset, std::uint8_t* out, std::size_t count) = 0;
};

// Bytes handed to FCI from a source: length bytes of the source from sourceAt, as they were read
// (at `bytes`). A piece without a source (a member held in memory) is only counted.
struct HandedPiece {
    std::shared_ptr<SpoolSource> source;
    std::uint64_t sourceAt = 0;
    std::shared_ptr<const void> keep; // keeps `bytes` alive
    const std::uint8_t* bytes = nullptr;
    std::size_t length = 0;
};

// A temporary file of FCI's: a sequence of extents, each either bytes of its own (kept in a store
// of 4 MB pieces, so that it grows without copying) or a stretch of a source.
class SpoolFile {
public:
    std::uint64_t size() const { return size_; }
    void truncate();

    // Writes count bytes at `at`. When they are appended and `handed` are the pieces they were
    // made of (FCI stored them as read), every piece whose bytes are the same becomes a reference
    // to its source. False when a referenced stretch had to be read back and could not be; the
    // file is then as it was.
    bool write(std::uint64_t at, const std::uint8_t* data, std::size_t count,
               std::span<const HandedPiece> handed = {});

    // Up to count bytes from `at`, fewer at the end; -1 when a source cannot be read.
    std::int64_t read(std::uint64_t at, std::uint8_t* out, std::size_t count);

    // The memory that the file's own bytes take (the references take none).
    std::uint64_t bytesHeld() const { return store_.size() * std::uint64_t{kPiece}; }
    // How many extents refer to a source.
    std::size_t references() const;

    static constexpr std::size_t kPiece = 4 << 20;
    static constexpr std::size_t kWindow = 1 << 20; // read from a source at a time

private:
    struct Extent {
        std::uint64_t start = 0; // in the file
        std::uint64_t length = 0;
        std::shared_ptr<SpoolSource> source; // null: bytes of the store
        std::uint64_t at = 0;                // in the source, or in the store
    };
    std::size_t extentAt(std::uint64_t at) const;
    void appendBytes(const std::uint8_t* data, std::size_t count);
    void appendReference(const std::shared_ptr<SpoolSource>& source, std::uint64_t sourceAt,
                         std::size_t count);
    bool ownBytesIn(std::uint64_t from, std::uint64_t to);
    bool readSource(const Extent& extent, std::uint64_t offset, std::uint8_t* out,
                    std::size_t count);
    void storeCopy(std::uint64_t at, const std::uint8_t* from, std::uint8_t* to, std::size_t count);

    std::vector<Extent> extents_;
    std::uint64_t size_ = 0;
    std::vector<std::unique_ptr<std::uint8_t[]>> store_;
    std::uint64_t stored_ = 0;
    // The last stretch read from a source, so that FCI's reads of 32 KB cost one system read per
    // kWindow bytes.
    std::shared_ptr<SpoolSource> windowSource_;
    std::uint64_t windowAt_ = 0;
    std::size_t windowLength_ = 0;
    std::unique_ptr<std::uint8_t[]> window_;
};

// Writes bytes through `sink` on a thread of its own, in buffers of bufferBytes of which at most
// `buffers` are in flight, reused from write to write. The first failed sink call fails every
// later write and finish; the bytes after it are dropped.
class BackgroundWriter {
public:
    using Sink = std::function<bool(const std::uint8_t* data, std::size_t count)>;
    explicit BackgroundWriter(Sink sink, std::size_t bufferBytes = 1 << 20,
                              std::size_t buffers = 3);
    ~BackgroundWriter();
    BackgroundWriter(const BackgroundWriter&) = delete;
    BackgroundWriter& operator=(const BackgroundWriter&) = delete;

    // Takes the bytes; false when an earlier write failed.
    bool write(const std::uint8_t* data, std::size_t count);
    // Waits until every byte taken was written (or dropped after a failure); false on a failure.
    bool finish();

private:
    void run();
    void handOver(std::unique_lock<std::mutex>& lock);

    Sink sink_;
    std::size_t bufferBytes_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::vector<std::uint8_t>> free_; // buffers to fill
    std::deque<std::vector<std::uint8_t>> full_;  // buffers to write, in order
    std::vector<std::uint8_t> filling_;
    bool haveFilling_ = false;
    bool writing_ = false;
    bool failed_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

// Calls `work` on a thread of its own each time it is poked; pokes while it runs make one more
// call. The cabinet writer pokes it to push what was written so far to the disk while the cabinet
// is still being made.
class BackgroundRepeat {
public:
    explicit BackgroundRepeat(std::function<void()> work);
    ~BackgroundRepeat(); // waits for a call under way; a poke not begun yet is dropped
    BackgroundRepeat(const BackgroundRepeat&) = delete;
    BackgroundRepeat& operator=(const BackgroundRepeat&) = delete;
    void poke();

private:
    std::function<void()> work_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool poked_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace quorvel
