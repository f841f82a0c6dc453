#include "AppDriver.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <thread>

namespace quorvel::e2e {

namespace {

using namespace std::chrono_literals;

const wchar_t kCaption[] = L"Quorvel（Quorvel Ver2.0）";

std::wstring classOf(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

bool isClass(HWND window, const wchar_t* name) {
    return ::lstrcmpiW(classOf(window).c_str(), name) == 0;
}

std::wstring windowText(HWND window) {
    // WM_GETTEXT crosses process boundaries; GetWindowText would not for other processes.
    const auto length = ::SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const auto got = ::SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(text.size()),
                                    reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(got));
    return text;
}

std::optional<Kind> kindOf(HWND window) {
    // The wizard's graphic buttons are a button class of the program's own.
    if (isClass(window, L"Button") || isClass(window, L"QuorvelGraphicButton")) {
        return Kind::Button;
    }
    if (isClass(window, L"Edit")) {
        // The edit box inside a combo box is part of the list.
        return isClass(::GetParent(window), L"ComboBox") ? std::nullopt
                                                         : std::optional<Kind>(Kind::Field);
    }
    if (isClass(window, L"ComboBox")) {
        return Kind::List;
    }
    if (isClass(window, L"msctls_trackbar32")) {
        return Kind::Slider;
    }
    if (isClass(window, L"Static")) {
        return Kind::TickBox;
    }
    return std::nullopt;
}

DWORD processOf(HWND window) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    return process;
}

struct TopLevelSearch {
    DWORD process;
    const wchar_t* className;
    const wchar_t* caption;
    bool (*accept)(HWND);
    HWND found;
};

bool hasFileNameBox(HWND dialog);
bool hasTree(HWND dialog);

// A message box, as opposed to the file dialogs and the folder browser.
bool isMessageBox(HWND dialog) {
    return !hasFileNameBox(dialog) && !hasTree(dialog);
}

BOOL CALLBACK findTopLevel(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<TopLevelSearch*>(data);
    if (processOf(window) != search->process || !::IsWindowVisible(window)) {
        return TRUE;
    }
    if (search->className && !isClass(window, search->className)) {
        return TRUE;
    }
    if (search->caption && windowText(window) != search->caption) {
        return TRUE;
    }
    if (search->accept && !search->accept(window)) {
        return TRUE;
    }
    search->found = window;
    return FALSE;
}

HWND topLevelOf(DWORD process, const wchar_t* className, const wchar_t* caption,
                bool (*accept)(HWND) = nullptr) {
    TopLevelSearch search{process, className, caption, accept, nullptr};
    ::EnumWindows(findTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void setWineVersion(const wchar_t* version, const std::wstring& program) {
    const std::wstring exe = program.substr(program.find_last_of(L"\\/") + 1);
    const std::wstring key = L"Software\\Wine\\AppDefaults\\" + exe;
    HKEY handle = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                          &handle, nullptr) == ERROR_SUCCESS) {
        ::RegSetValueExW(handle, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                         static_cast<DWORD>((::lstrlenW(version) + 1) * sizeof(wchar_t)));
        ::RegCloseKey(handle);
    }
}

// The screen's DPI for the programs started from now on, as Wine reads it at a process's start.
void setWineDpi(int dpi) {
    const auto value = static_cast<DWORD>(dpi);
    const std::pair<HKEY, const wchar_t*> keys[] = {
        {HKEY_LOCAL_MACHINE,
         L"System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts"},
        {HKEY_CURRENT_USER, L"Control Panel\\Desktop"}};
    for (const auto& [root, key] : keys) {
        HKEY handle = nullptr;
        if (::RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr) ==
            ERROR_SUCCESS) {
            ::RegSetValueExW(handle, L"LogPixels", 0, REG_DWORD,
                             reinterpret_cast<const BYTE*>(&value), sizeof(value));
            ::RegCloseKey(handle);
        }
    }
}

INPUT mouseInput(DWORD flags, LONG x = 0, LONG y = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = x;
    input.mi.dy = y;
    input.mi.dwFlags = flags;
    return input;
}

INPUT keyInput(WORD virtualKey, WORD scan, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = scan;
    input.ki.dwFlags = flags;
    return input;
}

void send(std::vector<INPUT> inputs) {
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

RECT screenRectOf(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

// A screen point in the units of absolute mouse input.
POINT absolute(POINT screen) {
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    return {static_cast<LONG>((screen.x * 65535 + width / 2) / (width - 1)),
            static_cast<LONG>((screen.y * 65535 + height / 2) / (height - 1))};
}

// A caption without its accelerator mark: "打开(&O)" and "&Open" read "打开" and "Open".
std::string plainCaption(std::string caption) {
    const auto open = caption.find("(&");
    if (open != std::string::npos && caption.size() >= open + 4 && caption[open + 3] == ')') {
        caption.erase(open, 4);
    }
    std::erase(caption, '&');
    return caption;
}

// The open-file dialog keeps its file name box as control 0x47C; the read-only box is 0x410 and
// the file type list 0x470.
constexpr int kFileNameBox = 0x47C;
constexpr int kReadOnlyBox = 0x410;
constexpr int kFileTypeList = 0x470;

bool hasFileNameBox(HWND dialog) {
    return ::GetDlgItem(dialog, kFileNameBox) != nullptr;
}

HWND treeOf(HWND dialog) {
    return ::FindWindowExW(dialog, nullptr, WC_TREEVIEWW, nullptr);
}

bool hasTree(HWND dialog) {
    return treeOf(dialog) != nullptr;
}

// Memory inside the program's process: the tree view's item messages carry pointers, which
// only mean something in the process that owns the tree.
class RemoteMemory {
public:
    RemoteMemory(HANDLE process, std::size_t size)
        : process_(process), size_(size),
          address_(
              ::VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
    ~RemoteMemory() {
        if (address_) {
            ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        }
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    bool valid() const { return address_ != nullptr; }
    char* at(std::size_t offset) const { return static_cast<char*>(address_) + offset; }
    bool write(std::size_t offset, const void* data, std::size_t size) const {
        SIZE_T done = 0;
        return offset + size <= size_ &&
               ::WriteProcessMemory(process_, at(offset), data, size, &done) && done == size;
    }
    bool read(std::size_t offset, void* data, std::size_t size) const {
        SIZE_T done = 0;
        return offset + size <= size_ &&
               ::ReadProcessMemory(process_, at(offset), data, size, &done) && done == size;
    }

private:
    HANDLE process_;
    std::size_t size_;
    void* address_;
};

HTREEITEM treeItem(HWND tree, UINT relation, HTREEITEM from = nullptr) {
    return reinterpret_cast<HTREEITEM>(
        ::SendMessageW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(from)));
}

std::wstring treeItemText(HWND tree, HTREEITEM item, const RemoteMemory& memory) {
    constexpr std::size_t kTextOffset = 256;
    constexpr int kTextChars = 512;
    TVITEMW request{};
    request.mask = TVIF_TEXT;
    request.hItem = item;
    request.pszText = reinterpret_cast<wchar_t*>(memory.at(kTextOffset));
    request.cchTextMax = kTextChars;
    const wchar_t none = L'\0';
    if (!memory.write(0, &request, sizeof(request)) ||
        !memory.write(kTextOffset, &none, sizeof(none)) ||
        !::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(memory.at(0)))) {
        return {};
    }
    std::wstring text(kTextChars, L'\0');
    if (!memory.read(kTextOffset, text.data(), text.size() * sizeof(wchar_t))) {
        return {};
    }
    text.resize(text.find(L'\0'));
    return text;
}

// The children of a tree item, after expanding it (which fills it on first use).
std::vector<HTREEITEM> childrenOf(HWND tree, HTREEITEM item) {
    ::SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
    std::vector<HTREEITEM> children;
    for (HTREEITEM child = treeItem(tree, TVGN_CHILD, item); child;
         child = treeItem(tree, TVGN_NEXT, child)) {
        children.push_back(child);
    }
    return children;
}

std::wstring lower(std::wstring text) {
    if (!text.empty()) {
        ::CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    }
    return text;
}

} // namespace

Settings& settings() {
    static Settings value;
    return value;
}

std::wstring widen(std::string_view utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int size =
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                          size);
    return wide;
}

std::string narrow(std::wstring_view wide) {
    if (wide.empty()) {
        return {};
    }
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), size,
                          nullptr, nullptr);
    return utf8;
}

INPUT mouseAt(POINT screen, DWORD flags) {
    const POINT to = absolute(screen);
    return mouseInput(flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, to.x, to.y);
}

HWND shownPalettePopup() {
    const HWND popup = ::FindWindowW(L"QuorvelColorPalettePopup", nullptr);
    return popup != nullptr && ::IsWindowVisible(popup) ? popup : nullptr;
}

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

void becomeDpiAware() {
    // Per monitor (version 2): no scaling of other programs' windows between DPIs.
    using SetContext = BOOL(WINAPI*)(HANDLE);
    const auto set = reinterpret_cast<SetContext>(reinterpret_cast<void (*)()>(
        ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")));
    if (set) {
        set(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4)));
    }
}

App::App(const wchar_t* windowsVersion, int dpi) : dpi_(dpi) {
    setWineVersion(windowsVersion, settings().program);
    setWineDpi(dpi);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    std::wstring commandLine = L"\"" + settings().program + L"\"";
    if (!::CreateProcessW(settings().program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                          0, nullptr, nullptr, &startup, &process_)) {
        std::fprintf(stderr, "the program did not start (error %lu)\n", ::GetLastError());
        return;
    }
    ::WaitForInputIdle(process_.hProcess, 10000);
    waitUntil(
        [this] {
            main_ = topLevelOf(process_.dwProcessId, nullptr, kCaption);
            return main_ != nullptr;
        },
        std::chrono::milliseconds(20000));
    if (!main_) {
        DWORD code = 0;
        ::GetExitCodeProcess(process_.hProcess, &code);
        std::fprintf(stderr, "no main window (the program %s)\n",
                     code == STILL_ACTIVE ? "runs" : "ended");
    }
    if (main_) {
        // Bring the window to the front the way a user does: a click on its caption bar.
        ::WaitForInputIdle(process_.hProcess, 5000);
        settle();
        const RECT frame = screenRectOf(main_);
        moveAndClick({frame.left + 60, frame.top + 8});
        settle();
    }
}

App::~App() {
    if (process_.hProcess) {
        if (main_ && ::IsWindow(main_)) {
            // Close any message box first, then the window, as the user would.
            if (auto box = messageBox(std::chrono::milliseconds(0))) {
                ::PostMessageW(box->window, WM_CLOSE, 0, 0);
            }
            ::PostMessageW(main_, WM_CLOSE, 0, 0);
        }
        if (::WaitForSingleObject(process_.hProcess, 5000) != WAIT_OBJECT_0) {
            ::TerminateProcess(process_.hProcess, 1);
            ::WaitForSingleObject(process_.hProcess, 5000);
        }
        ::CloseHandle(process_.hThread);
        ::CloseHandle(process_.hProcess);
    }
}

void App::settle() const {
    // A sent message is answered only once the program's thread gets back to its message loop;
    // two round trips let posted input before it be handled as well.
    for (int i = 0; i < 3; ++i) {
        DWORD_PTR result = 0;
        ::SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
        std::this_thread::sleep_for(30ms);
    }
}

std::vector<Seen> App::visible() const {
    struct Collect {
        HWND main;
        int dpi;
        std::vector<Seen> seen;
    } collect{main_, dpi_, {}};
    ::EnumChildWindows(
        main_,
        [](HWND window, LPARAM data) -> BOOL {
            auto* c = reinterpret_cast<Collect*>(data);
            const std::optional<Kind> kind = kindOf(window);
            if (!kind || !::IsWindowVisible(window)) {
                return TRUE;
            }
            RECT rect = screenRectOf(window);
            ::MapWindowPoints(nullptr, c->main, reinterpret_cast<POINT*>(&rect), 2);
            // Each edge was scaled by rounding v * dpi / 96; this rounding gives v back.
            const auto layout = [c](LONG v) { return ::MulDiv(v, 96, c->dpi); };
            const RECT onPage = {layout(rect.left), layout(rect.top), layout(rect.right),
                                 layout(rect.bottom)};
            c->seen.push_back({window, *kind, onPage, narrow(windowText(window)), rect});
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&collect));
    return collect.seen;
}

HWND App::find(Kind kind, std::string_view caption) const {
    HWND found = nullptr;
    for (const Seen& s : visible()) {
        if (s.kind == kind && s.caption == caption) {
            if (found) {
                return nullptr; // not one control
            }
            found = s.window;
        }
    }
    return found;
}

HWND App::findAt(Kind kind, int left, int top) const {
    for (const Seen& s : visible()) {
        if (s.kind == kind && s.onPage.left == left && s.onPage.top == top) {
            return s.window;
        }
    }
    return nullptr;
}

std::string App::text(HWND control) const {
    return narrow(windowText(control));
}

bool App::enabled(HWND control) const {
    return ::IsWindowEnabled(control) != FALSE;
}

HWND App::focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!::GetGUIThreadInfo(process_.dwThreadId, &info)) {
        return nullptr;
    }
    return info.hwndFocus;
}

void App::moveTo(POINT screen) {
    const POINT to = absolute(screen);
    send({mouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, to.x, to.y)});
    waitUntil(
        [&] {
            POINT at{};
            ::GetCursorPos(&at);
            return std::abs(at.x - screen.x) <= 1 && std::abs(at.y - screen.y) <= 1;
        },
        1000ms);
    settle();
}

void App::moveAndClick(POINT screen) {
    moveTo(screen);
    // The button events carry the position too: Wine may still be handling a pointer motion
    // of the display from before the move, and the press must not land where that was.
    const POINT to = absolute(screen);
    const DWORD at = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    send({mouseInput(at | MOUSEEVENTF_LEFTDOWN, to.x, to.y)});
    std::this_thread::sleep_for(60ms);
    send({mouseInput(at | MOUSEEVENTF_LEFTUP, to.x, to.y)});
}

void App::pressAt(HWND control, POINT within) {
    const RECT rect = screenRectOf(control);
    const POINT screen = {rect.left + within.x, rect.top + within.y};
    moveTo(screen);
    const POINT to = absolute(screen);
    send({mouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTDOWN, to.x, to.y)});
    std::this_thread::sleep_for(60ms);
    settle();
}

void App::releaseAt(HWND control, POINT within) {
    const RECT rect = screenRectOf(control);
    const POINT screen = {rect.left + within.x, rect.top + within.y};
    moveTo(screen);
    const POINT to = absolute(screen);
    send({mouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTUP, to.x, to.y)});
    std::this_thread::sleep_for(60ms);
    settle();
}

void App::click(HWND control) {
    const RECT rect = screenRectOf(control);
    moveAndClick({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
    settle();
}

void App::key(WORD virtualKey, bool shift, bool control) {
    std::vector<INPUT> inputs;
    if (control) {
        inputs.push_back(keyInput(VK_CONTROL, 0, 0));
    }
    if (shift) {
        inputs.push_back(keyInput(VK_SHIFT, 0, 0));
    }
    inputs.push_back(keyInput(virtualKey, 0, 0));
    inputs.push_back(keyInput(virtualKey, 0, KEYEVENTF_KEYUP));
    if (shift) {
        inputs.push_back(keyInput(VK_SHIFT, 0, KEYEVENTF_KEYUP));
    }
    if (control) {
        inputs.push_back(keyInput(VK_CONTROL, 0, KEYEVENTF_KEYUP));
    }
    send(inputs);
    std::this_thread::sleep_for(80ms);
    settle();
}

void App::type(HWND field, std::string_view text) {
    click(field);
    key(VK_HOME);
    key(VK_END, true);
    if (text.empty()) {
        key(VK_DELETE);
        waitUntil([&] { return this->text(field).empty(); }, 3000ms);
        return;
    }
    std::vector<INPUT> inputs;
    for (wchar_t unit : widen(text)) {
        inputs.push_back(keyInput(0, unit, KEYEVENTF_UNICODE));
        inputs.push_back(keyInput(0, unit, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP));
    }
    send(inputs);
    // Input is queued behind the messages that settle() sends, so wait for the text itself.
    waitUntil([&] { return this->text(field) == text; }, 3000ms);
    settle();
}

bool App::pickItem(HWND list, std::string_view item, std::vector<std::string>* seen) {
    click(list);
    // The opened list is a window of its own; its items are laid out from its top.
    HWND dropped = nullptr;
    waitUntil([&] {
        dropped = topLevelOf(process_.dwProcessId, L"ComboLBox", nullptr);
        return dropped != nullptr;
    });
    if (!dropped) {
        return false;
    }
    const auto count = ::SendMessageW(dropped, LB_GETCOUNT, 0, 0);
    std::vector<std::string> items;
    for (LRESULT i = 0; i < count; ++i) {
        const auto length = ::SendMessageW(dropped, LB_GETTEXTLEN, i, 0);
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        ::SendMessageW(dropped, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(length));
        items.push_back(narrow(text));
    }
    if (seen) {
        *seen = items;
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i] != item) {
            continue;
        }
        const auto index = static_cast<WPARAM>(i);
        ::SendMessageW(dropped, LB_SETTOPINDEX, index, 0);
        RECT itemRect{};
        ::SendMessageW(dropped, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&itemRect));
        ::MapWindowPoints(dropped, nullptr, reinterpret_cast<POINT*>(&itemRect), 2);
        moveAndClick({(itemRect.left + itemRect.right) / 2, (itemRect.top + itemRect.bottom) / 2});
        settle();
        return true;
    }
    key(VK_ESCAPE);
    return false;
}

std::optional<MessageBoxSeen> App::messageBox(std::chrono::milliseconds timeout) const {
    HWND box = nullptr;
    waitUntil(
        [&] {
            box = topLevelOf(process_.dwProcessId, L"#32770", nullptr, isMessageBox);
            return box != nullptr;
        },
        timeout);
    if (!box) {
        return std::nullopt;
    }
    MessageBoxSeen seen{box, narrow(windowText(box)), {}};
    // The message text is the static control that holds text (the icon is a static too).
    struct Find {
        std::string text;
    } find;
    ::EnumChildWindows(
        box,
        [](HWND child, LPARAM data) -> BOOL {
            auto* f = reinterpret_cast<Find*>(data);
            if (isClass(child, L"Static") && ::GetDlgCtrlID(child) == 0xFFFF) {
                f->text = narrow(windowText(child));
                return FALSE;
            }
            if (isClass(child, L"Static") && f->text.empty()) {
                f->text = narrow(windowText(child));
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&find));
    seen.text = find.text;
    return seen;
}

void App::confirm(const MessageBoxSeen& box) {
    HWND button = nullptr;
    ::EnumChildWindows(
        box.window,
        [](HWND child, LPARAM data) -> BOOL {
            if (isClass(child, L"Button") && ::IsWindowVisible(child)) {
                *reinterpret_cast<HWND*>(data) = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&button));
    if (button) {
        click(button);
    }
    waitUntil([&] { return !::IsWindow(box.window) || !::IsWindowVisible(box.window); });
    settle();
}

bool App::answerFileDialog(std::string_view path, std::chrono::milliseconds timeout) {
    const HWND dialog = fileDialog(timeout);
    if (!dialog) {
        return false;
    }
    enterFileName(dialog, path);
    return closed(dialog);
}

HWND App::dialogWith(bool (*has)(HWND), std::chrono::milliseconds timeout) const {
    HWND dialog = nullptr;
    waitUntil(
        [&] {
            dialog = topLevelOf(process_.dwProcessId, L"#32770", nullptr, has);
            return dialog != nullptr;
        },
        timeout);
    if (!dialog) {
        return nullptr;
    }
    settle();
    return dialog;
}

HWND App::fileDialog(std::chrono::milliseconds timeout) const {
    return dialogWith(hasFileNameBox, timeout);
}

HWND App::folderBrowser(std::chrono::milliseconds timeout) const {
    return dialogWith(hasTree, timeout);
}

std::string App::windowTitle(HWND window) const {
    return narrow(windowText(window));
}

std::string App::fileNameBox(HWND dialog) const {
    const HWND box = ::GetDlgItem(dialog, kFileNameBox);
    // The box may be a combo box of its own kind; its edit part holds the text.
    const HWND edit = ::FindWindowExW(box, nullptr, WC_EDITW, nullptr);
    if (edit) {
        return narrow(windowText(edit));
    }
    const HWND inner = ::FindWindowExW(box, nullptr, WC_COMBOBOXW, nullptr);
    const HWND innerEdit = inner ? ::FindWindowExW(inner, nullptr, WC_EDITW, nullptr) : nullptr;
    return narrow(windowText(innerEdit ? innerEdit : box));
}

std::vector<std::string> App::fileTypes(HWND dialog) const {
    std::vector<std::string> types;
    const HWND list = ::GetDlgItem(dialog, kFileTypeList);
    const auto count = ::SendMessageW(list, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const auto length = ::SendMessageW(list, CB_GETLBTEXTLEN, i, 0);
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        ::SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(length));
        types.push_back(narrow(text));
    }
    return types;
}

bool App::showsReadOnlyBox(HWND dialog) const {
    const HWND box = ::GetDlgItem(dialog, kReadOnlyBox);
    return box && ::IsWindowVisible(box);
}

void App::typeText(std::string_view text) {
    std::vector<INPUT> inputs;
    for (wchar_t unit : widen(text)) {
        inputs.push_back(keyInput(0, unit, KEYEVENTF_UNICODE));
        inputs.push_back(keyInput(0, unit, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP));
    }
    send(inputs);
    std::this_thread::sleep_for(200ms);
    settle();
}

void App::fillFileName(HWND dialog, std::string_view text) {
    // The file name box has the focus while the dialog is open.
    key(VK_HOME);
    key(VK_END, true);
    key(VK_DELETE);
    typeText(text);
    waitUntil([&] { return fileNameBox(dialog) == text; }, 2000ms);
}

void App::enterFileName(HWND dialog, std::string_view text) {
    fillFileName(dialog, text);
    key(VK_RETURN);
}

HWND App::dialogButton(HWND dialog, std::string_view caption) const {
    struct Find {
        std::string caption;
        HWND found;
    } find{std::string(caption), nullptr};
    ::EnumChildWindows(
        dialog,
        [](HWND child, LPARAM data) -> BOOL {
            auto* f = reinterpret_cast<Find*>(data);
            if (isClass(child, L"Button") && ::IsWindowVisible(child) &&
                plainCaption(narrow(windowText(child))) == f->caption) {
                f->found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&find));
    return find.found;
}

std::vector<std::string> App::selectedFolderTrail(HWND browser) const {
    std::vector<std::string> trail;
    const HWND tree = treeOf(browser);
    const RemoteMemory memory(process_.hProcess, 4096);
    if (!tree || !memory.valid()) {
        return trail;
    }
    for (HTREEITEM item = treeItem(tree, TVGN_CARET); item;
         item = treeItem(tree, TVGN_PARENT, item)) {
        trail.insert(trail.begin(), narrow(treeItemText(tree, item, memory)));
    }
    return trail;
}

bool App::selectFolder(HWND browser, const std::wstring& path) {
    const HWND tree = treeOf(browser);
    const RemoteMemory memory(process_.hProcess, 4096);
    if (!tree || !memory.valid()) {
        return false;
    }
    const HTREEITEM desktop = treeItem(tree, TVGN_ROOT);
    // The computer is the desktop's item that holds the drives.
    std::vector<std::wstring> parts;
    for (std::size_t start = 0; start < path.size();) {
        const std::size_t end = std::min(path.find(L'\\', start), path.size());
        if (end > start) {
            parts.push_back(path.substr(start, end - start));
        }
        start = end + 1;
    }
    const std::wstring drive = lower(L"(" + (parts.empty() ? L"C:" : parts.front()) + L")");
    HTREEITEM computer = nullptr;
    HTREEITEM current = nullptr;
    for (HTREEITEM candidate : childrenOf(tree, desktop)) {
        for (HTREEITEM child : childrenOf(tree, candidate)) {
            if (lower(treeItemText(tree, child, memory)).find(drive) != std::wstring::npos) {
                computer = candidate;
                current = child;
                break;
            }
        }
        if (computer) {
            break;
        }
    }
    if (!computer) {
        std::fprintf(stderr, "no drive %s below the desktop's items\n", narrow(drive).c_str());
        return false;
    }
    if (parts.empty()) {
        current = computer;
    }
    for (std::size_t i = 1; i < parts.size(); ++i) {
        HTREEITEM next = nullptr;
        for (HTREEITEM child : childrenOf(tree, current)) {
            if (lower(treeItemText(tree, child, memory)) == lower(parts[i])) {
                next = child;
                break;
            }
        }
        if (!next) {
            std::fprintf(stderr, "no folder %s in the tree\n", narrow(parts[i]).c_str());
            return false;
        }
        current = next;
    }
    ::SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(current));
    ::SendMessageW(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(current));
    settle();
    return treeItem(tree, TVGN_CARET) == current;
}

bool App::closed(HWND dialog) const {
    return waitUntil([&] { return !::IsWindow(dialog) || !::IsWindowVisible(dialog); }, 5000ms);
}

bool App::cancelDialog(HWND dialog) {
    key(VK_ESCAPE);
    const bool gone = closed(dialog);
    settle();
    return gone;
}

bool App::dropFiles(HWND control, const std::vector<std::wstring>& paths, POINT client) {
    if (control) {
        RECT rect = screenRectOf(control);
        ::MapWindowPoints(nullptr, main_, reinterpret_cast<POINT*>(&rect), 2);
        client = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }
    // DROPFILES, then each path with its terminating zero, then one more zero.
    std::vector<char> block(sizeof(DROPFILES));
    DROPFILES header{};
    header.pFiles = sizeof(DROPFILES);
    header.pt = client;
    header.fNC = FALSE;
    header.fWide = TRUE;
    std::memcpy(block.data(), &header, sizeof(header));
    for (const std::wstring& path : paths) {
        const auto* bytes = reinterpret_cast<const char*>(path.c_str());
        block.insert(block.end(), bytes, bytes + (path.size() + 1) * sizeof(wchar_t));
    }
    block.insert(block.end(), sizeof(wchar_t), '\0');
    // Fixed global memory is its own handle: the block is written into the program's memory and
    // its address is the drop handle, as the system's drop gives the program a block of its own.
    void* remote = ::VirtualAllocEx(process_.hProcess, nullptr, block.size(),
                                    MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!remote ||
        !::WriteProcessMemory(process_.hProcess, remote, block.data(), block.size(), nullptr)) {
        return false;
    }
    ::PostMessageW(main_, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
    settle();
    return true;
}

void App::screenshot(std::wstring_view name) const {
    screenshot(main_, name);
}

void App::screenshot(HWND window, std::wstring_view name) const {
    if (settings().screenshotDir.empty()) {
        return;
    }
    const RECT rect = screenRectOf(window);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const HDC screen = ::GetDC(nullptr);
    const HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height; // bottom-up rows, as BMP files hold them
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ previous = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    ::GdiFlush();
    const DWORD stride = static_cast<DWORD>((width * 3 + 3) & ~3);
    const DWORD imageSize = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info.bmiHeader);
    file.bfSize = file.bfOffBits + imageSize;
    info.bmiHeader.biSizeImage = imageSize;

    const std::wstring path = settings().screenshotDir + L"\\" + std::wstring(name) + L".bmp";
    const HANDLE out = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        ::WriteFile(out, &file, sizeof(file), &written, nullptr);
        ::WriteFile(out, &info.bmiHeader, sizeof(info.bmiHeader), &written, nullptr);
        ::WriteFile(out, bits, imageSize, &written, nullptr);
        ::CloseHandle(out);
    }
    ::SelectObject(memory, previous);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
}

std::optional<std::string> readFileBytes(const std::wstring& path) {
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    std::string content;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
        content.append(buffer, got);
    }
    ::CloseHandle(file);
    return content;
}

bool writeFileBytes(const std::wstring& path, std::string_view bytes) {
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const BOOL ok =
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
    return ok && written == bytes.size();
}

std::string toGbk(std::string_view utf8) {
    const std::wstring wide = widen(utf8);
    const int size = ::WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string gbk(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), gbk.data(), size,
                          nullptr, nullptr);
    return gbk;
}

std::optional<std::string> iniValue(std::string_view ini, std::string_view section,
                                    std::string_view key) {
    bool inSection = false;
    std::size_t start = 0;
    while (start < ini.size()) {
        std::size_t end = ini.find("\r\n", start);
        if (end == std::string_view::npos) {
            end = ini.size();
        }
        const std::string_view line = ini.substr(start, end - start);
        start = end + 2;
        if (line.starts_with("[") && line.ends_with("]")) {
            inSection = line.substr(1, line.size() - 2) == section;
        } else if (inSection && line.size() > key.size() && line.starts_with(key) &&
                   line[key.size()] == '=') {
            return std::string(line.substr(key.size() + 1));
        }
    }
    return std::nullopt;
}

bool makeFolders(const std::wstring& path) {
    for (std::size_t at = path.find(L'\\', 3); at != std::wstring::npos;
         at = path.find(L'\\', at + 1)) {
        ::CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
    }
    ::CreateDirectoryW(path.c_str(), nullptr);
    return directoryExists(path);
}

bool fileExists(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool directoryExists(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace quorvel::e2e
