#include "platform/win32/SystemLibraries.h"

#include <shellapi.h>

#include <cstddef>
#include <iterator>

namespace quorvel::system {

namespace {

constexpr wchar_t kCommonControls[] = L"comctl32.dll";
constexpr wchar_t kCommonDialogs[] = L"comdlg32.dll";
constexpr wchar_t kShell[] = L"shell32.dll";
constexpr wchar_t kShellUtilities[] = L"shlwapi.dll";
constexpr wchar_t kCom[] = L"ole32.dll";
constexpr wchar_t kVersion[] = L"version.dll";
constexpr wchar_t kGdiplus[] = L"gdiplus.dll";
constexpr wchar_t kAutomation[] = L"oleaut32.dll";
constexpr wchar_t kAccessibility[] = L"oleacc.dll";
constexpr wchar_t kUser[] = L"user32.dll";
constexpr wchar_t kCabinet[] = L"cabinet.dll";

// Every function called through this file, each named once.
enum class Fn {
    InitCommonControlsEx,
    SetWindowSubclass,
    RemoveWindowSubclass,
    DefSubclassProc,
    GetOpenFileNameW,
    GetSaveFileNameW,
    CommDlgExtendedError,
    ChooseColorW,
    SHBrowseForFolderW,
    SHGetPathFromIDListW,
    SHGetDesktopFolder,
    ShellExecuteW,
    ShellExecuteExW,
    StrRetToStrW,
    CoInitializeEx,
    CoUninitialize,
    CoTaskMemFree,
    CoCreateInstance,
    GetFileVersionInfoSizeW,
    GetFileVersionInfoW,
    VerQueryValueW,
    FDICreate,
    FDIIsCabinet,
    FDICopy,
    FDIDestroy,
    SHGetFolderPathW,
    GdiplusStartup,
    GdiplusShutdown,
    GdipCreateBitmapFromFile,
    GdipGetImageWidth,
    GdipGetImageHeight,
    GdipGetImageThumbnail,
    GdipCreateHBITMAPFromBitmap,
    GdipDisposeImage,
    SysAllocStringLen,
    SysFreeString,
    VariantClear,
    LoadRegTypeLib,
    DispGetIDsOfNames,
    DispInvoke,
    LresultFromObject,
    CreateStdAccessibleObject,
    AccessibleObjectFromWindow,
    DragAcceptFiles,
    DragQueryFileW,
    DragFinish,
    DragQueryPoint,
    GetDpiForWindow,
    GetDpiForSystem,
    AdjustWindowRectExForDpi,
    FCICreate,
    FCIAddFile,
    FCIFlushCabinet,
    FCIDestroy,
};

struct Entry {
    Fn which;
    const wchar_t* library;
    const char* name;
};

constexpr Entry kEntries[] = {
    {Fn::InitCommonControlsEx, kCommonControls, "InitCommonControlsEx"},
    {Fn::SetWindowSubclass, kCommonControls, "SetWindowSubclass"},
    {Fn::RemoveWindowSubclass, kCommonControls, "RemoveWindowSubclass"},
    {Fn::DefSubclassProc, kCommonControls, "DefSubclassProc"},
    {Fn::GetOpenFileNameW, kCommonDialogs, "GetOpenFileNameW"},
    {Fn::GetSaveFileNameW, kCommonDialogs, "GetSaveFileNameW"},
    {Fn::CommDlgExtendedError, kCommonDialogs, "CommDlgExtendedError"},
    {Fn::ChooseColorW, kCommonDialogs, "ChooseColorW"},
    {Fn::SHBrowseForFolderW, kShell, "SHBrowseForFolderW"},
    {Fn::SHGetPathFromIDListW, kShell, "SHGetPathFromIDListW"},
    {Fn::SHGetDesktopFolder, kShell, "SHGetDesktopFolder"},
    {Fn::ShellExecuteW, kShell, "ShellExecuteW"},
    {Fn::ShellExecuteExW, kShell, "ShellExecuteExW"},
    {Fn::StrRetToStrW, kShellUtilities, "StrRetToStrW"},
    {Fn::CoInitializeEx, kCom, "CoInitializeEx"},
    {Fn::CoUninitialize, kCom, "CoUninitialize"},
    {Fn::CoTaskMemFree, kCom, "CoTaskMemFree"},
    {Fn::CoCreateInstance, kCom, "CoCreateInstance"},
    {Fn::GetFileVersionInfoSizeW, kVersion, "GetFileVersionInfoSizeW"},
    {Fn::GetFileVersionInfoW, kVersion, "GetFileVersionInfoW"},
    {Fn::VerQueryValueW, kVersion, "VerQueryValueW"},
    {Fn::FDICreate, kCabinet, "FDICreate"},
    {Fn::FDIIsCabinet, kCabinet, "FDIIsCabinet"},
    {Fn::FDICopy, kCabinet, "FDICopy"},
    {Fn::FDIDestroy, kCabinet, "FDIDestroy"},
    {Fn::SHGetFolderPathW, kShell, "SHGetFolderPathW"},
    {Fn::GdiplusStartup, kGdiplus, "GdiplusStartup"},
    {Fn::GdiplusShutdown, kGdiplus, "GdiplusShutdown"},
    {Fn::GdipCreateBitmapFromFile, kGdiplus, "GdipCreateBitmapFromFile"},
    {Fn::GdipGetImageWidth, kGdiplus, "GdipGetImageWidth"},
    {Fn::GdipGetImageHeight, kGdiplus, "GdipGetImageHeight"},
    {Fn::GdipGetImageThumbnail, kGdiplus, "GdipGetImageThumbnail"},
    {Fn::GdipCreateHBITMAPFromBitmap, kGdiplus, "GdipCreateHBITMAPFromBitmap"},
    {Fn::GdipDisposeImage, kGdiplus, "GdipDisposeImage"},
    {Fn::SysAllocStringLen, kAutomation, "SysAllocStringLen"},
    {Fn::SysFreeString, kAutomation, "SysFreeString"},
    {Fn::VariantClear, kAutomation, "VariantClear"},
    {Fn::LoadRegTypeLib, kAutomation, "LoadRegTypeLib"},
    {Fn::DispGetIDsOfNames, kAutomation, "DispGetIDsOfNames"},
    {Fn::DispInvoke, kAutomation, "DispInvoke"},
    {Fn::LresultFromObject, kAccessibility, "LresultFromObject"},
    {Fn::CreateStdAccessibleObject, kAccessibility, "CreateStdAccessibleObject"},
    {Fn::AccessibleObjectFromWindow, kAccessibility, "AccessibleObjectFromWindow"},
    {Fn::DragAcceptFiles, kShell, "DragAcceptFiles"},
    {Fn::DragQueryFileW, kShell, "DragQueryFileW"},
    {Fn::DragFinish, kShell, "DragFinish"},
    {Fn::DragQueryPoint, kShell, "DragQueryPoint"},
    {Fn::GetDpiForWindow, kUser, "GetDpiForWindow"},
    {Fn::GetDpiForSystem, kUser, "GetDpiForSystem"},
    {Fn::AdjustWindowRectExForDpi, kUser, "AdjustWindowRectExForDpi"},
    {Fn::FCICreate, kCabinet, "FCICreate"},
    {Fn::FCIAddFile, kCabinet, "FCIAddFile"},
    {Fn::FCIFlushCabinet, kCabinet, "FCIFlushCabinet"},
    {Fn::FCIDestroy, kCabinet, "FCIDestroy"},
};

// The table is indexed by `Fn`.
constexpr bool inOrder() {
    for (std::size_t i = 0; i < std::size(kEntries); ++i) {
        if (static_cast<std::size_t>(kEntries[i].which) != i) {
            return false;
        }
    }
    return std::size(kEntries) == static_cast<std::size_t>(Fn::FCIDestroy) + 1;
}
static_assert(inOrder());

// The address of a function, loading its library on first use; null when either is missing. A
// library loaded here stays loaded until the process ends, as one linked at start-up would.
FARPROC address(const Entry& entry) {
    HMODULE module = ::GetModuleHandleW(entry.library);
    if (!module) {
        module = ::LoadLibraryW(entry.library);
    }
    return module ? ::GetProcAddress(module, entry.name) : nullptr;
}

template <typename Function> Function* find(Fn which) {
    // Through the generic function pointer type, which converts to any other without a warning.
    return reinterpret_cast<Function*>(
        reinterpret_cast<void (*)()>(address(kEntries[static_cast<int>(which)])));
}

} // namespace

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* classes) {
    static const auto function =
        find<BOOL WINAPI(const INITCOMMONCONTROLSEX*)>(Fn::InitCommonControlsEx);
    return function ? function(classes) : FALSE;
}

BOOL SetWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data) {
    static const auto function =
        find<BOOL WINAPI(HWND, SUBCLASSPROC, UINT_PTR, DWORD_PTR)>(Fn::SetWindowSubclass);
    return function ? function(window, procedure, id, data) : FALSE;
}

BOOL RemoveWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id) {
    static const auto function =
        find<BOOL WINAPI(HWND, SUBCLASSPROC, UINT_PTR)>(Fn::RemoveWindowSubclass);
    return function ? function(window, procedure, id) : FALSE;
}

LRESULT DefSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    static const auto function =
        find<LRESULT WINAPI(HWND, UINT, WPARAM, LPARAM)>(Fn::DefSubclassProc);
    return function ? function(window, message, wParam, lParam)
                    : ::DefWindowProcW(window, message, wParam, lParam);
}

BOOL GetOpenFileNameW(OPENFILENAMEW* dialog) {
    static const auto function = find<BOOL WINAPI(OPENFILENAMEW*)>(Fn::GetOpenFileNameW);
    return function ? function(dialog) : FALSE;
}

BOOL GetSaveFileNameW(OPENFILENAMEW* dialog) {
    static const auto function = find<BOOL WINAPI(OPENFILENAMEW*)>(Fn::GetSaveFileNameW);
    return function ? function(dialog) : FALSE;
}

DWORD CommDlgExtendedError() {
    static const auto function = find<DWORD WINAPI()>(Fn::CommDlgExtendedError);
    return function ? function() : 0;
}

BOOL ChooseColorW(CHOOSECOLORW* dialog) {
    static const auto function = find<BOOL WINAPI(CHOOSECOLORW*)>(Fn::ChooseColorW);
    return function ? function(dialog) : FALSE;
}

PIDLIST_ABSOLUTE SHBrowseForFolderW(BROWSEINFOW* browse) {
    static const auto function =
        find<PIDLIST_ABSOLUTE WINAPI(BROWSEINFOW*)>(Fn::SHBrowseForFolderW);
    return function ? function(browse) : nullptr;
}

BOOL SHGetPathFromIDListW(PCIDLIST_ABSOLUTE item, wchar_t* path) {
    static const auto function =
        find<BOOL WINAPI(PCIDLIST_ABSOLUTE, wchar_t*)>(Fn::SHGetPathFromIDListW);
    return function ? function(item, path) : FALSE;
}

HRESULT SHGetDesktopFolder(IShellFolder** folder) {
    static const auto function = find<HRESULT WINAPI(IShellFolder**)>(Fn::SHGetDesktopFolder);
    return function ? function(folder) : E_FAIL;
}

HINSTANCE ShellExecuteW(HWND window, const wchar_t* operation, const wchar_t* file,
                        const wchar_t* parameters, const wchar_t* directory, int showCommand) {
    static const auto function =
        find<HINSTANCE WINAPI(HWND, const wchar_t*, const wchar_t*, const wchar_t*, const wchar_t*,
                              int)>(Fn::ShellExecuteW);
    // The system reports failure as a value of 32 or less.
    return function ? function(window, operation, file, parameters, directory, showCommand)
                    : reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_DLLNOTFOUND));
}

BOOL ShellExecuteExW(SHELLEXECUTEINFOW* execute) {
    static const auto function = find<BOOL WINAPI(SHELLEXECUTEINFOW*)>(Fn::ShellExecuteExW);
    if (!function) {
        ::SetLastError(ERROR_PROC_NOT_FOUND);
        return FALSE;
    }
    return function(execute);
}

HRESULT StrRetToStrW(STRRET* name, PCUITEMID_CHILD child, wchar_t** text) {
    static const auto function =
        find<HRESULT WINAPI(STRRET*, PCUITEMID_CHILD, wchar_t**)>(Fn::StrRetToStrW);
    return function ? function(name, child, text) : E_FAIL;
}

HRESULT CoInitializeEx(void* reserved, DWORD model) {
    static const auto function = find<HRESULT WINAPI(void*, DWORD)>(Fn::CoInitializeEx);
    return function ? function(reserved, model) : E_FAIL;
}

void CoUninitialize() {
    static const auto function = find<void WINAPI()>(Fn::CoUninitialize);
    if (function) {
        function();
    }
}

void CoTaskMemFree(void* memory) {
    static const auto function = find<void WINAPI(void*)>(Fn::CoTaskMemFree);
    if (function) {
        function(memory);
    }
}

HRESULT CoCreateInstance(REFCLSID type, IUnknown* outer, DWORD context, REFIID wanted,
                         void** object) {
    static const auto function =
        find<HRESULT WINAPI(REFCLSID, IUnknown*, DWORD, REFIID, void**)>(Fn::CoCreateInstance);
    if (!function) {
        *object = nullptr;
        return REGDB_E_CLASSNOTREG;
    }
    return function(type, outer, context, wanted, object);
}

DWORD GetFileVersionInfoSizeW(const wchar_t* file, DWORD* handle) {
    static const auto function =
        find<DWORD WINAPI(const wchar_t*, DWORD*)>(Fn::GetFileVersionInfoSizeW);
    return function ? function(file, handle) : 0;
}

BOOL GetFileVersionInfoW(const wchar_t* file, DWORD handle, DWORD size, void* data) {
    static const auto function =
        find<BOOL WINAPI(const wchar_t*, DWORD, DWORD, void*)>(Fn::GetFileVersionInfoW);
    return function ? function(file, handle, size, data) : FALSE;
}

BOOL VerQueryValueW(const void* block, const wchar_t* subBlock, void** buffer, UINT* length) {
    static const auto function =
        find<BOOL WINAPI(const void*, const wchar_t*, void**, UINT*)>(Fn::VerQueryValueW);
    return function ? function(block, subBlock, buffer, length) : FALSE;
}

HFDI FDICreate(PFNALLOC alloc, PFNFREE free, PFNOPEN open, PFNREAD read, PFNWRITE write,
               PFNCLOSE close, PFNSEEK seek, int cpuType, PERF perf) {
    static const auto function = find<HFDI DIAMONDAPI(PFNALLOC, PFNFREE, PFNOPEN, PFNREAD, PFNWRITE,
                                                      PFNCLOSE, PFNSEEK, int, PERF)>(Fn::FDICreate);
    if (!function) {
        if (perf) {
            perf->erfOper = FDIERROR_ALLOC_FAIL;
            perf->fError = TRUE;
        }
        return nullptr;
    }
    return function(alloc, free, open, read, write, close, seek, cpuType, perf);
}

BOOL FDIIsCabinet(HFDI context, INT_PTR file, PFDICABINETINFO info) {
    static const auto function =
        find<BOOL DIAMONDAPI(HFDI, INT_PTR, PFDICABINETINFO)>(Fn::FDIIsCabinet);
    return function ? function(context, file, info) : FALSE;
}

BOOL FDICopy(HFDI context, char* cabinet, char* cabinetPath, int flags, PFNFDINOTIFY notify,
             PFNFDIDECRYPT decrypt, void* user) {
    static const auto function =
        find<BOOL DIAMONDAPI(HFDI, char*, char*, int, PFNFDINOTIFY, PFNFDIDECRYPT, void*)>(
            Fn::FDICopy);
    return function ? function(context, cabinet, cabinetPath, flags, notify, decrypt, user) : FALSE;
}

BOOL FDIDestroy(HFDI context) {
    static const auto function = find<BOOL DIAMONDAPI(HFDI)>(Fn::FDIDestroy);
    return function ? function(context) : FALSE;
}

HRESULT SHGetFolderPathW(HWND window, int folder, HANDLE token, DWORD flags, wchar_t* path) {
    static const auto function =
        find<HRESULT WINAPI(HWND, int, HANDLE, DWORD, wchar_t*)>(Fn::SHGetFolderPathW);
    return function ? function(window, folder, token, flags, path) : E_FAIL;
}

namespace {
// Any status but 0 is a failure; this one says the library is missing.
constexpr int kGdiplusMissing = 18; // GdiplusNotInitialized
} // namespace

int GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input, void* output) {
    static const auto function =
        find<int WINAPI(ULONG_PTR*, const GdiplusStartupInput*, void*)>(Fn::GdiplusStartup);
    return function ? function(token, input, output) : kGdiplusMissing;
}

void GdiplusShutdown(ULONG_PTR token) {
    static const auto function = find<void WINAPI(ULONG_PTR)>(Fn::GdiplusShutdown);
    if (function) {
        function(token);
    }
}

int GdipCreateBitmapFromFile(const wchar_t* file, void** bitmap) {
    static const auto function =
        find<int WINAPI(const wchar_t*, void**)>(Fn::GdipCreateBitmapFromFile);
    return function ? function(file, bitmap) : kGdiplusMissing;
}

int GdipGetImageWidth(void* image, UINT* width) {
    static const auto function = find<int WINAPI(void*, UINT*)>(Fn::GdipGetImageWidth);
    return function ? function(image, width) : kGdiplusMissing;
}

int GdipGetImageHeight(void* image, UINT* height) {
    static const auto function = find<int WINAPI(void*, UINT*)>(Fn::GdipGetImageHeight);
    return function ? function(image, height) : kGdiplusMissing;
}

int GdipGetImageThumbnail(void* image, UINT width, UINT height, void** thumbnail, void* callback,
                          void* data) {
    static const auto function =
        find<int WINAPI(void*, UINT, UINT, void**, void*, void*)>(Fn::GdipGetImageThumbnail);
    return function ? function(image, width, height, thumbnail, callback, data) : kGdiplusMissing;
}

int GdipCreateHBITMAPFromBitmap(void* bitmap, HBITMAP* result, DWORD background) {
    static const auto function =
        find<int WINAPI(void*, HBITMAP*, DWORD)>(Fn::GdipCreateHBITMAPFromBitmap);
    return function ? function(bitmap, result, background) : kGdiplusMissing;
}

int GdipDisposeImage(void* image) {
    static const auto function = find<int WINAPI(void*)>(Fn::GdipDisposeImage);
    return function ? function(image) : kGdiplusMissing;
}

BSTR SysAllocStringLen(const wchar_t* text, UINT length) {
    static const auto function = find<BSTR WINAPI(const wchar_t*, UINT)>(Fn::SysAllocStringLen);
    return function ? function(text, length) : nullptr;
}

void SysFreeString(BSTR text) {
    static const auto function = find<void WINAPI(BSTR)>(Fn::SysFreeString);
    if (function) {
        function(text);
    }
}

HRESULT VariantClear(VARIANT* value) {
    static const auto function = find<HRESULT WINAPI(VARIANT*)>(Fn::VariantClear);
    return function ? function(value) : E_FAIL;
}

HRESULT LoadRegTypeLib(REFGUID library, WORD major, WORD minor, LCID locale, ITypeLib** loaded) {
    static const auto function =
        find<HRESULT WINAPI(REFGUID, WORD, WORD, LCID, ITypeLib**)>(Fn::LoadRegTypeLib);
    if (loaded) {
        *loaded = nullptr;
    }
    return function ? function(library, major, minor, locale, loaded) : E_FAIL;
}

HRESULT DispGetIDsOfNames(ITypeInfo* info, OLECHAR** names, UINT count, DISPID* ids) {
    static const auto function =
        find<HRESULT WINAPI(ITypeInfo*, OLECHAR**, UINT, DISPID*)>(Fn::DispGetIDsOfNames);
    return function ? function(info, names, count, ids) : E_FAIL;
}

HRESULT DispInvoke(void* object, ITypeInfo* info, DISPID member, WORD flags, DISPPARAMS* params,
                   VARIANT* result, EXCEPINFO* exception, UINT* badArgument) {
    static const auto function = find<HRESULT WINAPI(void*, ITypeInfo*, DISPID, WORD, DISPPARAMS*,
                                                     VARIANT*, EXCEPINFO*, UINT*)>(Fn::DispInvoke);
    return function ? function(object, info, member, flags, params, result, exception, badArgument)
                    : E_FAIL;
}

LRESULT LresultFromObject(REFIID id, WPARAM wParam, IUnknown* object) {
    static const auto function =
        find<LRESULT WINAPI(REFIID, WPARAM, IUnknown*)>(Fn::LresultFromObject);
    return function ? function(id, wParam, object) : 0;
}

HRESULT CreateStdAccessibleObject(HWND window, LONG objectId, REFIID id, void** object) {
    static const auto function =
        find<HRESULT WINAPI(HWND, LONG, REFIID, void**)>(Fn::CreateStdAccessibleObject);
    if (object) {
        *object = nullptr;
    }
    return function ? function(window, objectId, id, object) : E_FAIL;
}

HRESULT AccessibleObjectFromWindow(HWND window, DWORD objectId, REFIID id, void** object) {
    static const auto function =
        find<HRESULT WINAPI(HWND, DWORD, REFIID, void**)>(Fn::AccessibleObjectFromWindow);
    if (object) {
        *object = nullptr;
    }
    return function ? function(window, objectId, id, object) : E_FAIL;
}

void DragAcceptFiles(HWND window, BOOL accept) {
    static const auto function = find<void WINAPI(HWND, BOOL)>(Fn::DragAcceptFiles);
    if (function) {
        function(window, accept);
    }
}

UINT DragQueryFileW(HDROP drop, UINT index, wchar_t* file, UINT size) {
    static const auto function = find<UINT WINAPI(HDROP, UINT, wchar_t*, UINT)>(Fn::DragQueryFileW);
    return function ? function(drop, index, file, size) : 0;
}

void DragFinish(HDROP drop) {
    static const auto function = find<void WINAPI(HDROP)>(Fn::DragFinish);
    if (function) {
        function(drop);
    }
}

BOOL DragQueryPoint(HDROP drop, POINT* point) {
    static const auto function = find<BOOL WINAPI(HDROP, POINT*)>(Fn::DragQueryPoint);
    return function ? function(drop, point) : FALSE;
}

UINT GetDpiForWindow(HWND window) {
    static const auto function = find<UINT WINAPI(HWND)>(Fn::GetDpiForWindow);
    return function ? function(window) : 0;
}

UINT GetDpiForSystem() {
    static const auto function = find<UINT WINAPI()>(Fn::GetDpiForSystem);
    return function ? function() : 0;
}

BOOL AdjustWindowRectExForDpi(RECT* rect, DWORD style, BOOL menu, DWORD exStyle, UINT dpi) {
    static const auto function =
        find<BOOL WINAPI(RECT*, DWORD, BOOL, DWORD, UINT)>(Fn::AdjustWindowRectExForDpi);
    return function ? function(rect, style, menu, exStyle, dpi) : FALSE;
}

HFCI FCICreate(PERF error, PFNFCIFILEPLACED filePlaced, PFNFCIALLOC allocate, PFNFCIFREE release,
               PFNFCIOPEN open, PFNFCIREAD read, PFNFCIWRITE write, PFNFCICLOSE close,
               PFNFCISEEK seek, PFNFCIDELETE remove, PFNFCIGETTEMPFILE tempFile, PCCAB cabinet,
               void* context) {
    static const auto function = find<HFCI DIAMONDAPI(
        PERF, PFNFCIFILEPLACED, PFNFCIALLOC, PFNFCIFREE, PFNFCIOPEN, PFNFCIREAD, PFNFCIWRITE,
        PFNFCICLOSE, PFNFCISEEK, PFNFCIDELETE, PFNFCIGETTEMPFILE, PCCAB, void*)>(Fn::FCICreate);
    if (!function) {
        error->erfOper = FCIERR_ALLOC_FAIL;
        error->erfType = ERROR_MOD_NOT_FOUND;
        error->fError = TRUE;
        return nullptr;
    }
    return function(error, filePlaced, allocate, release, open, read, write, close, seek, remove,
                    tempFile, cabinet, context);
}

BOOL FCIAddFile(HFCI writer, char* sourceFile, char* nameInCabinet, BOOL execute,
                PFNFCIGETNEXTCABINET nextCabinet, PFNFCISTATUS status, PFNFCIGETOPENINFO openInfo,
                TCOMP compression) {
    static const auto function =
        find<BOOL DIAMONDAPI(HFCI, char*, char*, BOOL, PFNFCIGETNEXTCABINET, PFNFCISTATUS,
                             PFNFCIGETOPENINFO, TCOMP)>(Fn::FCIAddFile);
    return function ? function(writer, sourceFile, nameInCabinet, execute, nextCabinet, status,
                               openInfo, compression)
                    : FALSE;
}

BOOL FCIFlushCabinet(HFCI writer, BOOL nextCabinet, PFNFCIGETNEXTCABINET getNextCabinet,
                     PFNFCISTATUS status) {
    static const auto function =
        find<BOOL DIAMONDAPI(HFCI, BOOL, PFNFCIGETNEXTCABINET, PFNFCISTATUS)>(Fn::FCIFlushCabinet);
    return function ? function(writer, nextCabinet, getNextCabinet, status) : FALSE;
}

BOOL FCIDestroy(HFCI writer) {
    static const auto function = find<BOOL DIAMONDAPI(HFCI)>(Fn::FCIDestroy);
    return function ? function(writer) : FALSE;
}

std::vector<std::string> missingFunctions() {
    std::vector<std::string> missing;
    for (const Entry& entry : kEntries) {
        if (!address(entry)) {
            missing.push_back(entry.name);
        }
    }
    return missing;
}

} // namespace quorvel::system
