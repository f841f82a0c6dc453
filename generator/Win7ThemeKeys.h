// The keys of a Windows 7 theme file, shared by the theme written beside its pack folder and the
// theme inside a theme pack. The two differ only in where the chosen files go and how the theme
// names them, in the visual style and in the screensaver; a Win7ThemeTarget answers those, and
// writeWin7ThemeKeys writes every key in the one order both files have.
#pragma once

#include "model/ThemeRequest.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace quorvel {

class Win7ThemeTarget {
public:
    virtual ~Win7ThemeTarget() = default;

    virtual void writeKey(std::string_view section, std::string_view key,
                          std::string_view value) = 0;
    // Puts a chosen file into a subfolder of the pack (one of subfolder::) and answers the value
    // that names it in the theme.
    virtual std::string placeAsset(const AssetRef& asset, std::string_view subfolder) = 0;
    // The value that names a file of a subfolder without putting it there.
    virtual std::string pathOf(std::string_view subfolder, std::string_view fileName) = 0;
    // The value that names a subfolder itself (the slideshow's ImagesRootPath).
    virtual std::string folderValue(std::string_view subfolder) = 0;
    // Puts one of the program's own files into a subfolder and answers the value that names it.
    virtual std::string placePayload(std::string_view subfolder, std::string_view fileName,
                                     std::span<const std::uint8_t> bytes) = 0;
    // The [VisualStyles] Path value for the chosen style (whose source may be empty).
    virtual std::string visualStyleValue(const AssetRef& style) = 0;
    // True when AutoColorization=0 follows ColorizationColor (Windows 8 and later).
    virtual bool writesAutoColorization() const { return false; }
    // The SCRNSAVE.EXE value when one of the screensaver boxes is ticked.
    virtual std::string screensaverValue(const ThemeRequest& request) = 0;
};

void writeWin7ThemeKeys(const ThemeRequest& request, Win7ThemeTarget& target);

} // namespace quorvel
