// The cabinet writer's temporary files and its writing thread: random sequences of FCI-like writes
// against a plain byte string, references that must be used and must fail cleanly, and the
// writer's ordering and failures.
#include "platform/CabinetSpool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <random>
#include <string>
#include <vector>

namespace quorvel::test {
namespace {

// A source in memory that can be told to fail, counting its reads.
class StringSource : public SpoolSource {
public:
    explicit StringSource(std::string bytes) : bytes_(std::move(bytes)) {}
    bool readAt(std::uint64_t offset, std::uint8_t* out, std::size_t count) override {
        ++reads;
        if (failing || offset + count > bytes_.size()) {
            return false;
        }
        std::copy_n(bytes_.data() + offset, count, out);
        return true;
    }
    const std::string& bytes() const { return bytes_; }
    bool failing = false;
    int reads = 0;

private:
    std::string bytes_;
};

std::string randomBytes(std::mt19937& random, std::size_t count) {
    std::string bytes(count, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(random());
    }
    return bytes;
}

const std::uint8_t* bytesOf(const std::string& bytes) {
    return reinterpret_cast<const std::uint8_t*>(bytes.data());
}

std::string readAll(SpoolFile& file, std::size_t step) {
    std::string out(file.size(), '\0');
    for (std::uint64_t at = 0; at < file.size();) {
        const std::int64_t got =
            file.read(at, reinterpret_cast<std::uint8_t*>(out.data()) + at, step);
        if (got <= 0) {
            return "<read failed>";
        }
        at += static_cast<std::uint64_t>(got);
    }
    return out;
}

// FCI's way with a stored folder: blocks of at most 32 KB assembled from reads of the members,
// some of them from sources (file members), some not (members in memory), some compressed (so
// what is written differs from what was read), now and then a header rewritten in place. The
// spool must read back exactly what was written, whether it kept the bytes or
// read what it refers to from the sources.
TEST(CabinetSpool, ReadsBackWhatWasWrittenWhateverTheMix) {
    for (unsigned seed = 1; seed <= 12; ++seed) {
        std::mt19937 random(seed);
        std::vector<std::shared_ptr<StringSource>> sources;
        for (int i = 0; i < 3; ++i) {
            sources.push_back(std::make_shared<StringSource>(
                randomBytes(random, 1 + random() % (3 * SpoolFile::kWindow))));
        }
        const auto freshChunk = [] {
            auto chunk = std::make_shared<std::string>();
            chunk->reserve(64 * 1024); // never moves: the pieces point into it
            return chunk;
        };
        auto chunk = freshChunk();
        SpoolFile file;
        std::string model;
        std::vector<std::uint64_t> sourceAt(sources.size(), 0);
        for (int step = 0; step < 300; ++step) {
            const unsigned kind = random() % 10;
            if (kind == 0 && !model.empty()) { // rewrite a stretch in place
                const std::size_t at = random() % model.size();
                const std::string bytes = randomBytes(random, 1 + random() % 70'000);
                ASSERT_TRUE(file.write(at, bytesOf(bytes), bytes.size()));
                model.resize(std::max(model.size(), at + bytes.size()));
                model.replace(at, bytes.size(), bytes);
                continue;
            }
            // One block from up to three pieces.
            std::vector<HandedPiece> pieces;
            std::string block;
            for (unsigned n = 1 + random() % 3; n > 0; --n) {
                const std::size_t which = random() % sources.size();
                StringSource& source = *sources[which];
                const std::uint64_t from = sourceAt[which];
                const std::size_t length =
                    std::min<std::size_t>(1 + random() % 16'000, source.bytes().size() - from);
                if (length == 0) {
                    continue;
                }
                sourceAt[which] += length;
                const std::size_t chunkAt = chunk->size();
                chunk->append(source.bytes(), from, length);
                HandedPiece piece{sources[which], from, chunk, nullptr, length};
                if (random() % 4 == 0) {
                    piece.source = nullptr; // a member in memory
                }
                pieces.push_back(piece);
                pieces.back().bytes = bytesOf(*chunk) + chunkAt;
                block += source.bytes().substr(from, length);
            }
            if (kind == 1 && !block.empty()) { // compressed: not what was read
                block[random() % block.size()] ^= 0x5A;
            }
            ASSERT_TRUE(file.write(file.size(), bytesOf(block), block.size(), pieces));
            model += block;
            chunk = freshChunk(); // FCI's pieces are gone after its write
        }
        ASSERT_EQ(file.size(), model.size()) << seed;
        for (const std::size_t step : {32'768u, 1'000u, 3u * 1024 * 1024}) {
            ASSERT_EQ(readAll(file, step), model) << "seed " << seed << ", reads of " << step;
        }
        EXPECT_EQ(file.read(model.size(), nullptr, 10), 0);
    }
}

TEST(CabinetSpool, StoredMembersAreHeldAsReferencesAndReadInWindows) {
    std::mt19937 random(7);
    auto source = std::make_shared<StringSource>(randomBytes(random, 10 << 20));
    SpoolFile file;
    for (std::size_t at = 0; at < source->bytes().size(); at += 32'768) {
        const std::string block = source->bytes().substr(at, 32'768);
        const HandedPiece piece{source, at, nullptr, bytesOf(source->bytes()) + at, block.size()};
        ASSERT_TRUE(file.write(at, bytesOf(block), block.size(), std::span(&piece, 1)));
    }
    EXPECT_EQ(file.references(), 1u);
    EXPECT_EQ(file.bytesHeld(), 0u);
    EXPECT_EQ(readAll(file, 32'768), source->bytes());
    EXPECT_EQ(source->reads, 10); // one read per window of 1 MB
}

TEST(CabinetSpool, ASourceThatCannotBeReadFailsTheReadAndLeavesTheFileAsItWas) {
    std::mt19937 random(3);
    auto source = std::make_shared<StringSource>(randomBytes(random, 100'000));
    SpoolFile file;
    const std::string head = "header";
    ASSERT_TRUE(file.write(0, bytesOf(head), head.size()));
    const HandedPiece piece{source, 0, nullptr, bytesOf(source->bytes()), 100'000};
    ASSERT_TRUE(file.write(head.size(), bytesOf(source->bytes()), 100'000, std::span(&piece, 1)));
    source->failing = true;
    std::string out(10, '\0');
    EXPECT_EQ(file.read(2, reinterpret_cast<std::uint8_t*>(out.data()), 10), -1);
    const std::string patch = "patch";
    EXPECT_FALSE(file.write(500, bytesOf(patch), patch.size())); // the reference must be read first
    source->failing = false;
    EXPECT_EQ(readAll(file, 4096), head + source->bytes());
    ASSERT_TRUE(file.write(500, bytesOf(patch), patch.size()));
    EXPECT_EQ(file.references(), 0u);
    std::string want = head + source->bytes();
    want.replace(500, patch.size(), patch);
    EXPECT_EQ(readAll(file, 4096), want);
}

// Bytes arrive in order whatever the sizes of the writes; a failing sink fails the writes after
// it and finish, and nothing after the failure reaches the sink.
TEST(BackgroundWriter, WritesInOrderAndReportsTheFirstFailure) {
    struct Case {
        std::size_t bufferBytes;
        std::size_t buffers;
        int failAtCall; // 0: never
    };
    const std::vector<Case> cases = {
        {1 << 20, 3, 0}, {4096, 1, 0}, {4096, 2, 0}, {1000, 3, 1}, {1000, 3, 5}, {65536, 2, 3},
    };
    for (const Case& c : cases) {
        std::mt19937 random(static_cast<unsigned>(c.bufferBytes + c.failAtCall));
        std::string sunk;
        std::atomic<int> calls = 0;
        std::string wanted;
        bool lastWrite = true;
        bool finished = true;
        {
            BackgroundWriter writer(
                [&](const std::uint8_t* bytes, std::size_t count) {
                    if (++calls == c.failAtCall) {
                        return false;
                    }
                    sunk.append(reinterpret_cast<const char*>(bytes), count);
                    return true;
                },
                c.bufferBytes, c.buffers);
            for (int i = 0; i < 200; ++i) {
                const std::string bytes = randomBytes(random, random() % 40'000);
                wanted += bytes;
                lastWrite = writer.write(bytesOf(bytes), bytes.size());
                if (i == 100) {
                    finished = writer.finish() && finished; // finishing in between goes on later
                }
            }
            finished = writer.finish() && finished;
        }
        const std::string what =
            std::to_string(c.bufferBytes) + " bytes, fail at " + std::to_string(c.failAtCall);
        if (c.failAtCall == 0) {
            EXPECT_TRUE(lastWrite) << what;
            EXPECT_TRUE(finished) << what;
            EXPECT_EQ(sunk, wanted) << what;
        } else {
            EXPECT_FALSE(lastWrite) << what;
            EXPECT_FALSE(finished) << what;
            EXPECT_EQ(calls, c.failAtCall) << what;
            // Everything before the failed buffer, in order; nothing after it.
            EXPECT_EQ(sunk, wanted.substr(0, sunk.size())) << what;
            EXPECT_EQ(sunk.size(), (c.failAtCall - 1) * c.bufferBytes) << what;
        }
    }
}

// The flusher's thread: pokes while a call runs make exactly one more call, none is lost.
TEST(BackgroundRepeat, PokesWhileACallRunsMakeOneMoreCall) {
    std::mutex mutex;
    std::condition_variable changed;
    int calls = 0;
    bool release = false;
    {
        BackgroundRepeat repeat([&] {
            std::unique_lock lock(mutex);
            ++calls;
            changed.notify_all();
            changed.wait(lock, [&] { return release; });
        });
        std::unique_lock lock(mutex);
        const auto reached = [&](int n) {
            return changed.wait_for(lock, std::chrono::seconds(10), [&] { return calls == n; });
        };
        lock.unlock();
        repeat.poke();
        lock.lock();
        ASSERT_TRUE(reached(1));
        lock.unlock();
        for (int i = 0; i < 5; ++i) {
            repeat.poke();
        }
        lock.lock();
        release = true;
        changed.notify_all();
        ASSERT_TRUE(reached(2));
        lock.unlock();
        repeat.poke();
        lock.lock();
        ASSERT_TRUE(reached(3));
    }
    EXPECT_EQ(calls, 3);
}

} // namespace
} // namespace quorvel::test
