// A project file: the whole theme document (what the pages of both page sets show, the files
// picked so far, the palette's last pick) as UTF-8 INI text that a person can read and
// write by hand. docs/project-file.md describes the format.
#pragma once

#include "model/PageSet.h"
#include "model/ThemeDocument.h"
#include "model/ThemeProject.h"

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// The first line of every project file; the number after it is the format version.
inline constexpr std::string_view kProjectSignature = "; Quorvel project ";
inline constexpr int kProjectFormatVersion = 1;
// The extension of project files, with its dot.
inline constexpr std::string_view kProjectExtension = ".quorvel";

// How the file spells a value of a page set's section.
enum class FieldKind {
    Text,   // a text as the page shows it
    Choice, // the index of the item chosen in a list, 0 .. maximum
    Tick,   // a tick box: 1 ticked, 0 not
    Slider, // a slider's position, 0 .. maximum
};

// What an entry of a page set's section stands for in the document.
enum class FieldRole {
    Text, // a text member of PageChoices
    PointerScheme,
    SoundScheme,
    SystemScreensaverTick,
    OwnScreensaverTick,
    SystemScreensaverList,
    TransparencySlider,
};

// One entry of a page set's section: its key, its spelling and the member of PageChoices it
// stands for. Reading an entry changes the document as the user's own action on the page would
// (a scheme item empties the scheme's fields, a tick clears the other box, the slider's position
// shows in the transparency field).
struct ProjectField {
    std::string key;
    FieldRole role = FieldRole::Text;
    int maximum = 0;                                // Choice and Slider only
    std::function<std::string&(PageChoices&)> text; // FieldRole::Text only

    FieldKind kind() const;
};

// The entries of a page set's section in the order they are written and applied: a page set's
// pages in page order, a scheme before the fields it governs, a tick box before its row, the
// slider before the transparency field.
std::span<const ProjectField> projectFields(PageSet set);

// The keys of the picks in the [Picks] section, in the slot order of ThemeProject's arrays.
inline constexpr std::array<std::string_view, ThemeProject::kIconCount> kIconPickKeys = {
    "Icon.Documents", "Icon.Computer", "Icon.Network", "Icon.RecycleBinEmpty",
    "Icon.RecycleBinFull"};
inline constexpr std::array<std::string_view, ThemeProject::kSoundCount> kSoundPickKeys = {
    "Sound.Shutdown", "Sound.Startup", "Sound.Logoff", "Sound.Logon", "Sound.ThemeChange"};

// The file's bytes: UTF-8 without byte order mark, CR LF line breaks, the same state always
// giving the same bytes. Nothing, with the reason in `error`, when a value cannot be written
// (a line break or other control character in it, a text that is not UTF-8).
struct ProjectText {
    std::string bytes;
    std::string error;
};
ProjectText writeProjectFile(const ThemeDocument& document);

// The document a project file gives (its entries applied to the initial document), or a message
// (Chinese, "第 N 行: ..." where a line is to blame) that says what is wrong with it. Unknown
// sections and keys are ignored.
struct ProjectReadResult {
    std::optional<ThemeDocument> document;
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
