// The main window's shell: the window classes, the window's creation, its procedure and what it
// dispatches: the controls' notifications turned into events for the page flow's handlers (a
// failing handler is reported, never thrown into the system), the page surfaces, the tick boxes'
// release, the palette and the previews, dropped files, closing, and the change of page. The
// controls themselves are made and laid out in WizardControls.cpp, the keyboard is handled in
// WizardKeyboard.cpp and the system menu's project commands are in WizardProjectCommands.cpp.
#include "window/win32/ThemeWizardWindow.h"

#include "model/Texts.h"
#include "pages/Drop.h"
#include "pages/WindowStyle.h"
#include "platform/win32/SystemLibraries.h"
#include "platform/win32/WideText.h"
#include "preview/Preview.h"
#include "preview/win32/DesktopPreview.h"
#include "preview/win32/FieldPreviews.h"
#include "widgets/win32/ColorPalettePopup.h"
#include "widgets/win32/GraphicButton.h"

#include <commctrl.h>
#include <shellapi.h>

#include <optional>
#include <stdexcept>
#include <utility>

namespace quorvel {

namespace {

// Sent by a tick box to the main window when the left button is released over it.
constexpr UINT kTickReleased = WM_APP + 1;
// The variant of the control look that every standard control of the window takes.
constexpr int kLookVariant = 3;

} // namespace

ThemeWizardWindow::ThemeWizardWindow(HINSTANCE instance, AppState& app, Platform& platform)
    : instance_(instance), app_(app),
      platform_(platform), wizard_{*this, app_, platform_, dialogs_, fileDialog_},
      colors_(*lookColors(kLookVariant)), look_(kLookVariant) {}

ThemeWizardWindow::~ThemeWizardWindow() {
    if (window_) {
        release(window_);
        ::DestroyWindow(window_);
    }
}

void ThemeWizardWindow::reportFailure(HWND owner, const char* what) {
    const std::wstring message = toWide(text::kInternalError) + toWide(what);
    ::MessageBoxW(owner, message.c_str(), toWide(text::kErrorTitle).c_str(), MB_OK | MB_ICONERROR);
}

bool ThemeWizardWindow::registerClasses(HINSTANCE instance) {
    WindowClass main;
    main.name = kWizardWindowClass;
    main.procedure = procedure;
    main.cursor = ::LoadCursorW(nullptr, IDC_ARROW);
    main.icon = ::LoadIconW(instance, MAKEINTRESOURCEW(1));
    if (!main.icon) {
        main.icon = ::LoadIconW(nullptr, IDI_APPLICATION);
    } else {
        // The caption's small icon is the icon's own small image, as the system would pick it;
        // given here, the system need not look the large one's resource up again to copy it.
        main.smallIcon = static_cast<HICON>(
            ::LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                         ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    }
    main.background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);

    WindowClass page;
    page.name = kPageClass;
    page.procedure = PageSurfaces::procedure;
    page.cursor = ::LoadCursorW(nullptr, IDC_ARROW);
    // One device context for all pages: each window's first one costs the system a look at the
    // display, and the pages only copy finished pictures into theirs.
    page.style = CS_CLASSDC;

    const bool mainOk = registerWindowClass(instance, main);
    const bool pageOk = registerWindowClass(instance, page);
    return mainOk && pageOk && registerGraphicButtonClass(instance);
}

bool ThemeWizardWindow::create(int showCommand) {
    if (!registerClasses(instance_)) {
        return false;
    }
    dpi_ = systemDpi();
    fonts_ = makeWizardFonts(dpi_);

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;
    const SIZE size = frameSize(style, exStyle);
    const int width = size.cx;
    const int height = size.cy;
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int left = work.left + (work.right - work.left - width) / 2;
    const int top = work.top + (work.bottom - work.top - height) / 2;

    window_ = ::CreateWindowExW(exStyle, kWizardWindowClass, toWide(text::kWizardCaption).c_str(),
                                style, left, top, width, height, nullptr, nullptr, instance_, this);
    if (!window_) {
        return false;
    }
    dialogs_.setOwner(window_);
    dialogs_.setTooManyFilesNotice([this] {
        platform_.messageBox(std::string(text::kTooManyFiles), MessageIcon::Error,
                             std::string(text::kErrorTitle));
    });
    // Should the window stand on a monitor of another DPI than the system's, it is laid out for
    // that monitor before it is shown.
    followDpi(window_, dpi_);
    goToPage(Page::Main);
    // The activation on showing gives the focus to page 0's first button (see WM_ACTIVATE), so
    // that the buttons are painted once, the focused one as such. Should the window not have
    // been activated on showing, giving the focus activates it.
    ::ShowWindow(window_, showCommand);
    ::UpdateWindow(window_);
    ::SetForegroundWindow(window_);
    if (!::IsChild(window_, ::GetFocus())) {
        focusControl(firstFocusOfPage());
    }
    return true;
}

LRESULT ThemeWizardWindow::onMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return createControls(true) ? 0 : -1;
    case WM_COMMAND: {
        const auto control = reinterpret_cast<HWND>(lParam);
        const ControlDef* def = defOf(control);
        if (!def) {
            return 0;
        }
        const WORD code = HIWORD(wParam);
        if (isButton(def) && code == BN_CLICKED) {
            fire(control, ControlEvent::Click);
        } else if (def->kind == ControlKind::ComboBox && code == CBN_SELCHANGE) {
            fire(control, ControlEvent::ItemPicked);
        } else if (def->kind == ControlKind::EditField && code == EN_CHANGE) {
            // Typed text, and text a handler put there, goes into the window's document.
            guarded([&] { takeEdit(wizard_, def->id); },
                    [this](const char* what) { reportFailure(window_, what); });
        }
        return 0;
    }
    case WM_SYSCOMMAND:
        if (isDesktopPreviewCommand(wParam)) {
            openDesktopPreview();
            return 0;
        }
        if (runProjectCommand(static_cast<UINT>(wParam & 0xFFF0))) {
            return 0;
        }
        break;
    case kTickReleased:
        fire(reinterpret_cast<HWND>(lParam), ControlEvent::TickReleased);
        return 0;
    case WM_HSCROLL: {
        const auto control = reinterpret_cast<HWND>(lParam);
        const auto it = sliderPositions_.find(control);
        if (it != sliderPositions_.end()) {
            const auto position = static_cast<int>(::SendMessageW(control, TBM_GETPOS, 0, 0));
            if (position != it->second) {
                it->second = position;
                fire(control, ControlEvent::SliderMoved);
            }
        }
        return 0;
    }
    case WM_MEASUREITEM: {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (item->CtlType == ODT_COMBOBOX) {
            // The selection field plus the combo box's frame make the 20 pixels of a row.
            item->itemHeight =
                static_cast<UINT>(px(item->itemID == static_cast<UINT>(-1) ? 14 : 18));
            return TRUE;
        }
        break;
    }
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlType == ODT_BUTTON) {
            drawGraphicButton(*item);
            return TRUE;
        }
        if (item->CtlType == ODT_COMBOBOX) {
            drawListItem(*item);
            return TRUE;
        }
        break;
    }
    case WM_ACTIVATE:
        if (followActivation(wParam)) {
            return 0;
        }
        break;
    case WM_CLOSE:
        if (!mayClose()) {
            return 0;
        }
        break;
    case WM_DROPFILES:
        takeDrop(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return ::DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT ThemeWizardWindow::onFailure(HWND window, UINT, WPARAM, LPARAM, const char* what) {
    reportFailure(window, what);
    return 0;
}

// The page container and the page pictures hand their controls' notifications to the main
// window, whose procedure answers them (and catches what their handlers throw).
LRESULT ThemeWizardWindow::PageSurfaces::onMessage(HWND window, UINT message, WPARAM wParam,
                                                   LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_HSCROLL:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
        if (owner_.window_) {
            return ::SendMessageW(owner_.window_, message, wParam, lParam);
        }
        break;
    case WM_NCPAINT:
        if (!gdi::hasNonClientArea(window)) {
            return 0;
        }
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        owner_.paintPage(window);
        return 0;
    default:
        break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT ThemeWizardWindow::PageSurfaces::onFailure(HWND, UINT, WPARAM, LPARAM, const char* what) {
    reportFailure(owner_.window_, what);
    return 0;
}

LRESULT ThemeWizardWindow::tickBoxMessage(HWND tickBox, UINT message, WPARAM wParam,
                                          LPARAM lParam) {
    if (message == WM_LBUTTONUP && window_) {
        RECT client{};
        ::GetClientRect(tickBox, &client);
        const POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        const LRESULT result = WindowSubclass::callNext(tickBox, message, wParam, lParam);
        if (::PtInRect(&client, at)) {
            ::SendMessageW(window_, kTickReleased, 0, reinterpret_cast<LPARAM>(tickBox));
        }
        return result;
    }
    return WindowSubclass::callNext(tickBox, message, wParam, lParam);
}

void ThemeWizardWindow::fire(HWND control, ControlEvent event) {
    const ControlDef* def = defOf(control);
    if (!def) {
        return;
    }
    guarded(
        [&] {
            if (def->id == ControlId::Win7PickColor && event == ControlEvent::Click) {
                pickWindowColor();
                return;
            }
            dispatch(wizard_, def->id, event);
        },
        [this](const char* what) { reportFailure(window_, what); });
}

void ThemeWizardWindow::takeDrop(HDROP drop) {
    POINT at{};
    std::vector<DroppedItem> items;
    {
        const struct Finish {
            HDROP drop;
            ~Finish() { system::DragFinish(drop); }
        } finish{drop};
        system::DragQueryPoint(drop, &at);
        const UINT count = system::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            std::wstring path(system::DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
            path.resize(
                system::DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
            const DWORD attributes = ::GetFileAttributesW(path.c_str());
            items.push_back({toUtf8(path), attributes != INVALID_FILE_ATTRIBUTES &&
                                               (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
        }
    }
    // The deepest visible window under the point, then the control of the table it belongs to.
    HWND under = window_;
    for (;;) {
        const HWND child = ::ChildWindowFromPointEx(under, at, CWP_SKIPINVISIBLE);
        if (!child || child == under) {
            break;
        }
        ::MapWindowPoints(under, child, &at, 1);
        under = child;
    }
    std::optional<ControlId> target;
    if (const ControlDef* def = defOf(tableControlOf(under));
        def && def->kind != ControlKind::PagePicture && def->kind != ControlKind::PageContainer) {
        target = def->id;
    }
    try {
        dropFiles(wizard_, target, items, [this](const std::string& path) { openDocument(path); });
    } catch (const std::exception& e) {
        reportFailure(window_, e.what());
    }
}

void ThemeWizardWindow::pickWindowColor() {
    // The palette opens with its top-left corner at the pointer; a pick goes into the colour
    // field, a close without a pick leaves the field as it was.
    POINT pointer{};
    ::GetCursorPos(&pointer);
    applyPickedWindowColor(*this, openColorPalette(app_.palette, window_, pointer.x, pointer.y));
    takeEdit(wizard_, ControlId::Win7WindowColor);
}

void ThemeWizardWindow::watchForPreview(HWND control, const ControlDef& def) {
    if (def.kind != ControlKind::EditField || !preview::fieldRole(def.id)) {
        return;
    }
    if (!previews_) {
        previews_ = std::make_unique<FieldPreviews>(instance_, app_.project);
    }
    previews_->watch(control, def.id);
}

void ThemeWizardWindow::openDesktopPreview() {
    if (previews_) {
        previews_->hide();
    }
    const bool xp = page_ >= Page::Xp1;
    showDesktopPreview(instance_, window_, preview::desktopScene(*this, app_.project, xp));
}

void ThemeWizardWindow::goToPage(Page page) {
    const int index = pageIndex(page);
    if (index < 0 || index >= kPageCount) {
        throw std::out_of_range("no page " + std::to_string(index));
    }
    if (!pages_.at(static_cast<std::size_t>(index))) {
        completeControls();
    }
    const HWND focus = ::GetFocus();
    const HWND leaving = pages_.at(static_cast<std::size_t>(pageIndex(page_)));
    const bool focusLeaves = focus && (focus == leaving || ::IsChild(leaving, focus));
    page_ = page;
    if (previews_) {
        previews_->hide();
    }
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        if (static_cast<int>(i) != index && pages_[i]) {
            ::ShowWindow(pages_[i], SW_HIDE);
        }
    }
    ::ShowWindow(pages_.at(static_cast<std::size_t>(index)), SW_SHOW);
    if (focusLeaves) {
        // The focus follows to the first control of the page shown.
        if (const HWND first = firstFocusOfPage()) {
            focusControl(first);
        } else {
            ::SetFocus(window_);
        }
    }
}

} // namespace quorvel
