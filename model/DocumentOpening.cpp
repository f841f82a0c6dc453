#include "model/DocumentOpening.h"

#include "model/AsciiCase.h"
#include "model/FileHeaders.h"
#include "model/SystemScreensavers.h"
#include "model/Texts.h"
#include "model/ThemePack.h"
#include "platform/LittleEndian.h"

#include <cstdint>

namespace quorvel {

namespace {

bool looksLikeProject(std::string_view bytes) {
    constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
    if (bytes.starts_with(kUtf8Mark)) {
        bytes.remove_prefix(kUtf8Mark.size());
    }
    return bytes.starts_with(kProjectSignature);
}

// --- what a file a theme names holds -----------------------------------------------------------

// The signatures of the picture formats the system sets as wallpaper: JPEG, PNG, BMP (DIB),
// GIF and TIFF.
bool isPicture(std::string_view head) {
    return head.starts_with("\xFF\xD8\xFF") || head.starts_with("\x89PNG\r\n\x1A\n") ||
           (head.starts_with("BM") && head.size() >= 14) || head.starts_with("GIF87a") ||
           head.starts_with("GIF89a") || head.starts_with(std::string_view("II*\0", 4)) ||
           head.starts_with(std::string_view("MM\0*", 4));
}

// A Windows program or library (a screensaver, a visual style): the DOS header's "MZ" and the
// "PE" signature where it points.
bool isProgramImage(std::string_view head, const preview::ReadAt& read) {
    if (!head.starts_with("MZ") || head.size() < 0x40) {
        return false;
    }
    return read(le::get32(head, 0x3C), 4) == std::string_view("PE\0\0", 4);
}

// Whether a file that a theme names may become the pick of a slot of its kind: it must be a
// file on a disk whose content the preview's readers take for that kind. Files the user picks
// in a dialog are not asked.
FileFit fitOf(const std::string& path, FileKind kind, Platform& platform) {
    if (!platform.fileExists(path)) {
        return FileFit::Missing;
    }
    constexpr std::size_t kHeadBytes = 64;
    const FilePart head = platform.readFilePart(path, 0, kHeadBytes);
    if (head.refusal != ReadRefusal::None) {
        return FileFit::WrongKind;
    }
    const preview::ReadAt read = [&](std::uint64_t offset, std::size_t count) {
        if (offset + count <= head.bytes.size()) {
            return head.bytes.substr(static_cast<std::size_t>(offset), count);
        }
        return platform.readFilePart(path, offset, count).bytes;
    };
    bool fits = false;
    switch (kind) {
    case FileKind::Icon:
        fits = !preview::checkIconDirectory(read, head.fileSize, false);
        break;
    case FileKind::Pointer:
        fits = head.bytes.starts_with("RIFF")
                   ? preview::readAnimation(read, head.fileSize).animation.has_value()
                   : !preview::checkIconDirectory(read, head.fileSize, true);
        break;
    case FileKind::Sound:
        fits = preview::wavDurationMs(read, head.fileSize).has_value();
        break;
    case FileKind::Image:
        fits = isPicture(head.bytes);
        break;
    case FileKind::Screensaver:
    case FileKind::VisualStyle:
        fits = isProgramImage(head.bytes, read);
        break;
    }
    return fits ? FileFit::Fits : FileFit::WrongKind;
}

// The item of the page set's system screensaver list that a theme's screensaver is (a file of
// the system folder of that name, letter case aside), or nothing.
std::optional<int> systemScreensaverItem(std::string_view path, PageSet set, Platform& platform) {
    const std::string folder = platform.expandEnvironment(std::string(kSystemFolder));
    if (path.size() <= folder.size() ||
        !equalsIgnoringAsciiCase(path.substr(0, folder.size()), folder)) {
        return std::nullopt;
    }
    const auto savers = systemScreensavers(set);
    for (std::size_t i = 0; i < savers.size(); ++i) {
        if (equalsIgnoringAsciiCase(path.substr(folder.size()), savers[i].fileName)) {
            return static_cast<int>(i) + 1;
        }
    }
    return std::nullopt;
}

} // namespace

OpenedDocument readDocument(const std::string& path, Platform& platform, PageSet themeSet,
                            const ThemeDocument& base) {
    if (isThemePackPath(path)) {
        return readThemePack(path, platform, themeSet, base);
    }
    OpenedDocument document;
    const BoundedRead loaded = platform.readRegularFile(path, kMaxDocumentBytes);
    const std::string heading = std::string(text::kCannotOpenFile) + path + "\n\n";
    switch (loaded.refusal) {
    case ReadRefusal::None:
        break;
    case ReadRefusal::Unreadable:
        document.error = std::string(text::kCannotReadFile) + path;
        return document;
    case ReadRefusal::NotAFile:
        document.error = heading + std::string(text::kDocumentNotAFile);
        return document;
    case ReadRefusal::TooLarge:
        document.error = heading + std::string(text::kDocumentTooLarge);
        return document;
    }
    const std::string& bytes = *loaded.bytes;
    if (!endsWithIgnoringAsciiCase(path, ".theme") &&
        (endsWithIgnoringAsciiCase(path, kProjectExtension) || looksLikeProject(bytes))) {
        ProjectReadResult read = readProjectFile(bytes);
        if (!read.document) {
            document.error = heading + read.error;
            return document;
        }
        document.document = std::move(read.document);
        return document;
    }
    const ThemeReadResult read = readThemeFile(bytes, platform);
    if (!read.theme) {
        document.error = heading + read.error;
        return document;
    }
    return documentOfTheme(*read.theme, platform, themeSet, base);
}

OpenedDocument documentOfTheme(ThemeImport theme, Platform& platform, PageSet themeSet,
                               const ThemeDocument& base) {
    OpenedDocument document;
    document.theme = true;
    document.displayName = theme.displayName;
    const PageSet set = theme.pageSet.value_or(themeSet);
    // The system's own screensaver is chosen from its list, whether this machine has it or not.
    const std::optional<int> systemSaver = systemScreensaverItem(theme.screensaver, set, platform);
    if (systemSaver) {
        theme.screensaver.clear();
    }
    ThemeDocument opened = base;
    ThemeOpening opening = openTheme(
        theme, set,
        [&platform](const std::string& file, FileKind kind) { return fitOf(file, kind, platform); },
        opened);
    document.missing = std::move(opening.missing);
    document.unfit = std::move(opening.unfit);
    if (systemSaver) {
        // Chosen from the list as ticking its box and picking the item do.
        PageChoices& choices = opened.choices(set);
        tickScreensaver(choices, ScreensaverSource::System, true);
        choices.systemScreensaverItem = *systemSaver;
        opened.picks.screensaverFile = systemScreensaverPick(set, *systemSaver);
    }
    document.document = std::move(opened);
    return document;
}

std::string missingFilesMessage(const std::vector<std::string>& missing,
                                const std::vector<std::string>& unfit) {
    std::string message;
    for (const auto& [files, heading] : {std::pair{&missing, text::kMissingThemeFiles},
                                         std::pair{&unfit, text::kUnfitThemeFiles}}) {
        if (files->empty()) {
            continue;
        }
        message += (message.empty() ? "" : "\n\n") + std::string(heading);
        for (const std::string& file : *files) {
            message += "\n" + file;
        }
    }
    return message;
}

OpenedDocument readThemePack(const std::string& path, Platform& platform, PageSet themeSet,
                             const ThemeDocument& base) {
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
    return documentOfTheme(std::move(theme), platform, themeSet, base);
}

} // namespace quorvel
