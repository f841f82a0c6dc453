#include "wizard/win32/ThemeWizardWindow.h"

#include "model/Texts.h"
#include "platform/win32/SystemLibraries.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Platform.h"
#include "wizard/Dpi.h"
#include "wizard/Drop.h"
#include "wizard/InstallFlow.h"
#include "wizard/PackExportFlow.h"
#include "wizard/Preview.h"
#include "wizard/WindowStyle.h"
#include "wizard/win32/ColorPalettePopup.h"
#include "wizard/win32/DesktopPreview.h"
#include "wizard/win32/FieldPreviews.h"
#include "wizard/win32/GraphicButton.h"
#include "wizard/win32/Win32ControlLook.h"
#include "wizard/win32/WindowDpi.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <exception>
#include <optional>
#include <stdexcept>
#include <utility>

namespace quorvel {

namespace {

constexpr wchar_t kPageClass[] = L"QuorvelPage";
constexpr int kFirstControlId = 1000;
// Sent by a tick box to the main window when the left button is released over it.
constexpr UINT kTickReleased = WM_APP + 1;
// The variant of the control look that every standard control of the window takes.
constexpr int kLookVariant = 3;
// The closed drop-down lists are 20 high; this much more holds the opened list.
constexpr int kDropListHeight = 220;

ThemeWizardWindow* windowOf(HWND window) {
    return reinterpret_cast<ThemeWizardWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

void reportFailure(HWND owner, const char* what) {
    const std::wstring message = toWide(text::kInternalError) + toWide(what);
    ::MessageBoxW(owner, message.c_str(), toWide(text::kErrorTitle).c_str(), MB_OK | MB_ICONERROR);
}

bool isButton(const ControlDef* def) {
    return def && (def->kind == ControlKind::PushButton || def->kind == ControlKind::GraphicButton);
}

} // namespace

ThemeWizardWindow::ThemeWizardWindow(HINSTANCE instance, AppState& app, Platform& platform)
    : instance_(instance), app_(app),
      platform_(platform), wizard_{*this, app_, platform_, dialogs_, fileDialog_},
      colors_(*lookColors(kLookVariant)), look_(kLookVariant) {}

ThemeWizardWindow::~ThemeWizardWindow() {
    if (window_) {
        ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        ::DestroyWindow(window_);
    }
}

bool ThemeWizardWindow::registerClasses(HINSTANCE instance) {
    WNDCLASSEXW main{};
    main.cbSize = sizeof(main);
    main.lpfnWndProc = windowProc;
    main.hInstance = instance;
    main.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    main.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(1));
    if (!main.hIcon) {
        main.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
    } else {
        // The caption's small icon is the icon's own small image, as the system would pick it;
        // given here, the system need not look the large one's resource up again to copy it.
        main.hIconSm = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                       ::GetSystemMetrics(SM_CXSMICON),
                                                       ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    }
    main.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    main.lpszClassName = kWizardWindowClass;

    WNDCLASSEXW page{};
    page.cbSize = sizeof(page);
    page.lpfnWndProc = pageProc;
    page.hInstance = instance;
    page.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    page.lpszClassName = kPageClass;
    // One device context for all pages: each window's first one costs the system a look at the
    // display, and the pages only copy finished pictures into theirs.
    page.style = CS_CLASSDC;

    const bool mainOk = ::RegisterClassExW(&main) || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    const bool pageOk = ::RegisterClassExW(&page) || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
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
    if (const int own = dpiOfWindow(window_); own != dpi_) {
        applyDpi(own, nullptr);
    }
    goToPage(kPageMain);
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

HWND ThemeWizardWindow::createControl(const ControlDef& def, int index) {
    HWND parent = window_;
    if (def.kind == ControlKind::PagePicture) {
        parent = hwndOf(ControlId::PageContainer);
    } else if (def.page != kNoPage) {
        parent = pages_.at(static_cast<std::size_t>(def.page));
    }
    const std::wstring caption = toWide(def.caption);
    const DWORD child = WS_CHILD | WS_CLIPSIBLINGS;
    const DWORD shown = def.kind == ControlKind::PagePicture ? 0 : WS_VISIBLE;
    const auto id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + index));
    const Rect r = scaleToDpi(def.rect, dpi_);

    const wchar_t* className = WC_EDITW;
    DWORD style = child | shown;
    int height = r.height;
    switch (def.kind) {
    case ControlKind::PageContainer:
    case ControlKind::PagePicture:
        className = kPageClass;
        style |= WS_CLIPCHILDREN;
        break;
    case ControlKind::GraphicButton:
        className = kGraphicButtonClass;
        style |= WS_TABSTOP;
        break;
    case ControlKind::PushButton:
        className = WC_BUTTONW;
        style |= WS_TABSTOP | BS_PUSHBUTTON;
        break;
    case ControlKind::EditField:
        className = WC_EDITW;
        style |= WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
        break;
    case ControlKind::ComboBox:
        className = WC_COMBOBOXW;
        // Drawn by the program, so that the closed box is exactly as high as the layout says
        // whatever the font (see WM_MEASUREITEM).
        style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
        height = r.height + px(kDropListHeight);
        break;
    case ControlKind::TickBox:
        className = WC_STATICW;
        style |= WS_BORDER | SS_CENTER | SS_CENTERIMAGE | SS_NOTIFY;
        break;
    case ControlKind::Slider:
        className = TRACKBAR_CLASSW;
        style |= WS_TABSTOP | TBS_HORZ | TBS_NOTICKS;
        break;
    }
    const HWND control = ::CreateWindowExW(
        0, className, def.kind == ControlKind::ComboBox ? L"" : caption.c_str(), style, r.left,
        r.top, r.width, height, parent, id, instance_, className == kPageClass ? this : nullptr);
    if (!control) {
        return nullptr;
    }
    look_.attach(control, def.kind);
    ::SendMessageW(control, WM_SETFONT,
                   reinterpret_cast<WPARAM>(def.kind == ControlKind::TickBox ? fonts_.tick.get()
                                                                             : fonts_.text.get()),
                   FALSE);
    switch (def.kind) {
    case ControlKind::ComboBox: {
        for (std::string_view item : def.items) {
            const std::wstring wide = toWide(item);
            ::SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
        }
        ::SendMessageW(control, CB_SETCURSEL, 0, 0);
        fitComboHeight(control, r.height);
        break;
    }
    case ControlKind::Slider:
        ::SendMessageW(control, TBM_SETRANGE, TRUE, MAKELPARAM(0, def.maximum));
        ::SendMessageW(control, TBM_SETPOS, TRUE, def.position);
        sliderPositions_[control] = def.position;
        break;
    case ControlKind::TickBox:
        tickBoxes_.emplace_back(control,
                                [this](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
                                    return tickBoxMessage(window, message, wParam, lParam);
                                });
        break;
    default:
        break;
    }
    if (!def.enabled) {
        ::EnableWindow(control, FALSE);
    }
    return control;
}

void ThemeWizardWindow::fitComboHeight(HWND combo, int height) {
    // Systems differ in the frame they put around the selection field (and in how the field's
    // height is counted); step it until the closed box has the layout's height.
    int fieldHeight =
        static_cast<int>(::SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    for (int step = 0; step < 4; ++step) {
        RECT shape{};
        ::GetWindowRect(combo, &shape);
        const int excess = static_cast<int>(shape.bottom - shape.top) - height;
        if (excess == 0 || fieldHeight - excess <= 0) {
            break;
        }
        fieldHeight -= excess;
        ::SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), fieldHeight);
    }
}

int ThemeWizardWindow::px(int length) const {
    return scaleToDpi(length, dpi_);
}

SIZE ThemeWizardWindow::frameSize(DWORD style, DWORD exStyle) const {
    // The frame is 500 x 367 at 96 DPI; should the system's caption be taller than usual, it
    // grows so that a whole page picture still fits.
    RECT needed = {0, 0, px(kPageWidth), px(kPageHeight)};
    if (!system::AdjustWindowRectExForDpi(&needed, style, FALSE, exStyle,
                                          static_cast<UINT>(dpi_))) {
        ::AdjustWindowRectEx(&needed, style, FALSE, exStyle);
    }
    return {std::max<LONG>(px(kWindowWidth), needed.right - needed.left),
            std::max<LONG>(px(kWindowHeight), needed.bottom - needed.top)};
}

void ThemeWizardWindow::placeControl(HWND control, const ControlDef& def) {
    const Rect r = scaleToDpi(def.rect, dpi_);
    const int height =
        def.kind == ControlKind::ComboBox ? r.height + px(kDropListHeight) : r.height;
    ::SetWindowPos(control, nullptr, r.left, r.top, r.width, height,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    if (def.kind == ControlKind::ComboBox) {
        ::SendMessageW(control, CB_SETITEMHEIGHT, 0, px(18));
        ::SendMessageW(control, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), px(14));
        fitComboHeight(control, r.height);
    }
}

void ThemeWizardWindow::applyDpi(int dpi, const RECT* suggested) {
    if (dpi <= 0) {
        return;
    }
    dpi_ = dpi;
    // The controls get the new fonts before the old ones are deleted.
    WizardFonts fonts = makeWizardFonts(dpi_);
    for (const auto& [control, def] : byWindow_) {
        const HFONT font = def->kind == ControlKind::TickBox ? fonts.tick.get() : fonts.text.get();
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    fonts_ = std::move(fonts);
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(window_, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(window_, GWL_EXSTYLE));
    if (suggested) {
        ::SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                       suggested->right - suggested->left, suggested->bottom - suggested->top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        const SIZE size = frameSize(style, exStyle);
        ::SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    for (const auto& [control, def] : byWindow_) {
        placeControl(control, *def);
    }
    ::RedrawWindow(window_, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

bool ThemeWizardWindow::createControls(bool first) {
    const auto table = controlTable();
    if (first) {
        pages_.assign(kPageCount, nullptr);
    }
    for (std::size_t i = 0; i < table.size(); ++i) {
        const ControlDef& def = table[i];
        if ((def.page == kNoPage || def.page == kPageMain) != first) {
            continue;
        }
        const HWND control = createControl(def, static_cast<int>(i));
        if (!control) {
            return false;
        }
        byId_.at(static_cast<std::size_t>(indexOf(def.id))) = control;
        byWindow_.emplace(control, &def);
        watchForPreview(control, def);
        if (def.kind == ControlKind::PagePicture) {
            pages_.at(static_cast<std::size_t>(def.page)) = control;
        }
    }
    if (!first) {
        // The colour button lies over the end of the colour field.
        ::SetWindowPos(hwndOf(ControlId::Win7PickColor), HWND_TOP, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    return true;
}

bool ThemeWizardWindow::completeControls() {
    if (complete_ || !window_) {
        return complete_;
    }
    // Set first: the controls made below look names up themselves.
    complete_ = true;
    // The other pages' controls come from the common controls (the slider's class among them),
    // which also subclass them for the program's own look; page 0 has none of these controls,
    // so the library is loaded only now.
    INITCOMMONCONTROLSEX common{};
    common.dwSize = sizeof(common);
    common.dwICC = ICC_BAR_CLASSES | ICC_STANDARD_CLASSES;
    system::InitCommonControlsEx(&common);
    // The system menu is copied for the window when an item is added: not before it is shown.
    addProjectMenuItems();
    addDesktopPreviewCommand(window_);
    if (!createControls(false)) {
        return false;
    }
    // Files dropped from the file manager; the shell library is loaded here, not at start-up.
    system::DragAcceptFiles(window_, TRUE);
    return true;
}

LRESULT CALLBACK ThemeWizardWindow::windowProc(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* self = static_cast<ThemeWizardWindow*>(create->lpCreateParams);
        self->window_ = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    ThemeWizardWindow* self = windowOf(window);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        if (self) {
            self->window_ = nullptr;
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    if (!self) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    try {
        return self->handleMessage(message, wParam, lParam);
    } catch (const std::exception& e) {
        reportFailure(window, e.what());
    } catch (...) {
        reportFailure(window, "unknown");
    }
    return 0;
}

LRESULT ThemeWizardWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
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
        // As in a dialog: the control that had the focus when the window was left gets it back
        // when the window is activated again; the first control of the page when there is none.
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = ::GetFocus();
            if (focus && ::IsChild(window_, focus)) {
                lastFocus_ = tableControlOf(focus);
            }
        } else if (!HIWORD(wParam)) { // not while minimised
            HWND target = lastFocus_;
            if (!target || !::IsChild(window_, target) || !::IsWindowVisible(target) ||
                !::IsWindowEnabled(target)) {
                target = firstFocusOfPage();
            }
            if (target) {
                ::SetFocus(target);
                return 0;
            }
        }
        break;
    case WM_CLOSE:
        if (!mayClose()) {
            return 0;
        }
        break;
    case WM_DPICHANGED:
        applyDpi(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
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

// The page container and the page pictures: a picture paints its page; both hand the
// notifications of their controls to the main window.
LRESULT CALLBACK ThemeWizardWindow::pageProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    // The main window made the page and passed itself along; kept with the page, it spares
    // asking the system for the page's top-level window at every message.
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    ThemeWizardWindow* self = windowOf(window);
    const HWND root = self ? self->window_ : nullptr;
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_HSCROLL:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
        if (root) {
            return ::SendMessageW(root, message, wParam, lParam);
        }
        break;
    case WM_NCPAINT:
        if (!gdi::hasNonClientArea(window)) {
            return 0;
        }
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        const gdi::PaintDc paint(window);
        if (!self) {
            break;
        }
        RECT client{};
        ::GetClientRect(window, &client);
        const ControlDef* def = self->defOf(window);
        if (def && def->kind == ControlKind::PagePicture) {
            gdi::BufferedPaint buffer(self->paintStore_, paint.get(), client.right, client.bottom);
            try {
                paintPagePicture(buffer.get(), def->page, self->fonts_, self->colors_, self->dpi_);
            } catch (...) {
                gdi::fill(buffer.get(), client, self->colors_.pageBody);
            }
        } else {
            // A single fill cannot flicker: no off-screen copy needed.
            gdi::fill(paint.get(), client, self->colors_.pageBody);
        }
        return 0;
    }
    default:
        break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
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

void ThemeWizardWindow::drawGraphicButton(const DRAWITEMSTRUCT& item) {
    const ControlDef* def = defOf(item.hwndItem);
    if (!def) {
        return;
    }
    FaceState state = FaceState::Normal;
    if (item.itemState & ODS_SELECTED) {
        state = FaceState::Pressed;
    } else if (item.itemState & ODS_HOTLIGHT) {
        state = FaceState::Hot;
    }
    const RECT& rect = item.rcItem;
    gdi::BufferedPaint buffer(paintStore_, item.hDC, rect.right - rect.left,
                              rect.bottom - rect.top);
    const RECT local = {0, 0, rect.right - rect.left, rect.bottom - rect.top};
    paintButtonFace(buffer.get(), local, toWide(def->caption), state, fonts_, colors_, dpi_);
    if (item.itemState & ODS_FOCUS) {
        RECT focus = local;
        ::InflateRect(&focus, -px(3), -px(3));
        ::SetTextColor(buffer.get(), gdi::colorOf(colors_.text));
        ::DrawFocusRect(buffer.get(), &focus);
    }
}

void ThemeWizardWindow::drawListItem(const DRAWITEMSTRUCT& item) {
    std::wstring text;
    if (item.itemID != static_cast<UINT>(-1)) {
        const LRESULT length = ::SendMessageW(item.hwndItem, CB_GETLBTEXTLEN, item.itemID, 0);
        if (length > 0) {
            text.assign(static_cast<std::size_t>(length) + 1, L'\0');
            ::SendMessageW(item.hwndItem, CB_GETLBTEXT, item.itemID,
                           reinterpret_cast<LPARAM>(text.data()));
            text.resize(static_cast<std::size_t>(length));
        }
    }
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    gdi::fill(item.hDC, item.rcItem,
              selected ? colors_.accent : (disabled ? colors_.fieldDisabled : colors_.fieldFace));
    RECT textRect = item.rcItem;
    textRect.left += px(4);
    const gdi::Selection font(item.hDC, fonts_.text.get());
    ::SetBkMode(item.hDC, TRANSPARENT);
    ::SetTextColor(item.hDC,
                   gdi::colorOf(selected ? colors_.fieldFace
                                         : (disabled ? colors_.disabledText : colors_.text)));
    ::DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &textRect,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void ThemeWizardWindow::fire(HWND control, ControlEvent event) {
    const ControlDef* def = defOf(control);
    if (!def) {
        return;
    }
    try {
        if (def->id == ControlId::Win7PickColor && event == ControlEvent::Click) {
            pickWindowColor();
            return;
        }
        dispatch(wizard_, def->id, event);
    } catch (const std::exception& e) {
        reportFailure(window_, e.what());
    } catch (...) {
        reportFailure(window_, "unknown");
    }
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
    const bool xp = page_ >= kPageXp1;
    showDesktopPreview(instance_, window_, preview::desktopScene(*this, app_.project, xp));
}

bool ThemeWizardWindow::preTranslate(const MSG& message) {
    if (!window_ || (message.message != WM_KEYDOWN && message.message != WM_CHAR)) {
        return false;
    }
    if (message.hwnd != window_ && !::IsChild(window_, message.hwnd)) {
        return false;
    }
    if (isDesktopPreviewShortcut(message)) {
        openDesktopPreview();
        return true;
    }
    const HWND control = tableControlOf(message.hwnd);
    const ControlDef* def = defOf(control);
    const bool dropped = def && def->kind == ControlKind::ComboBox &&
                         ::SendMessageW(control, CB_GETDROPPEDSTATE, 0, 0);
    if (message.message == WM_KEYDOWN && ::GetKeyState(VK_CONTROL) < 0 &&
        ::GetKeyState(VK_MENU) >= 0 &&
        (message.wParam == 'S' || message.wParam == 'O' || message.wParam == 'E' ||
         message.wParam == 'I')) {
        if (dropped) {
            ::SendMessageW(control, CB_SHOWDROPDOWN, FALSE, 0);
        }
        // As through the window procedure: a failure is reported, never thrown into the loop.
        try {
            runProjectCommand(message.wParam == 'S'   ? kCommandSaveProject
                              : message.wParam == 'E' ? kCommandExportPack
                              : message.wParam == 'I' ? kCommandInstallTheme
                                                      : kCommandOpenProject);
        } catch (const std::exception& e) {
            reportFailure(window_, e.what());
        } catch (...) {
            reportFailure(window_, "unknown");
        }
        return true;
    }
    if (message.wParam == VK_TAB) {
        if (message.message == WM_KEYDOWN) {
            if (dropped) {
                ::SendMessageW(control, CB_SHOWDROPDOWN, FALSE, 0);
            }
            const bool backwards = ::GetKeyState(VK_SHIFT) < 0;
            const std::optional<ControlId> next = nextTabStop(
                page_, def ? std::optional(def->id) : std::nullopt, !backwards,
                [this](ControlId id) { return ::IsWindowEnabled(hwndOf(id)) != FALSE; });
            if (next) {
                focusControl(hwndOf(*next));
            }
        }
        return true;
    }
    if (message.wParam == VK_RETURN) {
        if (dropped) {
            return false; // Enter picks the highlighted item of an open list
        }
        if (message.message == WM_KEYDOWN && isButton(def) && ::IsWindowEnabled(control)) {
            ::SendMessageW(control, BM_CLICK, 0, 0);
        }
        return true; // nothing happens in a field
    }
    return false;
}

void ThemeWizardWindow::addProjectMenuItems() {
    const HMENU menu = ::GetSystemMenu(window_, FALSE);
    if (!menu) {
        return;
    }
    // A group of their own before the separator and "关闭" at the end of the menu.
    const int count = ::GetMenuItemCount(menu);
    UINT at = count >= 2 ? static_cast<UINT>(count - 2) : 0;
    ::InsertMenuW(menu, at++, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    for (const auto& [command, caption] :
         {std::pair{kCommandOpenProject, text::kMenuOpenProject},
          std::pair{kCommandSaveProject, text::kMenuSaveProject},
          std::pair{kCommandSaveProjectAs, text::kMenuSaveProjectAs},
          std::pair{kCommandInstallTheme, text::kMenuInstallTheme},
          std::pair{kCommandExportPack, text::kMenuExportPack}}) {
        ::InsertMenuW(menu, at++, MF_BYPOSITION | MF_STRING, command, toWide(caption).c_str());
    }
}

bool ThemeWizardWindow::runProjectCommand(UINT command) {
    switch (command) {
    case kCommandOpenProject:
        session_.openWithDialog();
        return true;
    case kCommandSaveProject:
        session_.save();
        return true;
    case kCommandSaveProjectAs:
        session_.saveAs();
        return true;
    case kCommandExportPack:
        exportPackFromWindow(wizard_);
        return true;
    case kCommandInstallTheme:
        installTheme();
        return true;
    default:
        return false;
    }
}

void ThemeWizardWindow::installTheme() {
    const PageSet set = pageSetOfPage(page_, gatePageSet(platform_));
    installFromWizard(wizard_, shell_, set, [this](const std::string& question) {
        return ::MessageBoxW(window_, toWide(question).c_str(), toWide(text::kInfoTitle).c_str(),
                             MB_YESNO | MB_ICONQUESTION) == IDYES;
    });
}

bool ThemeWizardWindow::mayClose() {
    if (!session_.modified()) {
        return true;
    }
    const std::wstring question =
        toWide(std::string(text::kSaveChangesBefore) + std::string(pathFileName(session_.path())) +
               std::string(text::kSaveChangesAfter));
    switch (::MessageBoxW(window_, question.c_str(), toWide(text::kInfoTitle).c_str(),
                          MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
        return session_.save();
    case IDNO:
        return true;
    default:
        return false;
    }
}

void ThemeWizardWindow::openDocument(const std::string& path) {
    try {
        session_.open(path);
    } catch (const std::exception& e) {
        reportFailure(window_, e.what());
    } catch (...) {
        reportFailure(window_, "unknown");
    }
}

void ThemeWizardWindow::focusControl(HWND control) {
    if (!control) {
        return;
    }
    ::SetFocus(control);
    const ControlDef* def = defOf(control);
    if (def && def->kind == ControlKind::EditField) {
        ::SendMessageW(control, EM_SETSEL, 0, -1);
    }
}

HWND ThemeWizardWindow::hwndOf(ControlId id) const {
    const std::size_t index = static_cast<std::size_t>(indexOf(id));
    if (!byId_.at(index) && !complete_ && window_) {
        // The control is one of those made after the first paint; making them now changes
        // nothing that can be seen, so a reading call may do it.
        const_cast<ThemeWizardWindow*>(this)->completeControls();
    }
    if (!byId_.at(index)) {
        throw std::out_of_range("control " + std::string(controlDef(id).name) + " is not made");
    }
    return byId_[index];
}

const ControlDef* ThemeWizardWindow::defOf(HWND control) const {
    const auto it = byWindow_.find(control);
    return it == byWindow_.end() ? nullptr : it->second;
}

HWND ThemeWizardWindow::tableControlOf(HWND window) const {
    for (HWND w = window; w && w != window_; w = ::GetParent(w)) {
        if (defOf(w)) {
            return w;
        }
    }
    return nullptr;
}

std::string ThemeWizardWindow::text(ControlId id) const {
    const HWND control = hwndOf(id);
    std::wstring buffer(static_cast<std::size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
    buffer.resize(static_cast<std::size_t>(
        ::GetWindowTextW(control, buffer.data(), static_cast<int>(buffer.size()))));
    return toUtf8(buffer);
}

void ThemeWizardWindow::setText(ControlId id, std::string_view text) {
    const HWND control = hwndOf(id);
    ::SetWindowTextW(control, toWide(text).c_str());
    ::InvalidateRect(control, nullptr, TRUE);
}

bool ThemeWizardWindow::enabled(ControlId id) const {
    return ::IsWindowEnabled(hwndOf(id)) != FALSE;
}

void ThemeWizardWindow::setEnabled(ControlId id, bool enabled) {
    const HWND control = hwndOf(id);
    ::EnableWindow(control, enabled ? TRUE : FALSE);
    ::InvalidateRect(control, nullptr, TRUE);
}

int ThemeWizardWindow::comboIndex(ControlId id) const {
    return static_cast<int>(::SendMessageW(hwndOf(id), CB_GETCURSEL, 0, 0));
}

void ThemeWizardWindow::setComboIndex(ControlId id, int index) {
    const HWND control = hwndOf(id);
    ::SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::InvalidateRect(control, nullptr, TRUE);
}

int ThemeWizardWindow::sliderPosition(ControlId id) const {
    return static_cast<int>(::SendMessageW(hwndOf(id), TBM_GETPOS, 0, 0));
}

void ThemeWizardWindow::setSliderPosition(ControlId id, int position) {
    const HWND control = hwndOf(id);
    ::SendMessageW(control, TBM_SETPOS, TRUE, position);
    sliderPositions_[control] = static_cast<int>(::SendMessageW(control, TBM_GETPOS, 0, 0));
}

void ThemeWizardWindow::goToPage(int index) {
    if (index < 0 || index >= kPageCount) {
        throw std::out_of_range("no page " + std::to_string(index));
    }
    if (!pages_.at(static_cast<std::size_t>(index))) {
        completeControls();
    }
    const HWND focus = ::GetFocus();
    const HWND leaving = pages_.at(static_cast<std::size_t>(page_));
    const bool focusLeaves = focus && (focus == leaving || ::IsChild(leaving, focus));
    page_ = index;
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

HWND ThemeWizardWindow::firstFocusOfPage() const {
    const std::optional<ControlId> first =
        nextTabStop(page_, std::nullopt, true,
                    [this](ControlId id) { return ::IsWindowEnabled(hwndOf(id)) != FALSE; });
    return first ? hwndOf(*first) : nullptr;
}

int runThemeWizard(HINSTANCE instance, int showCommand, AppState& app, const std::string& file) {
    Win32Platform platform;
    ThemeWizardWindow window(instance, app, platform);
    const auto cannotCreate = [&platform] {
        platform.messageBox(std::string(text::kNoMainWindow), MessageIcon::Error,
                            std::string(text::kErrorTitle));
    };
    if (!window.create(showCommand)) {
        cannotCreate();
        return 1;
    }
    // Every message box is owned by the main window: while one shows, the wizard takes no
    // clicks and cannot hide it.
    platform.setOwnerWindow(window.handle());
    if (!file.empty()) {
        window.openDocument(file);
    }
    MSG message{};
    for (;;) {
        // Once the first page is painted and nothing waits (painting included), the controls
        // of the other pages are made: the window appears first.
        if (!window.complete() && !::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE) &&
            !window.completeControls()) {
            cannotCreate();
            return 1;
        }
        if (::GetMessageW(&message, nullptr, 0, 0) <= 0) {
            break;
        }
        if (!window.preTranslate(message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    return 0;
}

} // namespace quorvel
