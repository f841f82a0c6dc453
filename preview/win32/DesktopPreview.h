// The desktop preview: a window that draws the desktop as the theme would make it, from what the
// wizard holds when it is opened (wallpaper or slideshow, the five desktop icons with their
// labels, a sample window in the chosen colour and transparency, the Arrow pointer). It changes
// nothing in the wizard; Escape or its close button closes it.
#pragma once

#include "preview/Preview.h"

#include <windows.h>

namespace quorvel {

// The window class of the preview (tests look it up by it).
inline constexpr wchar_t kDesktopPreviewClass[] = L"QuorvelDesktopPreview";
// The system menu commands of the previews use 0x7100 .. 0x71F0 (system menu commands keep
// their low four bits clear).
inline constexpr UINT kDesktopPreviewCommand = 0x7100;

// Adds "预览桌面..." with its shortcut, Ctrl+Shift+P, to the window's system menu.
void addDesktopPreviewCommand(HWND window);
bool isDesktopPreviewCommand(WPARAM command);
// Ctrl+Shift+P pressed in the window.
bool isDesktopPreviewShortcut(const MSG& message);

// Shows the preview of a scene over its owner, which is disabled while it is open, and returns
// once it is closed.
void showDesktopPreview(HINSTANCE instance, HWND owner, const preview::DesktopScene& scene);

} // namespace quorvel
