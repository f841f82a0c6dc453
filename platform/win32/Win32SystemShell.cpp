#include "platform/win32/Win32SystemShell.h"

#include "platform/win32/SystemLibraries.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

namespace quorvel {

namespace {

// Removes what a folder holds and then the folder. A link or junction is removed as the entry
// it is; what it points to is left alone.
void removeContent(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    const UniqueFindHandle search(::FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic,
                                                     &found, FindExSearchNameMatch, nullptr, 0));
    if (!search) {
        return;
    }
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") {
            continue;
        }
        const std::wstring path = folder + L"\\" + name;
        const bool directory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        const bool link = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_READONLY) {
            ::SetFileAttributesW(path.c_str(),
                                 found.dwFileAttributes & ~DWORD{FILE_ATTRIBUTE_READONLY});
        }
        if (directory) {
            if (!link) {
                removeContent(path);
            }
            ::RemoveDirectoryW(path.c_str());
        } else {
            ::DeleteFileW(path.c_str());
        }
    } while (::FindNextFileW(search.get(), &found));
}

} // namespace

bool Win32SystemShell::removeTree(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    const std::wstring wide = toWide(path);
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return true;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        removeContent(wide);
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        ::RemoveDirectoryW(wide.c_str());
    } else {
        ::DeleteFileW(wide.c_str());
    }
    return ::GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES;
}

bool Win32SystemShell::renameFolder(const std::string& from, const std::string& to) {
    if (from.empty() || to.empty()) {
        return false;
    }
    // Without MOVEFILE_REPLACE_EXISTING an existing target makes the call fail.
    return ::MoveFileExW(toWide(from).c_str(), toWide(to).c_str(), 0) != FALSE;
}

bool Win32SystemShell::openFile(const std::string& path) {
    const std::wstring wide = toWide(path);
    const std::wstring folder = wide.substr(0, wide.rfind(L'\\'));
    const HINSTANCE result = system::ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr,
                                                   folder.c_str(), SW_SHOWNORMAL);
    // The system reports failure as a value of 32 or less.
    return reinterpret_cast<INT_PTR>(result) > 32;
}

bool Win32SystemShell::startSystemProgram(const std::string& program,
                                          const std::string& parameters) {
    std::vector<wchar_t> folder(MAX_PATH + 1);
    const UINT length = ::GetSystemDirectoryW(folder.data(), MAX_PATH);
    if (length == 0 || length > MAX_PATH) {
        return false;
    }
    const std::wstring path = std::wstring(folder.data(), length) + L"\\" + toWide(program);
    std::wstring line = L"\"" + path + L"\" " + toWide(parameters);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(path.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process)) {
        return false;
    }
    const UniqueFileHandle processHandle(process.hProcess);
    const UniqueFileHandle threadHandle(process.hThread);
    return true;
}

Elevation Win32SystemShell::runElevated(const std::string& parameters) {
    std::vector<wchar_t> self(32768);
    const DWORD length = ::GetModuleFileNameW(nullptr, self.data(), 32767);
    if (length == 0 || length >= 32767) {
        return Elevation::Failed;
    }
    const std::wstring wideParameters = toWide(parameters);
    SHELLEXECUTEINFOW execute{};
    execute.cbSize = sizeof(execute);
    execute.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    execute.hwnd = ::GetActiveWindow(); // the system's question belongs to the window
    execute.lpVerb = L"runas";
    execute.lpFile = self.data();
    execute.lpParameters = wideParameters.c_str();
    execute.nShow = SW_HIDE;
    if (!system::ShellExecuteExW(&execute)) {
        return ::GetLastError() == ERROR_CANCELLED ? Elevation::Declined : Elevation::Failed;
    }
    const UniqueFileHandle process(execute.hProcess);
    if (!process || ::WaitForSingleObject(process.get(), INFINITE) != WAIT_OBJECT_0) {
        return Elevation::Failed;
    }
    DWORD exitCode = 1;
    return ::GetExitCodeProcess(process.get(), &exitCode) && exitCode == 0 ? Elevation::Succeeded
                                                                           : Elevation::Failed;
}

std::string Win32SystemShell::windowsFolder() {
    std::vector<wchar_t> folder(MAX_PATH + 1);
    const UINT length = ::GetSystemWindowsDirectoryW(folder.data(), MAX_PATH);
    if (length == 0 || length > MAX_PATH) {
        return "C:\\Windows";
    }
    std::wstring wide(folder.data(), length);
    while (wide.size() > 3 && wide.back() == L'\\') {
        wide.pop_back();
    }
    return toUtf8(wide);
}

} // namespace quorvel
