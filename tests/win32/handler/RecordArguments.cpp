// A stand-in for the program the system opens a file type with: it appends its own command line
// (UTF-8, one line) to the file that the environment variable QUORVEL_RECORD_FILE names, so that
// a test can see what the system handed over.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t target[MAX_PATH + 1] = {};
    if (!::GetEnvironmentVariableW(L"QUORVEL_RECORD_FILE", target, MAX_PATH)) {
        return 2;
    }
    const wchar_t* line = ::GetCommandLineW();
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, line, -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, line, -1, bytes.data(), size, nullptr, nullptr);
    bytes.back() = '\n';
    const HANDLE file = ::CreateFileW(target, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 1;
    }
    DWORD written = 0;
    const BOOL ok =
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
    return ok ? 0 : 1;
}
