#include "preview/Preview.h"

#include "model/AsciiCase.h"
#include "model/Texts.h"
#include "pages/Pickers.h"
#include "pages/WindowStyle.h"

#include <algorithm>
#include <cstdio>

namespace quorvel::preview {

namespace {

std::string lowerExtension(std::string_view path) {
    const std::size_t slash = path.find_last_of("\\/");
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
        return {};
    }
    return lowerAscii(path.substr(dot + 1));
}

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

Placed scaledRect(int left, int top, int width, int height, int screenWidth) {
    const auto s = [screenWidth](int v) { return v * screenWidth / kDesktopWidth; };
    return {s(left), s(top), s(width), s(height)};
}

} // namespace

std::optional<FieldRole> fieldRole(ControlId field) {
    if (field == ControlId::Win7Slideshow) {
        return FieldRole::Slideshow;
    }
    for (const AssetPickerDef& picker : assetPickers()) {
        if (picker.field != field) {
            continue;
        }
        switch (picker.slot.kind) {
        case SlotKind::Icon:
            return FieldRole::Icon;
        case SlotKind::Cursor:
            return FieldRole::Pointer;
        case SlotKind::Sound:
            return FieldRole::Sound;
        case SlotKind::Screensaver:
            return FieldRole::Screensaver;
        case SlotKind::Wallpaper:
            return FieldRole::Wallpaper;
        case SlotKind::VisualStyle:
            return FieldRole::VisualStyle;
        }
    }
    return std::nullopt;
}

Kind kindOf(FieldRole role, std::string_view path) {
    const std::string extension = lowerExtension(path);
    switch (role) {
    case FieldRole::Icon:
        return extension == "ico" ? Kind::IconFile : Kind::IconInModule;
    case FieldRole::Pointer:
        return extension == "ani" ? Kind::AnimatedPointer : Kind::Pointer;
    case FieldRole::Sound:
        return Kind::Sound;
    case FieldRole::Screensaver:
        return Kind::Screensaver;
    case FieldRole::VisualStyle:
        return Kind::VisualStyle;
    case FieldRole::Wallpaper:
    case FieldRole::Slideshow:
        return Kind::Image;
    }
    return Kind::Image;
}

bool showsFileInfo(Kind kind) {
    return kind == Kind::Screensaver || kind == Kind::VisualStyle || kind == Kind::Sound;
}

std::optional<Request> requestFor(ControlId field, std::string_view fieldText,
                                  const ThemeProject& project) {
    const std::optional<FieldRole> role = fieldRole(field);
    if (!role) {
        return std::nullopt;
    }
    Request request;
    if (*role == FieldRole::Slideshow) {
        if (trimmed(fieldText).empty() || project.slideshowFiles.empty()) {
            return std::nullopt;
        }
        request.kind = Kind::Image;
        const std::size_t shown =
            std::min<std::size_t>(project.slideshowFiles.size(), kSlideshowShown);
        for (std::size_t i = 0; i < shown; ++i) {
            request.paths.push_back(project.slideshowFiles[i].sourcePath);
        }
        request.total = static_cast<int>(project.slideshowFiles.size());
        return request;
    }
    const std::string_view path = trimmed(fieldText);
    if (path.empty()) {
        return std::nullopt;
    }
    request.kind = kindOf(*role, path);
    request.paths.emplace_back(path);
    request.total = 1;
    return request;
}

std::string_view failureText(Failure failure) {
    switch (failure) {
    case Failure::Missing:
        return text::kPreviewMissing;
    case Failure::Empty:
        return text::kPreviewEmpty;
    case Failure::TooLarge:
        return text::kPreviewTooLarge;
    case Failure::Unreadable:
        return text::kPreviewUnreadable;
    case Failure::NotDecodable:
        return text::kPreviewNotDecodable;
    case Failure::Damaged:
        return text::kPreviewDamaged;
    case Failure::TooManyPixels:
        return text::kPreviewTooManyPixels;
    case Failure::NotAnIcon:
        return text::kPreviewNotAnIcon;
    case Failure::NotAPointer:
        return text::kPreviewNotAPointer;
    case Failure::BadAnimation:
        return text::kPreviewBadAnimation;
    }
    return text::kPreviewUnreadable;
}

std::uint64_t maxBytes(Kind kind) {
    switch (kind) {
    case Kind::Image:
        return kMaxImageBytes;
    case Kind::IconFile:
    case Kind::Pointer:
    case Kind::AnimatedPointer:
        return kMaxIconBytes;
    case Kind::IconInModule:
    case Kind::Screensaver:
    case Kind::VisualStyle:
    case Kind::Sound:
        // Only headers and resources are read from these, never the whole file.
        return ~std::uint64_t{0};
    }
    return kMaxIconBytes;
}

Size fitInside(Size image, Size box) {
    if (image.width <= 0 || image.height <= 0) {
        return {0, 0};
    }
    if (image.width <= box.width && image.height <= box.height) {
        return image;
    }
    // Compare the ratios in 64 bits: the side that limits the scale is kept exactly.
    const auto iw = static_cast<std::int64_t>(image.width);
    const auto ih = static_cast<std::int64_t>(image.height);
    Size fitted;
    if (iw * box.height >= ih * box.width) {
        fitted.width = box.width;
        fitted.height = static_cast<int>((ih * box.width + iw / 2) / iw);
    } else {
        fitted.height = box.height;
        fitted.width = static_cast<int>((iw * box.height + ih / 2) / ih);
    }
    fitted.width = std::max(1, fitted.width);
    fitted.height = std::max(1, fitted.height);
    return fitted;
}

Size coverBox(Size image, Size box) {
    if (image.width <= 0 || image.height <= 0) {
        return {0, 0};
    }
    const auto iw = static_cast<std::int64_t>(image.width);
    const auto ih = static_cast<std::int64_t>(image.height);
    if (iw * box.height >= ih * box.width) {
        // Wider than the box: the height fills it.
        return {std::max<int>(box.width, static_cast<int>((iw * box.height + ih - 1) / ih)),
                box.height};
    }
    return {box.width, std::max<int>(box.height, static_cast<int>((ih * box.width + iw - 1) / iw))};
}

std::vector<Placed> thumbnailRow(std::span<const Size> images, Size cell, int padding, int gap) {
    std::vector<Placed> row;
    int left = padding;
    for (const Size image : images) {
        const Size fitted = fitInside(image, cell);
        row.push_back({left + (cell.width - fitted.width) / 2,
                       padding + (cell.height - fitted.height) / 2, fitted.width, fitted.height});
        left += cell.width + gap;
    }
    return row;
}

std::string slideshowCountText(int total) {
    return std::string(text::kSlideshowCountBefore) + std::to_string(total) +
           std::string(text::kSlideshowCountAfter);
}

std::string sizeText(std::uint64_t bytes) {
    if (bytes < 1024) {
        return std::to_string(bytes) + std::string(text::kBytes);
    }
    const char* units[] = {"KB", "MB", "GB", "TB"};
    double value = static_cast<double>(bytes) / 1024.0;
    int unit = 0;
    while (value >= 1024.0 && unit < 3) {
        value /= 1024.0;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %s", value, units[unit]);
    return text;
}

std::string durationText(std::uint64_t milliseconds) {
    const std::uint64_t hundredths = milliseconds / 10;
    const std::uint64_t seconds = hundredths / 100;
    char text[48];
    if (seconds >= 3600) {
        std::snprintf(text, sizeof text, "%llu:%02llu:%02llu",
                      static_cast<unsigned long long>(seconds / 3600),
                      static_cast<unsigned long long>(seconds / 60 % 60),
                      static_cast<unsigned long long>(seconds % 60));
    } else {
        std::snprintf(text, sizeof text, "%llu:%02llu.%02llu",
                      static_cast<unsigned long long>(seconds / 60),
                      static_cast<unsigned long long>(seconds % 60),
                      static_cast<unsigned long long>(hundredths % 100));
    }
    return text;
}

std::optional<Rgb> parseRgbHex(std::string_view text) {
    return rgbFromHexText(trimmed(text));
}

DesktopScene desktopScene(const Controls& controls, const ThemeProject& project, bool xp) {
    DesktopScene scene;
    scene.xp = xp;
    const PageSetControls& set = pageSetControls(xp ? PageSet::Xp : PageSet::Win7);
    const auto textOf = [&controls](ControlId field) {
        return std::string(trimmed(controls.text(field)));
    };
    if (!xp && !project.slideshowFiles.empty() && !textOf(ControlId::Win7Slideshow).empty()) {
        for (const AssetRef& image : project.slideshowFiles) {
            scene.wallpapers.push_back(image.sourcePath);
        }
    } else if (std::string wallpaper = textOf(set.wallpaper); !wallpaper.empty()) {
        scene.wallpapers.push_back(std::move(wallpaper));
    }
    for (std::size_t i = 0; i < scene.icons.size(); ++i) {
        scene.icons[i] = textOf(set.iconFields[i]);
    }
    constexpr int kArrowRole = 9;
    static_assert(kPointerRoles[kArrowRole] == "Arrow");
    scene.arrowPointer = textOf(pointerField(set.set, kArrowRole));
    scene.windowColor = parseRgbHex(controls.text(ControlId::Win7WindowColor))
                            .value_or(*parseRgbHex(kInitialWindowColor));
    const std::string alphaText = textOf(ControlId::Win7Alpha);
    const std::int64_t alpha = alphaText.empty() ? kInitialAlpha : leadingInteger(alphaText);
    scene.windowAlpha = static_cast<int>(std::clamp<std::int64_t>(alpha, 0, 255));
    return scene;
}

std::array<std::string_view, ThemeProject::kIconCount> desktopLabels(bool xp) {
    if (xp) {
        return {text::kXpDocuments, text::kXpComputer, text::kXpNetwork, text::kRecycleBin,
                text::kRecycleBinFull};
    }
    return {text::kDocuments, text::kComputer, text::kNetwork, text::kRecycleBin,
            text::kRecycleBinFull};
}

Rgb defaultBackground(bool xp) {
    // The plain desktop colours the two systems use without a wallpaper.
    return xp ? Rgb{0, 78, 152} : Rgb{30, 80, 140};
}

DesktopLayout desktopLayout(int screenWidth, bool xp) {
    DesktopLayout layout;
    const int height = screenWidth * 10 / 16;
    layout.screen = {0, 0, screenWidth, height};
    // The icon column: cells 72 high at 640 pixels, from the top-left corner down.
    layout.iconSize = std::max(16, screenWidth * 32 / kDesktopWidth);
    for (int i = 0; i < ThemeProject::kIconCount; ++i) {
        const Placed cell = scaledRect(6, 8 + 74 * i, 76, 70, screenWidth);
        const auto at = static_cast<std::size_t>(i);
        layout.icons[at] = {cell.left + (cell.width - layout.iconSize) / 2, cell.top,
                            layout.iconSize, layout.iconSize};
        const int labelTop = cell.top + layout.iconSize + std::max(1, screenWidth / 320);
        layout.labels[at] = {cell.left, labelTop, cell.width, cell.top + cell.height - labelTop};
    }
    layout.window = scaledRect(180, 70, 330, 220, screenWidth);
    layout.frame = std::max(2, screenWidth * (xp ? 4 : 8) / kDesktopWidth);
    const int captionHeight = std::max(12, screenWidth * 22 / kDesktopWidth);
    layout.caption = {layout.window.left + layout.frame, layout.window.top + layout.frame,
                      layout.window.width - 2 * layout.frame, captionHeight};
    layout.client = {layout.caption.left, layout.caption.top + captionHeight, layout.caption.width,
                     layout.window.height - 2 * layout.frame - captionHeight};
    layout.pointerX = screenWidth * 560 / kDesktopWidth;
    layout.pointerY = height * 330 / 400;
    return layout;
}

Rgb blend(Rgb over, Rgb under, int alpha) {
    alpha = std::clamp(alpha, 0, 255);
    const auto mix = [alpha](std::uint8_t a, std::uint8_t b) {
        return static_cast<std::uint8_t>((a * alpha + b * (255 - alpha) + 127) / 255);
    };
    return {mix(over.red, under.red), mix(over.green, under.green), mix(over.blue, under.blue)};
}

} // namespace quorvel::preview
