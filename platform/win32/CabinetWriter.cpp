// The Win32 cabinet writer, through the cabinet library's FCI. FCI names every file it touches
// by an 8-bit string and hands it back to the callbacks below; the names it gets here are tokens
// ("*m<n>" for member n, "*t<n>" for its temporary files, "*cabinet" for the cabinet), so that
// paths of any language reach the system as UTF-16 and members held in memory need no file.
// FCI's temporary files (the folder's data until the cabinet is flushed, the lists of folders and
// files) are kept in memory: the members are read once and the cabinet written once, which is
// what a plain copy of the same files costs; the price is memory as large as the cabinet, which
// kMaxCabinetBytes bounds.
#include "platform/win32/SystemLibraries.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Platform.h"

#include <fcntl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>

namespace quorvel {

namespace {

constexpr char kCabinetToken[] = "*cabinet";
constexpr USHORT kArchiveAttribute = 0x20; // _A_ARCH
constexpr USHORT kCabinetSetId = 0x5152;

// A temporary file of FCI's in memory, in pieces of 4 MB, so that it grows without copying what
// it holds.
class MemoryFile {
public:
    std::uint64_t size() const { return size_; }
    void truncate() {
        pieces_.clear();
        size_ = 0;
    }
    std::size_t read(std::uint64_t at, std::uint8_t* out, std::size_t count) const {
        count =
            static_cast<std::size_t>(std::min<std::uint64_t>(count, at < size_ ? size_ - at : 0));
        for (std::size_t done = 0; done < count;) {
            const std::size_t offset = static_cast<std::size_t>((at + done) % kPiece);
            const std::size_t part = std::min(count - done, kPiece - offset);
            std::memcpy(out + done,
                        pieces_[static_cast<std::size_t>((at + done) / kPiece)].get() + offset,
                        part);
            done += part;
        }
        return count;
    }
    void write(std::uint64_t at, const std::uint8_t* data, std::size_t count) {
        for (std::size_t done = 0; done < count;) {
            const std::size_t index = static_cast<std::size_t>((at + done) / kPiece);
            while (pieces_.size() <= index) {
                pieces_.push_back(std::make_unique<std::uint8_t[]>(kPiece));
            }
            const std::size_t offset = static_cast<std::size_t>((at + done) % kPiece);
            const std::size_t part = std::min(count - done, kPiece - offset);
            std::memcpy(pieces_[index].get() + offset, data + done, part);
            done += part;
        }
        size_ = std::max<std::uint64_t>(size_, at + count);
    }

private:
    static constexpr std::size_t kPiece = 4 << 20;
    std::vector<std::unique_ptr<std::uint8_t[]>> pieces_;
    std::uint64_t size_ = 0;
};

// An open file of FCI's: a file of the system, or bytes in memory. FCI reads and writes 32 KB at a
// time; a file of the system is read and written through a buffer of 1 MB instead, which saves
// most of the calls into the system.
struct Stream {
    HANDLE file = INVALID_HANDLE_VALUE;
    std::shared_ptr<MemoryFile> memory;  // a temporary file, read and written
    std::span<const std::uint8_t> bytes; // a member held in memory, read only
    std::uint64_t position = 0;          // in memory
    std::vector<std::uint8_t> buffer;    // of a file: bytes read ahead, or bytes not yet written
    std::size_t bufferAt = 0;            // the next byte read ahead not handed out yet
    bool writing = false;                // the buffer holds bytes to write

    std::uint64_t size() const { return memory ? memory->size() : bytes.size(); }

    // Writes out what is buffered, or gives back to the file what was read ahead.
    bool settle() {
        bool ok = true;
        if (writing && !buffer.empty()) {
            DWORD written = 0;
            ok = ::WriteFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &written,
                             nullptr) &&
                 written == buffer.size();
        } else if (!writing && bufferAt < buffer.size()) {
            LARGE_INTEGER back{};
            back.QuadPart = -static_cast<LONGLONG>(buffer.size() - bufferAt);
            ok = ::SetFilePointerEx(file, back, nullptr, FILE_CURRENT);
        }
        buffer.clear();
        bufferAt = 0;
        writing = false;
        return ok;
    }
};

constexpr std::size_t kFileBuffer = 1 << 20;

struct Session {
    std::span<const CabinetEntry> members;
    std::wstring cabinetPath;
    std::map<std::string, std::shared_ptr<MemoryFile>> temporaries;
    int nextTemporary = 0;
    bool sourceMissing = false;
};

Session& sessionOf(void* context) {
    return *static_cast<Session*>(context);
}

Stream* streamOf(INT_PTR handle) {
    return reinterpret_cast<Stream*>(handle);
}

INT_PTR handleOf(std::unique_ptr<Stream> stream) {
    return reinterpret_cast<INT_PTR>(stream.release());
}

void* DIAMONDAPI allocate(ULONG size) {
    return std::malloc(size);
}

void DIAMONDAPI release(void* memory) {
    std::free(memory);
}

// A member's source file, shared for reading as the system's copy does.
HANDLE openSource(const std::string& path) {
    return ::CreateFileW(toWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                         OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

INT_PTR DIAMONDAPI open(char* name, int flags, int, int* error, void* context) {
    Session& session = sessionOf(context);
    auto stream = std::make_unique<Stream>();
    const std::string token(name);
    if (token == kCabinetToken) {
        const DWORD disposition = (flags & _O_CREAT) ? CREATE_ALWAYS : OPEN_EXISTING;
        stream->file = ::CreateFileW(session.cabinetPath.c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                     nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    } else if (token.starts_with("*m")) {
        const std::size_t index = std::strtoul(token.c_str() + 2, nullptr, 10);
        if (index >= session.members.size()) {
            *error = ERROR_FILE_NOT_FOUND;
            return -1;
        }
        const CabinetEntry& member = session.members[index];
        if (member.sourcePath.empty()) {
            stream->bytes = member.bytes;
        } else {
            stream->file = openSource(member.sourcePath);
            if (stream->file == INVALID_HANDLE_VALUE) {
                session.sourceMissing = true;
                *error = static_cast<int>(::GetLastError());
                return -1;
            }
        }
    } else {
        auto& memory = session.temporaries[token];
        if (!memory) {
            memory = std::make_shared<MemoryFile>();
        } else if (flags & _O_TRUNC) {
            memory->truncate();
        }
        stream->memory = memory;
    }
    if (token == kCabinetToken && stream->file == INVALID_HANDLE_VALUE) {
        *error = static_cast<int>(::GetLastError());
        return -1;
    }
    return handleOf(std::move(stream));
}

UINT DIAMONDAPI read(INT_PTR handle, void* buffer, UINT size, int* error, void*) {
    Stream& stream = *streamOf(handle);
    auto* out = static_cast<std::uint8_t*>(buffer);
    if (stream.file != INVALID_HANDLE_VALUE) {
        if (stream.writing && !stream.settle()) {
            *error = static_cast<int>(::GetLastError());
            return static_cast<UINT>(-1);
        }
        UINT done = 0;
        while (done < size) {
            if (stream.bufferAt == stream.buffer.size()) {
                stream.buffer.resize(kFileBuffer);
                DWORD got = 0;
                if (!::ReadFile(stream.file, stream.buffer.data(), kFileBuffer, &got, nullptr)) {
                    stream.buffer.clear();
                    stream.bufferAt = 0;
                    *error = static_cast<int>(::GetLastError());
                    return static_cast<UINT>(-1);
                }
                stream.buffer.resize(got);
                stream.bufferAt = 0;
                if (got == 0) {
                    break;
                }
            }
            const std::size_t part =
                std::min<std::size_t>(size - done, stream.buffer.size() - stream.bufferAt);
            std::memcpy(out + done, stream.buffer.data() + stream.bufferAt, part);
            stream.bufferAt += part;
            done += static_cast<UINT>(part);
        }
        return done;
    }
    std::size_t count = 0;
    if (stream.memory) {
        count = stream.memory->read(stream.position, out, size);
    } else {
        const std::uint64_t left =
            stream.position < stream.size() ? stream.size() - stream.position : 0;
        count = static_cast<std::size_t>(std::min<std::uint64_t>(left, size));
        if (count > 0) {
            std::memcpy(out, stream.bytes.data() + stream.position, count);
        }
    }
    stream.position += count;
    return static_cast<UINT>(count);
}

UINT DIAMONDAPI write(INT_PTR handle, void* buffer, UINT size, int* error, void*) {
    Stream& stream = *streamOf(handle);
    const auto* data = static_cast<const std::uint8_t*>(buffer);
    if (stream.file != INVALID_HANDLE_VALUE) {
        if (!stream.writing && !stream.settle()) {
            *error = static_cast<int>(::GetLastError());
            return static_cast<UINT>(-1);
        }
        stream.writing = true;
        stream.buffer.insert(stream.buffer.end(), data, data + size);
        if (stream.buffer.size() >= kFileBuffer && !stream.settle()) {
            *error = static_cast<int>(::GetLastError());
            return static_cast<UINT>(-1);
        }
        return size;
    }
    if (!stream.memory) {
        *error = ERROR_ACCESS_DENIED;
        return static_cast<UINT>(-1);
    }
    stream.memory->write(stream.position, data, size);
    stream.position += size;
    return size;
}

int DIAMONDAPI close(INT_PTR handle, int* error, void*) {
    std::unique_ptr<Stream> stream(streamOf(handle));
    const bool settled = stream->file == INVALID_HANDLE_VALUE || stream->settle();
    if (stream->file != INVALID_HANDLE_VALUE && (!::CloseHandle(stream->file) || !settled)) {
        *error = static_cast<int>(::GetLastError());
        return -1;
    }
    return 0;
}

long DIAMONDAPI seek(INT_PTR handle, long distance, int origin, int* error, void*) {
    Stream& stream = *streamOf(handle);
    if (stream.file != INVALID_HANDLE_VALUE) {
        if (!stream.settle()) {
            *error = static_cast<int>(::GetLastError());
            return -1;
        }
        LARGE_INTEGER move{};
        move.QuadPart = distance;
        LARGE_INTEGER now{};
        const DWORD method = origin == SEEK_SET   ? FILE_BEGIN
                             : origin == SEEK_CUR ? FILE_CURRENT
                                                  : FILE_END;
        if (!::SetFilePointerEx(stream.file, move, &now, method)) {
            *error = static_cast<int>(::GetLastError());
            return -1;
        }
        return static_cast<long>(now.QuadPart);
    }
    const std::int64_t base = origin == SEEK_SET   ? 0
                              : origin == SEEK_CUR ? static_cast<std::int64_t>(stream.position)
                                                   : static_cast<std::int64_t>(stream.size());
    if (base + distance < 0) {
        *error = ERROR_NEGATIVE_SEEK;
        return -1;
    }
    stream.position = static_cast<std::uint64_t>(base + distance);
    return static_cast<long>(stream.position);
}

int DIAMONDAPI remove(char* name, int*, void* context) {
    sessionOf(context).temporaries.erase(name);
    return 0;
}

BOOL DIAMONDAPI temporaryName(char* name, int size, void* context) {
    Session& session = sessionOf(context);
    return std::snprintf(name, static_cast<std::size_t>(size), "*t%d", session.nextTemporary++) <
           size;
}

int DIAMONDAPI placed(PCCAB, char*, long, BOOL, void*) {
    return 0;
}

BOOL DIAMONDAPI nextCabinet(PCCAB, ULONG, void*) {
    return FALSE; // one cabinet only; the sizes were checked before
}

long DIAMONDAPI status(UINT, ULONG, ULONG, void*) {
    return 0;
}

// Opens a member for FCI and tells it the member's date and time (the source's last change, the
// present for bytes in memory) and attributes.
INT_PTR DIAMONDAPI openInfo(char* name, USHORT* date, USHORT* time, USHORT* attributes, int* error,
                            void* context) {
    const INT_PTR handle = open(name, _O_RDONLY | _O_BINARY, 0, error, context);
    if (handle == -1) {
        return -1;
    }
    FILETIME modified{};
    const Stream& stream = *streamOf(handle);
    BY_HANDLE_FILE_INFORMATION information{};
    if (stream.file != INVALID_HANDLE_VALUE &&
        ::GetFileInformationByHandle(stream.file, &information)) {
        modified = information.ftLastWriteTime;
    } else {
        ::GetSystemTimeAsFileTime(&modified);
    }
    FILETIME local{};
    if (!::FileTimeToLocalFileTime(&modified, &local) ||
        !::FileTimeToDosDateTime(&local, date, time)) {
        *date = (46 << 9) | (1 << 5) | 1; // 2026-01-01
        *time = 0;
    }
    *attributes = kArchiveAttribute;
    return handle;
}

struct FciCloser {
    void operator()(void* writer) const noexcept { system::FCIDestroy(writer); }
};

} // namespace

CabinetResult Win32Platform::writeCabinet(const std::string& path,
                                          std::span<const CabinetEntry> members) {
    if (path.empty()) {
        return CabinetResult::Failed;
    }
    if (members.size() > kMaxCabinetMembers) {
        return CabinetResult::TooLarge;
    }
    std::uint64_t total = 0;
    for (const CabinetEntry& member : members) {
        if (member.sourcePath.empty()) {
            total += member.bytes.size();
            continue;
        }
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!::GetFileAttributesExW(toWide(member.sourcePath).c_str(), GetFileExInfoStandard,
                                    &data) ||
            (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            return CabinetResult::SourceMissing;
        }
        total += (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
    if (total > kMaxCabinetBytes) {
        return CabinetResult::TooLarge;
    }

    Session session;
    session.members = members;
    const std::string temporary = path + std::string(kReplacementSuffix);
    session.cabinetPath = toWide(temporary);

    CCAB cabinet{};
    cabinet.cb = 0x7FFFFFFF;
    cabinet.cbFolderThresh = 0x7FFFFFFF;
    cabinet.setID = kCabinetSetId;
    std::strcpy(cabinet.szCab, kCabinetToken);
    ERF error{};
    bool written = false;
    {
        std::unique_ptr<void, FciCloser> writer(
            system::FCICreate(&error, placed, allocate, release, open, read, write, close, seek,
                              remove, temporaryName, &cabinet, &session));
        written = writer != nullptr;
        for (std::size_t i = 0; i < members.size() && written; ++i) {
            std::string source = "*m" + std::to_string(i);
            std::string name = members[i].name;
            written = system::FCIAddFile(writer.get(), source.data(), name.data(), FALSE,
                                         nextCabinet, status, openInfo,
                                         members[i].compress ? tcompTYPE_MSZIP : tcompTYPE_NONE);
        }
        written = written && system::FCIFlushCabinet(writer.get(), FALSE, nextCabinet, status);
    }
    if (written) {
        // The data reaches the disk before the name moves, as replaceFile does.
        const UniqueFileHandle file(::CreateFileW(session.cabinetPath.c_str(), GENERIC_WRITE, 0,
                                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                                  nullptr));
        written = file && ::FlushFileBuffers(file.get());
    }
    if (!written || !::MoveFileExW(session.cabinetPath.c_str(), toWide(path).c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ::DeleteFileW(session.cabinetPath.c_str());
        return session.sourceMissing ? CabinetResult::SourceMissing : CabinetResult::Failed;
    }
    return CabinetResult::Written;
}

} // namespace quorvel
