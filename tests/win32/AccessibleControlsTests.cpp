// The main window's drawn drop-down lists as an accessibility client sees them through oleacc:
// they give the selected item's text (as their value where the system's object has one, as their
// name under Wine, whose object for combo boxes reports the window text).
#include "RecordingPlatform.h"
#include "Sandbox.h"

#include "platform/win32/SystemLibraries.h"
#include "platform/win32/WideText.h"
#include "wizard/win32/ThemeWizardWindow.h"

#include <gtest/gtest.h>

#include <oleacc.h>

#include <string>

namespace quorvel {
namespace {

VARIANT self() {
    VARIANT v{};
    v.vt = VT_I4;
    v.lVal = CHILDID_SELF;
    return v;
}

std::string take(BSTR text) {
    std::string utf8 = text ? toUtf8(text) : std::string();
    system::SysFreeString(text);
    return utf8;
}

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

    IAccessible* objectOf(HWND control) {
        IAccessible* object = nullptr;
        const HRESULT got = system::AccessibleObjectFromWindow(
            control, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
            reinterpret_cast<void**>(&object));
        EXPECT_EQ(got, S_OK);
        return SUCCEEDED(got) ? object : nullptr;
    }
};

TEST_F(Win32WindowAccessible, DropDownListsGiveTheSelectedItemsText) {
    int lists = 0;
    for (const ControlDef& def : controlTable()) {
        if (def.kind != ControlKind::ComboBox || def.items.size() < 2) {
            continue;
        }
        SCOPED_TRACE(def.name);
        const HWND list = window.control(def.name);
        const std::size_t last = def.items.size() - 1;
        ::SendMessageW(list, CB_SETCURSEL, last, 0);
        IAccessible* object = objectOf(list);
        ASSERT_NE(object, nullptr);
        ++lists;
        BSTR value = nullptr;
        const HRESULT hasValue = object->get_accValue(self(), &value);
        const std::string valueText = take(value);
        BSTR name = nullptr;
        object->get_accName(self(), &name);
        const std::string nameText = take(name);
        if (hasValue == S_OK) {
            EXPECT_EQ(valueText, def.items[last]);
        } else {
            EXPECT_EQ(nameText, def.items[last]);
        }
        object->Release();
    }
    EXPECT_GT(lists, 0);
}

} // namespace
} // namespace quorvel
