// The data formats of the resources inside the support DLLs: string tables, version information,
// MUI configuration data and device-independent bitmaps, each built byte by byte.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvel::pe {

// Texts are UTF-8 and written as the UTF-16 of platform/Utf8.h.

// Appends text as UTF-16LE, with or without a terminating zero.
void appendUtf16(std::vector<std::uint8_t>& out, std::u16string_view text, bool terminate);

// One RT_STRING resource per block of sixteen string ids: the block with name n holds the ids
// 16 * (n - 1) to 16 * (n - 1) + 15, each as a length and its UTF-16 units. The strings are
// UTF-8 with distinct ids; the result pairs each block name with its data.
std::vector<std::pair<std::uint16_t, std::vector<std::uint8_t>>>
stringTableBlocks(const std::vector<std::pair<std::uint16_t, std::string>>& strings);

// A four-part version number, as in 6.1.7600.16385.
struct FileVersion {
    std::uint16_t major;
    std::uint16_t minor;
    std::uint16_t build;
    std::uint16_t revision;
};

struct VersionInfo {
    FileVersion fileVersion;
    FileVersion productVersion;
    std::uint16_t language; // of the string table and the translation entry
    // Key and UTF-8 value of each entry of the string table, in this order.
    std::vector<std::pair<std::string, std::string>> strings;
};

// A VS_VERSIONINFO block for a DLL: the fixed file information, one string table in the
// language's Unicode code page (1200), and the matching translation entry.
std::vector<std::uint8_t> versionResource(const VersionInfo& info);

// The resource configuration that ties a language-neutral file to its language files (resource
// type "MUI", name 1).
struct MuiConfig {
    enum class Kind { LanguageNeutral, Language };
    Kind kind;
    std::array<std::uint8_t, 16> serviceChecksum;
    std::array<std::uint8_t, 16> checksum;
    // In a language-neutral file, the "main" types are the ones it holds and the "MUI" types the
    // ones its language files hold. A language file lists the types it holds as "main" types.
    std::vector<std::string> mainTypeNames;
    std::vector<std::uint16_t> mainTypeIds;
    std::vector<std::string> muiTypeNames;
    std::vector<std::uint16_t> muiTypeIds;
    std::string language;         // of a language file, e.g. "zh-CN"
    std::string fallbackLanguage; // of a language-neutral file: where its last resort lies
};

inline constexpr std::uint32_t kMuiSignature = 0xFECDFECD;
inline constexpr std::size_t kMuiHeaderSize = 0x84;

std::vector<std::uint8_t> muiResource(const MuiConfig& config);

// A picture as 0xAARRGGBB pixels, row by row from the top.
using PixelFunction = std::function<std::uint32_t(int x, int y)>;

// A packed device-independent bitmap (BITMAPINFOHEADER and bottom-up pixel rows, as an RT_BITMAP
// resource holds it) of 24 or 32 bits per pixel. 32-bit pixels keep their alpha byte.
std::vector<std::uint8_t> packedDib(int width, int height, int bitsPerPixel,
                                    const PixelFunction& pixel);

// The bytes of one pixel row of a packed DIB of that width and depth.
std::size_t dibRowBytes(int width, int bitsPerPixel);

// The same picture as a ".bmp" file: a BITMAPFILEHEADER in front of the packed DIB.
std::vector<std::uint8_t> bmpFile(int width, int height, int bitsPerPixel,
                                  const PixelFunction& pixel);

} // namespace quorvel::pe
