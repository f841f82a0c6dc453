// A plain main window with the wizard's caption and frame; the pages come in later.
#include "wizard/win32/ThemeWizardWindow.h"

#include "platform/win32/WideText.h"

namespace quorvel {

namespace {

constexpr wchar_t kClassName[] = L"QuorvelThemeWizard";
constexpr char kCaption[] = "Quorvel（Quorvel Ver2.0）";
// Outer size at 96 dots per inch; scaled to the system's setting.
constexpr int kWidth = 500;
constexpr int kHeight = 367;
// A fixed frame that can be minimised but not maximised or resized.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void reportNoWindow() {
    ::MessageBoxW(nullptr, toWide("无法创建程序窗口。").c_str(), toWide("错误...").c_str(),
                  MB_OK | MB_ICONERROR);
}

int systemDpi() {
    struct ScreenDc {
        HDC dc = ::GetDC(nullptr);
        ScreenDc() = default;
        ScreenDc(const ScreenDc&) = delete;
        ScreenDc& operator=(const ScreenDc&) = delete;
        ~ScreenDc() {
            if (dc) {
                ::ReleaseDC(nullptr, dc);
            }
        }
    } screen;
    const int dpi = screen.dc ? ::GetDeviceCaps(screen.dc, LOGPIXELSX) : 96;
    return dpi > 0 ? dpi : 96;
}

} // namespace

int runThemeWizard(HINSTANCE instance, int showCommand) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    windowClass.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(1)); // app/quorvel.rc
    if (!::RegisterClassExW(&windowClass)) {
        reportNoWindow();
        return 1;
    }

    const int dpi = systemDpi();
    const int width = ::MulDiv(kWidth, dpi, 96);
    const int height = ::MulDiv(kHeight, dpi, 96);
    RECT workArea{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    const int x = workArea.left + (workArea.right - workArea.left - width) / 2;
    const int y = workArea.top + (workArea.bottom - workArea.top - height) / 2;

    const HWND window = ::CreateWindowExW(0, kClassName, toWide(kCaption).c_str(), kStyle, x, y,
                                          width, height, nullptr, nullptr, instance, nullptr);
    if (!window) {
        reportNoWindow();
        return 1;
    }
    ::ShowWindow(window, showCommand);
    ::UpdateWindow(window);

    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return 0;
}

} // namespace quorvel
