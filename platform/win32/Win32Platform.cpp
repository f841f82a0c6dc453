#include "platform/win32/Win32Platform.h"

#include "platform/win32/SystemLibraries.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"

#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <climits>

namespace quorvel {

namespace {

// ReadFile and WriteFile move at most a DWORD per call; stay well below it.
constexpr std::size_t kChunk = 1u << 20;

} // namespace

bool Win32Platform::makeDirectory(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    return ::CreateDirectoryW(toWide(path).c_str(), nullptr) != FALSE;
}

bool Win32Platform::isDirectory(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    const DWORD attributes = ::GetFileAttributesW(toWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Win32Platform::copyFile(const std::string& source, const std::string& target) {
    if (source.empty() || target.empty()) {
        return false;
    }
    return ::CopyFileW(toWide(source).c_str(), toWide(target).c_str(), FALSE) != FALSE;
}

bool Win32Platform::writeFile(const std::string& path, std::span<const std::uint8_t> bytes) {
    if (path.empty()) {
        return false;
    }
    // An existing file is written over in place and cut only where the new content ends, not
    // emptied first: a file system may treat a file emptied and written again as a replacement
    // and push it to the disk at once (ext4 does under Wine), which the theme file, written as
    // a header first and whole at the end of a run, would otherwise pay after every large copy.
    const UniqueFileHandle file(::CreateFileW(toWide(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return false;
    }
    LARGE_INTEGER oldSize{};
    if (!::GetFileSizeEx(file.get(), &oldSize)) {
        return false;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD want = static_cast<DWORD>(std::min(bytes.size() - done, kChunk));
        DWORD written = 0;
        if (!::WriteFile(file.get(), bytes.data() + done, want, &written, nullptr) ||
            written == 0) {
            return false;
        }
        done += written;
    }
    return static_cast<std::uint64_t>(oldSize.QuadPart) <= done || ::SetEndOfFile(file.get());
}

bool Win32Platform::replaceFile(const std::string& path, std::span<const std::uint8_t> bytes) {
    if (path.empty()) {
        return false;
    }
    const std::string temporary = path + std::string(kReplacementSuffix);
    const std::wstring wideTemporary = toWide(temporary);
    bool written = writeFile(temporary, bytes);
    if (written) {
        // The data reaches the disk before the name moves, so that the target is never left
        // holding a file whose content is still on its way.
        const UniqueFileHandle file(::CreateFileW(wideTemporary.c_str(), GENERIC_WRITE, 0, nullptr,
                                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        written = file && ::FlushFileBuffers(file.get());
    }
    if (!written || !::MoveFileExW(wideTemporary.c_str(), toWide(path).c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ::DeleteFileW(wideTemporary.c_str());
        return false;
    }
    return true;
}

bool Win32Platform::fileExists(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    const DWORD attributes = ::GetFileAttributesW(toWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::optional<std::string> Win32Platform::readFile(const std::string& path) {
    if (path.empty()) {
        return std::nullopt;
    }
    const UniqueFileHandle file(::CreateFileW(toWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                              nullptr));
    if (!file) {
        return std::nullopt;
    }
    std::string content;
    LARGE_INTEGER size{};
    if (::GetFileSizeEx(file.get(), &size) && size.QuadPart > 0 &&
        static_cast<unsigned long long>(size.QuadPart) < content.max_size()) {
        content.reserve(static_cast<std::size_t>(size.QuadPart));
    }
    std::string buffer(64 * 1024, '\0');
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read,
                        nullptr)) {
            return std::nullopt;
        }
        if (read == 0) {
            return content;
        }
        content.append(buffer, 0, read);
    }
}

namespace {

// A file on a disk open for reading. FILE_FLAG_BACKUP_SEMANTICS lets a directory open too, so
// that it is told apart from a file that cannot be read. Only a file on a disk is read from; a
// device (COM1, NUL) or a pipe is closed again untouched.
class DiskFile {
public:
    explicit DiskFile(const std::string& path)
        : file_(::CreateFileW(toWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS,
                              nullptr)) {
        BY_HANDLE_FILE_INFORMATION info{};
        if (!file_) {
            refusal_ = ReadRefusal::Unreadable;
        } else if (::GetFileType(file_.get()) != FILE_TYPE_DISK ||
                   !::GetFileInformationByHandle(file_.get(), &info) ||
                   (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            refusal_ = ReadRefusal::NotAFile;
        } else {
            size_ = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
        }
    }

    ReadRefusal refusal() const { return refusal_; }
    std::uint64_t size() const { return size_; }
    // Appends up to `count` bytes from `offset`; false when a read fails.
    bool readAt(std::uint64_t offset, std::uint64_t count, std::string& into) const {
        LARGE_INTEGER at{};
        at.QuadPart = static_cast<LONGLONG>(offset);
        if (!::SetFilePointerEx(file_.get(), at, nullptr, FILE_BEGIN)) {
            return false;
        }
        std::string buffer(64 * 1024, '\0');
        while (count > 0) {
            DWORD read = 0;
            const auto want = static_cast<DWORD>(std::min<std::uint64_t>(count, buffer.size()));
            if (!::ReadFile(file_.get(), buffer.data(), want, &read, nullptr)) {
                return false;
            }
            if (read == 0) {
                break;
            }
            into.append(buffer, 0, read);
            count -= read;
        }
        return true;
    }

private:
    UniqueFileHandle file_;
    ReadRefusal refusal_ = ReadRefusal::None;
    std::uint64_t size_ = 0;
};

} // namespace

BoundedRead Win32Platform::readRegularFile(const std::string& path, std::uint64_t maxBytes) {
    if (path.empty()) {
        return {std::nullopt, ReadRefusal::Unreadable};
    }
    const DiskFile file(path);
    if (file.refusal() != ReadRefusal::None) {
        return {std::nullopt, file.refusal()};
    }
    if (file.size() > maxBytes) {
        return {std::nullopt, ReadRefusal::TooLarge};
    }
    std::string content;
    content.reserve(static_cast<std::size_t>(file.size()));
    // One byte beyond the limit tells a file that grew since its size was taken.
    if (!file.readAt(0, maxBytes + 1, content)) {
        return {std::nullopt, ReadRefusal::Unreadable};
    }
    if (content.size() > maxBytes) {
        return {std::nullopt, ReadRefusal::TooLarge};
    }
    return {std::move(content), ReadRefusal::None};
}

FilePart Win32Platform::readFilePart(const std::string& path, std::uint64_t offset,
                                     std::size_t count) {
    FilePart part;
    if (path.empty()) {
        part.refusal = ReadRefusal::Unreadable;
        return part;
    }
    const DiskFile file(path);
    part.refusal = file.refusal();
    part.fileSize = file.size();
    if (part.refusal == ReadRefusal::None && offset < part.fileSize &&
        !file.readAt(offset, std::min<std::uint64_t>(count, part.fileSize - offset), part.bytes)) {
        part.refusal = ReadRefusal::Unreadable;
        part.bytes.clear();
    }
    return part;
}

std::optional<std::vector<DirectoryEntry>> Win32Platform::listDirectory(const std::string& path) {
    if (path.empty()) {
        return std::nullopt;
    }
    std::wstring pattern = toWide(path);
    if (pattern.back() != L'\\' && pattern.back() != L'/') {
        pattern += L'\\';
    }
    pattern += L'*';

    WIN32_FIND_DATAW data{};
    const UniqueFindHandle search(::FindFirstFileExW(pattern.c_str(), FindExInfoStandard, &data,
                                                     FindExSearchNameMatch, nullptr, 0));
    if (!search) {
        // A drive root has no "." entry, so an empty one finds nothing at all.
        if (::GetLastError() == ERROR_FILE_NOT_FOUND && isDirectory(path)) {
            return std::vector<DirectoryEntry>{};
        }
        return std::nullopt;
    }
    std::vector<DirectoryEntry> entries;
    do {
        const std::wstring_view name(data.cFileName);
        if (name == L"." || name == L"..") {
            continue;
        }
        entries.push_back({toUtf8(name), (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                           (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
    } while (::FindNextFileW(search.get(), &data));
    if (::GetLastError() != ERROR_NO_MORE_FILES) {
        return std::nullopt;
    }
    return entries;
}

std::string Win32Platform::expandEnvironment(const std::string& text) {
    const std::wstring source = toWide(text);
    std::wstring expanded(source.size() + 64, L'\0');
    for (;;) {
        const DWORD capacity = static_cast<DWORD>(std::min<std::size_t>(expanded.size(), UINT_MAX));
        const DWORD needed = ::ExpandEnvironmentStringsW(source.c_str(), expanded.data(), capacity);
        if (needed == 0) {
            return text;
        }
        if (needed <= capacity) {
            // The count includes the terminating zero.
            expanded.resize(needed - 1);
            return toUtf8(expanded);
        }
        expanded.assign(needed, L'\0');
    }
}

bool Win32Platform::movePath(const std::string& from, const std::string& to) {
    if (from.empty() || to.empty()) {
        return false;
    }
    return ::MoveFileExW(toWide(from).c_str(), toWide(to).c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool Win32Platform::removePath(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    const std::wstring wide = toWide(path);
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        ::SetFileAttributesW(wide.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    }
    // A directory link is removed as a directory, which removes the link and not its target.
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? ::RemoveDirectoryW(wide.c_str()) != FALSE
                                                        : ::DeleteFileW(wide.c_str()) != FALSE;
}

std::optional<std::uint64_t> Win32Platform::freeSpace(const std::string& folder) {
    ULARGE_INTEGER available{};
    if (folder.empty() ||
        !::GetDiskFreeSpaceExW(toWide(folder).c_str(), &available, nullptr, nullptr)) {
        return std::nullopt;
    }
    return available.QuadPart;
}

std::string Win32Platform::localDataFolder() {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(system::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                                        SHGFP_TYPE_CURRENT, path))) {
        return {};
    }
    return toUtf8(path);
}

std::optional<std::string> Win32Platform::toAnsi(std::string_view utf8) {
    if (utf8.empty()) {
        return std::string();
    }
    // Text that is not valid UTF-8 has no defined form in any code page.
    const int utf8Length = static_cast<int>(std::min<std::size_t>(utf8.size(), INT_MAX));
    const int wideLength =
        ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), utf8Length, nullptr, 0);
    if (wideLength <= 0 || static_cast<std::size_t>(utf8Length) != utf8.size()) {
        return std::nullopt;
    }
    if (::GetACP() == CP_UTF8) {
        // A system that runs with UTF-8 as its ANSI code page holds every valid text (and does
        // not offer the default-character check for it).
        return std::string(utf8);
    }
    const std::wstring wide = toWide(utf8);
    BOOL usedDefault = FALSE;
    const int ansiLength = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(),
                                                 wideLength, nullptr, 0, nullptr, &usedDefault);
    if (ansiLength <= 0 || usedDefault) {
        return std::nullopt;
    }
    std::string ansi(static_cast<std::size_t>(ansiLength), '\0');
    if (::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, ansi.data(),
                              ansiLength, nullptr, &usedDefault) != ansiLength ||
        usedDefault) {
        return std::nullopt;
    }
    return ansi;
}

std::optional<std::string> Win32Platform::fromAnsi(std::string_view ansi) {
    if (ansi.empty()) {
        return std::string();
    }
    if (ansi.size() > static_cast<std::size_t>(INT_MAX)) {
        return std::nullopt;
    }
    const int ansiLength = static_cast<int>(ansi.size());
    const int wideLength =
        ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi.data(), ansiLength, nullptr, 0);
    if (wideLength <= 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    if (::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi.data(), ansiLength, wide.data(),
                              wideLength) != wideLength) {
        return std::nullopt;
    }
    return toUtf8(wide);
}

bool Win32Platform::isAnsiLeadByte(unsigned char byte) {
    return ::IsDBCSLeadByte(byte) != FALSE;
}

void Win32Platform::messageBox(const std::string& text, MessageIcon icon,
                               const std::string& title) {
    UINT style = MB_OK;
    switch (icon) {
    case MessageIcon::Error:
        style |= MB_ICONERROR;
        break;
    case MessageIcon::Information:
        style |= MB_ICONINFORMATION;
        break;
    case MessageIcon::Warning:
        style |= MB_ICONWARNING;
        break;
    }
    const HWND owner = owner_ && ::IsWindow(owner_) ? owner_ : nullptr;
    ::MessageBoxW(owner, toWide(text).c_str(), toWide(title).c_str(), style);
}

void Win32Platform::delay(int milliseconds) {
    ::Sleep(milliseconds > 0 ? static_cast<DWORD>(milliseconds) : 0);
}

OsVersion Win32Platform::osVersion() {
    // GetVersionExW reports the version the process is shown (the manifest and the
    // compatibility settings decide it), which is the version the wizards are gated on.
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
    const BOOL ok = ::GetVersionExW(&info);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    if (!ok) {
        return {};
    }
    return {static_cast<int>(info.dwMajorVersion), static_cast<int>(info.dwMinorVersion)};
}

void Win32Platform::openWebAddress(const std::string& address) {
    system::ShellExecuteW(nullptr, L"open", toWide(address).c_str(), nullptr, nullptr,
                          SW_SHOWNORMAL);
}

} // namespace quorvel
