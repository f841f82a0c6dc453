// A project file: the whole state of the wizard (every stateful control of both page sets, the
// files picked so far, the palette's last pick) as UTF-8 INI text that a person can read and
// write by hand. docs/project-file.md describes the format.
#pragma once

#include "model/AppState.h"
#include "model/PageSet.h"
#include "model/ThemeProject.h"

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace quorvel {

// The first line of every project file; the number after it is the format version.
inline constexpr std::string_view kProjectSignature = "; Quorvel project ";
inline constexpr int kProjectFormatVersion = 1;
// The extension of project files, with its dot.
inline constexpr std::string_view kProjectExtension = ".quorvel";

// What a control keeps and how the file spells it.
enum class FieldKind {
    Text,   // an edit field: its text
    Choice, // a drop-down list: the index of the selected item, 0 .. maximum
    Tick,   // a tick box: 1 ticked, 0 not
    Slider, // a slider: its position, 0 .. maximum
};

// One stateful control of the wizard: the key that stands for it in its page set's section and
// the control's name in the wizard's control table.
struct ProjectField {
    PageSet set;
    std::string_view key;
    std::string_view control;
    FieldKind kind = FieldKind::Text;
    int maximum = 0; // Choice and Slider only
};

inline constexpr std::size_t kProjectFieldCount = 80;
// Every stateful control of both page sets, Windows 7 first, each page set in page order.
std::span<const ProjectField> projectFields();
// The index into projectFields() of a key (letter case ignored) or of a control name; nothing
// when there is none.
std::optional<std::size_t> findProjectField(PageSet set, std::string_view key);
std::optional<std::size_t> findProjectFieldOfControl(std::string_view control);

// The item of a scheme combo that lets the user pick every file.
inline constexpr int kCustomSchemeChoice = 2;

// The keys of the picks in the [Picks] section, in the slot order of ThemeProject's arrays.
inline constexpr std::array<std::string_view, ThemeProject::kIconCount> kIconPickKeys = {
    "Icon.Documents", "Icon.Computer", "Icon.Network", "Icon.RecycleBinEmpty",
    "Icon.RecycleBinFull"};
inline constexpr std::array<std::string_view, ThemeProject::kSoundCount> kSoundPickKeys = {
    "Sound.Shutdown", "Sound.Startup", "Sound.Logoff", "Sound.Logon", "Sound.ThemeChange"};

// A control's value: Text holds a string, Choice and Slider an int, Tick a bool.
using ControlValue = std::variant<std::string, int, bool>;

// The files picked so far: the asset slots of ThemeProject.
struct ProjectPicks {
    std::array<AssetRef, ThemeProject::kIconCount> iconFiles;
    std::array<AssetRef, ThemeProject::kCursorCount> cursorFiles;
    std::array<AssetRef, ThemeProject::kSoundCount> soundFiles;
    AssetRef screensaverFile;
    AssetRef wallpaperFile;
    std::vector<AssetRef> slideshowFiles;
    AssetRef visualStyleFile;

    bool operator==(const ProjectPicks&) const = default;
};

ProjectPicks picksOf(const ThemeProject& project);
// Replaces the asset slots of the project; the texts captured by the pages stay.
void applyPicks(const ProjectPicks& picks, ThemeProject& project);

struct ProjectState {
    // The page set the wizard showed; opening the file shows its first page.
    PageSet pageSet = PageSet::Win7;
    // By index into projectFields(). An empty entry leaves the control in its initial state.
    std::array<std::optional<ControlValue>, kProjectFieldCount> controls;
    ProjectPicks picks;
    // The palette's last pick, if there was one.
    std::optional<Rgb> pickedColor;

    bool operator==(const ProjectState&) const = default;
};

// The file's bytes: UTF-8 without byte order mark, CR LF line breaks, the same state always
// giving the same bytes. Nothing, with the reason in `error`, when a value cannot be written
// (a line break or other control character in it, a text that is not UTF-8).
struct ProjectText {
    std::string bytes;
    std::string error;
};
ProjectText writeProjectFile(const ProjectState& state);

// The state in a project file, or a message (Chinese, "第 N 行: ..." where a line is to blame)
// that says what is wrong with it. Unknown sections and keys are ignored.
struct ProjectReadResult {
    std::optional<ProjectState> state;
    std::string error;
};
ProjectReadResult readProjectFile(std::string_view bytes);

// The longest line the reader accepts, in bytes.
inline constexpr std::size_t kMaxProjectLineBytes = 64 * 1024;

// The file name part of a path: what follows its last "\" or "/".
std::string_view pathFileName(std::string_view path);
// What keeps a name from standing for one file inside the pack folder.
enum class FileNameFault {
    None,
    // Empty, "." or "..", or holding a separator, a drive colon, another character Windows
    // forbids in file names, or a control character.
    NotPlain,
    // A name the system takes for a device in every folder: CON, PRN, AUX, NUL, COM1 to COM9,
    // LPT1 to LPT9 (also with the digits ¹ ² ³), CONIN$ and CONOUT$, in any letter case, with any
    // extension and with dots or blanks at the end ("nul .jpg", "aux.tar.gz", "LPT1.").
    Device,
    // A bidirectional control character (U+202A-U+202E, U+2066-U+2069, U+200E, U+200F,
    // U+061C): the name would show in an order other than the one it has.
    Direction,
};
// The one check of the names of copies and of the theme name's folder. Every reader of copy
// names and the generators before they write ask it.
FileNameFault fileNameFault(std::string_view name);
// True when a name can stand for a file inside the pack folder: fileNameFault finds nothing.
bool isPlainFileName(std::string_view name);

} // namespace quorvel
