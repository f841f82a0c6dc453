#include "platform/win32/Win32Dialogs.h"

#include "platform/win32/WideText.h"

#include <cderr.h>
#include <commdlg.h>
#include <objbase.h>
#include <shlobj.h>

#include <memory>

namespace quorvel {

namespace {

// A long path buffer for the single-file dialog.
constexpr DWORD kFileNameChars = 32768;
// Room for thousands of selected images; far beyond the 61,440 bytes a selection needs at least.
constexpr DWORD kSelectionChars = 1 << 20;

struct PidlDeleter {
    void operator()(ITEMIDLIST* pidl) const { CoTaskMemFree(pidl); }
};

// Keeps COM initialised on this thread for the folder browser's lifetime.
class ComScope {
public:
    ComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(result_)) {
            CoUninitialize();
        }
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    HRESULT result_;
};

} // namespace

std::wstring dialogFilter(std::string_view filter) {
    std::wstring wide = toWide(filter);
    if (wide.size() < 2 || wide.compare(wide.size() - 2, 2, L"||") != 0) {
        wide += L"||";
    }
    for (wchar_t& c : wide) {
        if (c == L'|') {
            c = L'\0';
        }
    }
    return wide;
}

std::vector<std::string> selectedPaths(const wchar_t* buffer) {
    std::vector<std::string> paths;
    const std::wstring first(buffer);
    if (first.empty()) {
        return paths;
    }
    const wchar_t* name = buffer + first.size() + 1;
    if (*name == L'\0') {
        paths.push_back(toUtf8(first)); // one file: its full path
        return paths;
    }
    std::wstring folder = first;
    if (folder.back() != L'\\') {
        folder += L'\\';
    }
    while (*name != L'\0') {
        const std::wstring file(name);
        paths.push_back(toUtf8(folder + file));
        name += file.size() + 1;
    }
    return paths;
}

std::optional<std::string> Win32Dialogs::openFile(std::string_view filter,
                                                  std::string_view initialFileName) {
    const std::wstring filterText = dialogFilter(filter);
    auto buffer = std::make_unique<wchar_t[]>(kFileNameChars);
    const std::wstring initial = toWide(initialFileName);
    if (initial.size() < kFileNameChars) {
        initial.copy(buffer.get(), initial.size());
        buffer[initial.size()] = L'\0';
    }
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner_;
    dialog.lpstrFilter = filterText.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = buffer.get();
    dialog.nMaxFile = kFileNameChars;
    dialog.Flags = OFN_HIDEREADONLY | OFN_EXPLORER;
    if (!GetOpenFileNameW(&dialog)) {
        return std::nullopt;
    }
    return toUtf8(buffer.get());
}

std::vector<std::string> Win32Dialogs::openFiles(std::string_view title, std::string_view filter) {
    const std::wstring filterText = dialogFilter(filter);
    const std::wstring titleText = toWide(title);
    auto buffer = std::make_unique<wchar_t[]>(kSelectionChars);
    buffer[0] = L'\0';
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner_;
    dialog.lpstrFilter = filterText.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = buffer.get();
    dialog.nMaxFile = kSelectionChars;
    dialog.lpstrTitle = titleText.c_str();
    dialog.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST |
                   OFN_HIDEREADONLY;
    if (!GetOpenFileNameW(&dialog)) {
        if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL) {
            MessageBoxW(owner_, L"选择的文件太多,请分几次少选一些。", L"错误...",
                        MB_OK | MB_ICONERROR);
        }
        return {};
    }
    return selectedPaths(buffer.get());
}

std::optional<std::string> Win32Dialogs::browseFolder(std::string_view title) {
    ComScope com;
    const std::wstring titleText = toWide(title);
    BROWSEINFOW browse{};
    browse.hwndOwner = owner_;
    browse.pidlRoot = nullptr; // the desktop
    browse.lpszTitle = titleText.c_str();
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
    std::unique_ptr<ITEMIDLIST, PidlDeleter> chosen(SHBrowseForFolderW(&browse));
    if (!chosen) {
        return std::nullopt;
    }
    wchar_t path[MAX_PATH] = {};
    if (!SHGetPathFromIDListW(chosen.get(), path)) {
        return std::string(); // not a file-system folder
    }
    return toUtf8(path);
}

} // namespace quorvel
