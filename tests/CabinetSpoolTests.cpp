// The cabinet writer's temporary files against a plain byte string under random FCI-like writes,
// their references to sources, and the writing thread's order and failures.
#include "platform/CabinetSpool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace quorvel::test {
namespace {

// A source in memory that can be told to fail, counting its reads.
struct StringSource : SpoolSource {
    explicit StringSource(std::string b) : bytes(std::move(b)) {}
    bool readAt(std::uint64_t offset, std::uint8_t* out, std::size_t count) override {
        ++reads;
        if (failing || offset + count > bytes.size()) {
            return false;
        }
        std::copy_n(bytes.data() + offset, count, out);
        return true;
    }
    std::string bytes;
    bool failing = false;
    int reads = 0;
};

std::string randomBytes(std::mt19937& random, std::size_t count) {
    std::string bytes(count, '\0');
    std::generate(bytes.begin(), bytes.end(), [&] { return static_cast<char>(random()); });
    return bytes;
}

const std::uint8_t* bytesOf(const std::string& bytes) {
    return reinterpret_cast<const std::uint8_t*>(bytes.data());
}

std::string readAll(SpoolFile& file, std::size_t step) {
    std::string out(file.size(), '\0');
    for (std::uint64_t at = 0; at < file.size();) {
        const std::int64_t got = file.read(at, reinterpret_cast<std::uint8_t*>(&out[at]), step);
        if (got <= 0) {
            return "<read failed>";
        }
        at += static_cast<std::uint64_t>(got);
    }
    return out;
}

// Blocks of up to three pieces read from sources (a quarter of them counted as members in
// memory), some changed as compression would, now and then a stretch rewritten in place: the file
// reads back exactly what was written, in reads of any size.
TEST(CabinetSpool, ReadsBackWhatWasWrittenWhateverTheMix) {
    for (unsigned seed = 1; seed <= 12; ++seed) {
        std::mt19937 random(seed);
        std::vector<std::shared_ptr<StringSource>> sources;
        std::vector<std::uint64_t> next(3, 0);
        for (int i = 0; i < 3; ++i) {
            sources.push_back(std::make_shared<StringSource>(
                randomBytes(random, 1 + random() % (3 * SpoolFile::kWindow))));
        }
        SpoolFile file;
        std::string model;
        for (int step = 0; step < 300; ++step) {
            if (random() % 10 == 0 && !model.empty()) {
                const std::size_t at = random() % model.size();
                const std::string bytes = randomBytes(random, 1 + random() % 70'000);
                ASSERT_TRUE(file.write(at, bytesOf(bytes), bytes.size()));
                model.resize(std::max(model.size(), at + bytes.size()));
                model.replace(at, bytes.size(), bytes);
                continue;
            }
            std::vector<HandedPiece> pieces;
            std::string block;
            for (unsigned n = 1 + random() % 3; n > 0; --n) {
                const std::size_t which = random() % sources.size();
                const std::string& bytes = sources[which]->bytes;
                const std::size_t length =
                    std::min<std::size_t>(1 + random() % 16'000, bytes.size() - next[which]);
                if (length > 0) {
                    pieces.push_back({random() % 4 ? sources[which] : nullptr, next[which], nullptr,
                                      bytesOf(bytes) + next[which], length});
                    block += bytes.substr(next[which], length);
                    next[which] += length;
                }
            }
            if (random() % 10 == 0 && !block.empty()) {
                block[random() % block.size()] ^= 0x5A; // compressed: not what was read
            }
            ASSERT_TRUE(file.write(file.size(), bytesOf(block), block.size(), pieces));
            model += block;
        }
        for (const std::size_t step : {32'768u, 1'000u, 3u << 20}) {
            ASSERT_EQ(readAll(file, step), model) << "seed " << seed << ", reads of " << step;
        }
    }
}

// A stored member becomes one reference read back in windows of 1 MB; a source that cannot be
// read fails the read, and a rewrite that needs its bytes, leaving the file as it was.
TEST(CabinetSpool, StoredMembersAreReferencesReadBackFromTheirSource) {
    std::mt19937 random(7);
    auto source = std::make_shared<StringSource>(randomBytes(random, 10 << 20));
    SpoolFile file;
    const std::string head = "header";
    ASSERT_TRUE(file.write(0, bytesOf(head), head.size()));
    for (std::size_t at = 0; at < source->bytes.size(); at += 32'768) {
        const HandedPiece piece{source, at, nullptr, bytesOf(source->bytes) + at, 32'768};
        ASSERT_TRUE(file.write(file.size(), bytesOf(source->bytes) + at, 32'768, {&piece, 1}));
    }
    EXPECT_EQ(file.references(), 1u);
    EXPECT_EQ(file.bytesHeld(), SpoolFile::kPiece); // the header's piece only
    EXPECT_EQ(readAll(file, 32'768), head + source->bytes);
    EXPECT_EQ(source->reads, 10);

    source->failing = true;
    std::string out(10, '\0');
    EXPECT_EQ(file.read(2, reinterpret_cast<std::uint8_t*>(out.data()), 10), -1);
    EXPECT_FALSE(file.write(500, bytesOf(head), head.size()));
    source->failing = false;
    std::string want = head + source->bytes;
    EXPECT_EQ(readAll(file, 4096), want);
    ASSERT_TRUE(file.write(500, bytesOf(head), head.size()));
    EXPECT_EQ(file.references(), 0u);
    EXPECT_EQ(readAll(file, 4096), want.replace(500, head.size(), head));
}

// Bytes arrive in order whatever the sizes of the writes; the first failing sink call fails the
// writes after it and finish, and nothing after it reaches the sink.
TEST(BackgroundWriter, WritesInOrderAndReportsTheFirstFailure) {
    struct Case {
        std::size_t bufferBytes, buffers;
        int failAtCall; // 0: never
    };
    for (const Case c : {Case{1 << 20, 3, 0}, {4096, 1, 0}, {1000, 3, 1}, {65536, 2, 3}}) {
        std::mt19937 random(static_cast<unsigned>(c.bufferBytes + c.failAtCall));
        std::string sunk, wanted;
        int calls = 0; // on the writer's thread, read after finish
        bool lastWrite = true, finished = true;
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
                finished = (i != 100 || writer.finish()) && finished; // and goes on after it
            }
            finished = writer.finish() && finished;
        }
        const std::string what = std::to_string(c.bufferBytes) + "/" + std::to_string(c.failAtCall);
        EXPECT_EQ(lastWrite, c.failAtCall == 0) << what;
        EXPECT_EQ(finished, c.failAtCall == 0) << what;
        const std::size_t written =
            c.failAtCall ? (c.failAtCall - 1) * c.bufferBytes : wanted.size();
        EXPECT_EQ(sunk, wanted.substr(0, written)) << what;
        if (c.failAtCall) {
            EXPECT_EQ(calls, c.failAtCall) << what;
        }
    }
}

} // namespace
} // namespace quorvel::test
