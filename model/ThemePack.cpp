#include "model/ThemePack.h"

#include "model/IniText.h"
#include "model/Texts.h"

#include <algorithm>
#include <array>
#include <set>

namespace quorvel {

namespace {

constexpr std::uint64_t kMegabyte = 1024 * 1024;

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

// The names Windows takes for devices in any folder, with or without an extension.
bool isDeviceName(std::string_view part) {
    const std::string base = lowerAscii(part.substr(0, part.find('.')));
    // Windows drops trailing blanks before it compares ("CON .txt").
    const std::string_view trimmed =
        std::string_view(base).substr(0, base.find_last_not_of(' ') + 1);
    static constexpr std::array<std::string_view, 8> kPlain = {
        "con", "prn", "aux", "nul", "conin$", "conout$", "clock$", "config$"};
    if (std::find(kPlain.begin(), kPlain.end(), trimmed) != kPlain.end()) {
        return true;
    }
    if (!trimmed.starts_with("com") && !trimmed.starts_with("lpt")) {
        return false;
    }
    const std::string_view number = trimmed.substr(3);
    // COM1 to COM9 and the superscript digits ¹ ² ³ that Windows counts as well.
    return (number.size() == 1 && number[0] >= '0' && number[0] <= '9') || number == "\xC2\xB9" ||
           number == "\xC2\xB2" || number == "\xC2\xB3";
}

std::string_view partProblem(std::string_view part) {
    if (part.empty() || part == "." || part == "..") {
        return text::kMemberNameDots;
    }
    for (const char c : part) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F ||
            std::string_view("*?\"<>|").find(c) != std::string_view::npos) {
            return text::kMemberNameCharacter;
        }
    }
    if (part.back() == '.' || part.back() == ' ') {
        return text::kMemberNameTrailing;
    }
    if (isDeviceName(part)) {
        return text::kMemberNameDevice;
    }
    return {};
}

// The text with ASCII letters in lower case, as the file system compares names.
std::string foldCase(std::string_view path) {
    return lowerAscii(path);
}

std::string megabytes(std::uint64_t bytes) {
    return std::to_string((bytes + kMegabyte - 1) / kMegabyte);
}

std::string join(const std::string& folder, std::string_view name) {
    return folder + "\\" + std::string(name);
}

std::string_view baseName(std::string_view path) {
    const std::size_t slash = path.find_last_of("\\/");
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos || dot == 0 ? name : name.substr(0, dot);
}

// Makes each missing folder of a path, from the top; false when one cannot be made.
bool makeFolders(const std::string& path, Platform& platform) {
    if (platform.isDirectory(path)) {
        return true;
    }
    const std::size_t slash = path.find_last_of('\\');
    if (slash == std::string::npos || slash == 0) {
        return false;
    }
    return makeFolders(path.substr(0, slash), platform) && platform.makeDirectory(path);
}

bool exists(const std::string& path, Platform& platform) {
    return platform.isDirectory(path) || platform.fileExists(path);
}

// A new empty folder beside the others, named `stem` and the first free number; empty when
// none can be made.
std::string makeFreshFolder(const std::string& stem, Platform& platform) {
    for (int n = 1; n <= 100; ++n) {
        const std::string path = stem + std::to_string(n);
        if (!exists(path, platform) && platform.makeDirectory(path)) {
            return path;
        }
    }
    return {};
}

std::string statusMessage(CabinetStatus status, const std::string& folder) {
    switch (status) {
    case CabinetStatus::CannotOpen:
        return {};
    case CabinetStatus::NotCabinet:
        return std::string(text::kPackNotCabinet);
    case CabinetStatus::Unsupported:
        return std::string(text::kPackUnsupported);
    case CabinetStatus::WriteFailed:
        return std::string(text::kPackExtractFailed) + folder;
    case CabinetStatus::Done:
    case CabinetStatus::Damaged:
    case CabinetStatus::Stopped:
        break;
    }
    return std::string(text::kPackDamaged);
}

// Puts the finished extraction in the place of the pack's name; the folder it took, or empty.
std::string settle(const std::string& extracted, const std::string& target, Platform& platform) {
    if (!exists(target, platform)) {
        return platform.movePath(extracted, target) ? target : std::string();
    }
    const std::string aside = makeFreshFolder(target + ".old~", platform);
    if (!aside.empty() && platform.removePath(aside) && platform.movePath(target, aside)) {
        if (platform.movePath(extracted, target)) {
            removeFolderTree(aside, platform);
            return target;
        }
        platform.movePath(aside, target);
        return {};
    }
    // The earlier extraction is in use: it stays, and this one takes a name of its own.
    for (int n = 2; n <= 100; ++n) {
        const std::string other = target + " (" + std::to_string(n) + ")";
        if (!exists(other, platform)) {
            return platform.movePath(extracted, other) ? other : std::string();
        }
    }
    return {};
}

} // namespace

bool isThemePackPath(std::string_view path) {
    return endsWithIgnoringAsciiCase(path, ".themepack") ||
           endsWithIgnoringAsciiCase(path, ".deskthemepack");
}

MemberNameCheck checkMemberName(std::string_view name) {
    if (name.empty()) {
        return {{}, text::kMemberNameEmpty};
    }
    if (name.size() > kMaxMemberNameBytes) {
        return {{}, text::kMemberNameLong};
    }
    if (isSeparator(name.front())) {
        return {{}, text::kMemberNameRooted};
    }
    if (name.find(':') != std::string_view::npos) {
        return {{}, text::kMemberNameColon};
    }
    std::string path;
    while (true) {
        const std::size_t end = std::min(name.find('\\'), name.find('/'));
        const std::string_view part = name.substr(0, end);
        if (const std::string_view problem = partProblem(part); !problem.empty()) {
            return {{}, problem};
        }
        path += part;
        if (end == std::string_view::npos) {
            return {std::move(path), {}};
        }
        path += '\\';
        name.remove_prefix(end + 1);
    }
}

ExtractionPlan planPack(std::span<const CabinetMember> members,
                        std::optional<std::uint64_t> freeBytes) {
    ExtractionPlan plan;
    if (members.size() > kMaxPackMembers) {
        plan.error = std::string(text::kPackTooManyBefore) + std::to_string(members.size()) +
                     std::string(text::kPackTooManyAfter);
        return plan;
    }
    std::set<std::string> files;
    std::set<std::string> folders;
    std::vector<std::size_t> themes;
    for (const CabinetMember& member : members) {
        MemberNameCheck checked = checkMemberName(member.name);
        if (!checked.problem.empty()) {
            plan.error = std::string(text::kPackBadNameBefore) + member.name +
                         std::string(text::kPackBadNameAfter) + std::string(checked.problem);
            return plan;
        }
        const std::string key = foldCase(checked.path);
        bool clash = files.contains(key) || folders.contains(key);
        for (std::size_t slash = key.find('\\'); slash != std::string::npos;
             slash = key.find('\\', slash + 1)) {
            const std::string folder = key.substr(0, slash);
            clash = clash || files.contains(folder);
            folders.insert(folder);
        }
        if (clash) {
            plan.error = std::string(text::kPackDuplicateName) + checked.path;
            return plan;
        }
        files.insert(key);
        if (key.find('\\') == std::string::npos && key.ends_with(".theme")) {
            themes.push_back(plan.paths.size());
        }
        // Summed without overflow: each size is below 2^32 and there are at most 10,000.
        plan.bytes += member.size;
        plan.paths.push_back(std::move(checked.path));
    }
    if (plan.bytes > kMaxPackBytes) {
        plan.error = std::string(text::kPackTooLargeBefore) + megabytes(plan.bytes) +
                     std::string(text::kPackTooLargeAfter);
    } else if (freeBytes && plan.bytes > *freeBytes) {
        plan.error = std::string(text::kPackNoSpaceBefore) + megabytes(plan.bytes) +
                     std::string(text::kPackNoSpaceMiddle) +
                     std::to_string(*freeBytes / kMegabyte) + std::string(text::kPackNoSpaceAfter);
    } else if (themes.empty()) {
        plan.error = std::string(text::kPackNoTheme);
    } else if (themes.size() > 1) {
        plan.error = std::string(text::kPackSeveralThemes);
    } else {
        plan.themeIndex = themes.front();
    }
    return plan;
}

std::string packFolderName(std::string_view packPath) {
    std::string name;
    for (const char c : baseName(packPath)) {
        const auto byte = static_cast<unsigned char>(c);
        const bool forbidden = byte < 0x20 || byte == 0x7F ||
                               std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos;
        name += forbidden ? '_' : c;
    }
    // At most 64 bytes, cut before a UTF-8 continuation byte never inside a character.
    if (name.size() > 64) {
        std::size_t cut = 64;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        name.resize(cut);
    }
    while (!name.empty() && (name.back() == '.' || name.back() == ' ')) {
        name.pop_back();
    }
    if (name.empty() || name.find_first_not_of('.') == std::string::npos) {
        return std::string(text::kPackDefaultFolder);
    }
    return isDeviceName(name) ? "_" + name : name;
}

std::string packsFolder(Platform& platform) {
    const std::string data = platform.localDataFolder();
    if (data.empty()) {
        return {};
    }
    const bool slash = isSeparator(data.back());
    return data + (slash ? "" : "\\") + "Quorvel\\Packs";
}

PackExtraction extractThemePack(const std::string& pack, const std::string& packs,
                                Platform& platform) {
    PackExtraction result;
    // First the directory alone: every member skipped, nothing written.
    std::vector<CabinetMember> members;
    const CabinetStatus listed = platform.readCabinet(pack, [&](const CabinetMember& member) {
        members.push_back(member);
        return CabinetDecision{};
    });
    if (listed == CabinetStatus::CannotOpen) {
        result.error = std::string(text::kCannotReadFile) + pack;
        return result;
    }
    if (listed != CabinetStatus::Done) {
        result.error = statusMessage(listed, packs);
        return result;
    }
    // The free space of the disk the packs folder is on (of its nearest folder that exists,
    // since nothing is made before the checks).
    std::string existing = packs;
    while (!existing.empty() && !platform.isDirectory(existing)) {
        const std::size_t slash = existing.find_last_of('\\');
        existing.resize(slash == std::string::npos ? 0 : slash);
    }
    ExtractionPlan plan =
        planPack(members, platform.freeSpace(existing.empty() ? packs : existing));
    if (!plan.error.empty()) {
        result.error = std::move(plan.error);
        return result;
    }
    if (!makeFolders(packs, platform)) {
        result.error = std::string(text::kPackExtractFailed) + packs;
        return result;
    }

    const std::string target = join(packs, packFolderName(pack));
    const std::string temporary = makeFreshFolder(target + ".part~", platform);
    if (temporary.empty()) {
        result.error = std::string(text::kPackExtractFailed) + packs;
        return result;
    }
    // Then the members, each approved again against the directory read before: a file that
    // changed in between is taken as damaged.
    std::set<std::string> made;
    std::size_t written = 0;
    bool changed = false;
    const CabinetStatus copied = platform.readCabinet(pack, [&](const CabinetMember& member) {
        if (member.index >= members.size() || member.name != members[member.index].name ||
            member.size != members[member.index].size) {
            changed = true;
            return CabinetDecision{CabinetDecision::Action::Stop, {}};
        }
        const std::string& path = plan.paths[member.index];
        for (std::size_t slash = path.find('\\'); slash != std::string::npos;
             slash = path.find('\\', slash + 1)) {
            const std::string folder = path.substr(0, slash);
            if (made.insert(foldCase(folder)).second &&
                !platform.makeDirectory(join(temporary, folder))) {
                return CabinetDecision{CabinetDecision::Action::Stop, {}};
            }
        }
        ++written;
        return CabinetDecision{CabinetDecision::Action::Extract, join(temporary, path)};
    });
    std::string settled;
    if (copied == CabinetStatus::Done && !changed && written == members.size()) {
        settled = settle(temporary, target, platform);
        if (settled.empty()) {
            result.error = std::string(text::kPackExtractFailed) + target;
        }
    } else {
        result.error =
            changed || copied == CabinetStatus::Done
                ? std::string(text::kPackDamaged)
                : statusMessage(copied == CabinetStatus::Stopped ? CabinetStatus::WriteFailed
                                                                 : copied,
                                target);
    }
    if (settled.empty()) {
        removeFolderTree(temporary, platform);
        return result;
    }
    result.folder = settled;
    result.themeFile = join(settled, plan.paths[plan.themeIndex]);
    result.members = std::move(plan.paths);
    return result;
}

void resolvePackPaths(ThemeImport& theme, const PackExtraction& pack,
                      const std::function<bool(const std::string&)>& exists) {
    std::vector<std::string> keys;
    for (const std::string& member : pack.members) {
        keys.push_back(foldCase(member));
    }
    const auto resolve = [&](std::string& path) {
        if (path.empty()) {
            return;
        }
        const bool absolute =
            isSeparator(path.front()) || path.find(':') != std::string::npos || path.front() == '%';
        const std::string direct = absolute ? path : join(pack.folder, path);
        if (exists(direct)) {
            path = direct;
            return;
        }
        // The longest end of the path that is a member's path: the whole of a relative path,
        // else what follows a separator.
        std::string key = foldCase(path);
        std::replace(key.begin(), key.end(), '/', '\\');
        for (std::size_t at = 0; at < key.size(); ++at) {
            const bool start = (at == 0 && !absolute) || (at > 0 && key[at - 1] == '\\');
            const auto found =
                start ? std::find(keys.begin(), keys.end(), std::string_view(key).substr(at))
                      : keys.end();
            if (found != keys.end()) {
                path =
                    join(pack.folder, pack.members[static_cast<std::size_t>(found - keys.begin())]);
                return;
            }
        }
        path = direct;
    };
    for (std::string& path : theme.icons) {
        resolve(path);
    }
    for (std::string& path : theme.pointers) {
        resolve(path);
    }
    for (std::string& path : theme.sounds) {
        resolve(path);
    }
    for (std::string& path : theme.slideshow) {
        resolve(path);
    }
    resolve(theme.screensaver);
    resolve(theme.wallpaper);
    resolve(theme.visualStyle);
}

bool removeFolderTree(const std::string& folder, Platform& platform) {
    const auto entries = platform.listDirectory(folder);
    bool removed = entries.has_value();
    for (const DirectoryEntry& entry : entries.value_or(std::vector<DirectoryEntry>{})) {
        const std::string path = join(folder, entry.name);
        if (entry.isDirectory && !entry.isReparsePoint) {
            removed = removeFolderTree(path, platform) && removed;
        } else {
            removed = platform.removePath(path) && removed;
        }
    }
    return platform.removePath(folder) && removed;
}

} // namespace quorvel
