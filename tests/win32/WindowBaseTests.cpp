// The window base: the object is bound to its window from WM_NCCREATE to WM_NCDESTROY (or until
// it lets the window go), every message in between reaches it, an exception that escapes a
// handler becomes the object's failure answer, and WM_DPICHANGED goes to the DPI hook first.
#include "widgets/win32/WindowBase.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace quorvel {
namespace {

constexpr wchar_t kProbeClass[] = L"QuorvelWindowBaseProbe";
constexpr UINT kProbe = WM_APP + 9;
constexpr LRESULT kFailed = -77;

// Answers kProbe by what wParam asks: 0 its own answer (lParam), 1 a std::exception, 2 something
// else thrown.
class Probe : public WindowBase<Probe> {
public:
    HWND attached = nullptr;
    HWND detached = nullptr;
    std::vector<std::string> failures;
    std::vector<int> dpiChanges;
    bool takesDpi = true;
    int probes = 0;

    HWND make() {
        WindowClass type;
        type.name = kProbeClass;
        type.procedure = procedure;
        if (!registerWindowClass(::GetModuleHandleW(nullptr), type)) {
            return nullptr;
        }
        return ::CreateWindowExW(0, kProbeClass, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 ::GetModuleHandleW(nullptr), this);
    }
    using WindowBase::followDpi;
    using WindowBase::release;

private:
    friend class WindowBase<Probe>;
    void onAttached(HWND window) { attached = window; }
    void onDetached(HWND window) { detached = window; }
    bool onDpiChanged(HWND, int dpi, const RECT* suggested) {
        dpiChanges.push_back(suggested ? dpi : -dpi);
        return takesDpi;
    }
    LRESULT onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_DPICHANGED) {
            return 5;
        }
        if (message != kProbe) {
            return ::DefWindowProcW(window, message, wParam, lParam);
        }
        ++probes;
        if (wParam == 1) {
            throw std::runtime_error("handler failed");
        }
        if (wParam == 2) {
            throw 42;
        }
        return lParam;
    }
    LRESULT onFailure(HWND, UINT message, WPARAM, LPARAM, const char* what) {
        failures.push_back(std::to_string(message - kProbe) + ":" + what);
        return kFailed;
    }
};

TEST(Win32WindowBase, BindsTheObjectAndTurnsEscapingExceptionsIntoItsFailureAnswer) {
    Probe probe;
    const HWND window = probe.make();
    if (!window) {
        GTEST_SKIP() << "needs a display";
    }
    EXPECT_EQ(probe.attached, window);
    EXPECT_EQ(Probe::objectOf(window), &probe);

    const struct {
        WPARAM ask;
        LRESULT answer;
        const char* failure; // null: none
    } cases[] = {
        {0, 123, nullptr},
        {1, kFailed, "0:handler failed"},
        {2, kFailed, "0:unknown"},
        {0, -4, nullptr},
    };
    std::vector<std::string> expected;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ask);
        EXPECT_EQ(::SendMessageW(window, kProbe, c.ask, c.ask ? 0 : c.answer), c.answer);
        if (c.failure) {
            expected.push_back(c.failure);
        }
        EXPECT_EQ(probe.failures, expected);
    }
    EXPECT_EQ(probe.probes, 4);

    // WM_DPICHANGED: the hook first; left to onMessage when the hook declines.
    RECT suggested = {1, 2, 3, 4};
    EXPECT_EQ(::SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144),
                             reinterpret_cast<LPARAM>(&suggested)),
              0);
    probe.takesDpi = false;
    EXPECT_EQ(::SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(192, 192),
                             reinterpret_cast<LPARAM>(&suggested)),
              5);
    // Made for another DPI than its monitor's, the window is laid out anew, keeping its corner.
    const int own = dpiOfWindow(window);
    probe.followDpi(window, own);
    probe.followDpi(window, own + 1);
    EXPECT_EQ(probe.dpiChanges, (std::vector<int>{144, 192, -own}));

    ::DestroyWindow(window);
    EXPECT_EQ(probe.detached, window);

    // A window its object lets go reaches it no more, its destruction included.
    const HWND released = probe.make();
    ASSERT_TRUE(released) << "a class registered already counts as registered";
    Probe::release(released);
    EXPECT_EQ(Probe::objectOf(released), nullptr);
    EXPECT_EQ(::SendMessageW(released, kProbe, 1, 9), 0) << "answered by the system";
    ::DestroyWindow(released);
    EXPECT_EQ(probe.probes, 4);
    EXPECT_EQ(probe.detached, window);
}

} // namespace
} // namespace quorvel
