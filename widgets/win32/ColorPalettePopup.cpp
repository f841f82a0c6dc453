#include "widgets/win32/ColorPalettePopup.h"

#include "platform/win32/SystemLibraries.h"
#include "platform/win32/WideText.h"
#include "widgets/Accessibility.h"
#include "widgets/Dpi.h"
#include "widgets/Palette.h"
#include "widgets/win32/AccessibleObject.h"
#include "widgets/win32/WindowBase.h"
#include "widgets/win32/WindowDpi.h"
#include "widgets/win32/WindowSubclass.h"

#include <commctrl.h>
#include <commdlg.h>
#include <windowsx.h>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace quorvel {

namespace {

using palette::DrawOp;
using palette::FaceButton;
using palette::Ink;

constexpr int kAutomaticId = 101;
constexpr int kOtherColorsId = 102;
constexpr int kThemeLabelId = 103;
constexpr int kStandardLabelId = 104;
// How long the popup waits after each repaint from a mouse move or its first activation.
constexpr DWORD kRepaintPauseMs = 50;
// Posted to the popup to pick a cell (wParam) as a click on it does.
constexpr UINT kPickCellMessage = WM_APP + 1;

RECT toRect(const palette::Rect& r) {
    return {r.left, r.top, r.right(), r.bottom()};
}

void runDrawOps(HDC dc, const std::vector<DrawOp>& ops,
                const std::function<HBRUSH(const DrawOp&)>& brushFor, HPEN pen) {
    for (const DrawOp& op : ops) {
        const RECT rect = toRect(op.rect);
        switch (op.kind) {
        case DrawOp::Kind::Fill:
            FillRect(dc, &rect, brushFor(op));
            break;
        case DrawOp::Kind::Frame:
            FrameRect(dc, &rect, brushFor(op));
            break;
        case DrawOp::Kind::Line: {
            const gdi::Selection selectPen(dc, pen);
            MoveToEx(dc, rect.left, rect.top, nullptr);
            LineTo(dc, rect.right, rect.bottom);
            break;
        }
        }
    }
}

// Draws into an off-screen bitmap of width x height and copies it onto dc at (left, top).
void drawOffScreen(HDC dc, int left, int top, int width, int height,
                   const std::function<void(HDC)>& draw) {
    const gdi::Bitmap bitmap(CreateCompatibleBitmap(dc, width, height));
    const gdi::MemoryDc memory(CreateCompatibleDC(dc));
    if (!bitmap || !memory) {
        return;
    }
    const gdi::Selection selectBitmap(memory.get(), bitmap.get());
    draw(memory.get());
    BitBlt(dc, left, top, width, height, memory.get(), 0, 0, SRCCOPY);
}

class ColorPalettePopup;

// What the popup tells accessibility clients: the cells as list items named by their colour
// (child ids 1 to 70), then its child windows. It outlives the popup when a client holds it.
class PaletteAccess final : public AccessibleSource {
public:
    explicit PaletteAccess(ColorPalettePopup& popup) : popup_(&popup) {}
    void disconnect() { popup_ = nullptr; }

    bool alive() const override { return popup_ != nullptr; }
    access::Description describe(long child) const override;
    long childCount() const override;
    RECT childRect(long child) const override;
    long childAt(POINT point) const override;
    long focusedChild() const override;
    bool doDefaultAction(long child) override;

private:
    ColorPalettePopup* popup_;
};

class ColorPalettePopup : public WindowBase<ColorPalettePopup> {
public:
    ColorPalettePopup(PaletteState& state, HWND owner) : state_(state), owner_(owner) {}
    ColorPalettePopup(const ColorPalettePopup&) = delete;
    ColorPalettePopup& operator=(const ColorPalettePopup&) = delete;
    ~ColorPalettePopup() {
        if (hwnd_ != nullptr) {
            DestroyWindow(hwnd_);
        }
    }

    std::optional<Rgb> run(int x, int y);

    const PaletteState& state() const { return state_; }
    // The palette's layout is given at 96 DPI; the popup shows it at its owner's DPI.
    int scaled(int v) const { return scaleToDpi(v, dpi_); }
    int unscaled(int v) const { return scaleFromDpi(v, dpi_); }
    HWND window() const { return hwnd_; }
    int highlighted() const { return hover_; }

private:
    enum class Outcome { Open, Picked, Dismissed };

    friend class WindowBase<ColorPalettePopup>;
    void onAttached(HWND hwnd) { hwnd_ = hwnd; }
    void onDetached(HWND hwnd);
    LRESULT onMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
        return handle(message, wParam, lParam);
    }
    // The popup closes without a pick when a handler fails.
    LRESULT onFailure(HWND, UINT message, WPARAM, LPARAM, const char*) {
        close(Outcome::Dismissed);
        return message == WM_CREATE ? -1 : 0;
    }
    // The two face buttons track the pointer for their hot face.
    LRESULT faceButtonMessage(UINT_PTR id, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    WindowSubclass faceSubclass(HWND button, UINT_PTR id);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    bool create();
    HWND makeChild(const wchar_t* className, const std::wstring& text, DWORD style, const Rect& box,
                   int id);
    void drawPalette(int hover);
    void onMouseMove(int x, int y);
    void onCellClicked(int index);
    bool onKey(WPARAM key);
    void focusGrid();
    void focusOtherColors();
    void onOtherColors();
    void drawButton(const DRAWITEMSTRUCT& item);
    void close(Outcome outcome) {
        if (outcome_ == Outcome::Open) {
            outcome_ = outcome;
        }
    }
    bool& hot(UINT_PTR id) { return id == kAutomaticId ? automaticHot_ : otherColorsHot_; }
    HWND otherColorsButton() const { return GetDlgItem(hwnd_, kOtherColorsId); }

    PaletteState& state_;
    HWND owner_;
    HWND hwnd_ = nullptr;
    Outcome outcome_ = Outcome::Open;
    std::optional<PalettePainter> painter_;
    gdi::Font font_;
    gdi::Brush labelBrush_;
    std::shared_ptr<PaletteAccess> access_;
    // The highlighted cell (0 = none), under the pointer or moved to with the keys.
    int hover_ = 0;
    int dpi_ = 96;
    // The cell the arrow keys move from: the highlighted one, or the last one highlighted.
    int keyCell_ = 0;
    // Set by the first Tab: focused buttons show the orange face from then on.
    bool keyboardCues_ = false;
    bool activated_ = false;
    bool trackingLeave_ = false;
    bool automaticHot_ = false;
    bool otherColorsHot_ = false;
    WindowSubclass automaticFace_;
    WindowSubclass otherColorsFace_;
};

std::optional<Rgb> ColorPalettePopup::run(int x, int y) {
    state_.popupAnchorX = x;
    state_.popupAnchorY = y;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    // The first popup registers the class; later popups find it.
    WindowClass type;
    type.name = kColorPalettePopupClass;
    type.procedure = procedure;
    type.style = CS_DROPSHADOW;
    type.cursor = LoadCursorW(nullptr, IDC_ARROW);
    if (!registerWindowClass(instance, type)) {
        return std::nullopt;
    }
    dpi_ = dpiOfWindow(owner_);
    // The picture carries its own one-pixel frame, so the window has none: client and window
    // are both 175 x 209 at 96 DPI, and the top-left corner is the anchor.
    CreateWindowExW(WS_EX_TOOLWINDOW, kColorPalettePopupClass, L"", WS_POPUP | WS_CLIPCHILDREN, x,
                    y, scaled(palette::kPopupWidth), scaled(palette::kPopupHeight), owner_, nullptr,
                    instance, this);
    if (hwnd_ == nullptr) {
        return std::nullopt;
    }

    const bool disableOwner = owner_ != nullptr && IsWindowEnabled(owner_);
    if (disableOwner) {
        EnableWindow(owner_, FALSE);
    }
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    UpdateWindow(hwnd_);

    MSG msg;
    while (outcome_ == Outcome::Open && hwnd_ != nullptr) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            // The program is ending: leave the quit message for the outer loop.
            PostQuitMessage(static_cast<int>(msg.wParam));
            close(Outcome::Dismissed);
            break;
        }
        if (got == -1) {
            close(Outcome::Dismissed);
            break;
        }
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE &&
            (msg.hwnd == hwnd_ || IsChild(hwnd_, msg.hwnd))) {
            close(Outcome::Dismissed);
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    close(Outcome::Dismissed);

    // Give the owner back its input before the popup goes, so that activation returns to it.
    if (disableOwner) {
        EnableWindow(owner_, TRUE);
    }
    if (hwnd_ != nullptr) {
        DestroyWindow(hwnd_);
    }
    if (outcome_ != Outcome::Picked) {
        return std::nullopt;
    }
    return state_.pickedColor;
}

void ColorPalettePopup::onDetached(HWND) {
    hwnd_ = nullptr;
    painter_.reset();
    if (access_) {
        access_->disconnect();
    }
    close(Outcome::Dismissed);
}

LRESULT ColorPalettePopup::faceButtonMessage(UINT_PTR id, HWND hwnd, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    switch (message) {
    case WM_MOUSEMOVE:
        if (!hot(id)) {
            hot(id) = true;
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, 0};
            TrackMouseEvent(&track);
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        break;
    case WM_MOUSELEAVE:
        hot(id) = false;
        InvalidateRect(hwnd, nullptr, FALSE);
        break;
    case WM_ERASEBKGND:
        return 1; // the face covers the whole button
    case WM_KEYDOWN:
        if (wParam == VK_TAB) {
            keyboardCues_ = true;
            focusGrid();
            return 0;
        }
        if (wParam == VK_RETURN) {
            // Enter clicks the button, as Space does.
            SendMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                         reinterpret_cast<LPARAM>(hwnd));
            return 0;
        }
        break;
    case WM_GETOBJECT:
        if (const LRESULT object = answerButtonGetObject(hwnd, wParam, lParam)) {
            return object;
        }
        break;
    default:
        break;
    }
    return WindowSubclass::callNext(hwnd, message, wParam, lParam);
}

WindowSubclass ColorPalettePopup::faceSubclass(HWND button, UINT_PTR id) {
    return WindowSubclass(button,
                          [this, id](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
                              return faceButtonMessage(id, window, message, wParam, lParam);
                          });
}

HWND ColorPalettePopup::makeChild(const wchar_t* className, const std::wstring& text, DWORD style,
                                  const Rect& box, int id) {
    const int left = scaled(box.left);
    const int top = scaled(box.top);
    const HWND child = CreateWindowExW(
        0, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, left, top,
        scaled(box.right()) - left, scaled(box.bottom()) - top, hwnd_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (child != nullptr) {
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    }
    return child;
}

bool ColorPalettePopup::create() {
    palette::preparePalette(state_);
    painter_.emplace(state_);
    access_ = std::make_shared<PaletteAccess>(*this);
    // The popup opens with the selected cell highlighted; the keys start from it.
    hover_ = state_.selectedCell;
    keyCell_ = hover_;
    font_.reset(CreateFontW(-scaled(palette::kLabelFontHeight), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                            FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                            DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                            toWide(palette::kLabelFontName).c_str()));
    labelBrush_ = gdi::solidBrush(palette::kLabelBackColor);

    const DWORD buttonStyle = BS_OWNERDRAW | WS_TABSTOP;
    const DWORD labelStyle = SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX;
    const HWND automatic = makeChild(L"BUTTON", toWide(palette::faceCaption(FaceButton::Automatic)),
                                     buttonStyle, palette::kAutomaticButton, kAutomaticId);
    const HWND themeLabel = makeChild(L"STATIC", toWide(palette::kThemeColorsCaption), labelStyle,
                                      palette::kThemeColorsLabel, kThemeLabelId);
    const HWND standardLabel =
        makeChild(L"STATIC", toWide(palette::kStandardColorsCaption), labelStyle,
                  palette::kStandardColorsLabel, kStandardLabelId);
    const HWND otherColors =
        makeChild(L"BUTTON", toWide(palette::faceCaption(FaceButton::OtherColors)), buttonStyle,
                  palette::kOtherColorsButton, kOtherColorsId);
    if (automatic == nullptr || themeLabel == nullptr || standardLabel == nullptr ||
        otherColors == nullptr) {
        return false;
    }
    automaticFace_ = faceSubclass(automatic, kAutomaticId);
    otherColorsFace_ = faceSubclass(otherColors, kOtherColorsId);
    return true;
}

LRESULT ColorPalettePopup::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return create() ? 0 : -1;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && !activated_) {
            activated_ = true;
            drawPalette(state_.selectedCell);
        }
        break;
    case WM_ERASEBKGND:
        return 1; // every repaint covers the whole client area
    case WM_PAINT: {
        // Uncovered parts are drawn again from the same picture, without the pause.
        PAINTSTRUCT ps;
        const HDC dc = BeginPaint(hwnd_, &ps);
        if (painter_) {
            RECT client;
            GetClientRect(hwnd_, &client);
            painter_->paint(dc, hover_, client.right, client.bottom, dpi_);
        }
        EndPaint(hwnd_, &ps);
        return 0;
    }
    case WM_MOUSEMOVE:
        onMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_MOUSELEAVE:
        trackingLeave_ = false;
        if (hover_ != 0) {
            hover_ = 0;
            drawPalette(hover_);
        }
        return 0;
    case WM_LBUTTONUP:
        onCellClicked(palette::hitTestCell(state_, unscaled(GET_X_LPARAM(lParam)),
                                           unscaled(GET_Y_LPARAM(lParam))));
        return 0;
    case kPickCellMessage:
        onCellClicked(static_cast<int>(wParam));
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
        if (onKey(wParam)) {
            return 0;
        }
        break;
    case WM_GETOBJECT:
        if (const LRESULT object = answerGetObject(hwnd_, wParam, lParam, access_)) {
            return object;
        }
        break;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) {
            if (LOWORD(wParam) == kAutomaticId) {
                palette::pickAutomatic(state_);
                close(Outcome::Picked);
            } else if (LOWORD(wParam) == kOtherColorsId) {
                onOtherColors();
            }
        }
        return 0;
    case WM_DRAWITEM:
        drawButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_CTLCOLORSTATIC: {
        const auto dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, gdi::colorOf(palette::kLabelTextColor));
        SetBkColor(dc, gdi::colorOf(palette::kLabelBackColor));
        return reinterpret_cast<LRESULT>(labelBrush_.get());
    }
    case WM_CLOSE:
        close(Outcome::Dismissed);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void ColorPalettePopup::drawPalette(int hover) {
    if (!painter_ || hwnd_ == nullptr) {
        return;
    }
    RECT client;
    GetClientRect(hwnd_, &client);
    {
        const gdi::WindowDc dc(hwnd_);
        if (dc.get() != nullptr) {
            painter_->paint(dc.get(), hover, client.right, client.bottom, dpi_);
        }
    }
    Sleep(kRepaintPauseMs);
}

void ColorPalettePopup::onMouseMove(int x, int y) {
    if (!trackingLeave_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd_, 0};
        trackingLeave_ = TrackMouseEvent(&track) != FALSE;
    }
    hover_ = palette::hitTestCell(state_, unscaled(x), unscaled(y));
    if (hover_ != 0) {
        keyCell_ = hover_;
    }
    drawPalette(hover_);
}

// A click on a cell and Enter on the highlighted cell both come here.
void ColorPalettePopup::onCellClicked(int index) {
    if (palette::pickCell(state_, index)) {
        close(Outcome::Picked);
    }
}

// The keys of the cell grid, while the popup itself has the focus.
bool ColorPalettePopup::onKey(WPARAM key) {
    std::optional<palette::GridMove> move;
    switch (key) {
    case VK_LEFT:
        move = palette::GridMove::Left;
        break;
    case VK_RIGHT:
        move = palette::GridMove::Right;
        break;
    case VK_UP:
        move = palette::GridMove::Up;
        break;
    case VK_DOWN:
        move = palette::GridMove::Down;
        break;
    case VK_HOME:
        move = palette::GridMove::First;
        break;
    case VK_END:
        move = palette::GridMove::Last;
        break;
    case VK_RETURN:
        onCellClicked(hover_);
        return true;
    case VK_TAB:
        keyboardCues_ = true;
        focusOtherColors();
        return true;
    default:
        return false;
    }
    hover_ = palette::moveInGrid(hover_ != 0 ? hover_ : keyCell_, *move);
    keyCell_ = hover_;
    drawPalette(hover_);
    notifyFocus(hwnd_, hover_);
    return true;
}

// The grid takes the focus back and shows its cell again.
void ColorPalettePopup::focusGrid() {
    SetFocus(hwnd_);
    hover_ = keyCell_;
    drawPalette(hover_);
    notifyFocus(hwnd_, hover_);
}

// The "other colours" button takes the focus; the grid shows no cell meanwhile.
void ColorPalettePopup::focusOtherColors() {
    if (const HWND button = otherColorsButton()) {
        SetFocus(button);
        InvalidateRect(button, nullptr, FALSE);
        hover_ = 0;
        drawPalette(hover_);
    }
}

void ColorPalettePopup::onOtherColors() {
    ShowWindow(hwnd_, SW_HIDE);

    std::array<COLORREF, 16> custom{};
    for (std::size_t i = 0; i < custom.size(); ++i) {
        custom[i] = gdi::colorOf(state_.customColors[i]);
    }
    CHOOSECOLORW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner_;
    dialog.lpCustColors = custom.data();
    dialog.Flags = CC_ANYCOLOR; // the basic form; the dialog starts from its own colour
    const bool confirmed = system::ChooseColorW(&dialog) != FALSE;
    // The dialog may have changed the custom colours even when it was cancelled; keep them.
    for (std::size_t i = 0; i < custom.size(); ++i) {
        state_.customColors[i] = gdi::rgbOf(custom[i]);
    }

    if (confirmed) {
        palette::pickSystemColor(state_, gdi::rgbOf(dialog.rgbResult));
        close(Outcome::Picked);
    } else {
        close(Outcome::Dismissed);
    }
}

void ColorPalettePopup::drawButton(const DRAWITEMSTRUCT& item) {
    const auto id = static_cast<UINT_PTR>(item.CtlID);
    if (id != kAutomaticId && id != kOtherColorsId) {
        return;
    }
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool focused = keyboardCues_ && (item.itemState & ODS_FOCUS) != 0;
    paintPaletteButtonFace(item.hDC, item.rcItem,
                           id == kAutomaticId ? FaceButton::Automatic : FaceButton::OtherColors,
                           hot(id) || pressed || focused, font_.get());
}

access::Description PaletteAccess::describe(long child) const {
    if (child == CHILDID_SELF) {
        access::Description self;
        self.role = access::Role::Client;
        self.state = access::Focusable;
        if (GetFocus() == popup_->window()) {
            self.state |= access::Focused;
        }
        return self;
    }
    return access::paletteCell(popup_->state(), static_cast<int>(child), popup_->highlighted(),
                               GetFocus() == popup_->window());
}

long PaletteAccess::childCount() const {
    return popup_ ? static_cast<long>(popup_->state().paletteCells.size()) : 0;
}

RECT PaletteAccess::childRect(long child) const {
    const RECT r = toRect(palette::cellRect(popup_->state(), static_cast<int>(child)));
    return {popup_->scaled(r.left), popup_->scaled(r.top), popup_->scaled(r.right),
            popup_->scaled(r.bottom)};
}

long PaletteAccess::childAt(POINT point) const {
    return palette::hitTestCell(popup_->state(), popup_->unscaled(point.x),
                                popup_->unscaled(point.y));
}

long PaletteAccess::focusedChild() const {
    return popup_->highlighted();
}

bool PaletteAccess::doDefaultAction(long child) {
    return child >= 1 && child <= childCount() &&
           PostMessageW(popup_->window(), kPickCellMessage, static_cast<WPARAM>(child), 0) != FALSE;
}

} // namespace

PalettePainter::PalettePainter(const PaletteState& state) : state_(state) {
    cellBrushes_.reserve(state.paletteCells.size());
    for (const PaletteCell& cell : state.paletteCells) {
        cellBrushes_.push_back(gdi::solidBrush(cell.color));
    }
    cellFrame_ = gdi::solidBrush(palette::inkColor(Ink::CellFrame));
    highlightOuter_ = gdi::solidBrush(palette::inkColor(Ink::HighlightOuter));
    highlightInner_ = gdi::solidBrush(palette::inkColor(Ink::HighlightInner));
    grid_ = gdi::solidPen(palette::inkColor(Ink::Grid));
    border_ = gdi::solidBrush(palette::inkColor(Ink::Border));
    background_ = gdi::solidBrush(palette::inkColor(Ink::Background));
}

HBRUSH PalettePainter::brushFor(const DrawOp& op) const {
    switch (op.ink) {
    case Ink::Background:
        return background_.get();
    case Ink::Border:
        return border_.get();
    case Ink::CellFrame:
        return cellFrame_.get();
    case Ink::HighlightOuter:
        return highlightOuter_.get();
    case Ink::HighlightInner:
        return highlightInner_.get();
    case Ink::Cell:
        if (op.cell >= 1 && op.cell <= static_cast<int>(cellBrushes_.size())) {
            return cellBrushes_[static_cast<std::size_t>(op.cell - 1)].get();
        }
        break;
    case Ink::Grid:
    case Ink::Plain:
        break;
    }
    return nullptr;
}

void PalettePainter::paint(HDC dc, int hover, int width, int height, int dpi) const {
    // The picture is laid out at 96 DPI and drawn through a scaling transform at another DPI,
    // which scales every edge on its own: cells that meet still meet.
    const std::vector<DrawOp> ops =
        palette::paletteDrawing(state_, hover, scaleFromDpi(width, dpi), scaleFromDpi(height, dpi));
    drawOffScreen(dc, 0, 0, width, height, [&](HDC memory) {
        if (dpi != 96) {
            SetGraphicsMode(memory, GM_ADVANCED);
            const float scale = static_cast<float>(dpi) / 96.0f;
            const XFORM transform = {scale, 0.0f, 0.0f, scale, 0.0f, 0.0f};
            SetWorldTransform(memory, &transform);
        }
        runDrawOps(
            memory, ops, [this](const DrawOp& op) { return brushFor(op); }, grid_.get());
    });
}

void paintPaletteButtonFace(HDC dc, const RECT& rect, FaceButton button, bool hot, HFONT font) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const std::vector<DrawOp> ops = palette::buttonFace(button, hot, width, height);
    std::unordered_map<COLORREF, gdi::Brush> brushes;
    const auto brushFor = [&brushes](const DrawOp& op) {
        gdi::Brush& brush = brushes[gdi::colorOf(op.color)];
        if (!brush) {
            brush = gdi::solidBrush(op.color);
        }
        return brush.get();
    };
    drawOffScreen(dc, rect.left, rect.top, width, height, [&](HDC memory) {
        runDrawOps(memory, ops, brushFor, nullptr);
        const std::wstring caption = toWide(palette::faceCaption(button));
        RECT text = toRect(palette::faceTextRect(button, width, height));
        const gdi::Selection selectFont(memory, font);
        SetBkMode(memory, TRANSPARENT);
        SetTextColor(memory, RGB(0, 0, 0));
        DrawTextW(memory, caption.c_str(), static_cast<int>(caption.size()), &text,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    });
}

std::optional<Rgb> openColorPalette(PaletteState& state, HWND owner, int x, int y) {
    try {
        ColorPalettePopup popup(state, owner);
        return popup.run(x, y);
    } catch (...) {
        return std::nullopt;
    }
}

} // namespace quorvel
