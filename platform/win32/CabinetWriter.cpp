// The Win32 cabinet writer, through the cabinet library's FCI. FCI names every file it touches
// by an 8-bit string and hands it back to the callbacks below; the names it gets here are tokens
// ("*m<n>" for member n, "*t<n>" for its temporary files, "*cabinet" for the cabinet), so that
// paths of any language reach the system as UTF-16 and members held in memory need no file.
// FCI's temporary files (the folder's data until the cabinet is flushed, the lists of folders and
// files) are SpoolFiles (platform/CabinetSpool.h): in memory, but a stretch that FCI stored as it
// read it from a member's source is kept as a reference to the source and read again at the
// flush, so that an export needs a few MB of memory beside what MSZIP wrote, not the cabinet's
// size. The cabinet is written by a thread of its own while FCI goes on.
#include "platform/win32/CabinetWriter.h"

#include "platform/CabinetSpool.h"
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
#include <set>

namespace quorvel {

namespace {

constexpr char kCabinetToken[] = "*cabinet";
constexpr USHORT kArchiveAttribute = 0x20; // _A_ARCH
constexpr USHORT kCabinetSetId = 0x5152;

// A member's source file, open for FCI's reads of the member and, as long as a temporary file
// refers to it, for reading that stretch back when the cabinet is flushed. It is shared for
// reading only, so that no one changes it in between.
class SourceFile : public SpoolSource {
public:
    explicit SourceFile(HANDLE file) : file_(file) {}
    HANDLE handle() const { return file_.get(); }
    bool readAt(std::uint64_t offset, std::uint8_t* out, std::size_t count) override {
        while (count > 0) {
            OVERLAPPED at{};
            at.Offset = static_cast<DWORD>(offset);
            at.OffsetHigh = static_cast<DWORD>(offset >> 32);
            DWORD got = 0;
            const DWORD part = static_cast<DWORD>(std::min<std::size_t>(count, 1 << 30));
            if (!::ReadFile(file_.get(), out, part, &got, &at) || got == 0) {
                return false;
            }
            offset += got;
            out += got;
            count -= got;
        }
        return true;
    }

private:
    UniqueFileHandle file_;
};

constexpr std::size_t kFileBuffer = 1 << 20;
// How much of the cabinet is written before the flusher pushes it to the disk.
constexpr std::uint64_t kFlushStep = 32 << 20;

// A buffer of kFileBuffer bytes that a member's source is read into; what FCI was handed from it
// stays alive until FCI wrote it on.
struct Chunk {
    std::unique_ptr<std::uint8_t[]> bytes =
        std::make_unique_for_overwrite<std::uint8_t[]>(kFileBuffer);
};

// An open file of FCI's: the cabinet, a member (a source file or bytes in memory), or a temporary
// file. FCI reads and writes 32 KB at a time; a source is read through a buffer of 1 MB, and the
// cabinet written through buffers of 1 MB by a thread of its own, so that FCI goes on meanwhile.
struct Stream {
    // The cabinet: closed by FCI's close, which reports a failure.
    HANDLE cabinet = INVALID_HANDLE_VALUE;
    std::unique_ptr<BackgroundWriter> writer;
    std::unique_ptr<BackgroundRepeat> flusher;
    std::uint64_t unflushed = 0;      // of the writer's thread
    DWORD writeError = ERROR_SUCCESS; // of the writer's thread, read after finish()
    // A member.
    std::shared_ptr<SourceFile> source;
    std::span<const std::uint8_t> bytes; // a member held in memory
    std::shared_ptr<Chunk> chunk;        // read ahead from the source
    std::size_t chunkLength = 0;
    std::size_t chunkAt = 0; // the next byte to hand out
    std::uint64_t chunkFileAt = 0;
    int referable = -1; // whether the temporary files may refer to the source; -1: not known yet
    // A temporary file.
    std::shared_ptr<SpoolFile> spool;
    std::uint64_t position = 0; // of a member in memory or a temporary file

    bool finishWrites() {
        if (writer && !writer->finish()) {
            ::SetLastError(writeError);
            return false;
        }
        return true;
    }
};

// The members are read from and the temporary files written in; more references than this keep
// the bytes in memory instead of source files open.
constexpr std::size_t kMaxSources = 512;
// A member smaller than this is kept in memory when stored: not worth a file held open.
constexpr std::uint64_t kReferenceFloor = 256 << 10;
// What FCI was handed from the members since it last wrote a temporary file: never much more
// than one block of 32 KB.
constexpr std::size_t kMaxHanded = 256 << 10;

struct Session {
    explicit Session(const CabinetFileWrite& write) : writeFile(write) {}
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    ~Session() { closeAll(); }

    // Closes what FCI left open (when it failed) and the sources the temporary files refer to.
    void closeAll() {
        for (Stream* stream : open) {
            stream->writer.reset();
            stream->flusher.reset();
            if (stream->cabinet != INVALID_HANDLE_VALUE) {
                ::CloseHandle(stream->cabinet);
            }
            delete stream;
        }
        open.clear();
        temporaries.clear();
    }

    const CabinetFileWrite& writeFile; // the cabinet's bytes into its file
    std::set<Stream*> open;
    std::span<const CabinetEntry> members;
    std::wstring cabinetPath;
    std::map<std::string, std::shared_ptr<SpoolFile>> temporaries;
    int nextTemporary = 0;
    bool sourceMissing = false;
    std::size_t sources = 0;
    std::vector<HandedPiece> handed;
    std::size_t handedBytes = 0;
    std::vector<std::shared_ptr<Chunk>> chunks; // reused, so that no read needs fresh memory

    std::shared_ptr<Chunk> freeChunk() {
        for (const std::shared_ptr<Chunk>& chunk : chunks) {
            if (chunk.use_count() == 1) {
                return chunk;
            }
        }
        chunks.push_back(std::make_shared<Chunk>());
        return chunks.back();
    }
    void hand(HandedPiece piece) {
        if (!handed.empty()) {
            HandedPiece& last = handed.back();
            if (last.source == piece.source && last.keep == piece.keep && piece.source &&
                last.bytes + last.length == piece.bytes &&
                last.sourceAt + last.length == piece.sourceAt) {
                last.length += piece.length;
                handedBytes += piece.length;
                return;
            }
        }
        handedBytes += piece.length;
        handed.push_back(std::move(piece));
        while (handedBytes > kMaxHanded) {
            handedBytes -= handed.front().length;
            handed.erase(handed.begin());
        }
    }
};

Session& sessionOf(void* context) {
    return *static_cast<Session*>(context);
}

Stream* streamOf(INT_PTR handle) {
    return reinterpret_cast<Stream*>(handle);
}

INT_PTR handleOf(Session& session, std::unique_ptr<Stream> stream) {
    session.open.insert(stream.get());
    return reinterpret_cast<INT_PTR>(stream.release());
}

void* DIAMONDAPI allocate(ULONG size) {
    return std::malloc(size);
}

void DIAMONDAPI release(void* memory) {
    std::free(memory);
}

INT_PTR DIAMONDAPI open(char* name, int flags, int, int* error, void* context) {
    Session& session = sessionOf(context);
    auto stream = std::make_unique<Stream>();
    const std::string token(name);
    if (token == kCabinetToken) {
        // An existing file is not emptied on opening: ext4 takes a file emptied and written
        // again for a replacement and pushes all of it to the disk when it is closed, on the
        // closing thread; the flusher below does that work while the cabinet is being made.
        const DWORD disposition = (flags & _O_CREAT) ? OPEN_ALWAYS : OPEN_EXISTING;
        stream->cabinet = ::CreateFileW(session.cabinetPath.c_str(), GENERIC_READ | GENERIC_WRITE,
                                        0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (stream->cabinet == INVALID_HANDLE_VALUE ||
            ((flags & _O_TRUNC) && !::SetEndOfFile(stream->cabinet))) {
            *error = static_cast<int>(::GetLastError());
            if (stream->cabinet != INVALID_HANDLE_VALUE) {
                ::CloseHandle(stream->cabinet);
            }
            return -1;
        }
        Stream* target = stream.get();
        const HANDLE file = stream->cabinet;
        stream->flusher = std::make_unique<BackgroundRepeat>([file] { ::FlushFileBuffers(file); });
        stream->writer = std::make_unique<BackgroundWriter>(
            [target, &session](const std::uint8_t* data, std::size_t count) {
                if (!session.writeFile(target->cabinet, data, count)) {
                    target->writeError = ::GetLastError();
                    return false;
                }
                target->unflushed += count;
                if (target->unflushed >= kFlushStep) {
                    target->unflushed = 0;
                    target->flusher->poke();
                }
                return true;
            },
            kFileBuffer);
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
            const HANDLE file =
                ::CreateFileW(toWide(member.sourcePath).c_str(), GENERIC_READ, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
            if (file == INVALID_HANDLE_VALUE) {
                session.sourceMissing = true;
                *error = static_cast<int>(::GetLastError());
                return -1;
            }
            stream->source = std::make_shared<SourceFile>(file);
        }
    } else {
        auto& spool = session.temporaries[token];
        if (!spool) {
            spool = std::make_shared<SpoolFile>();
        } else if (flags & _O_TRUNC) {
            spool->truncate();
        }
        stream->spool = spool;
    }
    return handleOf(session, std::move(stream));
}

// Whether the temporary files may refer to this member's source rather than copy it: decided
// once per member.
bool referable(Session& session, Stream& stream) {
    if (stream.referable < 0) {
        LARGE_INTEGER size{};
        stream.referable = session.sources < kMaxSources &&
                           ::GetFileSizeEx(stream.source->handle(), &size) &&
                           static_cast<std::uint64_t>(size.QuadPart) >= kReferenceFloor;
        session.sources += static_cast<std::size_t>(stream.referable);
    }
    return stream.referable == 1;
}

UINT DIAMONDAPI read(INT_PTR handle, void* buffer, UINT size, int* error, void* context) {
    Session& session = sessionOf(context);
    Stream& stream = *streamOf(handle);
    auto* out = static_cast<std::uint8_t*>(buffer);
    if (stream.cabinet != INVALID_HANDLE_VALUE) {
        DWORD got = 0;
        if (!stream.finishWrites() || !::ReadFile(stream.cabinet, out, size, &got, nullptr)) {
            *error = static_cast<int>(::GetLastError());
            return static_cast<UINT>(-1);
        }
        return got;
    }
    if (stream.spool) {
        const std::int64_t got = stream.spool->read(stream.position, out, size);
        if (got < 0) {
            *error = ERROR_READ_FAULT;
            return static_cast<UINT>(-1);
        }
        stream.position += static_cast<std::uint64_t>(got);
        return static_cast<UINT>(got);
    }
    if (!stream.source) {
        const std::uint64_t left =
            stream.position < stream.bytes.size() ? stream.bytes.size() - stream.position : 0;
        const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(left, size));
        if (count > 0) {
            std::memcpy(out, stream.bytes.data() + stream.position, count);
            session.hand({nullptr, 0, nullptr, nullptr, count});
        }
        stream.position += count;
        return static_cast<UINT>(count);
    }
    UINT done = 0;
    while (done < size) {
        if (stream.chunkAt == stream.chunkLength) {
            stream.chunkFileAt += stream.chunkLength;
            stream.chunk.reset();
            stream.chunk = session.freeChunk();
            DWORD got = 0;
            if (!::ReadFile(stream.source->handle(), stream.chunk->bytes.get(), kFileBuffer, &got,
                            nullptr)) {
                stream.chunkLength = stream.chunkAt = 0;
                *error = static_cast<int>(::GetLastError());
                return static_cast<UINT>(-1);
            }
            stream.chunkLength = got;
            stream.chunkAt = 0;
            if (got == 0) {
                break;
            }
        }
        const std::size_t part =
            std::min<std::size_t>(size - done, stream.chunkLength - stream.chunkAt);
        const std::uint8_t* from = stream.chunk->bytes.get() + stream.chunkAt;
        std::memcpy(out + done, from, part);
        if (referable(session, stream)) {
            session.hand(
                {stream.source, stream.chunkFileAt + stream.chunkAt, stream.chunk, from, part});
        } else {
            session.hand({nullptr, 0, nullptr, nullptr, part});
        }
        stream.chunkAt += part;
        done += static_cast<UINT>(part);
    }
    return done;
}

UINT DIAMONDAPI write(INT_PTR handle, void* buffer, UINT size, int* error, void* context) {
    Session& session = sessionOf(context);
    Stream& stream = *streamOf(handle);
    const auto* data = static_cast<const std::uint8_t*>(buffer);
    if (stream.cabinet != INVALID_HANDLE_VALUE) {
        if (!stream.writer->write(data, size)) {
            *error = static_cast<int>(stream.writeError);
            return static_cast<UINT>(-1);
        }
        return size;
    }
    if (!stream.spool) {
        *error = ERROR_ACCESS_DENIED;
        return static_cast<UINT>(-1);
    }
    const bool written = stream.spool->write(stream.position, data, size, session.handed);
    session.handed.clear();
    session.handedBytes = 0;
    if (!written) {
        *error = ERROR_READ_FAULT;
        return static_cast<UINT>(-1);
    }
    stream.position += size;
    return size;
}

int DIAMONDAPI close(INT_PTR handle, int* error, void* context) {
    std::unique_ptr<Stream> stream(streamOf(handle));
    sessionOf(context).open.erase(stream.get());
    if (stream->cabinet != INVALID_HANDLE_VALUE) {
        const bool finished = stream->finishWrites();
        const DWORD finishError = ::GetLastError();
        stream->writer.reset();
        stream->flusher.reset();
        const bool closed = ::CloseHandle(stream->cabinet);
        if (!finished || !closed) {
            *error = static_cast<int>(finished ? ::GetLastError() : finishError);
            return -1;
        }
    }
    return 0;
}

long DIAMONDAPI seek(INT_PTR handle, long distance, int origin, int* error, void*) {
    Stream& stream = *streamOf(handle);
    if (stream.cabinet != INVALID_HANDLE_VALUE || stream.source) {
        if (!stream.finishWrites()) {
            *error = static_cast<int>(::GetLastError());
            return -1;
        }
        const HANDLE file = stream.source ? stream.source->handle() : stream.cabinet;
        if (stream.source) {
            // What was read ahead goes back to the file.
            LARGE_INTEGER back{};
            back.QuadPart = -static_cast<LONGLONG>(stream.chunkLength - stream.chunkAt);
            stream.chunkFileAt += stream.chunkAt;
            stream.chunkLength = stream.chunkAt = 0;
            if (!::SetFilePointerEx(file, back, nullptr, FILE_CURRENT)) {
                *error = static_cast<int>(::GetLastError());
                return -1;
            }
        }
        LARGE_INTEGER move{};
        move.QuadPart = distance;
        LARGE_INTEGER now{};
        const DWORD method = origin == SEEK_SET   ? FILE_BEGIN
                             : origin == SEEK_CUR ? FILE_CURRENT
                                                  : FILE_END;
        if (!::SetFilePointerEx(file, move, &now, method)) {
            *error = static_cast<int>(::GetLastError());
            return -1;
        }
        stream.chunkFileAt = static_cast<std::uint64_t>(now.QuadPart);
        return static_cast<long>(now.QuadPart);
    }
    const std::uint64_t size = stream.spool ? stream.spool->size() : stream.bytes.size();
    const std::int64_t base = origin == SEEK_SET   ? 0
                              : origin == SEEK_CUR ? static_cast<std::int64_t>(stream.position)
                                                   : static_cast<std::int64_t>(size);
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
    if (stream.source && ::GetFileInformationByHandle(stream.source->handle(), &information)) {
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

bool writeWholeFile(HANDLE file, const std::uint8_t* data, std::size_t count) {
    DWORD written = 0;
    if (!::WriteFile(file, data, static_cast<DWORD>(count), &written, nullptr)) {
        return false;
    }
    if (written != count) {
        ::SetLastError(ERROR_WRITE_FAULT);
        return false;
    }
    return true;
}

CabinetResult Win32Platform::writeCabinet(const std::string& path,
                                          std::span<const CabinetEntry> members) {
    return writeCabinetWith(path, members, writeWholeFile);
}

CabinetResult writeCabinetWith(const std::string& path, std::span<const CabinetEntry> members,
                               const CabinetFileWrite& writeFile) {
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

    Session session(writeFile);
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
    // Before the cabinet is moved or removed: no handle of it stays open, nor of a source (one of
    // them may be the file the cabinet replaces).
    session.closeAll();
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
