#include "wizard/win32/Win32ControlLook.h"

#include "platform/win32/SystemLibraries.h"
#include "wizard/ControlLook.h"
#include "wizard/win32/Gdi.h"

#include <commctrl.h>

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

namespace quorvel {

namespace {

constexpr UINT_PTR kControlSkinId = 0x5153;
constexpr UINT_PTR kParentSkinId = 0x5154;

enum class Skin { Button, Field, Combo, Slider, Label };

struct SkinState {
    Skin skin;
    bool hot = false;
};

// The brushes the parents hand to their controls; rebuilt when the look changes.
struct LookBrushes {
    LookColors colors;
    gdi::Brush fieldFace;
    gdi::Brush fieldDisabled;
    gdi::Brush pageBody;
};

std::unique_ptr<LookBrushes>& brushes() {
    static std::unique_ptr<LookBrushes> current;
    return current;
}

HHOOK& creationHook() {
    static HHOOK hook = nullptr;
    return hook;
}

std::wstring classOf(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

bool sameClass(const std::wstring& a, const wchar_t* b) {
    return ::lstrcmpiW(a.c_str(), b) == 0;
}

bool isProgramWindow(HWND window) {
    const HWND root = ::GetAncestor(window, GA_ROOT);
    return root != nullptr && classOf(root).starts_with(L"Quorvel");
}

std::optional<Skin> skinFor(HWND window) {
    const std::wstring name = classOf(window);
    const LONG_PTR style = ::GetWindowLongPtrW(window, GWL_STYLE);
    if (sameClass(name, WC_BUTTONW)) {
        const LONG_PTR type = style & BS_TYPEMASK;
        if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) {
            return Skin::Button;
        }
        return std::nullopt; // owner-drawn buttons draw themselves; others keep the system's
    }
    if (sameClass(name, WC_EDITW)) {
        return Skin::Field;
    }
    if (sameClass(name, WC_COMBOBOXW) && (style & 3) == CBS_DROPDOWNLIST) {
        return Skin::Combo;
    }
    if (sameClass(name, TRACKBAR_CLASSW)) {
        return Skin::Slider;
    }
    if (sameClass(name, WC_STATICW) && (style & WS_BORDER) && (style & SS_TYPEMASK) <= SS_RIGHT) {
        return Skin::Label;
    }
    return std::nullopt;
}

// The skinned controls of the thread and their state.
std::unordered_map<HWND, std::unique_ptr<SkinState>>& skinned() {
    static std::unordered_map<HWND, std::unique_ptr<SkinState>> controls;
    return controls;
}

SkinState* findSkin(HWND window) {
    const auto it = skinned().find(window);
    return it == skinned().end() ? nullptr : it->second.get();
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

// A rounded shape filled with a gradient and framed.
void roundedFace(HDC dc, const RECT& rect, Rgb top, Rgb bottom, Rgb frameColor) {
    const gdi::Region region(
        ::CreateRoundRectRgn(rect.left, rect.top, rect.right + 1, rect.bottom + 1, 5, 5));
    ::SelectClipRgn(dc, region.get());
    gdi::verticalGradient(dc, rect, top, bottom);
    ::SelectClipRgn(dc, nullptr);
    const gdi::Pen pen = gdi::solidPen(frameColor);
    const gdi::Selection penSelection(dc, pen.get());
    const gdi::Selection brushSelection(dc, ::GetStockObject(NULL_BRUSH));
    ::RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, 5, 5);
}

void paintButton(HWND window, HDC target, const SkinState& state, const LookColors& c) {
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
    } else if (state.hot) {
        top = c.buttonHotTop;
        bottom = c.buttonHotBottom;
    }
    roundedFace(dc, rect, top, bottom, enabled && (state.hot || focused) ? c.accent : c.frame);

    RECT textRect = rect;
    if (pressed) {
        ::OffsetRect(&textRect, 1, 1);
    }
    drawText(dc, window, textOf(window), textRect, enabled ? c.text : c.disabledText,
             DT_CENTER | DT_VCENTER);
    if (focused && rect.right > 8 && rect.bottom > 8) {
        RECT focus = rect;
        ::InflateRect(&focus, -3, -3);
        ::SetTextColor(dc, gdi::colorOf(c.text));
        ::DrawFocusRect(dc, &focus);
    }
}

// The frame of a field or framed label: the whole non-client area, one pixel of frame colour
// outside and the field's face inside.
void paintFieldFrame(HWND window, const SkinState& state, const LookColors& c) {
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
    const bool active = enabled && (state.hot || ::GetFocus() == window);
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

void paintCombo(HWND window, HDC target, const SkinState& state, const LookColors& c) {
    RECT rect{};
    ::GetClientRect(window, &rect);
    gdi::BufferedPaint buffer(target, rect.right, rect.bottom);
    const HDC dc = buffer.get();
    const bool enabled = ::IsWindowEnabled(window);
    const bool dropped = ::SendMessageW(window, CB_GETDROPPEDSTATE, 0, 0) != 0;
    const bool focused = ::GetFocus() == window;
    gdi::fill(dc, rect, enabled ? c.fieldFace : c.fieldDisabled);

    // The arrow button at the control's DPI (its width and the chevron's size are given at 96).
    int dpi = static_cast<int>(system::GetDpiForWindow(window));
    if (dpi <= 0) {
        dpi = ::GetDeviceCaps(target, LOGPIXELSX);
    }
    const auto px = [dpi](int v) { return dpi > 96 ? ::MulDiv(v, dpi, 96) : v; };
    const int arrowWidth = px(18);
    RECT arrow = {rect.right - arrowWidth, rect.top, rect.right, rect.bottom};
    gdi::verticalGradient(dc, arrow,
                          enabled && (state.hot || dropped) ? c.buttonHotTop : c.buttonTop,
                          enabled && (state.hot || dropped) ? c.buttonHotBottom : c.buttonBottom);
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
    RECT textRect = {rect.left + 2, rect.top + 2, arrow.left - 2, rect.bottom - 2};
    if (focused && !dropped && enabled) {
        gdi::fill(dc, textRect, c.buttonHotBottom);
    }
    textRect.left += 3;
    drawText(dc, window, text, textRect, enabled ? c.text : c.disabledText,
             DT_LEFT | DT_VCENTER | DT_END_ELLIPSIS);
    gdi::frame(dc, rect, enabled && (state.hot || focused || dropped) ? c.accent : c.frame);
}

LRESULT sliderCustomDraw(HWND slider, NMCUSTOMDRAW& draw, const SkinState& state,
                         const LookColors& c) {
    if (draw.dwDrawStage == CDDS_PREPAINT) {
        return CDRF_NOTIFYITEMDRAW;
    }
    if (draw.dwDrawStage != CDDS_ITEMPREPAINT) {
        return CDRF_DODEFAULT;
    }
    const HDC dc = draw.hdc;
    RECT thumb{};
    ::SendMessageW(slider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    const bool enabled = ::IsWindowEnabled(slider);
    switch (draw.dwItemSpec) {
    case TBCD_CHANNEL: {
        RECT client{};
        ::GetClientRect(slider, &client);
        const int middle = (thumb.top + thumb.bottom) / 2;
        RECT channel = {draw.rc.left, middle - 2, draw.rc.right, middle + 2};
        RECT done = channel;
        done.right = (thumb.left + thumb.right) / 2;
        gdi::fill(dc, channel, c.fieldDisabled);
        gdi::fill(dc, done, enabled ? c.accent : c.frame);
        gdi::frame(dc, channel, c.frame);
        return CDRF_SKIPDEFAULT;
    }
    case TBCD_THUMB: {
        const bool pressed = (draw.uItemState & CDIS_SELECTED) != 0;
        Rgb top = state.hot ? c.buttonHotTop : c.buttonTop;
        Rgb bottom = state.hot ? c.buttonHotBottom : c.buttonBottom;
        if (pressed) {
            top = c.buttonPressedTop;
            bottom = c.buttonPressedBottom;
        }
        roundedFace(dc, draw.rc, top, bottom, enabled ? c.accent : c.frame);
        return CDRF_SKIPDEFAULT;
    }
    default:
        return CDRF_SKIPDEFAULT; // no tick marks
    }
}

// Repaints a control at once, over whatever the system's own painting just drew.
void repaintNow(HWND window) {
    SkinState* state = findSkin(window);
    const auto& look = brushes();
    if (!state || !look || !::IsWindowVisible(window)) {
        return;
    }
    switch (state->skin) {
    case Skin::Button: {
        const gdi::WindowDc dc(window);
        paintButton(window, dc.get(), *state, look->colors);
        break;
    }
    case Skin::Combo: {
        const gdi::WindowDc dc(window);
        paintCombo(window, dc.get(), *state, look->colors);
        break;
    }
    case Skin::Field:
    case Skin::Label:
        paintFieldFrame(window, *state, look->colors);
        break;
    case Skin::Slider:
        ::InvalidateRect(window, nullptr, TRUE);
        break;
    }
}

// Messages after which a control may have painted itself with the system's look.
bool repaintsAfter(Skin skin, UINT message) {
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
        return skin == Skin::Button;
    case CB_SETCURSEL:
    case WM_CHAR:
    case WM_MOUSEWHEEL:
    case WM_COMMAND:
    case WM_TIMER:
        return skin == Skin::Combo;
    default:
        return false;
    }
}

LRESULT CALLBACK controlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                             DWORD_PTR data) {
    auto* state = reinterpret_cast<SkinState*>(data);
    const auto& look = brushes();
    if (message == WM_NCDESTROY) {
        system::RemoveWindowSubclass(window, controlProc, id);
        skinned().erase(window);
        return system::DefSubclassProc(window, message, wParam, lParam);
    }
    if (!look) {
        return system::DefSubclassProc(window, message, wParam, lParam);
    }
    const LookColors& c = look->colors;
    switch (message) {
    case WM_MOUSEMOVE:
        if (!state->hot) {
            state->hot = true;
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window, 0};
            ::TrackMouseEvent(&track);
            const LRESULT result = system::DefSubclassProc(window, message, wParam, lParam);
            repaintNow(window);
            return result;
        }
        break;
    case WM_MOUSELEAVE: {
        state->hot = false;
        const LRESULT result = system::DefSubclassProc(window, message, wParam, lParam);
        repaintNow(window);
        return result;
    }
    case WM_ERASEBKGND:
        if (state->skin == Skin::Button || state->skin == Skin::Combo ||
            state->skin == Skin::Label) {
            return 1;
        }
        break;
    case WM_PAINT:
        if (state->skin == Skin::Button || state->skin == Skin::Combo ||
            state->skin == Skin::Label) {
            const gdi::PaintDc paint(window);
            if (state->skin == Skin::Button) {
                paintButton(window, paint.get(), *state, c);
            } else if (state->skin == Skin::Combo) {
                paintCombo(window, paint.get(), *state, c);
            } else {
                paintLabel(window, paint.get(), c);
            }
            return 0;
        }
        break;
    case WM_NCPAINT:
        if (state->skin == Skin::Field || state->skin == Skin::Label) {
            paintFieldFrame(window, *state, c);
            return 0;
        }
        break;
    default:
        break;
    }
    if (repaintsAfter(state->skin, message)) {
        const LRESULT result = system::DefSubclassProc(window, message, wParam, lParam);
        if (::IsWindow(window)) {
            repaintNow(window);
        }
        return result;
    }
    return system::DefSubclassProc(window, message, wParam, lParam);
}

// The parent of skinned controls hands them the look's colours and draws their sliders.
LRESULT CALLBACK parentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                            DWORD_PTR) {
    if (message == WM_NCDESTROY) {
        system::RemoveWindowSubclass(window, parentProc, id);
        return system::DefSubclassProc(window, message, wParam, lParam);
    }
    const auto& look = brushes();
    if (!look) {
        return system::DefSubclassProc(window, message, wParam, lParam);
    }
    const LookColors& c = look->colors;
    switch (message) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX: {
        const auto dc = reinterpret_cast<HDC>(wParam);
        const auto control = reinterpret_cast<HWND>(lParam);
        const SkinState* state = findSkin(control);
        if (message == WM_CTLCOLORLISTBOX) {
            // The drop-down list of a skinned combo box.
            ::SetTextColor(dc, gdi::colorOf(c.text));
            ::SetBkColor(dc, gdi::colorOf(c.fieldFace));
            return reinterpret_cast<LRESULT>(look->fieldFace.get());
        }
        if (!state) {
            break;
        }
        if (state->skin == Skin::Slider) {
            ::SetBkColor(dc, gdi::colorOf(c.pageBody));
            return reinterpret_cast<LRESULT>(look->pageBody.get());
        }
        const bool enabled = ::IsWindowEnabled(control);
        const bool readOnly = (::GetWindowLongPtrW(control, GWL_STYLE) & ES_READONLY) != 0 &&
                              state->skin == Skin::Field;
        const bool plain = enabled && !readOnly;
        ::SetTextColor(dc, gdi::colorOf(enabled ? c.text : c.disabledText));
        ::SetBkColor(dc, gdi::colorOf(plain ? c.fieldFace : c.fieldDisabled));
        return reinterpret_cast<LRESULT>(plain ? look->fieldFace.get() : look->fieldDisabled.get());
    }
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->code == static_cast<UINT>(NM_CUSTOMDRAW)) {
            const SkinState* state = findSkin(header->hwndFrom);
            if (state && state->skin == Skin::Slider) {
                return sliderCustomDraw(header->hwndFrom, *reinterpret_cast<NMCUSTOMDRAW*>(lParam),
                                        *state, c);
            }
        }
        break;
    }
    default:
        break;
    }
    return system::DefSubclassProc(window, message, wParam, lParam);
}

void skin(HWND window) {
    if (findSkin(window) || !isProgramWindow(window)) {
        return;
    }
    const std::optional<Skin> kind = skinFor(window);
    if (!kind) {
        return;
    }
    auto state = std::make_unique<SkinState>(SkinState{*kind});
    if (system::SetWindowSubclass(window, controlProc, kControlSkinId,
                                  reinterpret_cast<DWORD_PTR>(state.get()))) {
        skinned()[window] = std::move(state);
    }
    if (const HWND parent = ::GetParent(window)) {
        system::SetWindowSubclass(parent, parentProc, kParentSkinId, 0);
    }
}

void unskin(HWND window) {
    if (findSkin(window)) {
        system::RemoveWindowSubclass(window, controlProc, kControlSkinId);
        skinned().erase(window);
        ::SetWindowPos(window, nullptr, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
}

LRESULT CALLBACK afterCreation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (call->message == WM_CREATE && call->lResult != -1 &&
            (::GetWindowLongPtrW(call->hwnd, GWL_STYLE) & WS_CHILD)) {
            skin(call->hwnd);
        }
    }
    return ::CallNextHookEx(creationHook(), code, wParam, lParam);
}

BOOL CALLBACK applyToChild(HWND child, LPARAM on) {
    if (on) {
        skin(child);
    } else {
        unskin(child);
    }
    return TRUE;
}

BOOL CALLBACK applyToTopLevel(HWND window, LPARAM on) {
    if (isProgramWindow(window)) {
        ::EnumChildWindows(window, applyToChild, on);
        ::RedrawWindow(window, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    return TRUE;
}

} // namespace

void applyControlLook(int variant) {
    setCurrentLookVariant(variant);
    const std::optional<LookColors> colors = lookColors(variant);
    if (colors) {
        auto look = std::make_unique<LookBrushes>();
        look->colors = *colors;
        look->fieldFace = gdi::solidBrush(colors->fieldFace);
        look->fieldDisabled = gdi::solidBrush(colors->fieldDisabled);
        look->pageBody = gdi::solidBrush(colors->pageBody);
        brushes() = std::move(look);
        if (!creationHook()) {
            creationHook() = ::SetWindowsHookExW(WH_CALLWNDPROCRET, afterCreation, nullptr,
                                                 ::GetCurrentThreadId());
        }
    } else if (creationHook()) {
        ::UnhookWindowsHookEx(creationHook());
        creationHook() = nullptr;
    }
    ::EnumThreadWindows(::GetCurrentThreadId(), applyToTopLevel, colors ? 1 : 0);
    if (!colors) {
        brushes().reset();
    }
}

} // namespace quorvel
