// Reads a .theme file, ours or one Windows wrote, into the choices it stands for: which page set
// it suits, and per slot the file it names, with system folder references expanded. Which of
// those files exist, and what to do with the others, is the caller's business.
#pragma once

#include "model/PageSet.h"
#include "model/ProjectFile.h"
#include "model/ThemeDocument.h"
#include "model/ThemeProject.h"
#include "platform/Platform.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

struct ThemeImport {
    // The page set the content points to; nothing when it does not tell (docs/theme-files.md:
    // "Which page set").
    std::optional<PageSet> pageSet;
    // [Theme] DisplayName; empty when missing or only a resource string ("@file,-id").
    std::string displayName;

    // The files the theme names, in the slot order of ThemeProject, with %SystemRoot%,
    // %WinDir% and %ResourceDir% expanded. Empty where the theme names no file of the kind the
    // page picks (nothing, the system's default, an icon inside a program library).
    std::array<std::string, ThemeProject::kIconCount> icons;
    std::array<std::string, ThemeProject::kCursorCount> pointers;
    std::array<std::string, ThemeProject::kSoundCount> sounds;
    std::string screensaver;
    std::string wallpaper;
    std::vector<std::string> slideshow; // in the order of their ItemNPath numbers
    std::string visualStyle;
    // The visual style as the theme names it when that is the system's own, a path below a
    // reference to the system folder (%ResourceDir% and %WinDir% written as %SystemRoot%, nothing
    // expanded): every system the theme goes to has it there. Empty for any other style.
    std::string systemVisualStyle;

    // Empty when missing or only a resource string.
    std::string cursorSchemeName;
    std::string soundSchemeName;
    // As the Windows 7 window style page shows them: the colour as six hexadecimal digits, red
    // first ("0066FF"), the transparency 0 .. 255, the slideshow interval in whole seconds.
    // Empty when the theme does not give them.
    std::string windowColor;
    std::string transparency;
    std::string slideshowInterval;
};

struct ThemeReadResult {
    std::optional<ThemeImport> theme;
    std::string error; // Chinese, "第 N 行: ..." where a line is to blame
};

// The file's bytes: UTF-16 LE with a byte order mark, UTF-8 with one, or else the system's
// ANSI code page (through the platform, which also expands %SystemRoot% and %WinDir%).
ThemeReadResult readThemeFile(std::string_view bytes, Platform& platform);

// The longest line the reader accepts, in bytes of the decoded text.
inline constexpr std::size_t kMaxThemeLineBytes = 64 * 1024;

// The kind of file a slot of the wizard takes.
enum class FileKind { Icon, Pointer, Sound, Screensaver, Image, VisualStyle };
// What the caller finds at a path a theme names for a slot.
enum class FileFit {
    Fits,      // a file whose content is of the slot's kind
    Missing,   // no such file
    WrongKind, // something else (or nothing that can be read)
};
using FileCheck = std::function<FileFit(const std::string& path, FileKind kind)>;

// Opening a theme in a page set: the page set's fields and the picks of the document are filled
// from the files the theme names that `check` finds fitting, as if each was picked with its
// browse button; a scheme becomes the theme's own where the theme brings pointers or sounds;
// the screensaver becomes the user's own file. The document's page set becomes `set`. What the
// theme says nothing about stays as the document had it. The files not found are listed once
// each in `missing`, those of another kind in `unfit`, and their fields stay as they were.
struct ThemeOpening {
    std::vector<std::string> missing;
    std::vector<std::string> unfit;
};
ThemeOpening openTheme(const ThemeImport& theme, PageSet set, const FileCheck& check,
                       ThemeDocument& document);

} // namespace quorvel
