// The host layer's stand-in for the system's cabinet library: it reads cabinets whose folders
// are stored without compression (the format of the tests' cabinets) and refuses the others.
// The layout follows the cabinet format: a header, the folders, the files, the data blocks.
#include "platform/LittleEndian.h"
#include "platform/Utf8.h"
#include "platform/host/HostPlatform.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvel {

namespace {

constexpr std::size_t kHeaderSize = 36;
constexpr std::uint16_t kHasPrevious = 0x0001;
constexpr std::uint16_t kHasNext = 0x0002;
constexpr std::uint16_t kHasReserve = 0x0004;
constexpr std::uint16_t kNameIsUtf8 = 0x80;
constexpr std::size_t kMaxName = 256;

// A file descriptor closed when it goes.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int get() const { return fd_; }
    // Closes now; false when the close reports an error (a write that did not reach the file).
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool readAt(int fd, std::uint64_t offset, void* buffer, std::size_t size) {
    auto* out = static_cast<char*>(buffer);
    while (size > 0) {
        const ssize_t n = ::pread(fd, out, size, static_cast<off_t>(offset));
        if (n <= 0) {
            return false;
        }
        out += n;
        offset += static_cast<std::uint64_t>(n);
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n <= 0) {
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

std::uint16_t u16(const unsigned char* p) {
    return static_cast<std::uint16_t>(le::get16({reinterpret_cast<const char*>(p), 2}, 0));
}

std::uint32_t u32(const unsigned char* p) {
    return le::get32({reinterpret_cast<const char*>(p), 4}, 0);
}

// One data block of a folder: where its bytes lie in the file and in the folder's stream.
struct Block {
    std::uint64_t fileOffset;
    std::uint64_t folderOffset;
    std::uint32_t size;
};

struct Folder {
    std::vector<Block> blocks;
    std::uint64_t size = 0; // of its stream
};

struct Member {
    std::uint32_t size;
    std::uint32_t offset;
    std::uint16_t folder;
    std::uint16_t attributes;
    std::string rawName;
};

class Cabinet {
public:
    Cabinet(int fd, std::uint64_t fileSize) : fd_(fd), fileSize_(fileSize) {}

    // Reads the directory; the status of a cabinet that cannot be read, or Done.
    CabinetStatus load() {
        std::array<unsigned char, kHeaderSize> header{};
        if (fileSize_ < kHeaderSize || !readAt(fd_, 0, header.data(), header.size()) ||
            std::memcmp(header.data(), "MSCF", 4) != 0) {
            return CabinetStatus::NotCabinet;
        }
        if (header[25] != 1) {
            return CabinetStatus::Unsupported;
        }
        if (u32(&header[8]) > fileSize_) {
            return CabinetStatus::Damaged; // cut short
        }
        const std::uint16_t flags = u16(&header[30]);
        if ((flags & (kHasPrevious | kHasNext)) != 0) {
            return CabinetStatus::Damaged; // one of a set of cabinets
        }
        std::uint64_t at = kHeaderSize;
        std::size_t folderReserve = 0;
        if ((flags & kHasReserve) != 0) {
            std::array<unsigned char, 4> reserve{};
            if (!readAt(fd_, at, reserve.data(), reserve.size())) {
                return CabinetStatus::Damaged;
            }
            at += 4 + u16(&reserve[0]);
            folderReserve = reserve[2];
            dataReserve_ = reserve[3];
        }
        const std::uint16_t folderCount = u16(&header[26]);
        for (std::uint16_t i = 0; i < folderCount; ++i) {
            std::array<unsigned char, 8> entry{};
            if (!readAt(fd_, at, entry.data(), entry.size())) {
                return CabinetStatus::Damaged;
            }
            at += entry.size() + folderReserve;
            if ((u16(&entry[6]) & 0x000F) != 0) {
                return CabinetStatus::Unsupported; // compressed: the system's library reads those
            }
            Folder folder;
            if (const CabinetStatus status = loadBlocks(u32(&entry[0]), u16(&entry[4]), folder);
                status != CabinetStatus::Done) {
                return status;
            }
            folders_.push_back(std::move(folder));
        }
        at = u32(&header[16]);
        const std::uint16_t fileCount = u16(&header[28]);
        for (std::uint16_t i = 0; i < fileCount; ++i) {
            std::array<unsigned char, 16 + kMaxName + 1> entry{};
            const std::size_t available = static_cast<std::size_t>(
                std::min<std::uint64_t>(entry.size(), fileSize_ - std::min(at, fileSize_)));
            if (available < 17 || !readAt(fd_, at, entry.data(), available)) {
                return CabinetStatus::Damaged;
            }
            const auto* name = reinterpret_cast<const char*>(&entry[16]);
            const std::size_t length = ::strnlen(name, available - 16);
            if (length == available - 16 || length > kMaxName) {
                return CabinetStatus::Damaged; // no end to the name
            }
            members_.push_back(
                {u32(&entry[0]), u32(&entry[4]), u16(&entry[8]), u16(&entry[14]), {name, length}});
            at += 16 + length + 1;
        }
        return CabinetStatus::Done;
    }

    const std::vector<Member>& members() const { return members_; }

    // Writes a member's bytes into a new file.
    CabinetStatus extract(const Member& member, const std::filesystem::path& target) const {
        if (member.folder >= folders_.size()) {
            return CabinetStatus::Damaged;
        }
        const Folder& folder = folders_[member.folder];
        const std::uint64_t end = std::uint64_t{member.offset} + member.size;
        if (end > folder.size) {
            return CabinetStatus::Damaged; // the member claims more bytes than its folder holds
        }
        Descriptor out(::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666));
        if (out.get() < 0) {
            return CabinetStatus::WriteFailed;
        }
        auto block = std::upper_bound(
            folder.blocks.begin(), folder.blocks.end(), std::uint64_t{member.offset},
            [](std::uint64_t offset, const Block& b) { return offset < b.folderOffset; });
        std::vector<char> buffer(1u << 20);
        std::size_t filled = 0;
        std::uint64_t position = member.offset;
        for (--block; position < end; ++block) {
            std::uint64_t from = position - block->folderOffset;
            while (from < block->size && position < end) {
                const std::size_t take = static_cast<std::size_t>(std::min<std::uint64_t>(
                    {block->size - from, end - position, buffer.size() - filled}));
                if (!readAt(fd_, block->fileOffset + from, buffer.data() + filled, take)) {
                    return CabinetStatus::Damaged;
                }
                filled += take;
                from += take;
                position += take;
                if (filled == buffer.size() && !writeAll(out.get(), buffer.data(), filled)) {
                    return CabinetStatus::WriteFailed;
                }
                filled = filled == buffer.size() ? 0 : filled;
            }
        }
        if (!writeAll(out.get(), buffer.data(), filled) || !out.close()) {
            return CabinetStatus::WriteFailed;
        }
        return CabinetStatus::Done;
    }

private:
    CabinetStatus loadBlocks(std::uint64_t at, std::uint16_t count, Folder& folder) {
        for (std::uint16_t i = 0; i < count; ++i) {
            std::array<unsigned char, 8> entry{};
            if (!readAt(fd_, at, entry.data(), entry.size())) {
                return CabinetStatus::Damaged;
            }
            const std::uint16_t stored = u16(&entry[4]);
            const std::uint16_t size = u16(&entry[6]);
            const std::uint64_t data = at + entry.size() + dataReserve_;
            if (stored != size || data + size > fileSize_) {
                return CabinetStatus::Damaged;
            }
            folder.blocks.push_back({data, folder.size, size});
            folder.size += size;
            at = data + size;
        }
        return CabinetStatus::Done;
    }

    int fd_;
    std::uint64_t fileSize_;
    std::size_t dataReserve_ = 0;
    std::vector<Folder> folders_;
    std::vector<Member> members_;
};

} // namespace

CabinetStatus HostPlatform::readCabinet(const std::string& path, const CabinetVisitor& visit) {
    if (path.empty()) {
        return CabinetStatus::CannotOpen;
    }
    const Descriptor in(::open(hostPath(path).c_str(), O_RDONLY));
    struct stat info {};
    if (in.get() < 0 || ::fstat(in.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return CabinetStatus::CannotOpen;
    }
    Cabinet cabinet(in.get(), static_cast<std::uint64_t>(info.st_size));
    if (const CabinetStatus status = cabinet.load(); status != CabinetStatus::Done) {
        return status;
    }
    const std::vector<Member>& members = cabinet.members();
    for (std::size_t i = 0; i < members.size(); ++i) {
        const Member& member = members[i];
        CabinetMember offered{i, {}, member.size};
        if ((member.attributes & kNameIsUtf8) != 0) {
            if (utf8::isWellFormed(member.rawName)) {
                offered.name = member.rawName;
            }
        } else if (const std::optional<std::string> name = fromAnsi(member.rawName)) {
            offered.name = *name;
        }
        const CabinetDecision decision = visit(offered);
        if (decision.action == CabinetDecision::Action::Stop) {
            return CabinetStatus::Stopped;
        }
        if (decision.action == CabinetDecision::Action::Extract) {
            if (const CabinetStatus status = cabinet.extract(member, hostPath(decision.target));
                status != CabinetStatus::Done) {
                return status;
            }
        }
    }
    return CabinetStatus::Done;
}

} // namespace quorvel
