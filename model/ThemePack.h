// Opening a theme pack (.themepack, .deskthemepack): a cabinet holding one .theme file and the
// files it names. A pack comes from elsewhere and is read as hostile: before anything is written,
// every member's name must be a plain relative path that stays inside the extraction folder, and
// the members' count and bytes must stay within the limits below and the free space of the disk.
// Only then are the members written, into a temporary folder that takes the pack's name when all
// of them are in; an earlier extraction of that name is replaced only then.
#pragma once

#include "model/ThemeFileReader.h"
#include "platform/Platform.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// The most members a pack may hold.
inline constexpr std::size_t kMaxPackMembers = 10'000;
// The most bytes its members may hold together (2 GiB, what a cabinet holds at most).
inline constexpr std::uint64_t kMaxPackBytes = std::uint64_t{2} << 30;
// The longest member name, in bytes of UTF-8 (the cabinet format allows 256).
inline constexpr std::size_t kMaxMemberNameBytes = 256;

// True for a path ending in .themepack or .deskthemepack (letter case aside).
bool isThemePackPath(std::string_view path);

// A member's name checked: the relative path it is written to (parts separated by "\"), or what
// is wrong with it (a text of model/Texts.h) and the path empty.
struct MemberNameCheck {
    std::string path;
    std::string_view problem;
};
// Refused are an empty name, a leading "\" or "/" (a root, "\\?\" and UNC names included), a
// ":" anywhere (drives and alternate streams), empty, "." and ".." parts, characters Windows
// forbids in names, parts ending in a dot or a blank (Windows drops those, so "..." and ".. "
// would mean ".."), device names (CON, NUL, COM1, ... with or without an extension) and names
// over kMaxMemberNameBytes. "/" separates parts as "\" does.
MemberNameCheck checkMemberName(std::string_view name);

// The members of a pack checked as a whole before anything is written: each name, no two
// members of the same path (letter case aside) and no member inside another one, the count, the
// bytes against kMaxPackBytes and the free space (when known), and exactly one .theme file at
// the top. `paths` receives the checked paths in the members' order. Empty when all is well,
// else the message for the user.
struct ExtractionPlan {
    std::vector<std::string> paths;
    std::size_t themeIndex = 0;
    std::uint64_t bytes = 0;
    std::string error;
};
ExtractionPlan planPack(std::span<const CabinetMember> members,
                        std::optional<std::uint64_t> freeBytes);

// The folder name a pack's extraction takes from the pack's file name: its base name, with
// characters that no folder name may hold replaced by "_", no trailing dots or blanks, a device
// name prefixed by "_", at most 64 bytes; "主题包" when nothing is left.
std::string packFolderName(std::string_view packPath);

// The folder that holds the extractions: <local application data>\Quorvel\Packs; empty when the
// system names no such folder.
std::string packsFolder(Platform& platform);

struct PackExtraction {
    std::string folder;               // where the members are
    std::string themeFile;            // the full path of the pack's .theme file
    std::vector<std::string> members; // their paths relative to `folder`
    std::string error;                // what went wrong, for the user; the rest is empty then
};
// Extracts a pack into <packs>\<packFolderName>. Should anything fail, nothing is left of this
// extraction and an earlier one of the same name is as it was. An earlier one that cannot be
// moved aside (a file in it is in use) stays, and the new one takes the first free name
// "<name> (2)", "<name> (3)", ...
PackExtraction extractThemePack(const std::string& pack, const std::string& packs,
                                Platform& platform);

// The paths a pack's theme names, as files of the extraction: a relative path lies inside its
// folder; a path that `exists` does not find there (or, absolute, where it points) but that ends
// in the path of a member is that member's file: the folder Windows installs packs into
// ("...\Themes\<name>\DesktopBackground\a.jpg"), or an image named with its folder below an
// ImagesRootPath of that folder ("DesktopBackground\DesktopBackground\a.jpg").
void resolvePackPaths(ThemeImport& theme, const PackExtraction& pack,
                      const std::function<bool(const std::string&)>& exists);

// Removes a folder and all it holds; links inside it are removed, not followed. False when
// anything is left.
bool removeFolderTree(const std::string& folder, Platform& platform);

} // namespace quorvel
