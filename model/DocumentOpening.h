// Opening a file as a theme document: a project file, a .theme file or a theme pack, read into
// the document that opening it gives. The window and the command line open files through here.
#pragma once

#include "model/PageSet.h"
#include "model/ThemeDocument.h"
#include "model/ThemeFileReader.h"
#include "platform/Platform.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {

// A project, .theme or pack file read into the document that opening it gives.
struct OpenedDocument {
    std::optional<ThemeDocument> document; // nothing when the file was refused
    std::string error;                     // then: what is wrong, for the user
    bool theme = false;
    // A .theme file: the files it names that do not exist, and those whose content is not of
    // their slot's kind (they do not become picks).
    std::vector<std::string> missing;
    std::vector<std::string> unfit;
    std::string displayName; // its [Theme] DisplayName
};
// The largest project or .theme file that is read. A file of 5,000 images is under 0.5 MB; a
// larger one, and anything that is no file on a disk, is refused without reading it.
inline constexpr std::uint64_t kMaxDocumentBytes = 8 * 1024 * 1024;

// A file is read as a project file when it is named *.quorvel or starts with the project
// signature, else as a .theme file. A project file gives the whole document. A .theme file
// opens in the page set its content points to, else in `themeSet`, over `base`: what the
// theme names changes, the rest stays as `base` has it.
// A theme pack (.themepack, .deskthemepack) is extracted first (model/ThemePack.h) into the
// current user's folder of packs, so that the picks stay valid after the program ends, and its
// .theme file read from there, with the paths it names found in the pack.
OpenedDocument readDocument(const std::string& path, Platform& platform, PageSet themeSet,
                            const ThemeDocument& base = {});
OpenedDocument readThemePack(const std::string& path, Platform& platform, PageSet themeSet,
                             const ThemeDocument& base = {});
// The document that opening a theme over `base` gives: its page set (else `themeSet`), the files
// it names that exist and are of their slot's kind as picks, the others in `missing` or `unfit`,
// a system screensaver chosen from its list.
OpenedDocument documentOfTheme(ThemeImport theme, Platform& platform, PageSet themeSet,
                               const ThemeDocument& base = {});
// The message that names the missing files of a .theme file and those of another kind.
std::string missingFilesMessage(const std::vector<std::string>& missing,
                                const std::vector<std::string>& unfit = {});

} // namespace quorvel
