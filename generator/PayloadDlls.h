// How the three support DLLs of a Windows 7 pack are put together. payload::aeroMsstylesMui(),
// shellStyleDll() and shellStyleDllMui() (Payload.h) hand out one copy of each, built on first
// use; the functions here build a fresh copy on every call, and name the content that tests and
// tools check against.
//
// Each file is a resource-only x64 DLL of an exact size (PeImage.h). The content is ours:
//   aero.msstyles.mui   the Simplified Chinese texts of the pack's visual style:
//                       MUI configuration, string table, version
//   shellstyle.dll      the language-neutral shell pane style: MUI configuration, the pane
//                       description (UIFILE), pictures (BITMAP), version, page and style
//                       sheet (HTML)
//   shellstyle.dll.mui  its Simplified Chinese part: MUI configuration, string table, a banner
//                       picture (RCDATA), version, a page (HTML)
//
// How the exact sizes are reached: a DLL is 0x200 bytes of headers and one ".rsrc" section that
// runs to the end of the file. In the two shellstyle files one picture (the pane background in
// shellstyle.dll, the banner in shellstyle.dll.mui) is as tall as the room left in the section
// allows; the few bytes that remain, less than one pixel row, are zeros at the end of the
// section. aero.msstyles.mui has no picture; its section ends in zeros.
#pragma once

#include "generator/ResourceFormats.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace quorvel::payload {

inline constexpr std::size_t kAeroMsstylesMuiSize = 3584;
inline constexpr std::size_t kShellStyleDllSize = 350720;
inline constexpr std::size_t kShellStyleDllMuiSize = 123392;

// The file version that all three carry.
inline constexpr pe::FileVersion kSupportFileVersion{6, 1, 7600, 16385};

std::vector<std::uint8_t> buildAeroMsstylesMui();
std::vector<std::uint8_t> buildShellStyleDll();
std::vector<std::uint8_t> buildShellStyleDllMui();

using StringTable = std::vector<std::pair<std::uint16_t, std::string>>;

// The texts of the two language files, by string id, in UTF-8.
const StringTable& aeroMsstylesStrings();
const StringTable& shellStyleStrings();

// Resource numbers inside shellstyle.dll and shellstyle.dll.mui.
inline constexpr std::uint16_t kPaneBackgroundBitmap = 101;
inline constexpr std::uint16_t kBannerPicture = 1; // RCDATA
inline constexpr int kPaneBackgroundWidth = 256;
inline constexpr int kBannerWidth = 240;

} // namespace quorvel::payload
