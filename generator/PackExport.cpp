#include "generator/PackExport.h"

#include "generator/GenerationRun.h"
#include "generator/ThemePaths.h"
#include "generator/Win7ThemeKeys.h"
#include "model/AsciiCase.h"
#include "model/Texts.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <map>
#include <set>

namespace quorvel {

namespace {

constexpr std::string_view kBackgroundFolder = "DesktopBackground\\";
constexpr std::string_view kThemePackStyle = "%ResourceDir%\\Themes\\Aero\\Aero.msstyles";
constexpr std::string_view kDeskThemePackStyle =
    "%SystemRoot%\\resources\\Themes\\Aero\\Aero.msstyles";

// Images that are compressed already gain nothing from MSZIP.
bool storedAsIs(std::string_view name) {
    return endsWithIgnoringAsciiCase(name, ".jpg") || endsWithIgnoringAsciiCase(name, ".jpeg") ||
           endsWithIgnoringAsciiCase(name, ".png");
}

// The ASCII characters a member name keeps: printable, and none that Windows refuses in a name.
bool keptInName(unsigned char c) {
    return c > 0x20 && c < 0x7F &&
           std::string_view("\\/:*?\"<>|").find(static_cast<char>(c)) == std::string_view::npos;
}

std::string asciiPart(std::string_view text) {
    std::string out;
    for (unsigned char c : text) {
        if (keptInName(c) || (c == ' ' && !out.empty())) {
            out += static_cast<char>(c);
        }
    }
    while (!out.empty() && (out.back() == ' ' || out.back() == '.')) {
        out.pop_back();
    }
    return out;
}

// The theme's keys as the system's profile functions would leave them: sections in the order
// they were first written, keys in the order within their section, a key written again replaced
// in place; names compared without regard to letter case.
class ThemeText {
public:
    void write(std::string_view section, std::string_view key, std::string_view value) {
        Section& target = sectionNamed(section);
        const auto [at, added] = target.index.emplace(lowerAscii(key), target.entries.size());
        if (added) {
            target.entries.emplace_back(std::string(key), std::string(value));
        } else {
            target.entries[at->second].second = std::string(value);
        }
    }
    std::string text() const {
        std::string out(themeFileHeader());
        out += "\r\n";
        for (const Section& section : sections_) {
            out += "\r\n[" + section.name + "]\r\n";
            for (const auto& [key, value] : section.entries) {
                out += key + "=" + value + "\r\n";
            }
        }
        return out;
    }

private:
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> entries;
        std::map<std::string, std::size_t> index; // folded key -> place in entries
    };
    Section& sectionNamed(std::string_view name) {
        const std::string key = lowerAscii(name);
        for (Section& section : sections_) {
            if (lowerAscii(section.name) == key) {
                return section;
            }
        }
        sections_.push_back({std::string(name), {}, {}});
        return sections_.back();
    }
    std::vector<Section> sections_;
};

// The cabinet format's longest member name, with its terminator, and room for the "-N" that
// tells apart names that clash.
constexpr std::size_t kCabinetNameBytes = 256;
constexpr std::size_t kClashSuffixRoom = 8;

// The pack as the theme's keys are written: every placed file becomes a member once.
class PackKeysTarget : public Win7ThemeTarget {
public:
    PackKeysTarget(PackKind kind, Platform& platform, ExportPlan& plan)
        : kind_(kind), platform_(platform), plan_(plan) {}

    ThemeText theme;

    // A unique ASCII name in the cabinet for a file of the given folder ("" or
    // kBackgroundFolder), keeping the extension.
    std::string reserveName(std::string_view folder, std::string_view fileName) {
        const std::size_t dot = fileName.rfind('.');
        std::string base = asciiPart(fileName.substr(0, dot));
        std::string extension = dot == std::string_view::npos
                                    ? std::string()
                                    : "." + asciiPart(fileName.substr(dot + 1));
        // A long name is shortened to fit the cabinet with the folder and a "-N" of a clash.
        extension.resize(std::min<std::size_t>(extension.size(), 32));
        base.resize(std::min(base.size(), kCabinetNameBytes - 1 - folder.size() - extension.size() -
                                              kClashSuffixRoom));
        while (!base.empty() && (base.back() == '.' || base.back() == ' ')) {
            base.pop_back();
        }
        // A name of characters beyond ASCII only, or one that Windows maps to a device (CON,
        // NUL, ...), gets a plain one.
        if (base.empty() || themeNameProblem(base)) {
            base = "file";
        }
        std::string candidate = std::string(folder) + base + (extension == "." ? "" : extension);
        for (int n = 2; used_.contains(lowerAscii(candidate)); ++n) {
            candidate = std::string(folder) + base + "-" + std::to_string(n) +
                        (extension == "." ? "" : extension);
        }
        used_.insert(lowerAscii(candidate));
        return candidate;
    }

    void writeKey(std::string_view section, std::string_view key, std::string_view value) override {
        theme.write(section, key, value);
    }
    std::string placeAsset(const AssetRef& asset, std::string_view subfolder) override {
        const std::string folder = folderFor(subfolder);
        const std::string source = asset.sourcePath.starts_with('%')
                                       ? platform_.expandEnvironment(asset.sourcePath)
                                       : asset.sourcePath;
        const std::string key = folder + "|" + source + "|" + asset.fileName;
        if (const auto known = placed_.find(key); known != placed_.end()) {
            return known->second;
        }
        const std::string name = reserveName(folder, asset.fileName);
        placed_[key] = name;
        byFileName_.emplace(folder + "|" + asset.fileName, name);
        if (asset.sourcePath.empty() || !platform_.fileExists(source)) {
            plan_.failures.push_back(std::string(text::kPackSourceMissing) +
                                     (source.empty() ? asset.fileName : source));
        } else {
            plan_.members.push_back({source, {}, name, !storedAsIs(name)});
        }
        return name;
    }
    std::string pathOf(std::string_view subfolder, std::string_view fileName) override {
        const std::string folder = folderFor(subfolder);
        if (const auto known = byFileName_.find(folder + "|" + std::string(fileName));
            known != byFileName_.end()) {
            return known->second;
        }
        return folder + asciiPart(fileName);
    }
    std::string folderValue(std::string_view subfolder) override {
        std::string folder = folderFor(subfolder);
        if (!folder.empty()) {
            folder.pop_back(); // without the "\" after the folder's name
        }
        return folder;
    }
    std::string placePayload(std::string_view subfolder, std::string_view fileName,
                             std::span<const std::uint8_t> bytes) override {
        const std::string name = reserveName(folderFor(subfolder), fileName);
        plan_.members.push_back(
            {{}, std::vector<std::uint8_t>(bytes.begin(), bytes.end()), name, true});
        return name;
    }
    std::string visualStyleValue(const AssetRef& style) override {
        // The system's own style (a pick that names it where the system keeps it) is what the
        // pack names anyway; only a style of the user's own is left out.
        if (!style.sourcePath.empty() && style.sourcePath.front() != '%') {
            plan_.leftOut.push_back(std::string(text::kPackStyleLeftOut) + style.sourcePath);
        }
        return std::string(kind_ == PackKind::DeskThemePack ? kDeskThemePackStyle
                                                            : kThemePackStyle);
    }
    bool writesAutoColorization() const override { return kind_ == PackKind::DeskThemePack; }
    std::string screensaverValue(const ThemeRequest& request) override {
        const AssetRef& screensaver = request.project.screensaverFile;
        // A screensaver from the list is the system's own, named as the system names it.
        if (request.screensaver == ScreensaverSource::System &&
            screensaver.sourcePath.starts_with('%')) {
            return screensaver.sourcePath;
        }
        if (!screensaver.sourcePath.empty()) {
            plan_.leftOut.push_back(std::string(text::kPackScreensaverLeftOut) +
                                    screensaver.sourcePath);
        }
        return "";
    }

private:
    static std::string folderFor(std::string_view subfolder) {
        return subfolder == subfolder::kWallpaper ? std::string(kBackgroundFolder) : std::string();
    }

    PackKind kind_;
    Platform& platform_;
    ExportPlan& plan_;
    std::set<std::string> used_;                    // folded member names
    std::map<std::string, std::string> placed_;     // folder|source|file name -> member name
    std::map<std::string, std::string> byFileName_; // folder|file name -> first member name
};

std::vector<std::uint8_t> utf16WithBom(std::string_view utf8) {
    std::vector<std::uint8_t> bytes = {0xFF, 0xFE};
    for (const char16_t unit : utf8::toUtf16(utf8)) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return bytes;
}

} // namespace

PackKind packKindOf(std::string_view path) {
    return endsWithIgnoringAsciiCase(path, ".deskthemepack") ? PackKind::DeskThemePack
                                                             : PackKind::ThemePack;
}

ExportPlan planExport(const ThemeRequest& request, PackKind kind, Platform& platform) {
    ExportPlan plan;
    PackKeysTarget target(kind, platform, plan);
    const std::string themeName = target.reserveName("", request.project.themeName + ".theme");
    target.writeKey("Theme", "DisplayName", request.project.displayName);
    writeWin7ThemeKeys(request, target);
    plan.themeText = target.theme.text();
    plan.members.insert(plan.members.begin(), {{}, utf16WithBom(plan.themeText), themeName, true});
    return plan;
}

std::optional<GenerationReport> packRefusalOf(const ThemeRequest& request) {
    const ThemeProject& project = request.project;
    if (request.pageSet != PageSet::Win7) {
        return refusedReport(std::string(text::kPackNotOnXp));
    }
    if (auto problem = packNameProblem({project.themeName, project.displayName, {}})) {
        return refusedReport(std::move(*problem));
    }
    return std::nullopt;
}

GenerationReport exportPack(const ThemeRequest& request, const std::string& packPath,
                            Platform& platform) {
    if (auto refused = packRefusalOf(request)) {
        return std::move(*refused);
    }
    ExportPlan plan = planExport(request, packKindOf(packPath), platform);
    if (plan.members.size() > kMaxCabinetMembers) {
        return refusedReport(std::string(text::kPackTooLarge));
    }
    switch (platform.writeCabinet(packPath, plan.members)) {
    case CabinetResult::Written:
        break;
    case CabinetResult::TooLarge:
        return refusedReport(std::string(text::kPackTooLarge));
    case CabinetResult::SourceMissing:
    case CabinetResult::Failed:
        return refusedReport(std::string(text::kPackWriteFailed) + packPath);
    }

    GenerationReport report;
    report.failures = std::move(plan.failures);
    report.outcome =
        report.failures.empty() ? GenerationOutcome::Complete : GenerationOutcome::Incomplete;
    report.title = std::string(text::kInfoTitle);
    report.icon = report.failures.empty() ? MessageIcon::Information : MessageIcon::Warning;
    report.message = std::string(text::kPackExported) + packPath;
    if (!plan.leftOut.empty()) {
        report.message += text::kPackLeftOut;
        for (const std::string& line : plan.leftOut) {
            report.message += "\n" + line;
        }
    }
    if (!report.failures.empty()) {
        // The same list as the generate button's, after its "生成完毕!".
        const std::string closing = GenerationRun::closingMessage(report.failures);
        report.message += closing.substr(text::kDone.size());
    }
    return report;
}

} // namespace quorvel
