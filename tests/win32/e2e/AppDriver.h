// Drives the real program from outside, as a user would: it starts quorvel.exe under a given
// Windows version, finds controls only by what is visible (kind, position on the page, caption),
// clicks them with real mouse input, types with real keyboard input, reads and confirms message
// boxes and saves screenshots of the window.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel::e2e {

// Where the program and the screenshots are; set from the command line.
struct Settings {
    std::wstring program;       // path of quorvel.exe
    std::wstring screenshotDir; // where screenshots go (BMP files); empty for none
    std::wstring workDir;       // a scratch folder for generated themes
};
Settings& settings();

// The kinds of control a user tells apart.
enum class Kind { Button, Field, List, Slider, TickBox };

struct Seen {
    HWND window = nullptr;
    Kind kind = Kind::Button;
    // Relative to the page picture (the window's client area), in the layout's pixels at 96 DPI
    // whatever the program's DPI, so that a control is found at the same place at every DPI.
    RECT onPage{};
    std::string caption;
    RECT pixels{}; // the same rectangle in real pixels
};

struct MessageBoxSeen {
    HWND window = nullptr;
    std::string title;
    std::string text;
};

class App {
public:
    // Starts the program with the system version Wine reports to it ("winxp", "win2003",
    // "win7", "win8", "win10") and the screen's dots per inch, and waits for its main window.
    explicit App(const wchar_t* windowsVersion, int dpi = 96);
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    bool running() const { return main_ != nullptr; }
    int dpi() const { return dpi_; }
    HWND mainWindow() const { return main_; }

    // The visible controls of the page shown.
    std::vector<Seen> visible() const;
    // The one visible control of a kind with that caption, or nullptr.
    HWND find(Kind kind, std::string_view caption) const;
    // The visible control of a kind whose top-left corner on the page is (left, top), or nullptr.
    HWND findAt(Kind kind, int left, int top) const;

    std::string text(HWND control) const;
    bool enabled(HWND control) const;
    // The control that has the keyboard focus in the program.
    HWND focus() const;

    // A left click in the middle of a control, then waits for the program to settle.
    void click(HWND control);
    // Clicks into a field, selects its text and types the new text over it.
    void type(HWND field, std::string_view text);
    // Presses and releases a key (with Shift or Ctrl held when asked).
    void key(WORD virtualKey, bool shift = false, bool control = false);
    // Opens a drop-down list by clicking it and clicks the item with that text. The items the
    // opened list showed go to `seen` when it is given.
    bool pickItem(HWND list, std::string_view item, std::vector<std::string>* seen = nullptr);

    // The program's message box, once it shows (within the timeout), or nothing.
    std::optional<MessageBoxSeen> messageBox(std::chrono::milliseconds timeout) const;
    // Presses the message box's button and waits until it is gone.
    void confirm(const MessageBoxSeen& box);

    // Answers the open-file dialog the program shows (within the timeout): types the full path
    // over the text of its file name box and presses Enter. False when no dialog showed or it
    // stayed open.
    bool answerFileDialog(std::string_view path, std::chrono::milliseconds timeout);

    // The program's open-file dialog (the one with a file name box), once it shows, or nullptr.
    HWND fileDialog(std::chrono::milliseconds timeout) const;
    // The program's folder browser (the dialog with a folder tree), once it shows, or nullptr.
    HWND folderBrowser(std::chrono::milliseconds timeout) const;
    // The text of a window: a dialog's title, a control's caption.
    std::string windowTitle(HWND window) const;
    // What the file name box of an open-file dialog shows.
    std::string fileNameBox(HWND dialog) const;
    // The types of file the dialog's file type list offers (the descriptions, in order).
    std::vector<std::string> fileTypes(HWND dialog) const;
    // Whether the dialog shows its read-only check box.
    bool showsReadOnlyBox(HWND dialog) const;
    // Replaces the text of the file name box by typing.
    void fillFileName(HWND dialog, std::string_view text);
    // Replaces the text of the file name box by typing, then presses Enter.
    void enterFileName(HWND dialog, std::string_view text);
    // The visible button of a dialog with that caption (accelerator marks ignored), or nullptr.
    HWND dialogButton(HWND dialog, std::string_view caption) const;
    // The texts of the folder tree's items on the way to the selected one (root first).
    std::vector<std::string> selectedFolderTrail(HWND browser) const;
    // Selects a folder in the browser's tree by walking it from the desktop, expanding each item
    // on the way as a user does: the computer, the drive ("(Z:)") and each folder by name. An
    // empty path selects the computer itself. False when some step was not found.
    bool selectFolder(HWND browser, const std::wstring& path);
    // Presses Escape and waits until the dialog is gone.
    bool cancelDialog(HWND dialog);
    // Waits until a dialog is gone.
    bool closed(HWND dialog) const;

    // Presses or releases the left mouse button over a point of a control (page coordinates of
    // the control's own rectangle, from its top-left corner).
    void pressAt(HWND control, POINT within);
    void releaseAt(HWND control, POINT within);

    // Saves the main window as <screenshotDir>\<name>.bmp.
    void screenshot(std::wstring_view name) const;
    // Saves another window of the program (a dialog) the same way.
    void screenshot(HWND window, std::wstring_view name) const;

    // Waits until the program has handled everything it was sent.
    void settle() const;

    // Drops files onto the window as the file manager does: a WM_DROPFILES whose DROPFILES block
    // (in the program's memory) holds the paths and the point, here the middle of `control`, or
    // the point of the client area (in real pixels) when no control is given.
    // False when the drop could not be written into the program.
    bool dropFiles(HWND control, const std::vector<std::wstring>& paths, POINT client = {});

private:
    void moveAndClick(POINT screen);
    void moveTo(POINT screen);
    void typeText(std::string_view text);
    HWND dialogWith(bool (*has)(HWND), std::chrono::milliseconds timeout) const;

    PROCESS_INFORMATION process_{};
    HWND main_ = nullptr;
    int dpi_ = 96;
};

// Polls a condition until it holds or the timeout passes.
// A mouse input at a point of the screen (moving there), with further flags such as
// MOUSEEVENTF_LEFTDOWN, for SendInput.
INPUT mouseAt(POINT screen, DWORD flags);

// The program's colour palette popup when it is shown, or nullptr.
HWND shownPalettePopup();

// Makes the driver see the program's windows in real pixels at any DPI (call once at start).
void becomeDpiAware();

bool waitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::milliseconds(5000));

// The value of a key in a section of an INI text (as bytes, CR LF lines), or nothing.
std::optional<std::string> iniValue(std::string_view ini, std::string_view section,
                                    std::string_view key);

// Makes a folder and the folders above it that are missing.
bool makeFolders(const std::wstring& path);

// The whole content of a file, or nothing.
std::optional<std::string> readFileBytes(const std::wstring& path);
bool fileExists(const std::wstring& path);
bool directoryExists(const std::wstring& path);
bool writeFileBytes(const std::wstring& path, std::string_view bytes);
// The text in code page 936 (GBK), as the theme files hold it.
std::string toGbk(std::string_view utf8);
std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view wide);

} // namespace quorvel::e2e
