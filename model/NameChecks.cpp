#include "model/NameChecks.h"

#include "model/ProjectFile.h"
#include "model/Texts.h"
#include "platform/Utf8.h"

namespace quorvel {

namespace {

// True when the text holds a C0 or C1 control character or DEL.
bool holdsControlCharacter(std::string_view text) {
    bool found = false;
    utf8::decode(text,
                 [&found](char32_t c) { found = found || c < 0x20 || (c >= 0x7F && c < 0xA0); });
    return found;
}

// The checks a folder and a pack share: both names given, the theme name one a folder can have.
std::optional<std::string> sharedProblem(const ThemeNames& names, bool folder) {
    if (names.themeName.empty()) {
        return std::string(text::kEmptyThemeName);
    }
    if (names.displayName.empty()) {
        return std::string(text::kEmptyDisplayName);
    }
    if (folder && names.saveLocation.empty()) {
        return std::string(text::kEmptySaveLocation);
    }
    return themeNameProblem(names.themeName);
}

} // namespace

std::optional<std::string> themeNameProblem(std::string_view name) {
    // The one check of names in the pack, and no dot or blank at the end: the system would drop
    // them, and the theme file would name a folder that is not there.
    if (!isPlainFileName(name) || name.back() == ' ' || name.back() == '.') {
        return std::string(text::kBadThemeName);
    }
    return std::nullopt;
}

std::optional<std::string> folderNameProblem(const ThemeNames& names, Platform& platform) {
    if (auto problem = sharedProblem(names, true)) {
        return problem;
    }
    if (!platform.toAnsi(names.themeName)) {
        return std::string(text::kThemeNameOutsideCodePage);
    }
    if (holdsControlCharacter(names.displayName)) {
        return std::string(text::kDisplayNameControl);
    }
    if (!platform.toAnsi(names.displayName)) {
        return std::string(text::kDisplayNameOutsideCodePage);
    }
    return std::nullopt;
}

std::optional<std::string> packNameProblem(const ThemeNames& names) {
    return sharedProblem(names, false);
}

ThemeNames namesOf(const PageChoices& choices) {
    return {choices.themeName, choices.displayName, choices.saveLocation};
}

} // namespace quorvel
