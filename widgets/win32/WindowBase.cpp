#include "widgets/win32/WindowBase.h"

namespace quorvel {

bool registerWindowClass(HINSTANCE instance, const WindowClass& type) {
    WNDCLASSEXW description{};
    description.cbSize = sizeof(description);
    description.style = type.style;
    description.lpfnWndProc = type.procedure;
    description.cbWndExtra = type.extraBytes;
    description.hInstance = instance;
    description.hIcon = type.icon;
    description.hCursor = type.cursor;
    description.hbrBackground = type.background;
    description.lpszClassName = type.name;
    description.hIconSm = type.smallIcon;
    return ::RegisterClassExW(&description) || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

} // namespace quorvel
