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

#include <cstdlib>
#include <map>

namespace quorvel {

namespace {

// The state of one reading. The library's file callbacks carry no pointer of ours, so they find
// it through the thread: a cabinet is read on one thread from start to end.
struct Reading {
    std::wstring cabinet;
    const CabinetVisitor* visit = nullptr;
    Win32Platform* platform = nullptr;
    std::size_t next = 0;                       // the index of the next member offered
    CabinetStatus status = CabinetStatus::Done; // what our side found wrong, if anything
    // The bytes each open member may still take: never more than the cabinet stated.
    std::map<INT_PTR, std::uint64_t> remaining;
};

thread_local Reading* current = nullptr;

// The name the library opens the cabinet by; the callback opens `Reading::cabinet` for it.
char kCabinetName[] = "cabinet";
char kNoFolder[] = "";

HANDLE handleOf(INT_PTR file) {
    return reinterpret_cast<HANDLE>(file);
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
    return file == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<INT_PTR>(file);
}

FNREAD(readFile) {
    DWORD read = 0;
    return ::ReadFile(handleOf(hf), pv, cb, &read, nullptr) ? read : static_cast<UINT>(-1);
}

FNWRITE(writeFile) {
    if (current) {
        // A member's file takes no more bytes than the cabinet stated for it.
        const auto at = current->remaining.find(hf);
        if (at == current->remaining.end() || at->second < cb) {
            current->status = CabinetStatus::Damaged;
            return static_cast<UINT>(-1);
        }
        at->second -= cb;
    }
    DWORD written = 0;
    if (!::WriteFile(handleOf(hf), pv, cb, &written, nullptr) || written != cb) {
        if (current) {
            current->status = CabinetStatus::WriteFailed;
        }
        return static_cast<UINT>(-1);
    }
    return written;
}

FNCLOSE(closeFile) {
    if (current) {
        current->remaining.erase(hf);
    }
    return ::CloseHandle(handleOf(hf)) ? 0 : -1;
}

FNSEEK(seekFile) {
    const DWORD method = seektype == SEEK_CUR   ? FILE_CURRENT
                         : seektype == SEEK_END ? FILE_END
                                                : FILE_BEGIN;
    LARGE_INTEGER distance{};
    distance.QuadPart = dist;
    LARGE_INTEGER position{};
    if (!::SetFilePointerEx(handleOf(hf), distance, &position, method) ||
        position.QuadPart > 0x7FFFFFFF) {
        return -1;
    }
    return static_cast<__LONG32>(position.QuadPart);
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
    reading.remaining[handle] = member.size;
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
        const auto left = current->remaining.find(pfdin->hf);
        const bool whole = left != current->remaining.end() && left->second == 0;
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
    while (!reading.remaining.empty()) {
        closeFile(reading.remaining.begin()->first);
    }
    if (reading.status != CabinetStatus::Done) {
        return reading.status;
    }
    return copied ? CabinetStatus::Done : statusOf(fdi.error());
}

} // namespace quorvel
