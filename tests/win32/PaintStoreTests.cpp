// The off-screen bitmap kept between paints draws exactly as a new one: whatever a paint before
// left in it (colours, background mode, pen position, pixels, a larger size) changes nothing of
// what the next paint copies onto its target.
#include "widgets/win32/Gdi.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace quorvel {
namespace {

// A target of width x height: a memory device context holding a 32-bit DIB section, as a window
// of the screen is painted.
struct Target {
    Target(int width, int height) : width(width), height(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        bitmap.reset(::CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        selection = std::make_unique<gdi::Selection>(dc.get(), bitmap.get());
    }
    std::vector<DWORD> pixels() const {
        ::GdiFlush();
        const auto* first = static_cast<const DWORD*>(bits);
        return {first, first + static_cast<std::size_t>(width) * static_cast<std::size_t>(height)};
    }

    int width;
    int height;
    gdi::MemoryDc dc{::CreateCompatibleDC(nullptr)};
    gdi::Bitmap bitmap;
    void* bits = nullptr;
    std::unique_ptr<gdi::Selection> selection;
};

// Drawing that depends on the state of the device context it is given: text on the background
// colour, a focus rectangle in the text and background colours, a line from the pen position.
void drawDependingOnState(HDC dc, int width, int height) {
    RECT all = {0, 0, width, height};
    gdi::fill(dc, all, Rgb{0xF7, 0xF9, 0xFC});
    ::TextOutW(dc, 2, 2, L"Ab", 2);
    RECT focus = {3, 3, width - 3, height - 3};
    ::DrawFocusRect(dc, &focus);
    ::LineTo(dc, width - 1, height - 1);
}

// What a previous paint may leave behind.
void messUp(HDC dc, int width, int height) {
    RECT all = {0, 0, width, height};
    gdi::fill(dc, all, Rgb{0x12, 0x34, 0x56});
    ::SetTextColor(dc, RGB(200, 0, 0));
    ::SetBkColor(dc, RGB(0, 0, 200));
    ::SetBkMode(dc, TRANSPARENT);
    ::MoveToEx(dc, width / 2, 1, nullptr);
}

TEST(PaintStore, DrawsAsANewBufferWhateverThePaintBeforeLeftAndAtEverySize) {
    struct Case {
        int firstWidth, firstHeight; // the paint before, through the store
        int width, height;           // the paint compared
    };
    const Case cases[] = {
        {40, 20, 40, 20}, // the same size again
        {80, 60, 40, 20}, // smaller than the kept bitmap
        {20, 10, 60, 30}, // larger: the bitmap grows
        {60, 10, 20, 40}, // taller only
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.firstWidth << "x" << c.firstHeight << " then "
                                        << c.width << "x" << c.height);
        Target fresh(c.width, c.height);
        {
            gdi::BufferedPaint buffer(fresh.dc.get(), c.width, c.height);
            drawDependingOnState(buffer.get(), c.width, c.height);
        }
        gdi::PaintStore store;
        Target before(c.firstWidth, c.firstHeight);
        {
            gdi::BufferedPaint buffer(store, before.dc.get(), c.firstWidth, c.firstHeight);
            messUp(buffer.get(), c.firstWidth, c.firstHeight);
        }
        Target kept(c.width, c.height);
        {
            gdi::BufferedPaint buffer(store, kept.dc.get(), c.width, c.height);
            drawDependingOnState(buffer.get(), c.width, c.height);
        }
        EXPECT_EQ(kept.pixels(), fresh.pixels());
    }
}

} // namespace
} // namespace quorvel
