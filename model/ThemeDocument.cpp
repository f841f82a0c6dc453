#include "model/ThemeDocument.h"

#include "model/Texts.h"

#include <algorithm>
#include <limits>

namespace quorvel {

namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

SchemeChoice& schemeOf(PageChoices& choices, SchemeKind kind) {
    return kind == SchemeKind::Pointers ? choices.pointerScheme : choices.soundScheme;
}

std::optional<std::string_view> schemeCheck(const SchemeChoice& scheme, std::string_view noScheme,
                                            std::string_view noName) {
    if (scheme.item == kNoSchemeItem) {
        return noScheme;
    }
    if (scheme.item == kCustomSchemeItem && scheme.name.empty()) {
        return noName;
    }
    return std::nullopt;
}

} // namespace

std::string_view defaultSchemeName(PageSet set, SchemeKind kind) {
    if (kind == SchemeKind::Pointers) {
        return set == PageSet::Win7 ? "Windows Aero" : "Windows default";
    }
    return set == PageSet::Win7 ? "@%SystemRoot%\\System32\\mmres.dll,-800"
                                : text::kXpDefaultSoundScheme;
}

ProjectPicks picksOf(const ThemeProject& project) {
    return {project.iconFiles,       project.cursorFiles,   project.soundFiles,
            project.screensaverFile, project.wallpaperFile, project.slideshowFiles,
            project.visualStyleFile};
}

void applyPicks(const ProjectPicks& picks, ThemeProject& project) {
    project.iconFiles = picks.iconFiles;
    project.cursorFiles = picks.cursorFiles;
    project.soundFiles = picks.soundFiles;
    project.screensaverFile = picks.screensaverFile;
    project.wallpaperFile = picks.wallpaperFile;
    project.slideshowFiles = picks.slideshowFiles;
    project.visualStyleFile = picks.visualStyleFile;
}

void chooseScheme(PageChoices& choices, PageSet set, SchemeKind kind, int item) {
    SchemeChoice& scheme = schemeOf(choices, kind);
    scheme.item = item;
    scheme.name = item == kDefaultSchemeItem ? std::string(defaultSchemeName(set, kind)) : "";
    if (kind == SchemeKind::Pointers) {
        choices.pointerPaths.fill("");
    } else {
        choices.soundPaths.fill("");
    }
}

void tickScreensaver(PageChoices& choices, ScreensaverSource box, bool ticked) {
    if (box == ScreensaverSource::None || (choices.screensaver == box) == ticked) {
        return;
    }
    if (!ticked) {
        if (box == ScreensaverSource::System) {
            choices.systemScreensaverItem = 0;
        } else {
            choices.ownScreensaverPath.clear();
        }
        choices.screensaver = ScreensaverSource::None;
        return;
    }
    if (box == ScreensaverSource::System) {
        choices.ownScreensaverPath.clear();
    } else {
        choices.systemScreensaverItem = 0;
    }
    choices.screensaver = box;
}

void moveTransparencySlider(PageChoices& choices, int position) {
    choices.transparencySlider = position;
    choices.transparency = std::to_string(position);
}

void passDesktopPage(PageChoices& choices) {
    // An interval the user typed or a file brought stays; only an empty one gets the preset.
    if (choices.slideshowImages.empty()) {
        choices.slideshowInterval.clear();
    } else if (choices.slideshowInterval.empty()) {
        choices.slideshowInterval = std::string(kPresetSlideshowInterval);
    }
}

std::optional<std::string_view> pointerPageCheck(const PageChoices& choices) {
    return schemeCheck(choices.pointerScheme, text::kNoCursorScheme, text::kNoCursorSchemeName);
}

std::optional<std::string_view> soundPageCheck(const PageChoices& choices) {
    return schemeCheck(choices.soundScheme, text::kNoSoundScheme, text::kNoSoundSchemeName);
}

std::optional<std::string_view> stylePageCheck(const PageChoices& choices) {
    if (choices.visualStylePath.empty()) {
        return text::kNoVisualStyle;
    }
    return std::nullopt;
}

std::optional<std::string_view> forwardChecks(const PageChoices& choices) {
    if (auto message = pointerPageCheck(choices)) {
        return message;
    }
    if (auto message = soundPageCheck(choices)) {
        return message;
    }
    return stylePageCheck(choices);
}

std::string toHexText(std::int64_t value) {
    // Digits are produced from the lowest up and joined in reverse. The remainder is taken in
    // integers, so values beyond the 53 bits a double holds exactly keep every digit.
    std::uint64_t n = value < 0 ? 0 : static_cast<std::uint64_t>(value);
    std::string reversed;
    while (true) {
        reversed += kDigits[n % 16];
        n /= 16;
        if (n < 16) {
            reversed += kDigits[n];
            break;
        }
    }
    std::string text(reversed.rbegin(), reversed.rend());
    if (text.front() == '0') {
        text = stripLeadingZeros(text);
    }
    return text;
}

std::string stripLeadingZeros(std::string_view text) {
    const std::size_t first = text.find_first_not_of('0');
    return first == std::string_view::npos ? std::string() : std::string(text.substr(first));
}

std::int64_t leadingInteger(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    std::int64_t value = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        const int digit = text[pos] - '0';
        if (value > (kMax - digit) / 10) {
            value = kMax;
        } else {
            value = value * 10 + digit;
        }
    }
    return negative ? -value : value;
}

std::string alphaText(std::string_view transparency) {
    return toHexText(std::clamp<std::int64_t>(leadingInteger(transparency), 0, 255));
}

ThemeRequest requestOf(const ThemeDocument& document, PageSet set) {
    const PageChoices& c = document.choices(set);
    ThemeRequest request;
    request.pageSet = set;
    applyPicks(document.picks, request.project);
    ThemeProject& p = request.project;
    p.cursorSchemeName = c.pointerScheme.name;
    p.soundSchemeName = c.soundScheme.name;
    p.themeName = c.themeName;
    p.displayName = c.displayName;
    p.saveLocation = c.saveLocation;
    for (std::size_t i = 0; i < c.iconPaths.size(); ++i) {
        request.iconChosen[i] = !c.iconPaths[i].empty();
    }
    for (std::size_t i = 0; i < c.pointerPaths.size(); ++i) {
        request.pointerChosen[i] = !c.pointerPaths[i].empty();
    }
    // The XP pages show four sound fields: the theme change sound is never chosen there.
    const std::size_t sounds = set == PageSet::Win7 ? c.soundPaths.size() : c.soundPaths.size() - 1;
    for (std::size_t i = 0; i < sounds; ++i) {
        request.soundChosen[i] = !c.soundPaths[i].empty();
    }
    request.wallpaperChosen = !c.wallpaperPath.empty();
    request.screensaver = c.screensaver;
    if (set == PageSet::Win7) {
        request.slideshowChosen = !c.slideshowImages.empty();
        p.slideshowIntervalText = c.slideshowInterval;
        p.windowAlphaText = alphaText(c.transparency);
        p.windowColorText = c.windowColor;
    }
    return request;
}

} // namespace quorvel
