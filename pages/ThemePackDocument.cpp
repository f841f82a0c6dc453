#include "pages/ThemePackDocument.h"

#include "model/Texts.h"
#include "model/ThemePack.h"

namespace quorvel {

OpenedDocument readThemePack(const std::string& path, Platform& platform, PageSet themeSet) {
    OpenedDocument document;
    const std::string heading = std::string(text::kCannotOpenFile) + path + "\n\n";
    const std::string packs = packsFolder(platform);
    if (packs.empty()) {
        document.error = heading + std::string(text::kPackNoDataFolder);
        return document;
    }
    const PackExtraction pack = extractThemePack(path, packs, platform);
    if (!pack.error.empty()) {
        document.error = heading + pack.error;
        return document;
    }
    // The theme file is read with the limits of any other one.
    const BoundedRead bytes = platform.readRegularFile(pack.themeFile, kMaxDocumentBytes);
    if (!bytes.bytes) {
        document.error = bytes.refusal == ReadRefusal::TooLarge
                             ? heading + std::string(text::kDocumentTooLarge)
                             : std::string(text::kCannotReadFile) + pack.themeFile;
        return document;
    }
    const ThemeReadResult read = readThemeFile(*bytes.bytes, platform);
    if (!read.theme) {
        document.error = heading + pack.themeFile + "\n" + read.error;
        return document;
    }
    ThemeImport theme = *read.theme;
    resolvePackPaths(theme, pack,
                     [&platform](const std::string& file) { return platform.fileExists(file); });
    return documentOfTheme(std::move(theme), platform, themeSet);
}

} // namespace quorvel
