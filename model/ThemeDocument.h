// The theme being built, held once and typed: what each page of both page sets shows, the files
// picked so far and the palette's last pick. Every entry fills it (the project file, a .theme
// file or a pack, the command line's options, the window's controls), and the request a
// generation, a pack export or an install works from is made from it alone (requestOf).
//
// The path fields keep their text beside the picks: an empty field means "not chosen" (a blank
// is not empty), and a path typed into a field that was never picked names no file to copy.
// The picks are shared by the two page sets, as a browse button of either fills the same slot.
#pragma once

#include "model/Geometry.h"
#include "model/PageSet.h"
#include "model/ThemeProject.h"
#include "model/ThemeRequest.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// The items of the four scheme lists.
inline constexpr int kNoSchemeItem = 0;      // the prompt: nothing chosen yet
inline constexpr int kDefaultSchemeItem = 1; // the system's scheme
inline constexpr int kCustomSchemeItem = 2;  // the theme's own files, under a name of its own

enum class SchemeKind { Pointers, Sounds };

// The name that choosing the system's scheme puts into the scheme's name field.
std::string_view defaultSchemeName(PageSet set, SchemeKind kind);

struct SchemeChoice {
    int item = kNoSchemeItem;
    std::string name; // the name field

    bool operator==(const SchemeChoice&) const = default;
};

// The initial window colour and transparency of the Windows 7 window style page.
inline constexpr int kInitialAlpha = 127;
inline constexpr std::string_view kInitialWindowColor = "0066FF";

// What the pages of one page set show. The Windows XP pages have no theme change sound, no
// slideshow, no window colour and no transparency; those members stay as they start there.
struct PageChoices {
    std::array<std::string, ThemeProject::kIconCount> iconPaths;
    SchemeChoice pointerScheme;
    std::array<std::string, ThemeProject::kCursorCount> pointerPaths; // by kPointerRoles
    SchemeChoice soundScheme;
    std::array<std::string, ThemeProject::kSoundCount> soundPaths;
    ScreensaverSource screensaver = ScreensaverSource::None;
    int systemScreensaverItem = 0; // of the list, 0 its prompt
    std::string ownScreensaverPath;
    std::string wallpaperPath;
    std::string slideshowImages; // the slideshow field: the images' names, ";" after each
    std::string visualStylePath;
    std::string slideshowInterval;                              // seconds, as typed
    std::string windowColor = std::string(kInitialWindowColor); // six hexadecimal digits as typed
    int transparencySlider = kInitialAlpha;                     // 0 .. 255
    std::string transparency = std::to_string(kInitialAlpha);   // as typed
    std::string themeName;
    std::string displayName;
    std::string saveLocation;

    bool operator==(const PageChoices&) const = default;
};

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
// Replaces the asset slots of the project; its texts stay.
void applyPicks(const ProjectPicks& picks, ThemeProject& project);

struct ThemeDocument {
    // The page set the wizard shows (a project file opens in it).
    PageSet pageSet = PageSet::Win7;
    PageChoices win7;
    PageChoices xp;
    ProjectPicks picks;
    // The palette's last pick, if there was one.
    std::optional<Rgb> pickedColor;

    PageChoices& choices(PageSet set) { return set == PageSet::Win7 ? win7 : xp; }
    const PageChoices& choices(PageSet set) const { return set == PageSet::Win7 ? win7 : xp; }

    bool operator==(const ThemeDocument&) const = default;
};

// --- edits with the rules of the pages -------------------------------------------------------

// Choosing an item of a scheme list: the name field shows the system scheme's name for its
// item and is empty otherwise, every path field of the scheme is emptied.
void chooseScheme(PageChoices& choices, PageSet set, SchemeKind kind, int item);
// Setting or clearing a screensaver tick box as a click does: setting one clears the other (the
// system one empties the own file's field, the own one sets the list back to its prompt);
// clearing the system one sets the list back to its prompt, clearing the own one empties its
// field. A box that already shows the state is left alone.
void tickScreensaver(PageChoices& choices, ScreensaverSource box, bool ticked);
// The transparency slider moved: the transparency field shows its position.
void moveTransparencySlider(PageChoices& choices, int position);
// Leaving the desktop page forward: without a slideshow the interval is emptied, a slideshow
// without an interval gets the preset of 180 seconds.
void passDesktopPage(PageChoices& choices);
inline constexpr std::string_view kPresetSlideshowInterval = "180";

// --- the checks of the forward buttons -------------------------------------------------------

// The message the page's "下一步" shows, or nothing when the user may go on. The pointer and
// sound pages want a scheme, and the name of a scheme of the theme's own; the style pages a
// visual style.
std::optional<std::string_view> pointerPageCheck(const PageChoices& choices);
std::optional<std::string_view> soundPageCheck(const PageChoices& choices);
std::optional<std::string_view> stylePageCheck(const PageChoices& choices);
// The checks of every forward button on the way to the last page of a page set, in page order:
// the first message, or nothing.
std::optional<std::string_view> forwardChecks(const PageChoices& choices);

// --- the request -----------------------------------------------------------------------------

// Upper-case hexadecimal digits without leading zeros; 0 gives the empty text. Negative values
// count as 0.
std::string toHexText(std::int64_t value);
// The text from its first character that is not "0".
std::string stripLeadingZeros(std::string_view text);
// The integer at the start of a text: leading blanks skipped, an optional sign, then decimal
// digits up to the first other character. No digits gives 0; values beyond 64 bits saturate.
std::int64_t leadingInteger(std::string_view text);

// The transparency as the theme file's colour carries it: the field's leading number, clamped to
// 0 .. 255, in toHexText's digits.
std::string alphaText(std::string_view transparency);

// What a generation of the page set works from: the picks, and from the page set's pages the
// slots that are chosen, the scheme names, the screensaver, the interval, colour and
// transparency and the three names.
ThemeRequest requestOf(const ThemeDocument& document, PageSet set);

} // namespace quorvel
