// Reads a window's accessible object as a screen reader does, through oleacc. The calling thread
// must be in a COM apartment.
#pragma once

#include "platform/win32/SystemLibraries.h"

#include <windows.h>

#include <oleacc.h>

#include <string>

namespace quorvel::test {

class AccessibleClient {
public:
    // The object of the window's client area.
    explicit AccessibleClient(HWND window) {
        got = system::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT),
                                                 __uuidof(IAccessible),
                                                 reinterpret_cast<void**>(&object));
    }
    AccessibleClient(const AccessibleClient&) = delete;
    AccessibleClient& operator=(const AccessibleClient&) = delete;
    ~AccessibleClient() {
        if (object) {
            object->Release();
        }
    }

    static VARIANT id(long child) {
        VARIANT v{};
        v.vt = VT_I4;
        v.lVal = child;
        return v;
    }
    // Empty when the object has no such text (S_FALSE) or fails.
    std::wstring name(long child = CHILDID_SELF) const {
        return text(&IAccessible::get_accName, child);
    }
    std::wstring value(long child = CHILDID_SELF) const {
        return text(&IAccessible::get_accValue, child);
    }
    long role(long child = CHILDID_SELF) const { return number(&IAccessible::get_accRole, child); }
    long state(long child = CHILDID_SELF) const {
        return number(&IAccessible::get_accState, child);
    }

    HRESULT got = E_FAIL;
    IAccessible* object = nullptr;

private:
    std::wstring text(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*),
                      long child) const {
        BSTR text = nullptr;
        std::wstring result;
        if (object && (object->*get)(id(child), &text) == S_OK && text) {
            result = text;
        }
        system::SysFreeString(text);
        return result;
    }
    long number(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*),
                long child) const {
        VARIANT value{};
        return object && (object->*get)(id(child), &value) == S_OK && value.vt == VT_I4 ? value.lVal
                                                                                        : -1;
    }
};

} // namespace quorvel::test
