#include "preview/win32/PagePictures.h"

#include "pages/ControlTable.h"
#include "platform/win32/WideText.h"
#include "widgets/Dpi.h"

#include <algorithm>
#include <array>
#include <utility>

namespace quorvel {

namespace {

int CALLBACK noteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool hasFace(HDC dc, const wchar_t* face) {
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    ::lstrcpynW(query.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    ::EnumFontFamiliesExW(dc, &query, noteFace, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

std::wstring firstFace(std::initializer_list<const wchar_t*> faces) {
    // A memory context lists the same fonts as the screen's without fetching the screen's.
    const gdi::MemoryDc dc(::CreateCompatibleDC(nullptr));
    for (const wchar_t* face : faces) {
        if (hasFace(dc.get(), face)) {
            return face;
        }
    }
    return {};
}

gdi::Font makeFont(const std::wstring& face, int pixelHeight, int weight) {
    LOGFONTW font{};
    font.lfHeight = -pixelHeight;
    font.lfWeight = weight;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = CLEARTYPE_QUALITY;
    ::lstrcpynW(font.lfFaceName, face.c_str(), LF_FACESIZE);
    return gdi::Font(::CreateFontIndirectW(&font));
}

void drawText(HDC dc, HFONT font, std::string_view text, RECT rect, Rgb color, UINT format) {
    const std::wstring wide = toWide(text);
    const gdi::Selection selection(dc, font);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, gdi::colorOf(color));
    ::DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &rect,
                format | DT_NOPREFIX | DT_SINGLELINE);
}

RECT rectOf(const Rect& r) {
    return {r.left, r.top, r.right(), r.bottom()};
}

// A rectangle given at 96 DPI, its edges scaled to `dpi`.
RECT scaledRect(int left, int top, int right, int bottom, int dpi) {
    return {scaleToDpi(left, dpi), scaleToDpi(top, dpi), scaleToDpi(right, dpi),
            scaleToDpi(bottom, dpi)};
}

// The system pointer of a pointer role, or nullptr where the system has none.
HCURSOR pointerOf(std::string_view role) {
    static const std::array<std::pair<std::string_view, const wchar_t*>, 15> kPointers = {{
        {"UpArrow", IDC_UPARROW},
        {"Wait", IDC_WAIT},
        {"SizeNWSE", IDC_SIZENWSE},
        {"SizeNESW", IDC_SIZENESW},
        {"NWPen", MAKEINTRESOURCEW(32631)},
        {"Help", IDC_HELP},
        {"SizeWE", IDC_SIZEWE},
        {"Hand", IDC_HAND},
        {"SizeAll", IDC_SIZEALL},
        {"Arrow", IDC_ARROW},
        {"Crosshair", IDC_CROSS},
        {"IBeam", IDC_IBEAM},
        {"No", IDC_NO},
        {"SizeNS", IDC_SIZENS},
        {"AppStarting", IDC_APPSTARTING},
    }};
    for (const auto& [name, id] : kPointers) {
        if (name == role) {
            return ::LoadCursorW(nullptr, id);
        }
    }
    return nullptr;
}

// The size of a pointer's picture as the system gives it; 0 x 0 when it cannot be read.
SIZE pointerSize(HCURSOR pointer) {
    ICONINFO info{};
    if (!::GetIconInfo(pointer, &info)) {
        return {};
    }
    const gdi::Bitmap color(info.hbmColor);
    const gdi::Bitmap mask(info.hbmMask);
    BITMAP bitmap{};
    if (color && ::GetObjectW(color.get(), sizeof(bitmap), &bitmap)) {
        return {bitmap.bmWidth, bitmap.bmHeight};
    }
    if (mask && ::GetObjectW(mask.get(), sizeof(bitmap), &bitmap)) {
        // A monochrome pointer's mask holds the AND and the XOR halves one above the other.
        return {bitmap.bmWidth, bitmap.bmHeight / 2};
    }
    return {};
}

// `where` is already scaled to `dpi`; the frame stays one pixel wide.
void paintPictogram(HDC dc, const Rect& where, std::string_view role, const LookColors& c,
                    int dpi) {
    const RECT box = rectOf(where);
    gdi::fill(dc, box, c.fieldFace);
    gdi::frame(dc, box, c.frame);
    if (const HCURSOR pointer = pointerOf(role)) {
        const RECT at = pictogramPlace(box, pointerSize(pointer));
        ::DrawIconEx(dc, at.left, at.top, pointer, at.right - at.left, at.bottom - at.top, 0,
                     nullptr, DI_NORMAL);
        return;
    }
    // A pen for the handwriting pointer where the system has no picture of it.
    const gdi::Pen pen = gdi::solidPen(c.text, scaleToDpi(2, dpi));
    const gdi::Selection selection(dc, pen.get());
    ::MoveToEx(dc, box.left + scaleToDpi(5, dpi), box.bottom - scaleToDpi(5, dpi), nullptr);
    ::LineTo(dc, box.right - scaleToDpi(6, dpi), box.top + scaleToDpi(5, dpi));
}

} // namespace

RECT pictogramPlace(const RECT& frame, SIZE pointer) {
    const RECT inside{frame.left + 1, frame.top + 1, frame.right - 1, frame.bottom - 1};
    const int room = std::min(inside.right - inside.left, inside.bottom - inside.top);
    // A pointer of unknown size is fitted to the frame, as a larger one is.
    const int known = std::min(pointer.cx, pointer.cy);
    const int size = known > 0 ? std::min(room, known) : room;
    const int left = inside.left + (inside.right - inside.left - size) / 2;
    const int top = inside.top + (inside.bottom - inside.top - size) / 2;
    return {left, top, left + size, top + size};
}

// catalogue: off (the fonts' own names, which the user does not read)
std::wstring chineseFace() {
    static const std::wstring face =
        firstFace({L"微软雅黑", L"Microsoft YaHei", L"宋体", L"SimSun", L"文泉驿微米黑",
                   L"WenQuanYi Micro Hei", L"Noto Sans CJK SC"});
    return face;
}

std::wstring boldChineseFace() {
    static const std::wstring face = [] {
        std::wstring bold = firstFace({L"黑体", L"SimHei"});
        return bold.empty() ? chineseFace() : bold;
    }();
    return face;
}
// catalogue: on

WizardFonts makeWizardFonts(int dpi) {
    WizardFonts fonts;
    fonts.text = makeFont(chineseFace(), scaleToDpi(12, dpi), FW_NORMAL);
    fonts.title = makeFont(chineseFace(), scaleToDpi(20, dpi), FW_BOLD);
    fonts.heading = makeFont(chineseFace(), scaleToDpi(26, dpi), FW_BOLD);
    fonts.face = makeFont(chineseFace(), scaleToDpi(15, dpi), FW_BOLD);
    fonts.tick = makeFont(boldChineseFace(), scaleToDpi(16, dpi), FW_BOLD);
    return fonts;
}

void paintPagePicture(HDC dc, Page page, const WizardFonts& fonts, const LookColors& c, int dpi) {
    const RECT whole = scaledRect(0, 0, kPageWidth, kPageHeight, dpi);
    gdi::fill(dc, whole, c.pageBody);

    bool titled = page == Page::Main;
    for (const PageLabel& label : pageLabels()) {
        titled = titled || (label.page == page && label.style == LabelStyle::Title);
    }
    if (titled) {
        const RECT band = scaledRect(0, 0, kPageWidth, 80, dpi);
        gdi::verticalGradient(dc, band, c.pageBand, c.pageBody);
        // A rule of one pixel at every DPI: its top edge is scaled, its height is not.
        RECT rule = scaledRect(24, 70, kPageWidth - 24, 70, dpi);
        rule.bottom = rule.top + 1;
        gdi::fill(dc, rule, c.accent);
    }
    // The button row of the wizard pages sits under a separator.
    if (page >= Page::Win71 && page != Page::Win72 && page != Page::Xp2) {
        RECT separator = scaledRect(12, 275, kPageWidth - 12, 275, dpi);
        separator.bottom = separator.top + 1;
        gdi::fill(dc, separator, c.frame);
    }

    for (const PageLabel& label : pageLabels()) {
        if (label.page != page) {
            continue;
        }
        const Rect scaled = scaleToDpi(label.rect, dpi);
        const RECT rect = rectOf(scaled);
        switch (label.style) {
        case LabelStyle::Title:
            drawText(dc, fonts.title.get(), label.text, rect, c.title, DT_LEFT | DT_VCENTER);
            break;
        case LabelStyle::Heading:
            drawText(dc, fonts.heading.get(), label.text, rect, c.title, DT_LEFT | DT_VCENTER);
            break;
        case LabelStyle::Field:
            drawText(dc, fonts.text.get(), label.text, rect, c.label, DT_RIGHT | DT_VCENTER);
            break;
        case LabelStyle::Text:
            drawText(dc, fonts.text.get(), label.text, rect, c.label, DT_LEFT | DT_VCENTER);
            break;
        case LabelStyle::Note:
            drawText(dc, fonts.text.get(), label.text, rect, c.note, DT_LEFT | DT_VCENTER);
            break;
        case LabelStyle::Pictogram:
            paintPictogram(dc, scaled, label.text, c, dpi);
            break;
        }
    }
}

void paintButtonFace(HDC dc, const RECT& rect, std::wstring_view label, FaceState state,
                     const WizardFonts& fonts, const LookColors& c, int dpi) {
    const auto px = [dpi](int v) { return scaleToDpi(v, dpi); };
    Rgb top = c.buttonTop;
    Rgb bottom = c.buttonBottom;
    int bar = 4;
    if (state == FaceState::Hot) {
        top = c.buttonHotTop;
        bottom = c.buttonHotBottom;
        bar = 7;
    } else if (state == FaceState::Pressed) {
        top = c.buttonPressedTop;
        bottom = c.buttonPressedBottom;
        bar = 7;
    }
    gdi::verticalGradient(dc, rect, top, bottom);
    gdi::frame(dc, rect, c.frame);
    const RECT accentBar = {rect.left, rect.top, rect.left + px(bar), rect.bottom};
    gdi::fill(dc, accentBar, c.accent);

    const int shift = state == FaceState::Pressed ? px(1) : 0;
    RECT text = {rect.left + px(20) + shift, rect.top + shift, rect.right - px(24) + shift,
                 rect.bottom + shift};
    const gdi::Selection font(dc, fonts.face.get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, gdi::colorOf(state == FaceState::Normal ? c.title : c.accent));
    ::DrawTextW(dc, label.data(), static_cast<int>(label.size()), &text,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);

    // A chevron at the right pointing the way.
    const gdi::Pen pen = gdi::solidPen(c.accent, px(2));
    const gdi::Selection selection(dc, pen.get());
    const int x = rect.right - px(16) + shift;
    const int y = (rect.top + rect.bottom) / 2 + shift;
    ::MoveToEx(dc, x - px(3), y - px(5), nullptr);
    ::LineTo(dc, x + px(2), y);
    ::LineTo(dc, x - px(3), y + px(5));
}

} // namespace quorvel
