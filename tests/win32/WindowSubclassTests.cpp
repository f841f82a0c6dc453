// A window subclass as an owned resource: its handler sees the window's messages while it lives,
// several on one window each get their own id, moving keeps it installed, and it is gone when
// it is destroyed or when its window is.
#include "widgets/win32/WindowSubclass.h"

#include <gtest/gtest.h>

#include <vector>

namespace quorvel {
namespace {

constexpr UINT kProbe = WM_APP + 7;

// A plain static window answers kProbe with 0; each subclass adds its own mark.
WindowSubclass marking(HWND window, LRESULT mark, int& calls) {
    return WindowSubclass(window,
                          [mark, &calls](HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
                              if (message != kProbe) {
                                  return WindowSubclass::callNext(w, message, wParam, lParam);
                              }
                              ++calls;
                              return mark + WindowSubclass::callNext(w, message, wParam, lParam);
                          });
}

TEST(Win32WindowSubclass, HandlesMessagesWhileItLivesAndRemovesItself) {
    const HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                                          nullptr, nullptr, nullptr);
    if (!window) {
        GTEST_SKIP() << "needs a display";
    }
    int callsA = 0;
    int callsB = 0;
    {
        std::vector<WindowSubclass> subclasses;
        subclasses.push_back(marking(window, 1, callsA));
        subclasses.push_back(marking(window, 10, callsB)); // moves the first one
        ASSERT_TRUE(subclasses[0]);
        ASSERT_TRUE(subclasses[1]);
        EXPECT_EQ(::SendMessageW(window, kProbe, 0, 0), 11);

        WindowSubclass moved = std::move(subclasses[0]);
        EXPECT_FALSE(subclasses[0]);
        EXPECT_EQ(moved.window(), window);
        EXPECT_EQ(::SendMessageW(window, kProbe, 0, 0), 11);

        moved = WindowSubclass(); // assigning removes the one held before
        EXPECT_EQ(::SendMessageW(window, kProbe, 0, 0), 10);
    }
    EXPECT_EQ(::SendMessageW(window, kProbe, 0, 0), 0) << "removed by its destructor";
    EXPECT_EQ(callsA, 2);
    EXPECT_EQ(callsB, 3);

    WindowSubclass outlived = marking(window, 100, callsA);
    EXPECT_EQ(::SendMessageW(window, kProbe, 0, 0), 100);
    ::DestroyWindow(window);
    EXPECT_FALSE(outlived) << "the window went first";
}

} // namespace
} // namespace quorvel
