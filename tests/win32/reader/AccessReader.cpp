// A small accessibility client in a process of its own, as a screen reader is: for each window
// handle given it asks oleacc for the window's client object and writes what it reads, one line
// per element, into a UTF-8 file for the end-to-end tests.
//
//   quorvel_access_reader.exe --out=FILE HWND[:ID]...      (handles in hexadecimal)
//
// With ":ID" the reader then carries out the default action of that element (0: the object).
// For each window:  "window <hwnd> <hresult> <children>"  then for the object itself (id 0) and
// each simple element:  "<id>\t<role>\t<state>\t<name>"  (role and state in hexadecimal); a
// child that is an object of its own (a child window) is listed as "<id>\twindow"; a default
// action carried out as "action <id> <hresult>". "late <hresult>\t<name>" is the object's name
// asked for through IDispatch::Invoke, as scripts ask.
//
// The interface ids are taken from the headers (__uuidof): MinGW-w64's import library of oleacc
// also has a symbol IID_IAccessible, but as a thunk of the DLL's export, so a program linked with
// it before the uuid library reads code bytes as the interface id and every query fails with
// E_NOINTERFACE.
#include <windows.h>

#include <oleacc.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

std::string utf8(const wchar_t* text, int length) {
    if (length <= 0) {
        return {};
    }
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
    return out;
}

std::string hex(unsigned long long value) {
    char text[24];
    std::snprintf(text, sizeof text, "%llx", value);
    return text;
}

VARIANT childId(long id) {
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

long number(IAccessible& object, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*),
            long id) {
    VARIANT value;
    ::VariantInit(&value);
    const HRESULT got = (object.*get)(childId(id), &value);
    const long result = got == S_OK && value.vt == VT_I4 ? value.lVal : -1;
    ::VariantClear(&value);
    return result;
}

std::string nameOf(IAccessible& object, long id) {
    BSTR name = nullptr;
    std::string result;
    if (object.get_accName(childId(id), &name) == S_OK && name) {
        result = utf8(name, static_cast<int>(::SysStringLen(name)));
    }
    ::SysFreeString(name);
    return result;
}

// The name as a late-bound client (a script) asks for it: through IDispatch, by number.
std::string lateBoundName(IAccessible& object) {
    VARIANT self = childId(CHILDID_SELF);
    DISPPARAMS params{&self, nullptr, 1, 0};
    VARIANT name;
    ::VariantInit(&name);
    const HRESULT got = object.Invoke(DISPID_ACC_NAME, GUID{}, 0, DISPATCH_PROPERTYGET, &params,
                                      &name, nullptr, nullptr);
    std::string out = "late " + hex(static_cast<unsigned long>(got)) + '\t';
    if (got == S_OK && name.vt == VT_BSTR && name.bstrVal) {
        out += utf8(name.bstrVal, static_cast<int>(::SysStringLen(name.bstrVal)));
    }
    ::VariantClear(&name);
    return out + '\n';
}

std::string element(IAccessible& object, long id) {
    return std::to_string(id) + '\t' +
           hex(static_cast<unsigned long>(number(object, &IAccessible::get_accRole, id))) + '\t' +
           hex(static_cast<unsigned long>(number(object, &IAccessible::get_accState, id))) + '\t' +
           nameOf(object, id) + '\n';
}

std::string readWindow(HWND window, long action) {
    IAccessible* object = nullptr;
    const HRESULT got =
        ::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT),
                                     __uuidof(IAccessible), reinterpret_cast<void**>(&object));
    long children = 0;
    if (object) {
        object->get_accChildCount(&children);
    }
    std::string out = "window " + hex(reinterpret_cast<ULONG_PTR>(window)) + ' ' +
                      hex(static_cast<unsigned long>(got)) + ' ' + std::to_string(children) + '\n';
    if (!object) {
        return out;
    }
    out += element(*object, CHILDID_SELF);
    out += lateBoundName(*object);
    for (long id = 1; id <= children; ++id) {
        IDispatch* own = nullptr;
        const HRESULT child = object->get_accChild(childId(id), &own);
        if (own) {
            own->Release();
        }
        out += child == S_OK ? std::to_string(id) + "\twindow\n" : element(*object, id);
    }
    if (action >= 0) {
        const HRESULT done = object->accDoDefaultAction(childId(action));
        out +=
            "action " + std::to_string(action) + ' ' + hex(static_cast<unsigned long>(done)) + '\n';
    }
    object->Release();
    return out;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring outPath;
    std::string out;
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    for (int i = 1; i < argc; ++i) {
        if (std::wcsncmp(argv[i], L"--out=", 6) == 0) {
            outPath = argv[i] + 6;
        } else {
            wchar_t* end = nullptr;
            const auto window =
                reinterpret_cast<HWND>(static_cast<ULONG_PTR>(std::wcstoull(argv[i], &end, 16)));
            out += readWindow(window, *end == L':' ? std::wcstol(end + 1, nullptr, 10) : -1);
        }
    }
    if (SUCCEEDED(com)) {
        ::CoUninitialize();
    }
    if (outPath.empty()) {
        std::fputs("usage: quorvel_access_reader --out=FILE HWND[:ID]...\n", stderr);
        return 2;
    }
    const HANDLE file = ::CreateFileW(outPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 1;
    }
    DWORD written = 0;
    const BOOL wrote =
        ::WriteFile(file, out.data(), static_cast<DWORD>(out.size()), &written, nullptr);
    ::CloseHandle(file);
    return wrote && written == out.size() ? 0 : 1;
}
