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

// An open file of FCI's: a file of the system, or bytes in memory.
struct Stream {
    HANDLE file = INVALID_HANDLE_VALUE;
    std::shared_ptr<std::vector<std::uint8_t>> memory; // a temporary file, read and written
    std::span<const std::uint8_t> bytes;               // a member held in memory, read only
    std::uint64_t position = 0;

    std::uint64_t size() const { return memory ? memory->size() : bytes.size(); }
};

struct Session {
    std::span<const CabinetMember> members;
    std::wstring cabinetPath;
    std::map<std::string, std::shared_ptr<std::vector<std::uint8_t>>> temporaries;
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
        const CabinetMember& member = session.members[index];
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
        if (!memory || (flags & _O_TRUNC)) {
            memory = std::make_shared<std::vector<std::uint8_t>>();
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
    if (stream.file != INVALID_HANDLE_VALUE) {
        DWORD got = 0;
        if (!::ReadFile(stream.file, buffer, size, &got, nullptr)) {
            *error = static_cast<int>(::GetLastError());
            return static_cast<UINT>(-1);
        }
        return got;
    }
    const std::uint8_t* data = stream.memory ? stream.memory->data() : stream.bytes.data();
    const std::uint64_t left =
        stream.position < stream.size() ? stream.size() - stream.position : 0;
    const UINT count = static_cast<UINT>(std::min<std::uint64_t>(left, size));
    if (count > 0) {
        std::memcpy(buffer, data + stream.position, count);
    }
    stream.position += count;
    return count;
}

UINT DIAMONDAPI write(INT_PTR handle, void* buffer, UINT size, int* error, void*) {
    Stream& stream = *streamOf(handle);
    if (stream.file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        if (!::WriteFile(stream.file, buffer, size, &written, nullptr) || written != size) {
            *error = static_cast<int>(::GetLastError());
            return static_cast<UINT>(-1);
        }
        return written;
    }
    if (!stream.memory) {
        *error = ERROR_ACCESS_DENIED;
        return static_cast<UINT>(-1);
    }
    std::vector<std::uint8_t>& memory = *stream.memory;
    if (stream.position + size > memory.size()) {
        memory.resize(stream.position + size);
    }
    std::memcpy(memory.data() + stream.position, buffer, size);
    stream.position += size;
    return size;
}

int DIAMONDAPI close(INT_PTR handle, int* error, void*) {
    std::unique_ptr<Stream> stream(streamOf(handle));
    if (stream->file != INVALID_HANDLE_VALUE && !::CloseHandle(stream->file)) {
        *error = static_cast<int>(::GetLastError());
        return -1;
    }
    return 0;
}

__LONG32 DIAMONDAPI seek(INT_PTR handle, __LONG32 distance, int origin, int* error, void*) {
    Stream& stream = *streamOf(handle);
    if (stream.file != INVALID_HANDLE_VALUE) {
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
        return static_cast<__LONG32>(now.QuadPart);
    }
    const std::int64_t base = origin == SEEK_SET   ? 0
                              : origin == SEEK_CUR ? static_cast<std::int64_t>(stream.position)
                                                   : static_cast<std::int64_t>(stream.size());
    if (base + distance < 0) {
        *error = ERROR_NEGATIVE_SEEK;
        return -1;
    }
    stream.position = static_cast<std::uint64_t>(base + distance);
    return static_cast<__LONG32>(stream.position);
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

int DIAMONDAPI placed(PCCAB, char*, __LONG32, BOOL, void*) {
    return 0;
}

BOOL DIAMONDAPI nextCabinet(PCCAB, ULONG, void*) {
    return FALSE; // one cabinet only; the sizes were checked before
}

__LONG32 DIAMONDAPI status(UINT, ULONG, ULONG, void*) {
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
                                          std::span<const CabinetMember> members) {
    if (path.empty()) {
        return CabinetResult::Failed;
    }
    if (members.size() > kMaxCabinetMembers) {
        return CabinetResult::TooLarge;
    }
    std::uint64_t total = 0;
    for (const CabinetMember& member : members) {
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
