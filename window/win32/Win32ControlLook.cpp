#include "window/win32/Win32ControlLook.h"

#include "platform/win32/SystemLibraries.h"
#include "widgets/Dpi.h"
#include "widgets/win32/WindowDpi.h"

#include <commctrl.h>

#include <string>

namespace quorvel {

namespace {

std::optional<ControlLook::Skin> skinOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::PushButton:
        return ControlLook::Skin::Button;
    case ControlKind::EditField:
        return ControlLook::Skin::Field;
    case ControlKind::ComboBox:
        return ControlLook::Skin::Combo;
    case ControlKind::Slider:
        return ControlLook::Skin::Slider;
    case ControlKind::TickBox:
        return ControlLook::Skin::Label;
    default:
        return std::nullopt; // drawn by the program itself, or pages
    }
}

HFONT fontOf(HWND window) {
    return reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0));
}

std::wstring textOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

void drawText(HDC dc, HWND window, const std::wstring& text, RECT rect, Rgb color, UINT format) {
    const gdi::Selection font(dc, fontOf(window));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, gdi::colorOf(color));
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
                format | DT_NOPREFIX | DT_SINGLELINE);
}

// Lengths of the look, given at 96 DPI, at the DPI of the control (the same at 96).
struct Scale {
    int dpi = 96;
    int operator()(int v) const { return dpi > kBaseDpi ? scaleToDpi(v, dpi) : v; }
};

Scale scaleOf(HWND window) {
    return {dpiOfWindow(window)};
}

// A rounded shape filled with a gradient and framed; corner is the corner's size.
void roundedFace(HDC dc, const RECT& rect, Rgb top, Rgb bottom, Rgb frameColor, int corner) {
    const gdi::Region region(
        ::CreateRoundRectRgn(rect.left, rect.top, rect.right + 1, rect.bottom + 1, corner, corner));
    ::SelectClipRgn(dc, region.get());
    gdi::verticalGradient(dc, rect, top, bottom);
    ::SelectClipRgn(dc, nullptr);
    const gdi::Pen pen = gdi::solidPen(frameColor);
    const gdi::Selection penSelection(dc, pen.get());
    const gdi::Selection brushSelection(dc, ::GetStockObject(NULL_BRUSH));
    ::RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, corner, corner);
}

void paintButton(HWND window, HDC target, bool hot, const LookColors& c) {
    RECT rect{};
    ::GetClientRect(window, &rect);
    gdi::BufferedPaint buffer(target, rect.right, rect.bottom);
    const HDC dc = buffer.get();
    gdi::fill(dc, rect, c.pageBody);

    const bool enabled = ::IsWindowEnabled(window);
    const bool pressed = (::SendMessageW(window, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
    const bool focused = ::GetFocus() == window;
    Rgb top = c.buttonTop;
    Rgb bottom = c.buttonBottom;
    if (!enabled) {
        top = bottom = c.fieldDisabled;
    } else if (pressed) {
        top = c.buttonPressedTop;
        bottom = c.buttonPressedBottom;
    } else if (hot) {
        top = c.buttonHotTop;
        bottom = c.buttonHotBottom;
    }
    const Scale px = scaleOf(window);
    roundedFace(dc, rect, top, bottom, enabled && (hot || focused) ? c.accent : c.frame, px(5));

    RECT textRect = rect;
    if (pressed) {
        ::OffsetRect(&textRect, 1, 1);
    }
    drawText(dc, window, textOf(window), textRect, enabled ? c.text : c.disabledText,
             DT_CENTER | DT_VCENTER);
    if (focused && rect.right > 8 && rect.bottom > 8) {
        RECT focus = rect;
        ::InflateRect(&focus, -px(3), -px(3));
        ::SetTextColor(dc, gdi::colorOf(c.text));
        ::DrawFocusRect(dc, &focus);
    }
}

// The frame of a field or framed label: the whole non-client area, one pixel of frame colour
// outside and the field's face inside.
void paintFieldFrame(HWND window, bool hot, const LookColors& c) {
    RECT windowRect{};
    ::GetWindowRect(window, &windowRect);
    RECT client{};
    ::GetClientRect(window, &client);
    ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    ::OffsetRect(&client, -windowRect.left, -windowRect.top);
    ::OffsetRect(&windowRect, -windowRect.left, -windowRect.top);

    const HDC dc = ::GetWindowDC(window);
    if (!dc) {
        return;
    }
    ::ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    const bool enabled = ::IsWindowEnabled(window);
    gdi::fill(dc, windowRect, enabled ? c.fieldFace : c.fieldDisabled);
    const bool active = enabled && (hot || ::GetFocus() == window);
    gdi::frame(dc, windowRect, active ? c.accent : c.frame);
    ::ReleaseDC(window, dc);
}

void paintLabel(HWND window, HDC target, const LookColors& c) {
    RECT rect{};
    ::GetClientRect(window, &rect);
    gdi::BufferedPaint buffer(target, rect.right, rect.bottom);
    const bool enabled = ::IsWindowEnabled(window);
    gdi::fill(buffer.get(), rect, enabled ? c.fieldFace : c.fieldDisabled);
    drawText(buffer.get(), window, textOf(window), rect, enabled ? c.text : c.disabledText,
             DT_CENTER | DT_VCENTER);
}

void paintCombo(HWND window, HDC target, bool hot, const LookColors& c) {
    RECT rect{};
    ::GetClientRect(window, &rect);
    gdi::BufferedPaint buffer(target, rect.right, rect.bottom);
    const HDC dc = buffer.get();
    const bool enabled = ::IsWindowEnabled(window);
    const bool dropped = ::SendMessageW(window, CB_GETDROPPEDSTATE, 0, 0) != 0;
    const bool focused = ::GetFocus() == window;
    gdi::fill(dc, rect, enabled ? c.fieldFace : c.fieldDisabled);

    // The arrow button, the chevron and the insets at the control's DPI.
    const Scale px = scaleOf(window);
    const int arrowWidth = px(18);
    RECT arrow = {rect.right - arrowWidth, rect.top, rect.right, rect.bottom};
    gdi::verticalGradient(dc, arrow, enabled && (hot || dropped) ? c.buttonHotTop : c.buttonTop,
                          enabled && (hot || dropped) ? c.buttonHotBottom : c.buttonBottom);
    RECT separator = {arrow.left, rect.top, arrow.left + 1, rect.bottom};
    gdi::fill(dc, separator, c.frame);
    {
        const gdi::Pen pen = gdi::solidPen(enabled ? c.text : c.disabledText);
        const gdi::Selection selection(dc, pen.get());
        const int cx = (arrow.left + arrow.right) / 2;
        const int cy = (rect.top + rect.bottom) / 2 - 1;
        for (int row = 0; row < px(4); ++row) {
            ::MoveToEx(dc, cx - px(3) + row, cy + row - 1, nullptr);
            ::LineTo(dc, cx + px(4) - row, cy + row - 1);
        }
    }

    std::wstring text;
    const LRESULT item = ::SendMessageW(window, CB_GETCURSEL, 0, 0);
    if (item != CB_ERR) {
        const LRESULT length = ::SendMessageW(window, CB_GETLBTEXTLEN, item, 0);
        if (length != CB_ERR) {
            text.assign(static_cast<std::size_t>(length) + 1, L'\0');
            ::SendMessageW(window, CB_GETLBTEXT, item, reinterpret_cast<LPARAM>(text.data()));
            text.resize(static_cast<std::size_t>(length));
        }
    }
    RECT textRect = {rect.left + px(2), rect.top + px(2), arrow.left - px(2), rect.bottom - px(2)};
    if (focused && !dropped && enabled) {
        gdi::fill(dc, textRect, c.buttonHotBottom);
    }
    textRect.left += px(3);
    drawText(dc, window, text, textRect, enabled ? c.text : c.disabledText,
             DT_LEFT | DT_VCENTER | DT_END_ELLIPSIS);
    gdi::frame(dc, rect, enabled && (hot || focused || dropped) ? c.accent : c.frame);
}

LRESULT sliderCustomDraw(HWND slider, NMCUSTOMDRAW& draw, bool hot, const LookColors& c) {
    if (draw.dwDrawStage == CDDS_PREPAINT) {
        return CDRF_NOTIFYITEMDRAW;
    }
    if (draw.dwDrawStage != CDDS_ITEMPREPAINT) {
        return CDRF_DODEFAULT;
    }
    const HDC dc = draw.hdc;
    const Scale px = scaleOf(slider);
    RECT thumb{};
    ::SendMessageW(slider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    const bool enabled = ::IsWindowEnabled(slider);
    switch (draw.dwItemSpec) {
    case TBCD_CHANNEL: {
        RECT client{};
        ::GetClientRect(slider, &client);
        const int middle = (thumb.top + thumb.bottom) / 2;
        RECT channel = {draw.rc.left, middle - px(2), draw.rc.right, middle + px(2)};
        RECT done = channel;
        done.right = (thumb.left + thumb.right) / 2;
        gdi::fill(dc, channel, c.fieldDisabled);
        gdi::fill(dc, done, enabled ? c.accent : c.frame);
        gdi::frame(dc, channel, c.frame);
        return CDRF_SKIPDEFAULT;
    }
    case TBCD_THUMB: {
        const bool pressed = (draw.uItemState & CDIS_SELECTED) != 0;
        Rgb top = hot ? c.buttonHotTop : c.buttonTop;
        Rgb bottom = hot ? c.buttonHotBottom : c.buttonBottom;
        if (pressed) {
            top = c.buttonPressedTop;
            bottom = c.buttonPressedBottom;
        }
        roundedFace(dc, draw.rc, top, bottom, enabled ? c.accent : c.frame, px(5));
        return CDRF_SKIPDEFAULT;
    }
    default:
        return CDRF_SKIPDEFAULT; // no tick marks
    }
}

// Messages after which a control may have painted itself with the system's look.
bool repaintsAfter(ControlLook::Skin skin, UINT message) {
    switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CAPTURECHANGED:
    case WM_UPDATEUISTATE:
        return true;
    case BM_SETSTATE:
    case BM_SETSTYLE:
        return skin == ControlLook::Skin::Button;
    case CB_SETCURSEL:
    case WM_CHAR:
    case WM_MOUSEWHEEL:
    case WM_COMMAND:
    case WM_TIMER:
        return skin == ControlLook::Skin::Combo;
    default:
        return false;
    }
}

} // namespace

ControlLook::ControlLook(int variant) {
    apply(variant);
}

void ControlLook::apply(int variant) {
    const std::optional<LookColors> colors = lookColors(variant);
    if (colors) {
        brushes_.emplace(Brushes{*colors, gdi::solidBrush(colors->fieldFace),
                                 gdi::solidBrush(colors->fieldDisabled),
                                 gdi::solidBrush(colors->pageBody)});
    } else {
        brushes_.reset();
    }
    for (const auto& [parent, subclass] : parents_) {
        if (subclass) {
            ::RedrawWindow(parent, nullptr, nullptr,
                           RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        }
    }
}

void ControlLook::attach(HWND control, ControlKind kind) {
    const std::optional<Skin> skin = skinOf(kind);
    if (!skin || !control) {
        return;
    }
    auto entry = std::make_unique<Control>(Control{*skin, false, {}});
    Control& state = *entry;
    state.subclass = WindowSubclass(
        control, [this, &state](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
            return controlMessage(state, window, message, wParam, lParam);
        });
    if (!state.subclass) {
        return;
    }
    controls_[control] = std::move(entry);
    const HWND parent = ::GetParent(control);
    if (parent && !parents_[parent]) {
        parents_[parent] =
            WindowSubclass(parent, [this](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
                return parentMessage(window, message, wParam, lParam);
            });
    }
}

const ControlLook::Control* ControlLook::find(HWND window) const {
    const auto it = controls_.find(window);
    // A control destroyed before the look leaves an entry whose subclass is gone.
    return it != controls_.end() && it->second->subclass ? it->second.get() : nullptr;
}

// Repaints a control at once, over whatever the system's own painting just drew.
void ControlLook::repaintNow(HWND window, const Control& control) const {
    if (!brushes_ || !::IsWindowVisible(window)) {
        return;
    }
    const LookColors& c = brushes_->colors;
    switch (control.skin) {
    case Skin::Button: {
        const gdi::WindowDc dc(window);
        paintButton(window, dc.get(), control.hot, c);
        break;
    }
    case Skin::Combo: {
        const gdi::WindowDc dc(window);
        paintCombo(window, dc.get(), control.hot, c);
        break;
    }
    case Skin::Field:
    case Skin::Label:
        paintFieldFrame(window, control.hot, c);
        break;
    case Skin::Slider:
        ::InvalidateRect(window, nullptr, TRUE);
        break;
    }
}

LRESULT ControlLook::controlMessage(Control& state, HWND window, UINT message, WPARAM wParam,
                                    LPARAM lParam) {
    if (!brushes_) {
        return WindowSubclass::callNext(window, message, wParam, lParam);
    }
    const LookColors& c = brushes_->colors;
    switch (message) {
    case WM_MOUSEMOVE:
        if (!state.hot) {
            state.hot = true;
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window, 0};
            ::TrackMouseEvent(&track);
            const LRESULT result = WindowSubclass::callNext(window, message, wParam, lParam);
            repaintNow(window, state);
            return result;
        }
        break;
    case WM_MOUSELEAVE: {
        state.hot = false;
        const LRESULT result = WindowSubclass::callNext(window, message, wParam, lParam);
        repaintNow(window, state);
        return result;
    }
    case WM_ERASEBKGND:
        if (state.skin == Skin::Button || state.skin == Skin::Combo || state.skin == Skin::Label) {
            return 1;
        }
        break;
    case WM_PAINT:
        if (state.skin == Skin::Button || state.skin == Skin::Combo || state.skin == Skin::Label) {
            const gdi::PaintDc paint(window);
            if (state.skin == Skin::Button) {
                paintButton(window, paint.get(), state.hot, c);
            } else if (state.skin == Skin::Combo) {
                paintCombo(window, paint.get(), state.hot, c);
            } else {
                paintLabel(window, paint.get(), c);
            }
            return 0;
        }
        break;
    case WM_NCPAINT:
        if (state.skin == Skin::Field || state.skin == Skin::Label) {
            paintFieldFrame(window, state.hot, c);
            return 0;
        }
        break;
    default:
        break;
    }
    if (repaintsAfter(state.skin, message)) {
        const LRESULT result = WindowSubclass::callNext(window, message, wParam, lParam);
        if (::IsWindow(window)) {
            repaintNow(window, state);
        }
        return result;
    }
    return WindowSubclass::callNext(window, message, wParam, lParam);
}

// The parent of attached controls hands them the look's colours and draws their sliders.
LRESULT ControlLook::parentMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!brushes_) {
        return WindowSubclass::callNext(window, message, wParam, lParam);
    }
    const LookColors& c = brushes_->colors;
    switch (message) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX: {
        const auto dc = reinterpret_cast<HDC>(wParam);
        const auto control = reinterpret_cast<HWND>(lParam);
        const Control* state = find(control);
        if (message == WM_CTLCOLORLISTBOX) {
            // The drop-down list of a combo box.
            ::SetTextColor(dc, gdi::colorOf(c.text));
            ::SetBkColor(dc, gdi::colorOf(c.fieldFace));
            return reinterpret_cast<LRESULT>(brushes_->fieldFace.get());
        }
        if (!state) {
            break;
        }
        if (state->skin == Skin::Slider) {
            ::SetBkColor(dc, gdi::colorOf(c.pageBody));
            return reinterpret_cast<LRESULT>(brushes_->pageBody.get());
        }
        const bool enabled = ::IsWindowEnabled(control);
        const bool readOnly = (::GetWindowLongPtrW(control, GWL_STYLE) & ES_READONLY) != 0 &&
                              state->skin == Skin::Field;
        const bool plain = enabled && !readOnly;
        ::SetTextColor(dc, gdi::colorOf(enabled ? c.text : c.disabledText));
        ::SetBkColor(dc, gdi::colorOf(plain ? c.fieldFace : c.fieldDisabled));
        return reinterpret_cast<LRESULT>(plain ? brushes_->fieldFace.get()
                                               : brushes_->fieldDisabled.get());
    }
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->code == static_cast<UINT>(NM_CUSTOMDRAW)) {
            const Control* state = find(header->hwndFrom);
            if (state && state->skin == Skin::Slider) {
                return sliderCustomDraw(header->hwndFrom, *reinterpret_cast<NMCUSTOMDRAW*>(lParam),
                                        state->hot, c);
            }
        }
        break;
    }
    default:
        break;
    }
    return WindowSubclass::callNext(window, message, wParam, lParam);
}

} // namespace quorvel
