// The sandbox of the Windows build: a fresh folder under the user's temporary folder, reached
// through the real Win32 platform layer and removed with everything in it at the end.
#include "Sandbox.h"

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Platform.h"

#include <windows.h>

#include <winioctl.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace quorvel::test {

namespace {

std::wstring temporaryFolder() {
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, buffer);
    if (length == 0 || length > MAX_PATH) {
        throw std::runtime_error("no temporary folder");
    }
    std::wstring folder(buffer, length);
    if (folder.back() == L'\\') {
        folder.pop_back();
    }
    return folder;
}

// Removes a folder and everything below it. A link (symbolic link or junction) is removed
// itself; what it points to is left alone.
void removeTree(const std::wstring& folder) {
    WIN32_FIND_DATAW data{};
    const UniqueFindHandle search(::FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoStandard,
                                                     &data, FindExSearchNameMatch, nullptr, 0));
    if (search) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring path = folder + L"\\" + name;
            const DWORD attributes = data.dwFileAttributes;
            if (attributes & FILE_ATTRIBUTE_READONLY) {
                ::SetFileAttributesW(path.c_str(), attributes & ~DWORD{FILE_ATTRIBUTE_READONLY});
            }
            if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
                if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
                    removeTree(path);
                } else {
                    ::RemoveDirectoryW(path.c_str());
                }
            } else {
                ::DeleteFileW(path.c_str());
            }
        } while (::FindNextFileW(search.get(), &data));
    }
    ::RemoveDirectoryW(folder.c_str());
}

bool isReparsePoint(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool makeSymbolicLink(const std::wstring& link, const std::wstring& target) {
    // Windows 10 lets unprivileged processes make links with this flag; older systems refuse the
    // flag, so try once more without it. Some systems report success without making anything,
    // hence the check of the result.
    constexpr DWORD kAllowUnprivileged = 0x2;
    if (!::CreateSymbolicLinkW(link.c_str(), target.c_str(),
                               SYMBOLIC_LINK_FLAG_DIRECTORY | kAllowUnprivileged)) {
        ::CreateSymbolicLinkW(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY);
    }
    return isReparsePoint(link);
}

// A junction: an empty directory carrying a mount-point reparse point that names the target.
bool makeJunction(const std::wstring& link, const std::wstring& target) {
    if (!::CreateDirectoryW(link.c_str(), nullptr)) {
        return false;
    }
    // The target's NT path: backslash, two question marks, backslash, then the target.
    const std::wstring substitute = std::wstring(L"\\?") + L"?\\" + target;
    const std::wstring& print = target;
    // The layout of a mount-point reparse buffer: tag, data length, reserved, then the offsets
    // and lengths (in bytes) of the two names, then the names, each followed by a zero.
    const std::size_t namesBytes = (substitute.size() + 1 + print.size() + 1) * sizeof(wchar_t);
    const std::size_t headerBytes = 8;
    const std::size_t dataBytes = 8 + namesBytes;
    std::vector<BYTE> buffer(headerBytes + dataBytes, 0);
    auto put16 = [&](std::size_t offset, std::size_t value) {
        const WORD word = static_cast<WORD>(value);
        std::memcpy(buffer.data() + offset, &word, sizeof(word));
    };
    const DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
    std::memcpy(buffer.data(), &tag, sizeof(tag));
    put16(4, dataBytes);
    put16(8, 0);                                          // substitute name offset
    put16(10, substitute.size() * sizeof(wchar_t));       // substitute name length
    put16(12, (substitute.size() + 1) * sizeof(wchar_t)); // print name offset
    put16(14, print.size() * sizeof(wchar_t));            // print name length
    std::memcpy(buffer.data() + 16, substitute.c_str(), substitute.size() * sizeof(wchar_t));
    std::memcpy(buffer.data() + 16 + (substitute.size() + 1) * sizeof(wchar_t), print.c_str(),
                print.size() * sizeof(wchar_t));

    bool made = false;
    {
        const UniqueFileHandle directory(
            ::CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                          FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        DWORD returned = 0;
        made =
            directory &&
            ::DeviceIoControl(directory.get(), FSCTL_SET_REPARSE_POINT, buffer.data(),
                              static_cast<DWORD>(buffer.size()), nullptr, 0, &returned, nullptr) &&
            isReparsePoint(link);
    }
    if (!made) {
        ::RemoveDirectoryW(link.c_str());
    }
    return made;
}

class Win32Sandbox : public Sandbox {
public:
    Win32Sandbox() {
        const std::wstring base = temporaryFolder() + L"\\quorvel-test-" +
                                  std::to_wstring(::GetCurrentProcessId()) + L"-";
        for (unsigned attempt = 0; attempt < 1000; ++attempt) {
            const std::wstring candidate = base + std::to_wstring(::GetTickCount64() % 100000) +
                                           L"-" + std::to_wstring(attempt);
            if (::CreateDirectoryW(candidate.c_str(), nullptr)) {
                folder_ = candidate;
                root_ = toUtf8(folder_);
                return;
            }
        }
        throw std::runtime_error("cannot make a sandbox folder");
    }
    ~Win32Sandbox() override { removeTree(folder_); }

    Platform& platform() override { return platform_; }
    const std::string& root() const override { return root_; }

    bool makeDirectoryLink(const std::string& linkPath, const std::string& target) override {
        const std::wstring link = toWide(linkPath);
        const std::wstring to = toWide(target);
        return makeSymbolicLink(link, to) || makeJunction(link, to);
    }

    std::shared_ptr<void> makeUnreadable(const std::string& path) override {
        // Open for reading without sharing: every other open fails while the handle lives.
        const HANDLE file = ::CreateFileW(toWide(path).c_str(), GENERIC_READ, 0, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return nullptr;
        }
        return std::shared_ptr<void>(file, [](void* handle) { ::CloseHandle(handle); });
    }

    std::vector<std::string> devicePaths() override {
        // A device name stands for the device in any folder and with any extension.
        return {root_ + "\\NUL.theme", root_ + "\\COM1.theme", "\\\\.\\NUL"};
    }

private:
    Win32Platform platform_;
    std::wstring folder_;
    std::string root_;
};

} // namespace

std::unique_ptr<Sandbox> makeSandbox() {
    return std::make_unique<Win32Sandbox>();
}

} // namespace quorvel::test
