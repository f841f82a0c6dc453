// The system's open-file dialogs and folder browser.
#pragma once

#include "platform/Dialogs.h"

#include <windows.h>

#include <shtypes.h>

#include <functional>

namespace quorvel {

class Win32Dialogs : public Dialogs {
public:
    // The dialogs are modal over the owner window (nullptr before the window exists).
    explicit Win32Dialogs(HWND owner = nullptr) : owner_(owner) {}
    void setOwner(HWND owner) { owner_ = owner; }
    // Tells the user that a multi-selection did not fit the dialog's buffer.
    void setTooManyFilesNotice(std::function<void()> notice) { tooManyFiles_ = std::move(notice); }

    std::optional<std::string> openFile(std::string_view filter,
                                        std::string_view initialFileName) override;
    std::vector<std::string> openFiles(std::string_view title, std::string_view filter) override;
    std::optional<std::string> browseFolder(std::string_view title) override;

private:
    HWND owner_;
    std::function<void()> tooManyFiles_;
};

// The "description|masks||" filter in the form the dialog takes: every "|" a terminating zero.
std::wstring dialogFilter(std::string_view filter);
// The paths of a multi-select dialog's result buffer: one full path, or a folder followed by
// file names, each ended by a zero and the list by a second zero.
std::vector<std::string> selectedPaths(const wchar_t* buffer);
// The file-system path of a shell item (the desktop, a drive, a folder), of any length; the
// empty text for an item that is not part of the file system (the computer, the network).
std::optional<std::string> folderPath(const ITEMIDLIST* item);

} // namespace quorvel
