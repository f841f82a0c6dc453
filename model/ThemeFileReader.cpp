#include "model/ThemeFileReader.h"

#include "model/IniText.h"
#include "model/ProjectFile.h"
#include "model/Texts.h"
#include "model/ThemeDocument.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <unordered_set>

namespace quorvel {

namespace {

// --- decoding -------------------------------------------------------------------------------

struct Decoded {
    std::optional<std::string> text;
    std::string error;
};

Decoded decode(std::string_view bytes, Platform& platform) {
    if (bytes.starts_with("\xFF\xFE")) {
        auto text = utf8::fromUtf16LeBytes(bytes.substr(2));
        if (!text) {
            return {std::nullopt, std::string(text::kThemeBadUtf16)};
        }
        return {std::move(text), {}};
    }
    if (bytes.starts_with("\xFE\xFF")) {
        return {std::nullopt, std::string(text::kThemeBigEndian)};
    }
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
        if (!isValidUtf8(bytes)) {
            return {std::nullopt, std::string(text::kThemeBadUtf8)};
        }
        return {std::string(bytes), {}};
    }
    if (bytes.find('\0') != std::string_view::npos) {
        return {std::nullopt, std::string(text::kThemeBinary)};
    }
    auto text = platform.fromAnsi(bytes);
    if (!text) {
        return {std::nullopt, std::string(text::kThemeOutsideCodePage)};
    }
    return {std::move(text), {}};
}

// --- the INI text ---------------------------------------------------------------------------

// Sections and keys by their names in lower case. As the system's profile functions do, the
// first section of a name is the one that counts, and within it the first key of a name.
using Keys = std::map<std::string, std::string>;
using Sections = std::map<std::string, Keys>;

struct Parsed {
    Sections sections;
    std::string error;
};

Parsed parseIni(std::string_view text) {
    Parsed parsed;
    LineCursor lines(text);
    std::string_view line;
    Keys* current = nullptr;
    while (lines.next(line)) {
        if (line.size() > kMaxThemeLineBytes) {
            parsed.error = std::string(text::kLineBefore) + std::to_string(lines.number()) +
                           std::string(text::kThemeLineTooLong) +
                           std::to_string(kMaxThemeLineBytes / 1024) +
                           std::string(text::kThemeLineTooLongAfter);
            return parsed;
        }
        if (hasControlCharacter(line)) {
            parsed.error = std::string(text::kLineBefore) + std::to_string(lines.number()) +
                           std::string(text::kThemeLineControl);
            return parsed;
        }
        const IniLine entry = parseIniLine(line);
        if (entry.kind == IniLine::Kind::Section) {
            const auto [at, isNew] = parsed.sections.try_emplace(lowerAscii(entry.name));
            current = isNew ? &at->second : nullptr;
        } else if (entry.kind == IniLine::Kind::Entry && current != nullptr) {
            current->try_emplace(lowerAscii(entry.name), std::string(entry.value));
        }
    }
    return parsed;
}

class ThemeText {
public:
    ThemeText(const Sections& sections, Platform& platform)
        : sections_(sections), platform_(platform) {}

    bool hasSection(std::string_view section) const {
        return sections_.contains(lowerAscii(section));
    }
    const Keys* keys(std::string_view section) const {
        const auto at = sections_.find(lowerAscii(section));
        return at == sections_.end() ? nullptr : &at->second;
    }
    const std::string* find(std::string_view section, std::string_view key) const {
        const Keys* found = keys(section);
        if (found == nullptr) {
            return nullptr;
        }
        const auto at = found->find(lowerAscii(key));
        return at == found->end() ? nullptr : &at->second;
    }
    std::string value(std::string_view section, std::string_view key) const {
        const std::string* found = find(section, key);
        return found == nullptr ? std::string() : *found;
    }
    // A value that is a name unless it is a resource string ("@file,-id").
    std::string name(std::string_view section, std::string_view key) const {
        std::string text = value(section, key);
        return text.starts_with('@') ? std::string() : text;
    }

    // A path with the system folder references expanded. %ResourceDir% is the Resources folder
    // of the system folder, %WinDir% the system folder itself.
    std::string expand(std::string_view path) const {
        std::string text(path);
        replaceReference(text, "%ResourceDir%", "%SystemRoot%\\Resources");
        replaceReference(text, "%WinDir%", "%SystemRoot%");
        return text.find('%') == std::string::npos ? text : platform_.expandEnvironment(text);
    }
    // A path that starts with a reference to the system folder, with %ResourceDir% and %WinDir%
    // written as %SystemRoot% references and nothing expanded; empty for any other path.
    static std::string systemReference(std::string_view path) {
        std::string text(path);
        replaceReference(text, "%ResourceDir%", "%SystemRoot%\\Resources");
        replaceReference(text, "%WinDir%", "%SystemRoot%");
        return startsWithIgnoringAsciiCase(text, "%SystemRoot%\\") ? text : std::string();
    }
    std::string path(std::string_view section, std::string_view key) const {
        const std::string text = value(section, key);
        // A resource reference names a string, not a file.
        return text.starts_with('@') ? std::string() : expand(text);
    }

private:
    static void replaceReference(std::string& text, std::string_view name,
                                 std::string_view replacement) {
        std::size_t pos = 0;
        while ((pos = lowerAscii(text).find(lowerAscii(name), pos)) != std::string::npos) {
            text.replace(pos, name.size(), replacement);
            pos += replacement.size();
        }
    }

    const Sections& sections_;
    Platform& platform_;
};

// --- the keys -------------------------------------------------------------------------------

constexpr std::string_view kWin7DocumentsClsid = "{59031A47-3F72-44A7-89C5-5595FE6B30EE}";
constexpr std::string_view kXpDocumentsClsid = "{450D8FBA-AD25-11D0-98A8-0800361B1103}";
constexpr std::string_view kComputerClsid = "{20D04FE0-3AEA-1069-A2D8-08002B30309D}";
constexpr std::string_view kWin7NetworkClsid = "{F02C1A0D-BE21-4350-88B0-7367FC96EF3C}";
constexpr std::string_view kXpNetworkClsid = "{208D2C60-3AEA-1069-A2D7-08002B30309D}";
constexpr std::string_view kRecycleBinClsid = "{645FF040-5081-101B-9F08-00AA002F954E}";

std::string iconSection(std::string_view clsid) {
    return "CLSID\\" + std::string(clsid) + "\\DefaultIcon";
}

// The sound events in the slot order of ThemeProject::soundFiles.
constexpr std::array<std::string_view, ThemeProject::kSoundCount> kSoundEvents = {
    "SystemExit", "SystemStart", "WindowsLogoff", "WindowsLogon", "ChangeTheme"};
constexpr std::string_view kEventPrefix = "AppEvents\\Schemes\\Apps\\.Default\\";

// An icon reference "file,index": the file when it is an icon file the page could have picked;
// an icon inside a program library (imageres.dll,-123) is the system's own and no pick.
std::string iconFile(const ThemeText& theme, const std::string& section, std::string_view key) {
    std::string text = theme.value(section, key);
    if (text.starts_with('@')) {
        return {};
    }
    const std::size_t comma = text.rfind(',');
    if (comma != std::string::npos &&
        trimBlanks(std::string_view(text).substr(comma + 1)).find_first_not_of("-0123456789") ==
            std::string_view::npos) {
        text.resize(comma);
    }
    text = std::string(trimBlanks(text));
    return endsWithIgnoringAsciiCase(text, ".ico") ? theme.expand(text) : std::string();
}

// The first of two icon sections that the theme holds.
std::string iconOf(const ThemeText& theme, std::string_view first, std::string_view second,
                   std::string_view key) {
    const std::string section = iconSection(first);
    if (theme.find(section, key) != nullptr || second.empty()) {
        return iconFile(theme, section, key);
    }
    return iconFile(theme, iconSection(second), key);
}

bool isAbsolute(std::string_view path) {
    return path.starts_with('\\') || path.starts_with('/') || path.starts_with('%') ||
           (path.size() >= 2 && path[1] == ':');
}

std::optional<std::uint64_t> parseUnsigned(std::string_view text, int base) {
    text = trimBlanks(text);
    std::uint64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

void readSlideshow(const ThemeText& theme, ThemeImport& out) {
    const Keys* keys = theme.keys("Slideshow");
    if (keys == nullptr) {
        return;
    }
    const std::string root = theme.value("Slideshow", "ImagesRootPath");
    // Only the keys present count, however large their numbers.
    std::vector<std::pair<std::uint64_t, std::string>> items;
    for (const auto& [key, value] : *keys) {
        std::string_view name = key;
        if (!name.starts_with("item") || !name.ends_with("path") || value.empty()) {
            continue;
        }
        const auto number = parseUnsigned(name.substr(4, name.size() - 8), 10);
        if (!number) {
            continue;
        }
        const bool joined = !root.empty() && !isAbsolute(value);
        items.emplace_back(*number, theme.expand(joined ? root + "\\" + value : value));
    }
    std::sort(items.begin(), items.end());
    for (auto& item : items) {
        out.slideshow.push_back(std::move(item.second));
    }
    if (const auto interval = parseUnsigned(theme.value("Slideshow", "Interval"), 10)) {
        out.slideshowInterval = std::to_string((*interval + 500) / 1000);
    }
}

// ColorizationColor as ARGB: "0X" and up to eight hexadecimal digits.
void readColorization(const ThemeText& theme, ThemeImport& out) {
    const std::string value = theme.value("VisualStyles", "ColorizationColor");
    const std::string_view text = trimBlanks(value);
    if (!startsWithIgnoringAsciiCase(text, "0x") || text.size() > 10) {
        return;
    }
    const auto argb = parseUnsigned(text.substr(2), 16);
    if (!argb) {
        return;
    }
    constexpr char kDigits[] = "0123456789ABCDEF";
    for (int shift = 20; shift >= 0; shift -= 4) {
        out.windowColor += kDigits[(*argb >> shift) & 0xF];
    }
    out.transparency = std::to_string((*argb >> 24) & 0xFF);
}

std::optional<PageSet> detectPageSet(const ThemeText& theme) {
    const bool win7 =
        theme.hasSection("Slideshow") ||
        theme.find("VisualStyles", "ColorizationColor") != nullptr ||
        theme.find("VisualStyles", "Composition") != nullptr ||
        theme.find("VisualStyles", "VisualStyleVersion") != nullptr ||
        theme.hasSection(iconSection(kWin7DocumentsClsid)) ||
        theme.hasSection(iconSection(kWin7NetworkClsid)) ||
        startsWithIgnoringAsciiCase(theme.value("VisualStyles", "Path"), "%ResourceDir%");
    if (win7) {
        return PageSet::Win7;
    }
    bool xp = theme.hasSection(iconSection(kXpDocumentsClsid)) ||
              theme.hasSection(iconSection(kXpNetworkClsid)) ||
              theme.find("MasterThemeSelector", "ThemeColorBPP") != nullptr;
    for (std::string_view event : kSoundEvents) {
        xp = xp || theme.hasSection(std::string(kEventPrefix) + std::string(event) + "\\.Current");
    }
    if (xp) {
        return PageSet::Xp;
    }
    return std::nullopt;
}

} // namespace

ThemeReadResult readThemeFile(std::string_view bytes, Platform& platform) {
    if (bytes.empty()) {
        return {std::nullopt, std::string(text::kThemeEmpty)};
    }
    const Decoded decoded = decode(bytes, platform);
    if (!decoded.text) {
        return {std::nullopt, decoded.error};
    }
    const Parsed parsed = parseIni(*decoded.text);
    if (!parsed.error.empty()) {
        return {std::nullopt, parsed.error};
    }
    const ThemeText theme(parsed.sections, platform);
    if (!theme.hasSection("Theme") && !theme.hasSection("MasterThemeSelector")) {
        return {std::nullopt, std::string(text::kThemeNoSection)};
    }

    ThemeImport out;
    out.pageSet = detectPageSet(theme);
    out.displayName = theme.name("Theme", "DisplayName");

    out.icons[0] = iconOf(theme, kWin7DocumentsClsid, kXpDocumentsClsid, "DefaultValue");
    out.icons[1] = iconOf(theme, kComputerClsid, {}, "DefaultValue");
    out.icons[2] = iconOf(theme, kWin7NetworkClsid, kXpNetworkClsid, "DefaultValue");
    out.icons[3] = iconOf(theme, kRecycleBinClsid, {}, "Empty");
    out.icons[4] = iconOf(theme, kRecycleBinClsid, {}, "Full");

    constexpr std::string_view kCursors = "Control Panel\\Cursors";
    for (std::size_t i = 0; i < kPointerRoles.size(); ++i) {
        out.pointers[i] = theme.path(kCursors, kPointerRoles[i]);
    }
    out.cursorSchemeName = theme.name(kCursors, "DefaultValue");

    for (std::size_t i = 0; i < kSoundEvents.size(); ++i) {
        const std::string section = std::string(kEventPrefix) + std::string(kSoundEvents[i]);
        const std::string current = section + "\\.Current";
        out.sounds[i] = theme.path(
            theme.find(current, "DefaultValue") != nullptr ? current : section, "DefaultValue");
    }
    out.soundSchemeName = theme.name("Sounds", "SchemeName");

    out.screensaver = theme.path("boot", "SCRNSAVE.EXE");
    out.wallpaper = theme.path("Control Panel\\Desktop", "Wallpaper");
    out.visualStyle = theme.path("VisualStyles", "Path");
    if (!out.visualStyle.empty()) {
        out.systemVisualStyle = ThemeText::systemReference(theme.value("VisualStyles", "Path"));
    }
    readSlideshow(theme, out);
    readColorization(theme, out);
    return {std::move(out), {}};
}

namespace {

class Opening {
public:
    explicit Opening(const FileCheck& check) : check_(check) {}

    // A file the theme names: the path when it is there and of the slot's kind, else nothing
    // (and the path is listed as missing or unfit).
    std::optional<std::string> file(const std::string& path, FileKind kind) {
        if (path.empty()) {
            return std::nullopt;
        }
        // A path whose last part is no file name ("C:\x\..") names no file to pick.
        const FileFit fit =
            isPlainFileName(pathFileName(path)) ? check_(path, kind) : FileFit::Missing;
        if (fit != FileFit::Fits) {
            // Each once, in the order met; the set keeps a theme of many images linear.
            if (named_.insert(path).second) {
                (fit == FileFit::Missing ? result_.missing : result_.unfit).push_back(path);
            }
            return std::nullopt;
        }
        return path;
    }
    ThemeOpening result() && { return std::move(result_); }

private:
    const FileCheck& check_;
    ThemeOpening result_;
    std::unordered_set<std::string> named_; // in missing or unfit
};

AssetRef pickOf(const std::string& path) {
    return {path, std::string(pathFileName(path))};
}

// The files of one scheme: when the theme brings any of them or names the scheme, the scheme
// becomes the theme's own (which empties its fields) and each file found fills its field.
template <std::size_t N>
void openScheme(Opening& open, std::span<const std::string> paths, FileKind kind,
                const std::string& schemeName, PageChoices& choices, PageSet set, SchemeKind scheme,
                std::array<std::string, N>& fields, std::array<AssetRef, N>& picks) {
    std::vector<std::optional<std::string>> found;
    bool custom = !schemeName.empty();
    for (const std::string& path : paths) {
        found.push_back(open.file(path, kind));
        custom |= found.back().has_value();
    }
    if (!custom) {
        return;
    }
    chooseScheme(choices, set, scheme, kCustomSchemeItem);
    (scheme == SchemeKind::Pointers ? choices.pointerScheme : choices.soundScheme).name =
        schemeName;
    for (std::size_t i = 0; i < found.size(); ++i) {
        if (found[i]) {
            fields[i] = *found[i];
            picks[i] = pickOf(*found[i]);
        }
    }
}

} // namespace

ThemeOpening openTheme(const ThemeImport& theme, PageSet set, const FileCheck& check,
                       ThemeDocument& document) {
    Opening open(check);
    document.pageSet = set;
    PageChoices& c = document.choices(set);
    ProjectPicks& picks = document.picks;
    for (std::size_t i = 0; i < theme.icons.size(); ++i) {
        if (const auto path = open.file(theme.icons[i], FileKind::Icon)) {
            c.iconPaths[i] = *path;
            picks.iconFiles[i] = pickOf(*path);
        }
    }
    openScheme(open, theme.pointers, FileKind::Pointer, theme.cursorSchemeName, c, set,
               SchemeKind::Pointers, c.pointerPaths, picks.cursorFiles);
    // The Windows XP pages have no field for the theme change sound.
    const std::size_t sounds = set == PageSet::Win7 ? theme.sounds.size() : theme.sounds.size() - 1;
    openScheme(open, std::span(theme.sounds).first(sounds), FileKind::Sound, theme.soundSchemeName,
               c, set, SchemeKind::Sounds, c.soundPaths, picks.soundFiles);

    if (const auto path = open.file(theme.screensaver, FileKind::Screensaver)) {
        tickScreensaver(c, ScreensaverSource::Own, true);
        c.ownScreensaverPath = *path;
        picks.screensaverFile = pickOf(*path);
    }
    if (const auto path = open.file(theme.wallpaper, FileKind::Image)) {
        c.wallpaperPath = *path;
        picks.wallpaperFile = pickOf(*path);
    }
    // A system style whose file name no folder can hold is no reference: it is checked as any
    // other file, and missing.
    if (set == PageSet::Win7 && !theme.systemVisualStyle.empty() &&
        isPlainFileName(pathFileName(theme.systemVisualStyle))) {
        // The system's own style is named where the system keeps it, as a screensaver of the
        // system's list is: it stays the pick on a system that lacks it (a pack opened under
        // another Windows), and a theme made from it names it there again.
        c.visualStylePath = theme.systemVisualStyle;
        picks.visualStyleFile = pickOf(theme.systemVisualStyle);
    } else if (const auto path = open.file(theme.visualStyle, FileKind::VisualStyle)) {
        c.visualStylePath = *path;
        picks.visualStyleFile = pickOf(*path);
    }
    c.displayName = theme.displayName;

    if (set == PageSet::Win7) {
        std::string names;
        std::vector<AssetRef> images;
        for (const std::string& image : theme.slideshow) {
            if (const auto path = open.file(image, FileKind::Image)) {
                images.push_back(pickOf(*path));
                names += images.back().fileName + ";";
            }
        }
        if (!images.empty()) {
            c.slideshowImages = names;
            picks.slideshowFiles = std::move(images);
        }
        if (!theme.slideshowInterval.empty()) {
            c.slideshowInterval = theme.slideshowInterval;
        }
        if (!theme.windowColor.empty()) {
            c.windowColor = theme.windowColor;
        }
        if (!theme.transparency.empty()) {
            moveTransparencySlider(c, std::stoi(theme.transparency));
            c.transparency = theme.transparency;
        }
    }
    return std::move(open).result();
}

} // namespace quorvel
