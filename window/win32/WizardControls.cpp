// The main window's control factory and layout: every control of the table made as a child
// window of its page (page 0's with the window, the others once the first page is shown), placed
// at its rectangle of the table scaled to the window's DPI, laid out anew when the DPI changes,
// and the faces the window draws itself (the page pictures, the graphic buttons, the items of the
// drop-down lists). Here too the window's side of WizardUi: reading and writing the controls.
#include "window/win32/ThemeWizardWindow.h"

#include "platform/win32/SystemLibraries.h"
#include "platform/win32/WideText.h"
#include "preview/win32/DesktopPreview.h"
#include "widgets/Dpi.h"
#include "widgets/win32/GraphicButton.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace quorvel {

namespace {

constexpr int kFirstControlId = 1000;
// The closed drop-down lists are 20 high; this much more holds the opened list.
constexpr int kDropListHeight = 220;

} // namespace

HWND ThemeWizardWindow::createControl(const ControlDef& def, int index) {
    HWND parent = window_;
    if (def.kind == ControlKind::PagePicture) {
        parent = hwndOf(ControlId::PageContainer);
    } else if (def.page != std::nullopt) {
        parent = pages_.at(static_cast<std::size_t>(pageIndex(*def.page)));
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
    const HWND control =
        ::CreateWindowExW(0, className, def.kind == ControlKind::ComboBox ? L"" : caption.c_str(),
                          style, r.left, r.top, r.width, height, parent, id, instance_,
                          className == kPageClass ? &pageSurfaces_ : nullptr);
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
        if ((def.page == std::nullopt || def.page == Page::Main) != first) {
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
            pages_.at(static_cast<std::size_t>(pageIndex(*def.page))) = control;
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

void ThemeWizardWindow::paintPage(HWND page) {
    const gdi::PaintDc paint(page);
    RECT client{};
    ::GetClientRect(page, &client);
    const ControlDef* def = defOf(page);
    if (def && def->kind == ControlKind::PagePicture) {
        gdi::BufferedPaint buffer(paintStore_, paint.get(), client.right, client.bottom);
        try {
            paintPagePicture(buffer.get(), def->page.value(), fonts_, colors_, dpi_);
        } catch (...) {
            gdi::fill(buffer.get(), client, colors_.pageBody);
        }
    } else {
        // A single fill cannot flicker: no off-screen copy needed.
        gdi::fill(paint.get(), client, colors_.pageBody);
    }
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

} // namespace quorvel
