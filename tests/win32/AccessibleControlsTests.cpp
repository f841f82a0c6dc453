// The main window's drawn drop-down lists as an accessibility client sees them through oleacc:
// they give the selected item's text (as their value where the system's object has one, as their
// name under Wine, whose object for combo boxes reports the window text).
#include "AccessibleClient.h"
#include "RecordingPlatform.h"
#include "Sandbox.h"

#include "platform/win32/WideText.h"
#include "window/win32/ThemeWizardWindow.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

class Win32WindowAccessible : public testing::Test {
protected:
    std::unique_ptr<test::Sandbox> sandbox = test::makeSandbox();
    test::RecordingPlatform platform{sandbox->platform()};
    AppState app;
    ThemeWizardWindow window{::GetModuleHandleW(nullptr), app, platform};
    HRESULT com = E_FAIL;

    void SetUp() override {
        wchar_t display[64] = {};
        if (::GetEnvironmentVariableW(L"DISPLAY", display, 64) == 0) {
            GTEST_SKIP() << "needs a display";
        }
        ASSERT_TRUE(window.create(SW_HIDE));
        com = system::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    }
    void TearDown() override {
        if (SUCCEEDED(com)) {
            system::CoUninitialize();
        }
    }
};

TEST_F(Win32WindowAccessible, DropDownListsGiveTheSelectedItemsText) {
    int lists = 0;
    for (const ControlDef& def : controlTable()) {
        if (def.kind != ControlKind::ComboBox || def.items.size() < 2) {
            continue;
        }
        SCOPED_TRACE(def.name);
        const HWND list = window.control(def.id);
        const std::size_t last = def.items.size() - 1;
        ::SendMessageW(list, CB_SETCURSEL, last, 0);
        const test::AccessibleClient client(list);
        ASSERT_EQ(client.got, S_OK);
        ++lists;
        const std::wstring value = client.value();
        EXPECT_EQ(toUtf8(value.empty() ? client.name() : value), def.items[last]);
    }
    EXPECT_GT(lists, 0);
}

} // namespace
} // namespace quorvel
