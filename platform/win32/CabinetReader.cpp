// Reading cabinets through the system's cabinet library (FDI). The library asks for the cabinet's
// bytes and hands over the members' bytes through callbacks of ours, which work on handles of
// CreateFileW, so that the cabinet's path and the members' targets may hold any character.
// Each member is offered to the caller's visitor in the "copy file" notification, where it is
// skipped, written or the whole reading stopped.
#include "platform/win32/SystemLibraries.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Platform.h"

#include "platform/Utf8.h"

#include <windows.h>

#include <fcntl.h>
#include <fdi.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

namespace quorvel {

namespace {

// The size of the buffers between the library and the files: the library moves data in blocks
// of at most 32 KB (and reads each block's header apart), and a system call per block made the
// extraction of a large pack half again as slow as a copy of the pack under Wine.
constexpr std::size_t kBuffer = std::size_t{1} << 20;

// A file open for the library: the cabinet, read through a buffer, or a member being written,
// gathered in a buffer and allowed no more bytes than the cabinet stated for it.
struct Stream {
    bool output = false;
    std::uint64_t remaining = 0; // output: the bytes the member may still take
    std::vector<char> buffer;
    std::uint64_t position = 0; // input: where the library reads next
    std::uint64_t bufferAt = 0; // input: the file offset of buffer[0]
    std::size_t filled = 0;     // the bytes of the buffer in use
};

// The state of one reading. The library's file callbacks carry no pointer of ours, so they find
// it through the thread: a cabinet is read on one thread from start to end.
struct Reading {
    std::wstring cabinet;
    const CabinetVisitor* visit = nullptr;
    Win32Platform* platform = nullptr;
    std::size_t next = 0;                       // the index of the next member offered
    CabinetStatus status = CabinetStatus::Done; // what our side found wrong, if anything
    std::map<INT_PTR, Stream> streams;          // by handle
};

thread_local Reading* current = nullptr;

// The name the library opens the cabinet by; the callback opens `Reading::cabinet` for it.
char kCabinetName[] = "cabinet";
char kNoFolder[] = "";

HANDLE handleOf(INT_PTR file) {
    return reinterpret_cast<HANDLE>(file);
}

Stream* streamOf(INT_PTR file) {
    if (!current) {
        return nullptr;
    }
    const auto at = current->streams.find(file);
    return at == current->streams.end() ? nullptr : &at->second;
}

bool writeAll(HANDLE file, const char* data, std::size_t size) {
    while (size > 0) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min(size, kBuffer));
        if (!::WriteFile(file, data, chunk, &written, nullptr) || written == 0) {
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

FNALLOC(allocate) {
    return std::malloc(cb);
}

FNFREE(release) {
    std::free(pv);
}

FNOPEN(openFile) {
    (void)pmode;
    // The library opens nothing but the cabinet it was given, and only for reading.
    if (!current || std::string_view(pszFile) != kCabinetName ||
        (oflag & (_O_WRONLY | _O_RDWR | _O_CREAT)) != 0) {
        return -1;
    }
    const HANDLE file =
        ::CreateFileW(current->cabinet.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return -1;
    }
    const auto handle = reinterpret_cast<INT_PTR>(file);
    current->streams[handle].buffer.resize(kBuffer);
    return handle;
}

FNREAD(readFile) {
    Stream* stream = streamOf(hf);
    if (!stream || stream->output) {
        return static_cast<UINT>(-1);
    }
    auto* out = static_cast<char*>(pv);
    UINT done = 0;
    while (done < cb) {
        const std::uint64_t end = stream->bufferAt + stream->filled;
        if (stream->position >= stream->bufferAt && stream->position < end) {
            const std::size_t from = static_cast<std::size_t>(stream->position - stream->bufferAt);
            const std::size_t take = std::min<std::size_t>(cb - done, stream->filled - from);
            std::memcpy(out + done, stream->buffer.data() + from, take);
            done += static_cast<UINT>(take);
            stream->position += take;
            continue;
        }
        LARGE_INTEGER at{};
        at.QuadPart = static_cast<LONGLONG>(stream->position);
        DWORD read = 0;
        if (!::SetFilePointerEx(handleOf(hf), at, nullptr, FILE_BEGIN) ||
            !::ReadFile(handleOf(hf), stream->buffer.data(), static_cast<DWORD>(kBuffer), &read,
                        nullptr)) {
            return static_cast<UINT>(-1);
        }
        stream->bufferAt = stream->position;
        stream->filled = read;
        if (read == 0) {
            break; // the end of the file
        }
    }
    return done;
}

FNWRITE(writeFile) {
    Stream* stream = streamOf(hf);
    // A member's file takes no more bytes than the cabinet stated for it.
    if (!stream || !stream->output || stream->remaining < cb) {
        if (current) {
            current->status = CabinetStatus::Damaged;
        }
        return static_cast<UINT>(-1);
    }
    if (cb == 0) {
        return 0;
    }
    stream->remaining -= cb;
    const auto* data = static_cast<const char*>(pv);
    if (stream->filled + cb > stream->buffer.size()) {
        if (!writeAll(handleOf(hf), stream->buffer.data(), stream->filled) ||
            !(cb < stream->buffer.size() || writeAll(handleOf(hf), data, cb))) {
            current->status = CabinetStatus::WriteFailed;
            return static_cast<UINT>(-1);
        }
        stream->filled = 0;
        if (cb >= stream->buffer.size()) {
            return cb;
        }
    }
    std::memcpy(stream->buffer.data() + stream->filled, data, cb);
    stream->filled += cb;
    return cb;
}

FNCLOSE(closeFile) {
    bool flushed = true;
    if (current) {
        if (Stream* stream = streamOf(hf); stream && stream->output) {
            flushed = writeAll(handleOf(hf), stream->buffer.data(), stream->filled);
            if (!flushed) {
                current->status = CabinetStatus::WriteFailed;
            }
        }
        current->streams.erase(hf);
    }
    return ::CloseHandle(handleOf(hf)) && flushed ? 0 : -1;
}

FNSEEK(seekFile) {
    Stream* stream = streamOf(hf);
    if (!stream || stream->output) {
        return -1;
    }
    std::int64_t base = 0;
    if (seektype == SEEK_CUR) {
        base = static_cast<std::int64_t>(stream->position);
    } else if (seektype == SEEK_END) {
        LARGE_INTEGER size{};
        if (!::GetFileSizeEx(handleOf(hf), &size)) {
            return -1;
        }
        base = size.QuadPart;
    }
    const std::int64_t position = base + dist;
    if (position < 0 || position > 0x7FFFFFFF) {
        return -1;
    }
    stream->position = static_cast<std::uint64_t>(position);
    return static_cast<__LONG32>(position);
}

// The member's name as UTF-8: as it is when the cabinet marks it so, else from the ANSI code
// page; empty when the bytes are not valid in that encoding.
std::string memberName(const FDINOTIFICATION& note, Win32Platform& platform) {
    const std::string_view raw = note.psz1 ? std::string_view(note.psz1) : std::string_view();
    if ((note.attribs & _A_NAME_IS_UTF) != 0) {
        return utf8::isWellFormed(raw) ? std::string(raw) : std::string();
    }
    return platform.fromAnsi(raw).value_or(std::string());
}

INT_PTR offer(FDINOTIFICATION& note) {
    Reading& reading = *current;
    CabinetMember member;
    member.index = reading.next++;
    member.name = memberName(note, *reading.platform);
    // The format stores the size as 32 bits without a sign.
    member.size = static_cast<std::uint32_t>(note.cb);
    CabinetDecision decision;
    try {
        decision = (*reading.visit)(member);
    } catch (...) {
        decision.action = CabinetDecision::Action::Stop;
    }
    switch (decision.action) {
    case CabinetDecision::Action::Skip:
        return 0;
    case CabinetDecision::Action::Stop:
        reading.status = CabinetStatus::Stopped;
        return -1;
    case CabinetDecision::Action::Extract:
        break;
    }
    const HANDLE file = ::CreateFileW(toWide(decision.target).c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        reading.status = CabinetStatus::WriteFailed;
        return -1;
    }
    const auto handle = reinterpret_cast<INT_PTR>(file);
    Stream& stream = reading.streams[handle];
    stream.output = true;
    stream.remaining = member.size;
    stream.buffer.resize(static_cast<std::size_t>(std::min<std::uint64_t>(member.size, kBuffer)));
    return handle;
}

FNFDINOTIFY(notify) {
    if (!current) {
        return -1;
    }
    switch (fdint) {
    case fdintCOPY_FILE:
        return offer(*pfdin);
    case fdintCLOSE_FILE_INFO: {
        // The member's date and attributes are not taken over: the files are the program's own.
        const Stream* stream = streamOf(pfdin->hf);
        const bool whole = stream && stream->output && stream->remaining == 0;
        const bool closed = closeFile(pfdin->hf) == 0;
        if (!whole || !closed) {
            current->status = whole ? CabinetStatus::WriteFailed : CabinetStatus::Damaged;
            return FALSE;
        }
        return TRUE;
    }
    case fdintPARTIAL_FILE:
    case fdintNEXT_CABINET:
        // A member that continues in another cabinet of a set.
        current->status = CabinetStatus::Damaged;
        return -1;
    default:
        return 0;
    }
}

CabinetStatus statusOf(const ERF& error) {
    switch (error.erfOper) {
    case FDIERROR_CABINET_NOT_FOUND:
        return CabinetStatus::CannotOpen;
    case FDIERROR_NOT_A_CABINET:
        return CabinetStatus::NotCabinet;
    case FDIERROR_UNKNOWN_CABINET_VERSION:
    case FDIERROR_BAD_COMPR_TYPE:
        return CabinetStatus::Unsupported;
    case FDIERROR_TARGET_FILE:
        return CabinetStatus::WriteFailed;
    default:
        return CabinetStatus::Damaged;
    }
}

// The library's context, destroyed when it goes.
class Decompressor {
public:
    Decompressor()
        : context_(system::FDICreate(allocate, release, openFile, readFile, writeFile, closeFile,
                                     seekFile, cpuUNKNOWN, &error_)) {}
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;
    ~Decompressor() {
        if (context_) {
            system::FDIDestroy(context_);
        }
    }
    HFDI get() const { return context_; }
    ERF& error() { return error_; }

private:
    ERF error_{};
    HFDI context_;
};

} // namespace

CabinetStatus Win32Platform::readCabinet(const std::string& path, const CabinetVisitor& visit) {
    if (path.empty() || current) {
        return CabinetStatus::CannotOpen;
    }
    Reading reading;
    reading.cabinet = toWide(path);
    reading.visit = &visit;
    reading.platform = this;
    current = &reading;
    struct Leave {
        ~Leave() { current = nullptr; }
    } leave;

    Decompressor fdi;
    if (!fdi.get()) {
        return CabinetStatus::Unsupported;
    }
    {
        const INT_PTR file = openFile(kCabinetName, _O_RDONLY | _O_BINARY, 0);
        if (file == -1) {
            return CabinetStatus::CannotOpen;
        }
        FDICABINETINFO info{};
        const BOOL cabinet = system::FDIIsCabinet(fdi.get(), file, &info);
        closeFile(file);
        if (!cabinet) {
            return CabinetStatus::NotCabinet;
        }
        if (info.hasprev || info.hasnext) {
            return CabinetStatus::Damaged;
        }
    }
    const BOOL copied =
        system::FDICopy(fdi.get(), kCabinetName, kNoFolder, 0, notify, nullptr, nullptr);
    // Files left open by an aborted copy are closed here; the caller removes them.
    while (!reading.streams.empty()) {
        closeFile(reading.streams.begin()->first);
    }
    if (reading.status != CabinetStatus::Done) {
        return reading.status;
    }
    return copied ? CabinetStatus::Done : statusOf(fdi.error());
}

} // namespace quorvel
