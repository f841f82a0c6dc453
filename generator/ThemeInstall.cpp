#include "generator/ThemeInstall.h"

#include "generator/Arguments.h"
#include "generator/GenerationRun.h"
#include "generator/ProfileWriter.h"
#include "generator/ThemePaths.h"
#include "generator/Win7ThemeGenerator.h"
#include "generator/XpThemeGenerator.h"
#include "model/SystemVersion.h"
#include "model/Texts.h"

#include <array>

namespace quorvel {

namespace {

// The suffixes of the folder a new pack is built in and of the earlier one while it is replaced.
constexpr std::string_view kBuildSuffix = ".new~";
constexpr std::string_view kOldSuffix = ".old~";

// The style the theme names when its own cannot go into the system folder.
constexpr std::string_view kWin7SystemStyle =
    "%SystemRoot%\\resources\\Themes\\Aero\\aero.msstyles";
constexpr std::string_view kXpSystemStyle = "%SystemRoot%\\resources\\Themes\\Luna\\Luna.msstyles";

// The folders beside a visual style that the system loads with it, and the files in them that
// go along. Deeper folders than these are not part of a style.
constexpr std::array<std::string_view, 2> kStyleFolders = {"zh-CN", "Shell"};
constexpr int kStyleFolderDepth = 3;

struct UserRoot {
    std::string_view variable;
    std::array<std::string_view, 3> below; // folders below it, made one level at a time
};
constexpr UserRoot kWin7Root{"LOCALAPPDATA", {"Microsoft", "Windows", "Themes"}};
constexpr UserRoot kXpRoot{"APPDATA", {"Quorvel", "Themes", ""}};

bool endsWithNoCase(std::string_view text, std::string_view suffix) {
    if (text.size() < suffix.size()) {
        return false;
    }
    text = text.substr(text.size() - suffix.size());
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        const auto lower = [](char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        };
        if (lower(text[i]) != lower(suffix[i])) {
            return false;
        }
    }
    return true;
}

bool isPlainName(std::string_view name) {
    return !themeNameProblem(name);
}

// "X:\a\b" with every folder a plain name and no more than the system's path length.
bool isPlainAbsolutePath(std::string_view path) {
    constexpr std::size_t kMaxPath = 259;
    if (path.size() < 4 || path.size() > kMaxPath || path[1] != ':' || path[2] != '\\') {
        return false;
    }
    const char drive = path[0];
    if (!((drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z'))) {
        return false;
    }
    std::string_view rest = path.substr(3);
    while (true) {
        const std::size_t slash = rest.find('\\');
        if (!isPlainName(rest.substr(0, slash))) {
            return false;
        }
        if (slash == std::string_view::npos) {
            return true;
        }
        rest = rest.substr(slash + 1);
    }
}

// Makes every missing level of a folder below an existing one.
bool ensureFolder(Platform& platform, const std::string& path) {
    return platform.isDirectory(path) || platform.makeDirectory(path);
}

void copyStyleFolder(Platform& platform, const std::string& from, const std::string& to, int depth,
                     std::vector<std::string>& failures) {
    const auto entries = platform.listDirectory(from);
    if (!entries) {
        return; // a style without this folder
    }
    if (!ensureFolder(platform, to)) {
        failures.push_back(std::string(text::kFolderFailed) + to);
        return;
    }
    for (const DirectoryEntry& entry : *entries) {
        if (!isPlainName(entry.name) || entry.isReparsePoint) {
            continue;
        }
        const std::string source = from + "\\" + entry.name;
        const std::string target = to + "\\" + entry.name;
        if (entry.isDirectory) {
            if (depth > 1) {
                copyStyleFolder(platform, source, target, depth - 1, failures);
            }
        } else if ((endsWithNoCase(entry.name, ".dll") || endsWithNoCase(entry.name, ".mui")) &&
                   !platform.copyFile(source, target)) {
            failures.push_back(copyFailure(source, target));
        }
    }
}

// Sets keys of an installed theme file, as the generators wrote them.
void rewriteKeys(Platform& platform, const std::string& themeFile,
                 const std::vector<std::array<std::string, 3>>& keys,
                 std::vector<std::string>& failures) {
    if (keys.empty()) {
        return;
    }
    ProfileWriter writer(platform, themeFile);
    for (const auto& [section, key, value] : keys) {
        if (!writer.write(section, key, value)) {
            failures.push_back(std::string(text::kThemeKeyFailed) + "[" + section + "] " + key);
        }
    }
    if (!writer.flush()) {
        failures.push_back(std::string(text::kThemeFileFailed) + themeFile);
    }
}

std::string quoted(const std::vector<std::string>& arguments) {
    std::string line;
    for (const std::string& argument : arguments) {
        if (!line.empty()) {
            line += ' ';
        }
        line += quoteArgument(argument);
    }
    return line;
}

// Puts the style and an own screensaver into the system folder and makes the theme name them
// there, or the system's own style and no screensaver when they cannot go there.
void installSystemFiles(const ThemeRequest& request, const InstallLocations& at, Platform& platform,
                        SystemShell& shell, std::vector<std::string>& failures) {
    const ThemeProject& project = request.project;
    const bool xp = request.pageSet == PageSet::Xp;
    // The system's own style (a pick below a system folder reference) is named where it is.
    const std::string& styleSource = project.visualStyleFile.sourcePath;
    const bool systemStyle = styleSource.starts_with('%');
    const std::string style =
        styleSource.empty() || systemStyle ? std::string() : project.visualStyleFile.fileName;
    const bool ownScreensaver = request.screensaver == ScreensaverSource::Own;
    const std::string screensaver = ownScreensaver ? project.screensaverFile.fileName : "";
    std::vector<std::array<std::string, 3>> keys;
    if (request.screensaver == ScreensaverSource::System &&
        !project.screensaverFile.sourcePath.empty() &&
        project.screensaverFile.sourcePath.front() == '%') {
        // A screensaver of the system's list is named where the system keeps it.
        keys.push_back({"boot", "SCRNSAVE.EXE", project.screensaverFile.sourcePath});
    }
    if (style.empty()) {
        // The system's own style, or none: the run already named the missing style, and the
        // theme falls back to the system's own.
        keys.push_back(
            {"VisualStyles", "Path",
             systemStyle ? styleSource : std::string(xp ? kXpSystemStyle : kWin7SystemStyle)});
    }
    if (!style.empty() || !screensaver.empty()) {
        std::vector<std::string> copyFailures =
            copySystemFiles(platform, at.packFolder, at.systemFolder, style, screensaver);
        bool installed = copyFailures.empty();
        if (!installed && !xp) {
            const std::string parameters =
                std::string(kSystemFilesOption) + " " +
                quoted(systemFilesArguments(at.packFolder, project.themeName, style, screensaver));
            installed = shell.runElevated(parameters) == Elevation::Succeeded;
        } else if (!installed) {
            failures.insert(failures.end(), copyFailures.begin(), copyFailures.end());
        }
        const std::string systemBase = std::string(kInstalledThemesRoot) + project.themeName;
        if (!style.empty()) {
            if (!installed) {
                failures.push_back(std::string(text::kStyleLeftOut) + at.packFolder + "\\" + style);
            }
            keys.push_back({"VisualStyles", "Path",
                            installed ? systemBase + "\\" + style
                                      : std::string(xp ? kXpSystemStyle : kWin7SystemStyle)});
        }
        if (!screensaver.empty()) {
            if (!installed) {
                failures.push_back(std::string(text::kScreensaverLeftOut) + at.packFolder +
                                   "\\SCR\\" + screensaver);
            }
            keys.push_back(
                {"boot", "SCRNSAVE.EXE", installed ? systemBase + "\\SCR\\" + screensaver : ""});
        }
    }
    rewriteKeys(platform, at.themeFile, keys, failures);
}

bool applyTheme(PageSet set, const std::string& themeFile, SystemShell& shell) {
    if (set == PageSet::Win7) {
        return shell.openFile(themeFile);
    }
    // Display Properties' own command, which opens the theme on its Themes page.
    return shell.startSystemProgram("rundll32.exe",
                                    "shell32.dll,Control_RunDLL desk.cpl desk,@Themes "
                                    "/Action:OpenTheme /file:\"" +
                                        themeFile + "\"");
}

// Puts the built folder in the installed one's place; an earlier installation is moved aside
// first and removed once the new one stands.
bool swapIn(const std::string& built, const std::string& installed, SystemShell& shell,
            Platform& platform) {
    if (!platform.isDirectory(installed)) {
        return shell.renameFolder(built, installed);
    }
    const std::string old = installed + std::string(kOldSuffix);
    shell.removeTree(old);
    if (!shell.renameFolder(installed, old)) {
        return false;
    }
    if (!shell.renameFolder(built, installed)) {
        shell.renameFolder(old, installed);
        return false;
    }
    shell.removeTree(old);
    return true;
}

// The user's folder the root starts from, without a trailing "\\"; empty when the environment
// does not name it.
std::string userFolder(const UserRoot& root, Platform& platform) {
    const std::string reference = "%" + std::string(root.variable) + "%";
    std::string folder = platform.expandEnvironment(reference);
    if (folder == reference) {
        return {};
    }
    while (folder.size() > 3 && folder.back() == '\\') {
        folder.pop_back();
    }
    return folder;
}

} // namespace

std::optional<InstallLocations> installLocations(PageSet set, const std::string& name,
                                                 Platform& platform, SystemShell& shell,
                                                 std::string* problem) {
    const UserRoot& root = set == PageSet::Win7 ? kWin7Root : kXpRoot;
    std::string folder = userFolder(root, platform);
    if (folder.empty()) {
        if (problem) {
            *problem = std::string(text::kNoUserThemeFolder) + std::string(root.variable) +
                       std::string(text::kNoUserThemeFolderAfter);
        }
        return std::nullopt;
    }
    for (std::string_view level : root.below) {
        if (!level.empty()) {
            folder += "\\" + std::string(level);
        }
    }
    InstallLocations at;
    at.themesRoot = folder;
    at.packFolder = folder + "\\" + name;
    at.themeFile = at.packFolder + "\\" + name + ".theme";
    at.systemFolder = shell.windowsFolder() + "\\resources\\Themes\\" + name;
    return at;
}

std::vector<std::string> copySystemFiles(Platform& platform, const std::string& packFolder,
                                         const std::string& targetFolder, const std::string& style,
                                         const std::string& screensaver) {
    std::vector<std::string> failures;
    if (!ensureFolder(platform, targetFolder)) {
        failures.push_back(std::string(text::kSystemFolderDenied) + targetFolder);
        return failures;
    }
    const auto copy = [&](const std::string& source, const std::string& target) {
        if (!platform.copyFile(source, target)) {
            failures.push_back(copyFailure(source, target));
        }
    };
    if (!style.empty()) {
        copy(packFolder + "\\" + style, targetFolder + "\\" + style);
        for (std::string_view folder : kStyleFolders) {
            copyStyleFolder(platform, packFolder + "\\" + std::string(folder),
                            targetFolder + "\\" + std::string(folder), kStyleFolderDepth, failures);
        }
    }
    if (!screensaver.empty()) {
        const std::string scr = targetFolder + "\\SCR";
        if (!ensureFolder(platform, scr)) {
            failures.push_back(std::string(text::kFolderFailed) + scr);
        } else {
            copy(packFolder + "\\SCR\\" + screensaver, scr + "\\" + screensaver);
        }
    }
    return failures;
}

std::vector<std::string> systemFilesArguments(const std::string& packFolder,
                                              const std::string& name, const std::string& style,
                                              const std::string& screensaver) {
    return {packFolder, name, style, screensaver};
}

int runSystemFilesCommand(std::span<const std::string> arguments, Platform& platform,
                          SystemShell& shell) {
    if (arguments.size() != 4) {
        return kExitUsage;
    }
    const std::string& pack = arguments[0];
    const std::string& name = arguments[1];
    const std::string& style = arguments[2];
    const std::string& screensaver = arguments[3];
    const bool valid =
        isPlainName(name) && isPlainAbsolutePath(pack) && fileNameOf(pack) == name &&
        platform.isDirectory(pack) && (!style.empty() || !screensaver.empty()) &&
        (style.empty() || (isPlainName(style) && endsWithNoCase(style, ".msstyles") &&
                           platform.fileExists(pack + "\\" + style))) &&
        (screensaver.empty() || (isPlainName(screensaver) && endsWithNoCase(screensaver, ".scr") &&
                                 platform.fileExists(pack + "\\SCR\\" + screensaver)));
    if (!valid) {
        return kExitUsage;
    }
    const std::string target = shell.windowsFolder() + "\\resources\\Themes\\" + name;
    return copySystemFiles(platform, pack, target, style, screensaver).empty() ? kExitWritten
                                                                               : kExitIncomplete;
}

std::optional<GenerationReport> installRefusal(const ThemeRequest& request, Platform& platform,
                                               SystemShell& shell) {
    std::string problem;
    const auto at =
        installLocations(request.pageSet, request.project.themeName, platform, shell, &problem);
    if (!at) {
        return refusedReport(problem);
    }
    // The install folder stands in for the save location, which an installation does not use.
    ThemeRequest install = request;
    install.project.saveLocation = at->themesRoot;
    return refusalOf(install, platform);
}

InstallReport installTheme(const ThemeRequest& request, Platform& platform, SystemShell& shell,
                           bool replace, bool apply) {
    InstallReport result;
    if (auto refused = installRefusal(request, platform, shell)) {
        result.report = std::move(*refused);
        return result;
    }
    const InstallLocations at =
        *installLocations(request.pageSet, request.project.themeName, platform, shell);
    if (!replace && platform.isDirectory(at.packFolder)) {
        result.report = refusedReport(std::string(text::kAlreadyInstalled) + at.packFolder);
        return result;
    }
    // The levels of the themes folder: a new profile (or Wine's) may not have them yet.
    const UserRoot& root = request.pageSet == PageSet::Win7 ? kWin7Root : kXpRoot;
    std::string folder = userFolder(root, platform);
    for (std::string_view level : root.below) {
        if (level.empty()) {
            continue;
        }
        folder += "\\" + std::string(level);
        if (!ensureFolder(platform, folder)) {
            result.report = refusedReport(std::string(text::kFolderFailed) + folder);
            return result;
        }
    }

    ThemeRequest install = request;
    install.project.saveLocation = at.themesRoot;
    const std::string built = at.packFolder + std::string(kBuildSuffix);
    shell.removeTree(built); // what a run that was cut short left
    const PackTarget target{built, built + "\\" + install.project.themeName + ".theme",
                            at.packFolder};
    GenerationReport report = request.pageSet == PageSet::Win7
                                  ? generateWin7Theme(install, platform, target)
                                  : generateXpTheme(install, platform, target);
    if (report.outcome == GenerationOutcome::Refused) {
        shell.removeTree(built);
        result.report = std::move(report);
        return result;
    }
    if (!swapIn(built, at.packFolder, shell, platform)) {
        shell.removeTree(built);
        result.report = refusedReport(std::string(text::kInstallSwapFailed) + at.packFolder);
        return result;
    }

    std::vector<std::string> failures = std::move(report.failures);
    installSystemFiles(install, at, platform, shell, failures);
    if (apply) {
        result.opened = applyTheme(request.pageSet, at.themeFile, shell);
        if (!result.opened) {
            failures.push_back(std::string(text::kOpenThemeFailed) + at.themeFile);
        }
    }

    std::string message =
        std::string(result.opened ? text::kInstalledAndOpened : text::kInstalled) + at.themeFile;
    const std::string closing = GenerationRun::closingMessage(failures);
    message += closing.substr(text::kDone.size());
    result.report.outcome =
        failures.empty() ? GenerationOutcome::Complete : GenerationOutcome::Incomplete;
    result.report.failures = std::move(failures);
    result.report.message = std::move(message);
    result.report.title = std::string(text::kInfoTitle);
    result.report.icon =
        result.report.failures.empty() ? MessageIcon::Information : MessageIcon::Warning;
    return result;
}

} // namespace quorvel
