// What the previews show, independent of how they are drawn: which path fields have a preview
// and of what kind, what is shown for a path, the reasons a file cannot be previewed, the
// layout of thumbnails, and the scene and layout of the desktop preview.
#pragma once

#include "model/FileHeaders.h"
#include "model/Texts.h"
#include "model/ThemeProject.h"
#include "pages/ControlId.h"
#include "pages/Controls.h"
#include "widgets/ControlLook.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel::preview {

// What a path field holds. This is the one place that maps fields onto slot kinds.
enum class FieldRole { Icon, Pointer, Sound, Screensaver, Wallpaper, Slideshow, VisualStyle };
std::optional<FieldRole> fieldRole(ControlId field);

// How a file is previewed.
enum class Kind {
    IconFile,        // .ico: drawn at 32 and 48 pixels
    IconInModule,    // the first icon of a .dll, .exe, .icl (or any other file of an icon field)
    Pointer,         // .cur (or any other file of a pointer field)
    AnimatedPointer, // .ani
    Image,           // wallpaper and slideshow images
    Screensaver,     // name, size, description
    VisualStyle,     // name, size, description
    Sound,           // name, size, description, length
};
Kind kindOf(FieldRole role, std::string_view path);
// True for the kinds that show the file's name, size and description as text.
bool showsFileInfo(Kind kind);

// What to preview for a field: the kind and the paths (several for the slideshow, of which only
// the first few are shown), with the number of files in all.
struct Request {
    Kind kind = Kind::Image;
    std::vector<std::string> paths;
    int total = 0;

    bool operator==(const Request&) const = default;
};
// The slideshow preview shows at most this many images in a row.
inline constexpr int kSlideshowShown = 4;
// Nothing when the field has no preview or holds no file: a single field previews the path it
// shows, the slideshow field the images of the project.
std::optional<Request> requestFor(ControlId field, std::string_view fieldText,
                                  const ThemeProject& project);

// Why a file cannot be previewed: model/FileHeaders.h's Failure.
inline constexpr std::string_view kNoPreview = text::kNoPreview;
// The reason in a few words, shown after kNoPreview.
std::string_view failureText(Failure failure);

// The largest files the previews open: images are decoded by the system, which reads them in
// pieces, pointers and icons are handed whole to the system, the others are only looked into.
inline constexpr std::uint64_t kMaxImageBytes = 256ull << 20;
inline constexpr std::uint64_t kMaxIconBytes = 16ull << 20;
inline constexpr std::uint64_t kMaxImagePixels = 200'000'000;
std::uint64_t maxBytes(Kind kind);

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

// The size of an image shown within a box, keeping its aspect ratio: as large as fits, never
// larger than the image itself, at least 1 x 1. An empty image gives 0 x 0.
Size fitInside(Size image, Size box);
// The smallest size keeping the aspect ratio that covers the box (the image centred and cut at
// the edges, as a wallpaper set to fill the screen).
Size coverBox(Size image, Size box);

// The size of the thumbnails, in pixels at 96 DPI: one image, and each of the slideshow's row.
inline constexpr Size kImageBox = {200, 150};
inline constexpr Size kSlideshowBox = {96, 72};
inline constexpr int kPadding = 6;
inline constexpr int kGap = 6;

// A row of cells of one size, each image centred in its cell and fitted inside it, after a
// padding from the top-left corner; one rectangle for each image.
struct Placed {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Placed&) const = default;
};
std::vector<Placed> thumbnailRow(std::span<const Size> images, Size cell, int padding, int gap);

// The text line under the slideshow's row: "共 N 张图片".
std::string slideshowCountText(int total);
// A file size as people read it: "512 字节", "1.5 KB", "23.4 MB".
std::string sizeText(std::uint64_t bytes);
// A length as "0:03.25" (minutes, seconds and hundredths), or "1:02:03" beyond an hour.
std::string durationText(std::uint64_t milliseconds);

// The desktop preview.
// What the wizard holds at one moment for the desktop: empty paths stand for Windows' defaults.
struct DesktopScene {
    bool xp = false;
    // The wallpaper, or the slideshow's images in order; empty for the default background.
    std::vector<std::string> wallpapers;
    // Documents, computer, network, recycle bin empty, recycle bin full.
    std::array<std::string, ThemeProject::kIconCount> icons;
    std::string arrowPointer;
    Rgb windowColor;
    int windowAlpha = 0; // 0 (clear) .. 255 (opaque)
};
// The Windows 7 page set's scene, or the XP one's: fields of that page set and the project's
// slideshow (Windows 7 only). A colour field that is not six hexadecimal digits and an empty
// transparency stand for the wizard's initial values.
DesktopScene desktopScene(const Controls& controls, const ThemeProject& project, bool xp);
// "RRGGBB" as a colour; nothing for any other text.
std::optional<Rgb> parseRgbHex(std::string_view text);
// The desktop's labels under the five icons.
std::array<std::string_view, ThemeProject::kIconCount> desktopLabels(bool xp);
// The background when no wallpaper is chosen, and the icon size of the desktop.
Rgb defaultBackground(bool xp);

// Where everything of the desktop preview goes in a screen of a width (height: 16:10).
struct DesktopLayout {
    Placed screen;
    std::array<Placed, ThemeProject::kIconCount> icons;
    std::array<Placed, ThemeProject::kIconCount> labels;
    Placed window;  // the sample window's outer frame
    Placed caption; // its caption band, inside the frame
    Placed client;  // its client area
    int frame = 0;  // the width of the frame around the client area and caption
    int pointerX = 0;
    int pointerY = 0;
    int iconSize = 0;
};
DesktopLayout desktopLayout(int screenWidth, bool xp);
// A 96-DPI screen of the desktop preview is this wide.
inline constexpr int kDesktopWidth = 640;
// The slideshow in the desktop preview changes images this often.
inline constexpr int kSlideshowStepMs = 2000;

// Blends a colour over another with an alpha of 0 .. 255 (255 is the colour itself).
Rgb blend(Rgb over, Rgb under, int alpha);

} // namespace quorvel::preview
