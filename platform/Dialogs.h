// The system's file and folder dialogs, as the pickers use them. Filters are written as
// "description|pattern" pairs, each pattern a ";"-separated list of masks, the list closed by
// "||". Every text is UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // The open-file dialog for one file (the read-only box hidden; a typed name of a file that
    // does not exist is accepted). It opens on initialFileName when that is not empty. Returns
    // the confirmed full path, or nothing when the user cancels.
    virtual std::optional<std::string> openFile(std::string_view filter,
                                                std::string_view initialFileName) = 0;
    // The open-file dialog for several existing files. Returns their full paths in the order the
    // dialog reports them; an empty list when the user cancels.
    virtual std::vector<std::string> openFiles(std::string_view title, std::string_view filter) = 0;
    // The save-file dialog: asks before replacing an existing file, adds defaultExtension
    // (without its dot) to a name typed without one, and opens on initialFileName when that is
    // not empty. Returns the confirmed full path, or nothing when the user cancels.
    virtual std::optional<std::string> saveFile(std::string_view filter,
                                                std::string_view initialFileName,
                                                std::string_view defaultExtension) = 0;
    // The folder browser, rooted at the desktop, showing folders only, with an edit box. Returns
    // the chosen folder's file-system path, or nothing when the user cancels or chooses an item
    // that is not a file-system folder.
    virtual std::optional<std::string> browseFolder(std::string_view title) = 0;
};

} // namespace quorvel
