#pragma once
// The functions of the common-controls, shell, common-dialog and COM libraries the program calls.
// These libraries are loaded when one of their functions is first called rather than when the
// process starts: the first page needs none of them (the common controls are first needed by the
// controls of the other pages, made once the window is shown; the others once the user opens a
// dialog or a web address; the accessibility libraries once a screen reader or UI automation asks
// for a control's accessible object), and loading them up front slows the start-up. Each function
// behaves as the system's own; should its library or the function be missing, it fails the way the
// system function reports failure.

#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <fci.h>
#include <fdi.h>
#include <oleacc.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>
#include <vector>

namespace quorvel::system {

// The common controls of version 6 when the program's manifest asks for them (as it does).
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* classes);
BOOL SetWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data);
BOOL RemoveWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id);
// Without the library no subclass can have been set, and this is the window's default handling.
LRESULT DefSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

BOOL GetOpenFileNameW(OPENFILENAMEW* dialog);
BOOL GetSaveFileNameW(OPENFILENAMEW* dialog);
DWORD CommDlgExtendedError();
BOOL ChooseColorW(CHOOSECOLORW* dialog);

PIDLIST_ABSOLUTE SHBrowseForFolderW(BROWSEINFOW* browse);
BOOL SHGetPathFromIDListW(PCIDLIST_ABSOLUTE item, wchar_t* path);
HRESULT SHGetDesktopFolder(IShellFolder** folder);
HINSTANCE ShellExecuteW(HWND window, const wchar_t* operation, const wchar_t* file,
                        const wchar_t* parameters, const wchar_t* directory, int showCommand);
BOOL ShellExecuteExW(SHELLEXECUTEINFOW* execute);

HRESULT StrRetToStrW(STRRET* name, PCUITEMID_CHILD child, wchar_t** text);

HRESULT CoInitializeEx(void* reserved, DWORD model);
HRESULT CoCreateInstance(REFCLSID type, IUnknown* outer, DWORD context, REFIID wanted,
                         void** object);
void CoUninitialize();
void CoTaskMemFree(void* memory);

// The version resource of a file (version.dll).
DWORD GetFileVersionInfoSizeW(const wchar_t* file, DWORD* handle);
BOOL GetFileVersionInfoW(const wchar_t* file, DWORD handle, DWORD size, void* data);
BOOL VerQueryValueW(const void* block, const wchar_t* subBlock, void** buffer, UINT* length);

// Reading cabinets (cabinet.dll): FDICreate fails (null, with perf->erfOper set to
// FDIERROR_ALLOC_FAIL) without the library.
HFDI FDICreate(PFNALLOC alloc, PFNFREE free, PFNOPEN open, PFNREAD read, PFNWRITE write,
               PFNCLOSE close, PFNSEEK seek, int cpuType, PERF perf);
BOOL FDIIsCabinet(HFDI context, INT_PTR file, PFDICABINETINFO info);
BOOL FDICopy(HFDI context, char* cabinet, char* cabinetPath, int flags, PFNFDINOTIFY notify,
             PFNFDIDECRYPT decrypt, void* user);
BOOL FDIDestroy(HFDI context);
// A folder of the system's, as CSIDL_* names it (shell32.dll).
HRESULT SHGetFolderPathW(HWND window, int folder, HANDLE token, DWORD flags, wchar_t* path);

// The flat functions of GDI+ (gdiplus.dll), the image decoders where WIC is missing. Images and
// bitmaps are opaque pointers; a status of 0 is success.
struct GdiplusStartupInput {
    UINT32 version = 1;
    void* debugEventCallback = nullptr;
    BOOL suppressBackgroundThread = FALSE;
    BOOL suppressExternalCodecs = FALSE;
};
int GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input, void* output);
// Ends the session that GdiplusStartup began with the token.
void GdiplusShutdown(ULONG_PTR token);
int GdipCreateBitmapFromFile(const wchar_t* file, void** bitmap);
int GdipGetImageWidth(void* image, UINT* width);
int GdipGetImageHeight(void* image, UINT* height);
int GdipGetImageThumbnail(void* image, UINT width, UINT height, void** thumbnail, void* callback,
                          void* data);
int GdipCreateHBITMAPFromBitmap(void* bitmap, HBITMAP* result, DWORD background);
int GdipDisposeImage(void* image);

BSTR SysAllocStringLen(const wchar_t* text, UINT length);
void SysFreeString(BSTR text);
HRESULT VariantClear(VARIANT* value);
// Type libraries and calls through IDispatch by their description.
HRESULT LoadRegTypeLib(REFGUID library, WORD major, WORD minor, LCID locale, ITypeLib** loaded);
HRESULT DispGetIDsOfNames(ITypeInfo* info, OLECHAR** names, UINT count, DISPID* ids);
HRESULT DispInvoke(void* object, ITypeInfo* info, DISPID member, WORD flags, DISPPARAMS* params,
                   VARIANT* result, EXCEPINFO* exception, UINT* badArgument);

LRESULT LresultFromObject(REFIID id, WPARAM wParam, IUnknown* object);
HRESULT CreateStdAccessibleObject(HWND window, LONG objectId, REFIID id, void** object);
HRESULT AccessibleObjectFromWindow(HWND window, DWORD objectId, REFIID id, void** object);
// Files dropped from the file manager (WM_DROPFILES).
void DragAcceptFiles(HWND window, BOOL accept);
UINT DragQueryFileW(HDROP drop, UINT index, wchar_t* file, UINT size);
void DragFinish(HDROP drop);
// The drop point in the client coordinates of the window the drop was sent to.
BOOL DragQueryPoint(HDROP drop, POINT* point);

// The DPI functions of Windows 10 (1607) and later, found in the user library that is loaded
// anyway; on older systems they fail (0, FALSE) and the caller falls back to the system DPI.
UINT GetDpiForWindow(HWND window);
UINT GetDpiForSystem();
BOOL AdjustWindowRectExForDpi(RECT* rect, DWORD style, BOOL menu, DWORD exStyle, UINT dpi);

// The cabinet writer of the cabinet library (cabinet.dll). Without the library FCICreate fails
// and says so in `error`; the others then have nothing to work on.
HFCI FCICreate(PERF error, PFNFCIFILEPLACED filePlaced, PFNFCIALLOC allocate, PFNFCIFREE release,
               PFNFCIOPEN open, PFNFCIREAD read, PFNFCIWRITE write, PFNFCICLOSE close,
               PFNFCISEEK seek, PFNFCIDELETE remove, PFNFCIGETTEMPFILE tempFile, PCCAB cabinet,
               void* context);
BOOL FCIAddFile(HFCI writer, char* sourceFile, char* nameInCabinet, BOOL execute,
                PFNFCIGETNEXTCABINET nextCabinet, PFNFCISTATUS status, PFNFCIGETOPENINFO openInfo,
                TCOMP compression);
BOOL FCIFlushCabinet(HFCI writer, BOOL nextCabinet, PFNFCIGETNEXTCABINET getNextCabinet,
                     PFNFCISTATUS status);
BOOL FCIDestroy(HFCI writer);

// The functions above that cannot be found, by name; empty when all of them can.
std::vector<std::string> missingFunctions();

} // namespace quorvel::system
