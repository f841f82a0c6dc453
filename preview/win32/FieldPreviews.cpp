#include "preview/win32/FieldPreviews.h"

#include "model/Texts.h"
#include "platform/win32/WideText.h"
#include "preview/Preview.h"
#include "preview/win32/PagePictures.h"
#include "widgets/Dpi.h"
#include "widgets/win32/Gdi.h"
#include "widgets/win32/WindowDpi.h"

#include <algorithm>

namespace quorvel {

namespace {

using preview::Kind;

constexpr UINT kPreviewReady = WM_APP + 40;
constexpr UINT_PTR kFocusTimer = 0x5053;
constexpr UINT_PTR kStepTimer = 1;
// The focus must rest this long on a field before its preview shows.
constexpr UINT kFocusDelayMs = 600;
constexpr int kChannel = 0;
constexpr DWORD kPopupExStyle =
    WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_LAYERED | WS_EX_TRANSPARENT;

gdi::Font makePreviewFont(int dpi) {
    LOGFONTW font{};
    font.lfHeight = -scaleToDpi(12, dpi);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = CLEARTYPE_QUALITY;
    ::lstrcpynW(font.lfFaceName, chineseFace().c_str(), LF_FACESIZE);
    return gdi::Font(::CreateFontIndirectW(&font));
}

// Premultiplied pixels over an opaque background.
std::vector<std::uint32_t> overBackground(const Pixels& pixels, COLORREF background) {
    std::vector<std::uint32_t> out(pixels.bgra.size());
    const std::uint32_t r = GetRValue(background);
    const std::uint32_t g = GetGValue(background);
    const std::uint32_t b = GetBValue(background);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const std::uint32_t p = pixels.bgra[i];
        const std::uint32_t a = p >> 24;
        const auto mix = [a](std::uint32_t c, std::uint32_t under) {
            return std::min<std::uint32_t>(255, c + (255 - a) * under / 255);
        };
        out[i] = 0xFF000000u | mix(p >> 16 & 0xFF, r) << 16 | mix(p >> 8 & 0xFF, g) << 8 |
                 mix(p & 0xFF, b);
    }
    return out;
}

void drawPixels(HDC dc, int left, int top, int width, int height,
                const std::vector<std::uint32_t>& bgra) {
    const BITMAPINFO info = gdi::topDownBitmap32(width, height);
    ::SetDIBitsToDevice(dc, left, top, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0,
                        0, static_cast<UINT>(height), bgra.data(), &info, DIB_RGB_COLORS);
}

std::wstring wide(std::string_view text) {
    return toWide(text);
}

} // namespace

// What the popup shows, laid out.
struct FieldPreviews::Content {
    Kind kind = Kind::Image;
    bool row = false; // the slideshow's row of images
    int total = 0;
    std::vector<LoadedItem> items;
    std::vector<std::vector<std::uint32_t>> opaque; // images over the background
    std::vector<RECT> pictures;                     // one for each item
    std::vector<std::wstring> lines;
    std::vector<RECT> lineRects;
    SIZE client{};
    int step = 0;
};

FieldPreviews::FieldPreviews(HINSTANCE instance, const ThemeProject& project)
    : instance_(instance), project_(project) {}

FieldPreviews::~FieldPreviews() {
    for (const auto& [window, field] : fields_) {
        if (field.subclass) {
            ::KillTimer(window, kFocusTimer);
        }
    }
    // The fields stop calling in before anything they use goes.
    fields_.clear();
    // The worker goes before the popup it posts to.
    worker_.reset();
    if (popup_) {
        release(popup_);
        ::DestroyWindow(popup_);
    }
}

void FieldPreviews::watch(HWND control, ControlId id) {
    if (!preview::fieldRole(id) || !control) {
        return;
    }
    // Fields destroyed before now leave entries whose subclass is gone; their handles may have
    // been given to new windows.
    std::erase_if(fields_, [](const auto& entry) { return !entry.second.subclass; });
    if (fields_.contains(control)) {
        return;
    }
    WindowSubclass subclass(control,
                            [this, control](HWND, UINT message, WPARAM wParam, LPARAM lParam) {
                                return fieldMessage(control, message, wParam, lParam);
                            });
    if (subclass) {
        fields_.emplace(control, Field{id, std::move(subclass)});
    }
}

bool FieldPreviews::makePopup(HWND owner) {
    WindowClass type;
    type.name = kPreviewPopupClass;
    type.procedure = procedure;
    type.cursor = ::LoadCursorW(nullptr, IDC_ARROW);
    if (!registerWindowClass(instance_, type)) {
        return false;
    }
    // Layered and transparent to the mouse: a click on what the popup covers (the next field
    // of the page, say) reaches it.
    popup_ = ::CreateWindowExW(kPopupExStyle, kPreviewPopupClass, L"", WS_POPUP | WS_BORDER, 0, 0,
                               1, 1, owner, nullptr, instance_, this);
    if (popup_) {
        ::SetLayeredWindowAttributes(popup_, 0, 255, LWA_ALPHA);
    }
    return popup_ != nullptr;
}

void FieldPreviews::hide() {
    requested_ = nullptr;
    if (worker_) {
        worker_->cancel(kChannel);
    }
    if (popup_) {
        ::KillTimer(popup_, kStepTimer);
        ::ShowWindow(popup_, SW_HIDE);
    }
    content_.reset();
}

void FieldPreviews::request(HWND field) {
    const auto it = fields_.find(field);
    if (it == fields_.end() || !it->second.subclass) {
        return;
    }
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(field)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(field, text.data(), static_cast<int>(text.size()))));
    const std::optional<preview::Request> wanted =
        preview::requestFor(it->second.id, toUtf8(text), project_);
    if (!wanted) {
        hide();
        return;
    }
    if (!popup_ && !makePopup(::GetAncestor(field, GA_ROOT))) {
        return;
    }
    if (!worker_) {
        worker_ = std::make_unique<PreviewWorker>(popup_, kPreviewReady);
    }
    const int dpi = dpiOfWindow(field);
    if (dpi != dpi_ || !font_) {
        dpi_ = dpi;
        font_ = makePreviewFont(dpi);
    }
    const bool row = preview::fieldRole(it->second.id) == preview::FieldRole::Slideshow;
    PreviewJob job;
    job.channel = kChannel;
    for (const std::string& path : wanted->paths) {
        job.files.emplace_back(path, wanted->kind);
    }
    const preview::Size box = row ? preview::kSlideshowBox : preview::kImageBox;
    job.box = {scaleToDpi(box.width, dpi_), scaleToDpi(box.height, dpi_)};
    requested_ = field;
    serial_ = worker_->submit(std::move(job));
    content_ = std::make_unique<Content>();
    content_->kind = wanted->kind;
    content_->row = row;
    content_->total = wanted->total;
}

void FieldPreviews::takeResults() {
    if (!worker_) {
        return;
    }
    for (std::unique_ptr<PreviewResult>& result : worker_->take()) {
        if (result->serial != serial_ || !requested_ || !content_) {
            continue;
        }
        content_->items = std::move(result->items);
        const COLORREF background = ::GetSysColor(COLOR_WINDOW);
        for (LoadedItem& item : content_->items) {
            // Only the composed copy is kept: one thumbnail per image.
            content_->opaque.push_back(overBackground(item.pixels, background));
            item.pixels.bgra = {};
        }
        if (!::IsWindowVisible(requested_) || !::IsWindowEnabled(requested_)) {
            hide();
            return;
        }
        {
            const gdi::WindowDc dc(popup_);
            layout(dc.get());
        }
        place();
        const LoadedItem& first = content_->items.front();
        if (!first.failure && !first.animation.rates.empty()) {
            ::SetTimer(popup_, kStepTimer, std::max(16u, first.animation.rates[0] * 1000 / 60),
                       nullptr);
        }
    }
}

void FieldPreviews::layout(HDC dc) {
    Content& c = *content_;
    const int pad = scaleToDpi(preview::kPadding, dpi_);
    const int gap = scaleToDpi(preview::kGap, dpi_);
    c.pictures.assign(c.items.size(), RECT{});
    c.lines.clear();
    int right = 0;
    int bottom = pad;
    const LoadedItem& first = c.items.front();
    const auto place = [&](std::size_t i, int left, int top, int width, int height) {
        c.pictures[i] = {left, top, left + width, top + height};
        right = std::max(right, left + width);
        bottom = std::max(bottom, top + height + gap);
    };
    if (c.items.size() == 1 && first.failure) {
        c.lines.push_back(wide(preview::kNoPreview) + wide(text::kPreviewColon) +
                          wide(preview::failureText(*first.failure)));
    } else if (c.kind == Kind::Image && c.row) {
        const preview::Size cell = {scaleToDpi(preview::kSlideshowBox.width, dpi_),
                                    scaleToDpi(preview::kSlideshowBox.height, dpi_)};
        std::vector<preview::Size> sizes;
        for (const LoadedItem& item : c.items) {
            sizes.push_back(item.failure ? cell
                                         : preview::Size{item.pixels.width, item.pixels.height});
        }
        const std::vector<preview::Placed> placed = preview::thumbnailRow(sizes, cell, pad, gap);
        for (std::size_t i = 0; i < placed.size(); ++i) {
            place(i, placed[i].left, placed[i].top, placed[i].width, placed[i].height);
        }
        c.lines.push_back(wide(preview::slideshowCountText(c.total)));
    } else if (c.kind == Kind::Image) {
        place(0, pad, pad, first.pixels.width, first.pixels.height);
        c.lines.push_back(first.fileName);
        c.lines.push_back(std::to_wstring(first.original.width) + L" × " +
                          std::to_wstring(first.original.height) + wide(text::kPreviewComma) +
                          wide(preview::sizeText(first.bytes)));
    } else if (c.kind == Kind::IconFile || c.kind == Kind::IconInModule) {
        // The two sizes side by side, standing on one line.
        place(0, pad, pad + 16, 32, 32);
        c.pictures.push_back({pad + 32 + gap, pad, pad + 32 + gap + 48, pad + 48});
        right = std::max(right, pad + 32 + gap + 48);
        bottom = std::max(bottom, pad + 48 + gap);
        c.lines.push_back(first.fileName);
    } else if (c.kind == Kind::Pointer || c.kind == Kind::AnimatedPointer) {
        place(0, pad, pad, std::max(1, first.pointerSize.width),
              std::max(1, first.pointerSize.height));
        c.lines.push_back(first.fileName);
        std::wstring facts = std::to_wstring(first.pointerSize.width) + L" × " +
                             std::to_wstring(first.pointerSize.height) +
                             wide(text::kHotSpotBefore) + std::to_wstring(first.hotX) + L", " +
                             std::to_wstring(first.hotY) + L")";
        if (!first.animation.rates.empty()) {
            facts += wide(text::kPreviewComma) + std::to_wstring(first.animation.steps) +
                     wide(text::kAnimationSteps);
        }
        c.lines.push_back(facts);
    } else {
        c.lines.push_back(first.fileName);
        c.lines.push_back(wide(text::kSizeLabel) + wide(preview::sizeText(first.bytes)));
        if (!first.description.empty()) {
            c.lines.push_back(wide(text::kDescriptionLabel) + wide(first.description));
        }
        if (first.lengthMs) {
            c.lines.push_back(wide(text::kLengthLabel) +
                              wide(preview::durationText(*first.lengthMs)));
        }
    }
    const gdi::Selection font(dc, font_.get());
    c.lineRects.clear();
    const int maxWidth = scaleToDpi(360, dpi_);
    for (const std::wstring& line : c.lines) {
        RECT measure = {0, 0, maxWidth, 0};
        ::DrawTextW(dc, line.c_str(), static_cast<int>(line.size()), &measure,
                    DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        const int width = std::min<int>(maxWidth, measure.right);
        c.lineRects.push_back({pad, bottom, pad + width, bottom + measure.bottom});
        right = std::max(right, pad + width);
        bottom += measure.bottom;
    }
    c.client = {right + pad, bottom + pad};
}

void FieldPreviews::place() {
    if (!requested_ || !content_) {
        return;
    }
    RECT frame = {0, 0, content_->client.cx, content_->client.cy};
    ::AdjustWindowRectEx(&frame, WS_POPUP | WS_BORDER, FALSE, kPopupExStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    RECT field{};
    ::GetWindowRect(requested_, &field);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(requested_, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const int margin = scaleToDpi(2, dpi_);
    int top = field.bottom + margin;
    if (top + height > work.bottom) {
        top = field.top - margin - height;
    }
    const int left =
        std::clamp<int>(field.left, work.left, std::max<int>(work.left, work.right - width));
    ::SetWindowPos(popup_, HWND_TOPMOST, left, top, width, height, SWP_NOACTIVATE);
    ::InvalidateRect(popup_, nullptr, FALSE);
    ::ShowWindow(popup_, SW_SHOWNOACTIVATE);
}

void FieldPreviews::paint(HDC dc) {
    RECT client{};
    ::GetClientRect(popup_, &client);
    const COLORREF background = ::GetSysColor(COLOR_WINDOW);
    const gdi::Brush brush(::CreateSolidBrush(background));
    ::FillRect(dc, &client, brush.get());
    if (!content_ || content_->items.empty() || content_->pictures.empty()) {
        return;
    }
    const Content& c = *content_;
    const int arm = scaleToDpi(4, dpi_);
    for (std::size_t i = 0; i < c.items.size() && i < c.pictures.size(); ++i) {
        const LoadedItem& item = c.items[i];
        const RECT& at = c.pictures[i];
        if (item.failure) {
            if (c.row) {
                // A slideshow image that cannot be shown keeps its place, greyed.
                const gdi::Brush grey(::CreateSolidBrush(RGB(224, 224, 224)));
                ::FillRect(dc, &at, grey.get());
                RECT text = at;
                const gdi::Selection font(dc, font_.get());
                ::SetBkMode(dc, TRANSPARENT);
                ::SetTextColor(dc, RGB(96, 96, 96));
                const std::wstring none = wide(preview::kNoPreview);
                ::DrawTextW(dc, none.c_str(), -1, &text,
                            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
            }
            continue;
        }
        switch (c.kind) {
        case Kind::Image:
            drawPixels(dc, at.left, at.top, item.pixels.width, item.pixels.height, c.opaque[i]);
            break;
        case Kind::IconFile:
        case Kind::IconInModule:
            ::DrawIconEx(dc, at.left, at.top, item.small.get(), 32, 32, 0, nullptr, DI_NORMAL);
            if (c.pictures.size() > i + 1) {
                const RECT& large = c.pictures[i + 1];
                ::DrawIconEx(dc, large.left, large.top, item.large.get(), 48, 48, 0, nullptr,
                             DI_NORMAL);
            }
            break;
        case Kind::Pointer:
        case Kind::AnimatedPointer: {
            ::DrawIconEx(dc, at.left, at.top, item.pointer.get(), item.pointerSize.width,
                         item.pointerSize.height, static_cast<UINT>(c.step), nullptr, DI_NORMAL);
            // The hot spot: a red cross around it that leaves the point itself to be seen.
            const gdi::Pen red(::CreatePen(PS_SOLID, 1, RGB(230, 0, 0)));
            const gdi::Selection pen(dc, red.get());
            const int x = at.left + item.hotX;
            const int y = at.top + item.hotY;
            const int inner = 2;
            const int outer = inner + arm;
            ::MoveToEx(dc, x - outer, y, nullptr);
            ::LineTo(dc, x - inner + 1, y);
            ::MoveToEx(dc, x + inner, y, nullptr);
            ::LineTo(dc, x + outer + 1, y);
            ::MoveToEx(dc, x, y - outer, nullptr);
            ::LineTo(dc, x, y - inner + 1);
            ::MoveToEx(dc, x, y + inner, nullptr);
            ::LineTo(dc, x, y + outer + 1);
            break;
        }
        default:
            break;
        }
    }
    const gdi::Selection font(dc, font_.get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    for (std::size_t i = 0; i < c.lines.size() && i < c.lineRects.size(); ++i) {
        RECT line = c.lineRects[i];
        ::DrawTextW(dc, c.lines[i].c_str(), static_cast<int>(c.lines[i].size()), &line,
                    DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
}

void FieldPreviews::nextStep() {
    if (!content_ || content_->items.empty()) {
        ::KillTimer(popup_, kStepTimer);
        return;
    }
    const preview::Animation& animation = content_->items.front().animation;
    if (animation.rates.empty()) {
        ::KillTimer(popup_, kStepTimer);
        return;
    }
    content_->step = (content_->step + 1) % static_cast<int>(animation.rates.size());
    const UINT rate = animation.rates[static_cast<std::size_t>(content_->step)];
    ::SetTimer(popup_, kStepTimer, std::max(16u, rate * 1000 / 60), nullptr);
    ::InvalidateRect(popup_, nullptr, FALSE);
}

LRESULT FieldPreviews::fieldMessage(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        switch (message) {
        case WM_MOUSEMOVE:
            // Each move restarts the hover time: the preview shows once the mouse rests.
            if (tracked_ != field || requested_ != field) {
                TRACKMOUSEEVENT track{};
                track.cbSize = sizeof(track);
                track.dwFlags = TME_LEAVE | (requested_ == field ? 0 : TME_HOVER);
                track.hwndTrack = field;
                track.dwHoverTime = HOVER_DEFAULT;
                if (::TrackMouseEvent(&track)) {
                    tracked_ = field;
                }
            }
            break;
        case WM_MOUSEHOVER:
            request(field);
            break;
        case WM_MOUSELEAVE:
            if (tracked_ == field) {
                tracked_ = nullptr;
            }
            if (requested_ == field && ::GetFocus() != field) {
                hide();
            }
            break;
        case WM_SETFOCUS:
            ::SetTimer(field, kFocusTimer, kFocusDelayMs, nullptr);
            break;
        case WM_KILLFOCUS:
            ::KillTimer(field, kFocusTimer);
            if (requested_ == field && tracked_ != field) {
                hide();
            }
            break;
        case WM_TIMER:
            if (wParam == kFocusTimer) {
                ::KillTimer(field, kFocusTimer);
                if (::GetFocus() == field && requested_ != field) {
                    request(field);
                }
                return 0;
            }
            break;
        case WM_KEYDOWN:
        case WM_CHAR:
        case WM_PASTE:
        case WM_CUT:
        case WM_CLEAR:
            if (requested_ == field) {
                hide();
            }
            break;
        case WM_SETTEXT: {
            const LRESULT result = WindowSubclass::callNext(field, message, wParam, lParam);
            if (requested_ == field) {
                request(field);
            }
            return result;
        }
        case WM_ENABLE:
            if (!wParam && requested_ == field) {
                hide();
            }
            break;
        case WM_DESTROY:
            // The entry stays until the next watch: the subclass removes itself at WM_NCDESTROY.
            ::KillTimer(field, kFocusTimer);
            if (requested_ == field) {
                hide();
            }
            if (tracked_ == field) {
                tracked_ = nullptr;
            }
            break;
        default:
            break;
        }
    } catch (...) {
        // A preview that fails shows nothing; the field goes on working.
    }
    return WindowSubclass::callNext(field, message, wParam, lParam);
}

void FieldPreviews::onDetached(HWND window) {
    if (popup_ == window) {
        popup_ = nullptr;
    }
}

LRESULT FieldPreviews::onFailure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                 const char*) {
    content_.reset();
    return ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT FieldPreviews::onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        const gdi::PaintDc painting(window);
        if (popup_ == window) {
            RECT client{};
            ::GetClientRect(window, &client);
            gdi::BufferedPaint buffer(painting.get(), client.right, client.bottom);
            paint(buffer.get());
        }
        return 0;
    }
    case WM_TIMER:
        if (wParam == kStepTimer) {
            nextStep();
        }
        return 0;
    case kPreviewReady:
        if (popup_ == window) {
            takeResults();
        }
        return 0;
    default:
        break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

} // namespace quorvel
