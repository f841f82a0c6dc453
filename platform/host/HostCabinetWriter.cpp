// The host's cabinet writer: one folder without compression. A cabinet is a header (CFHEADER),
// one entry per folder (CFFOLDER), one per file (CFFILE, with its name), and then the folder's
// data as blocks of at most 32 KB (CFDATA), the files' bytes back to back across the blocks.
// A checksum of 0 tells a reader that the block has none.
#include "platform/host/HostPlatform.h"

#include <cstdio>
#include <fstream>
#include <span>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvel {

namespace {

constexpr std::uint32_t kHeaderSize = 36;
constexpr std::uint32_t kFolderSize = 8;
constexpr std::uint32_t kFileFixedSize = 16;
constexpr std::uint32_t kDataHeaderSize = 8;
constexpr std::uint32_t kBlockSize = 32768;
constexpr std::uint16_t kArchiveAttribute = 0x20;
// 2026-01-01 00:00 in the FAT date format the cabinet uses.
constexpr std::uint16_t kDosDate = ((2026 - 1980) << 9) | (1 << 5) | 1;

void put16(std::string& out, std::uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void put32(std::string& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// Lays the folder's bytes out as blocks, each behind its header, in a buffer of many blocks that
// is written out when full; the members are read straight into their place in it.
class BlockWriter {
public:
    explicit BlockWriter(std::ofstream& out) : out_(out), buffer_(kBlocksBuffered * kStride) {}

    // Where the next bytes of the current block go.
    std::span<char> space() {
        return {buffer_.data() + at_ + kDataHeaderSize + fill_, kBlockSize - fill_};
    }
    // The first `count` bytes of space() hold data now.
    void commit(std::size_t count) {
        fill_ += count;
        if (fill_ == kBlockSize) {
            finishBlock();
        }
    }
    void add(const char* data, std::size_t size) {
        while (size > 0) {
            const std::span<char> room = space();
            const std::size_t part = std::min(size, room.size());
            std::copy_n(data, part, room.data());
            commit(part);
            data += part;
            size -= part;
        }
    }
    void flush() {
        if (fill_ > 0) {
            finishBlock();
        }
        out_.write(buffer_.data(), static_cast<std::streamsize>(at_));
        at_ = 0;
    }

private:
    static constexpr std::size_t kStride = kDataHeaderSize + kBlockSize;
    static constexpr std::size_t kBlocksBuffered = 128;

    void finishBlock() {
        std::string header;
        put32(header, 0);
        put16(header, static_cast<std::uint32_t>(fill_));
        put16(header, static_cast<std::uint32_t>(fill_));
        std::copy(header.begin(), header.end(), buffer_.begin() + static_cast<std::ptrdiff_t>(at_));
        at_ += kDataHeaderSize + fill_;
        fill_ = 0;
        if (at_ + kStride > buffer_.size()) {
            out_.write(buffer_.data(), static_cast<std::streamsize>(at_));
            at_ = 0;
        }
    }

    std::ofstream& out_;
    std::vector<char> buffer_;
    std::size_t at_ = 0;   // where the current block's header goes
    std::size_t fill_ = 0; // bytes in the current block
};

} // namespace

CabinetResult HostPlatform::writeCabinet(const std::string& path,
                                         std::span<const CabinetEntry> members) {
    if (path.empty() || members.size() > kMaxCabinetMembers) {
        return members.size() > kMaxCabinetMembers ? CabinetResult::TooLarge
                                                   : CabinetResult::Failed;
    }
    std::vector<std::uint64_t> sizes;
    std::uint64_t total = 0;
    for (const CabinetEntry& member : members) {
        std::uint64_t size = member.bytes.size();
        if (!member.sourcePath.empty()) {
            struct stat info {};
            if (::stat(hostPath(member.sourcePath).c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
                ::access(hostPath(member.sourcePath).c_str(), R_OK)) {
                return CabinetResult::SourceMissing;
            }
            size = static_cast<std::uint64_t>(info.st_size);
        }
        sizes.push_back(size);
        total += size;
    }
    if (total > kMaxCabinetBytes) {
        return CabinetResult::TooLarge;
    }

    std::string head;
    std::uint32_t filesSize = 0;
    for (const CabinetEntry& member : members) {
        filesSize += kFileFixedSize + static_cast<std::uint32_t>(member.name.size()) + 1;
    }
    const std::uint32_t dataStart = kHeaderSize + kFolderSize + filesSize;
    const std::uint32_t blocks = static_cast<std::uint32_t>((total + kBlockSize - 1) / kBlockSize);
    const std::uint64_t cabinetSize =
        dataStart + static_cast<std::uint64_t>(blocks) * kDataHeaderSize + total;
    head += "MSCF";
    put32(head, 0);
    put32(head, static_cast<std::uint32_t>(cabinetSize));
    put32(head, 0);
    put32(head, kHeaderSize + kFolderSize); // the first CFFILE
    put32(head, 0);
    head += '\x03'; // version 1.3
    head += '\x01';
    put16(head, 1);                                          // folders
    put16(head, static_cast<std::uint32_t>(members.size())); // files
    put16(head, 0);                                          // flags
    put16(head, 0x5152);                                     // set id
    put16(head, 0);                                          // number in the set
    put32(head, dataStart);
    put16(head, blocks);
    put16(head, 0); // no compression
    std::uint32_t offset = 0;
    for (std::size_t i = 0; i < members.size(); ++i) {
        put32(head, static_cast<std::uint32_t>(sizes[i]));
        put32(head, offset);
        put16(head, 0);
        put16(head, kDosDate);
        put16(head, 0);
        put16(head, kArchiveAttribute);
        head += members[i].name;
        head += '\0';
        offset += static_cast<std::uint32_t>(sizes[i]);
    }

    const std::string temporary = path + std::string(kReplacementSuffix);
    bool written = false;
    {
        std::ofstream out(hostPath(temporary), std::ios::binary | std::ios::trunc);
        if (out) {
            out.write(head.data(), static_cast<std::streamsize>(head.size()));
            BlockWriter blocksOut(out);
            written = true;
            for (std::size_t i = 0; i < members.size() && written; ++i) {
                const CabinetEntry& member = members[i];
                if (member.sourcePath.empty()) {
                    blocksOut.add(reinterpret_cast<const char*>(member.bytes.data()),
                                  member.bytes.size());
                    continue;
                }
                std::ifstream in(hostPath(member.sourcePath), std::ios::binary);
                std::uint64_t left = sizes[i];
                while (in && left > 0) {
                    const std::span<char> room = blocksOut.space();
                    in.read(room.data(), static_cast<std::streamsize>(
                                             std::min<std::uint64_t>(left, room.size())));
                    const auto got = static_cast<std::size_t>(in.gcount());
                    blocksOut.commit(got);
                    left -= got;
                }
                // A file that shrank after its size was taken would leave the blocks short.
                written = left == 0;
            }
            blocksOut.flush();
            out.flush();
            written = written && static_cast<bool>(out);
        }
    }
    if (!written || ::rename(hostPath(temporary).c_str(), hostPath(path).c_str()) != 0) {
        ::unlink(hostPath(temporary).c_str());
        return CabinetResult::Failed;
    }
    return CabinetResult::Written;
}

} // namespace quorvel
