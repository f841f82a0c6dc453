#include "platform/win32/Win32Dialogs.h"

#include "platform/win32/SystemLibraries.h"
#include "platform/win32/WideText.h"

#include <cderr.h>
#include <commdlg.h>
#include <shlobj.h>

#include <cstring>
#include <memory>
#include <vector>

namespace quorvel {

namespace {

// A long path buffer for the single-file dialog.
constexpr DWORD kFileNameChars = 32768;
// Room for thousands of selected images; far beyond the 61,440 bytes a selection needs at least.
constexpr DWORD kSelectionChars = 1 << 20;

struct PidlDeleter {
    void operator()(ITEMIDLIST* pidl) const { system::CoTaskMemFree(pidl); }
};

struct TaskTextDeleter {
    void operator()(wchar_t* text) const { system::CoTaskMemFree(text); }
};

struct ReleaseDeleter {
    void operator()(IUnknown* object) const { object->Release(); }
};

// Keeps COM initialised on this thread for the folder browser's lifetime.
class ComScope {
public:
    ComScope() : result_(system::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(result_)) {
            system::CoUninitialize();
        }
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    HRESULT result_;
};

// A drive path ("C:\...") or a network path ("\\server\...").
bool isFileSystemPath(std::wstring_view path) {
    const bool drive =
        path.size() >= 3 &&
        ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z')) &&
        path[1] == L':' && path[2] == L'\\';
    return drive || path.starts_with(L"\\\\");
}

const ITEMIDLIST* nextItem(const ITEMIDLIST* item) {
    return reinterpret_cast<const ITEMIDLIST*>(reinterpret_cast<const BYTE*>(item) + item->mkid.cb);
}

// One item of an ID list as an ID list of its own (the item and the closing zero).
std::vector<BYTE> singleItem(const ITEMIDLIST* item) {
    std::vector<BYTE> single(item->mkid.cb + sizeof(USHORT), 0);
    std::memcpy(single.data(), item, item->mkid.cb);
    return single;
}

// The items of an ID list before `end`, as an ID list of their own.
std::vector<BYTE> prefixOf(const ITEMIDLIST* list, const ITEMIDLIST* end) {
    const auto size = static_cast<std::size_t>(reinterpret_cast<const BYTE*>(end) -
                                               reinterpret_cast<const BYTE*>(list));
    std::vector<BYTE> prefix(size + sizeof(USHORT), 0);
    std::memcpy(prefix.data(), list, size);
    return prefix;
}

// The path the system gives for an item, as long as it fits MAX_PATH; empty otherwise.
std::wstring shortPath(const ITEMIDLIST* item) {
    wchar_t path[MAX_PATH + 1] = {};
    if (!system::SHGetPathFromIDListW(item, path)) {
        return {};
    }
    return path;
}

// The name of an item in a folder, as the folder gives it.
std::wstring displayName(IShellFolder& folder, PCUITEMID_CHILD child, SHGDNF kind) {
    STRRET name{};
    wchar_t* text = nullptr;
    if (FAILED(folder.GetDisplayNameOf(child, kind, &name)) ||
        FAILED(system::StrRetToStrW(&name, child, &text))) {
        return {};
    }
    const std::unique_ptr<wchar_t, TaskTextDeleter> owned(text);
    return owned.get();
}

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

namespace {

// The open and save dialogs for one file: the filter, the buffer the dialog fills (starting with
// the initial name when it fits) and the fields both dialogs share. Not movable: the dialog
// structure points into the object.
struct OneFileDialog {
    OneFileDialog(HWND owner, std::string_view filterSpec, std::string_view initialFileName)
        : filter(dialogFilter(filterSpec)) {
        const std::wstring initial = toWide(initialFileName);
        if (initial.size() < kFileNameChars) {
            initial.copy(buffer.get(), initial.size());
            buffer[initial.size()] = L'\0';
        }
        dialog.lStructSize = sizeof(dialog);
        dialog.hwndOwner = owner;
        dialog.lpstrFilter = filter.c_str();
        dialog.nFilterIndex = 1;
        dialog.lpstrFile = buffer.get();
        dialog.nMaxFile = kFileNameChars;
        dialog.Flags = OFN_HIDEREADONLY | OFN_EXPLORER;
    }
    OneFileDialog(const OneFileDialog&) = delete;
    OneFileDialog& operator=(const OneFileDialog&) = delete;

    std::wstring filter;
    std::unique_ptr<wchar_t[]> buffer = std::make_unique<wchar_t[]>(kFileNameChars);
    OPENFILENAMEW dialog{};
};

} // namespace

std::optional<std::string> Win32Dialogs::openFile(std::string_view filter,
                                                  std::string_view initialFileName) {
    OneFileDialog one(owner_, filter, initialFileName);
    if (!system::GetOpenFileNameW(&one.dialog)) {
        return std::nullopt;
    }
    return toUtf8(one.buffer.get());
}

std::optional<std::string> Win32Dialogs::saveFile(std::string_view filter,
                                                  std::string_view initialFileName,
                                                  std::string_view defaultExtension) {
    OneFileDialog one(owner_, filter, initialFileName);
    const std::wstring extension = toWide(defaultExtension);
    one.dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    one.dialog.Flags |= OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
    if (!system::GetSaveFileNameW(&one.dialog)) {
        return std::nullopt;
    }
    return toUtf8(one.buffer.get());
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
    if (!system::GetOpenFileNameW(&dialog)) {
        if (system::CommDlgExtendedError() == FNERR_BUFFERTOOSMALL && tooManyFiles_) {
            tooManyFiles_();
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
    std::unique_ptr<ITEMIDLIST, PidlDeleter> chosen(system::SHBrowseForFolderW(&browse));
    if (!chosen) {
        return std::nullopt;
    }
    return folderPath(chosen.get());
}

std::optional<std::string> folderPath(const ITEMIDLIST* item) {
    if (item->mkid.cb == 0) {
        // The desktop itself: its folder in the user's profile.
        return toUtf8(shortPath(item));
    }
    // The path is put together item by item: the first file-system item on the way gives its
    // full path, each one below it its name in its folder. A path longer than MAX_PATH comes out
    // whole this way, where SHGetPathFromIDList fails on it or, in some shells, cuts it short.
    IShellFolder* desktop = nullptr;
    if (FAILED(system::SHGetDesktopFolder(&desktop))) {
        return std::string();
    }
    std::unique_ptr<IShellFolder, ReleaseDeleter> folder(desktop);
    std::wstring path;
    for (const ITEMIDLIST* at = item; at->mkid.cb != 0; at = nextItem(at)) {
        const std::vector<BYTE> single = singleItem(at);
        PCUITEMID_CHILD child = reinterpret_cast<PCUITEMID_CHILD>(single.data());
        if (path.empty()) {
            SFGAOF attributes = SFGAO_FILESYSTEM;
            if (SUCCEEDED(folder->GetAttributesOf(1, &child, &attributes)) &&
                (attributes & SFGAO_FILESYSTEM)) {
                path = displayName(*folder, child, SHGDN_FORPARSING);
                if (!isFileSystemPath(path)) {
                    // A shell folder such as the documents is named by its class; the system
                    // knows its path.
                    const std::vector<BYTE> upToHere = prefixOf(item, nextItem(at));
                    path = shortPath(reinterpret_cast<const ITEMIDLIST*>(upToHere.data()));
                }
                if (!isFileSystemPath(path)) {
                    path.clear(); // a virtual item after all
                }
            }
        } else {
            const std::wstring name =
                displayName(*folder, child, SHGDN_INFOLDER | SHGDN_FORPARSING);
            if (name.empty()) {
                return std::string();
            }
            if (path.back() != L'\\') {
                path += L'\\';
            }
            path += name;
        }
        if (nextItem(at)->mkid.cb == 0) {
            break;
        }
        IShellFolder* inner = nullptr;
        if (FAILED(folder->BindToObject(child, nullptr, IID_PPV_ARGS(&inner)))) {
            return std::string();
        }
        folder.reset(inner);
    }
    // Only a drive's root keeps its closing separator, as the system writes paths.
    if (path.size() > 3 && path.back() == L'\\') {
        path.pop_back();
    }
    // Empty for the computer, the network and other items outside the file system.
    return toUtf8(path);
}

} // namespace quorvel
