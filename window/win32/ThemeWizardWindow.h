// The program's main window: a fixed frame holding the page container 选择夹1 with the 14 page
// pictures, every control of the control table on its page, and the handlers of the page flow
// bound to the controls' events. One class, defined in four files by concern:
// ThemeWizardWindow.cpp the shell (creation, the window procedure and what it dispatches),
// WizardControls.cpp the control factory and the DPI layout (and the owner-drawn faces),
// WizardKeyboard.cpp the keyboard navigation (Tab order, Enter, shortcuts, focus), and
// WizardProjectCommands.cpp the commands of the system menu (open, save, export, install).
// The message loop that drives it is the program's own (app/main.cpp).
#pragma once

#include "model/AppState.h"
#include "pages/ControlTable.h"
#include "pages/PageFlow.h"
#include "pages/ProjectSession.h"
#include "pages/WizardUi.h"
#include "platform/Platform.h"
#include "platform/win32/Win32Dialogs.h"
#include "platform/win32/Win32SystemShell.h"
#include "preview/win32/PagePictures.h"
#include "widgets/win32/WindowBase.h"
#include "widgets/win32/WindowSubclass.h"
#include "window/win32/Win32ControlLook.h"

#include <windows.h>

#include <shellapi.h>

#include <array>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace quorvel {

class FieldPreviews;

// The commands of the window's system menu that keep and reopen the wizard's work (the range
// 0x7200 .. 0x72F0). The system uses the four low bits of a system command, so each is a
// multiple of 16.
enum ProjectCommand : UINT {
    kCommandOpenProject = 0x7200,
    kCommandSaveProject = 0x7210,
    kCommandSaveProjectAs = 0x7220,
    kCommandExportPack = 0x7230,
    // Installs the theme of the shown page set for the current user and applies it.
    kCommandInstallTheme = 0x7280,
};

inline constexpr wchar_t kWizardWindowClass[] = L"QuorvelWizardWindow";
// The class of the page container and the page pictures.
inline constexpr wchar_t kPageClass[] = L"QuorvelPage";
inline constexpr int kWindowWidth = 500;
inline constexpr int kWindowHeight = 367;

class ThemeWizardWindow final : public WizardUi, public WindowBase<ThemeWizardWindow> {
public:
    ThemeWizardWindow(HINSTANCE instance, AppState& app, Platform& platform);
    ~ThemeWizardWindow() override;
    ThemeWizardWindow(const ThemeWizardWindow&) = delete;
    ThemeWizardWindow& operator=(const ThemeWizardWindow&) = delete;

    // Creates the window centred on the screen with the controls of page 0 (and those that
    // belong to no page) and shows it on page 0. False when the window could not be created.
    bool create(int showCommand);
    // Makes the controls of the other pages, once. The message loop calls it as soon as the
    // first page is painted and no message waits, so that the window appears before the
    // controls nobody sees yet are made; using a control or changing the page calls it
    // earlier when needed. False when a control could not be made.
    bool completeControls();
    bool complete() const { return complete_; }
    HWND handle() const { return window_; }
    // The child window of a control of the table.
    HWND control(ControlId id) const { return hwndOf(id); }

    // Keyboard handling before a message is dispatched: Tab and Shift+Tab move through the
    // current page's controls, Enter presses a focused button and does nothing in a field.
    // True when the message was handled here.
    bool preTranslate(const MSG& message);

    // The dots per inch the window is laid out for (96: the sizes of the control table).
    int dpi() const { return dpi_; }
    // Opens a project or .theme file in the wizard, as the open command does once the file is
    // chosen; what goes wrong is told in a message box. Never throws.
    void openDocument(const std::string& path);

    // WizardUi
    std::string text(ControlId id) const override;
    void setText(ControlId id, std::string_view text) override;
    bool enabled(ControlId id) const override;
    void setEnabled(ControlId id, bool enabled) override;
    int comboIndex(ControlId id) const override;
    void setComboIndex(ControlId id, int index) override;
    Page currentPage() const override { return page_; }
    void goToPage(Page page) override;
    int sliderPosition(ControlId id) const override;
    void setSliderPosition(ControlId id, int position) override;

private:
    friend class WindowBase<ThemeWizardWindow>;

    // The page container and the page pictures: a picture paints its page; both hand the
    // notifications of their controls to the main window. One object for all of them.
    class PageSurfaces : public WindowBase<PageSurfaces> {
    public:
        explicit PageSurfaces(ThemeWizardWindow& owner) : owner_(owner) {}

    private:
        friend class WindowBase<PageSurfaces>;
        LRESULT onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
        LRESULT onFailure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                          const char* what);
        ThemeWizardWindow& owner_;
    };

    // The shell (ThemeWizardWindow.cpp).
    static bool registerClasses(HINSTANCE instance);
    void onAttached(HWND window) { window_ = window; }
    void onDetached(HWND) { window_ = nullptr; }
    LRESULT onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // A handler that fails is reported in a message box; the message is answered with 0.
    LRESULT onFailure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, const char* what);
    bool onDpiChanged(HWND, int dpi, const RECT* suggested) {
        applyDpi(dpi, suggested);
        return true;
    }
    // Tells the user of an unexpected failure (text::kInternalError and what failed).
    static void reportFailure(HWND owner, const char* what);
    LRESULT tickBoxMessage(HWND tickBox, UINT message, WPARAM wParam, LPARAM lParam);
    // Files dropped from the file manager: the control under the drop point takes them.
    void takeDrop(HDROP drop);
    // Runs the handler of a control's event; an unexpected failure is reported, never thrown
    // through the window procedure.
    void fire(HWND control, ControlEvent event);
    // The colour button of page WIN75: the palette popup at the pointer, then the colour field.
    void pickWindowColor();
    // The previews: a path field's preview once its control is made, and the desktop preview
    // of the page set shown (the XP set on its pages, the Windows 7 set elsewhere).
    void watchForPreview(HWND control, const ControlDef& def);
    void openDesktopPreview();

    // The control factory and the layout (WizardControls.cpp).
    // The controls of page 0 and of no page (first), or those of all other pages.
    bool createControls(bool first);
    HWND createControl(const ControlDef& def, int index);
    // A length of the layout (given at 96 DPI) at the window's DPI.
    int px(int length) const;
    // The frame's size for the window's DPI: the page's client area at the least.
    SIZE frameSize(DWORD style, DWORD exStyle) const;
    // Lays the window out anew for `dpi`: fonts, every control's place and size, the pictures;
    // the frame takes `suggested` (screen coordinates) or keeps its top-left corner.
    void applyDpi(int dpi, const RECT* suggested);
    // Places a control at its rectangle of the table scaled to the window's DPI.
    void placeControl(HWND control, const ControlDef& def);
    // Steps the selection field's height until the closed drop-down list is `height` high.
    static void fitComboHeight(HWND combo, int height);
    void drawGraphicButton(const DRAWITEMSTRUCT& item);
    void drawListItem(const DRAWITEMSTRUCT& item);
    void paintPage(HWND page);
    HWND hwndOf(ControlId id) const;
    const ControlDef* defOf(HWND control) const;
    // The control of the table that a window belongs to (itself or an ancestor).
    HWND tableControlOf(HWND window) const;

    // The keyboard navigation (WizardKeyboard.cpp).
    // A button the keyboard presses with Enter.
    static bool isButton(const ControlDef* def);
    void focusControl(HWND control);
    // The first enabled Tab stop of the current page; null when it has none.
    HWND firstFocusOfPage() const;
    // WM_ACTIVATE: as in a dialog, the focus leaves and comes back with the activation. True
    // when the focus was given (the message is then answered with 0).
    bool followActivation(WPARAM wParam);

    // The project commands (WizardProjectCommands.cpp).
    // The project commands of the system menu (added once the window is shown, as the system
    // copies the menu for the window then) and their handling; false for a command that is not
    // one of them.
    void addProjectMenuItems();
    bool runProjectCommand(UINT command);
    // The install command: the theme of the page set shown (the running system's on the main
    // and about pages), with an owned question before an installed theme is replaced.
    void installTheme();
    // Asks whether to save a modified project before the window closes; false keeps it open.
    bool mayClose();

    HINSTANCE instance_;
    AppState& app_;
    Platform& platform_;
    Win32Dialogs dialogs_;
    Win32SystemShell shell_;
    FileDialogState fileDialog_;
    Wizard wizard_;
    ProjectSession session_{wizard_};
    HWND window_ = nullptr;
    std::vector<HWND> pages_; // null for a page whose controls are not made yet
    bool complete_ = false;
    HWND lastFocus_ = nullptr; // the control that had the focus when the window was left
    Page page_ = Page::Main;
    std::array<HWND, kControlCount> byId_{}; // null for a control not made yet
    std::unordered_map<HWND, const ControlDef*> byWindow_;
    std::unordered_map<HWND, int> sliderPositions_;
    int dpi_ = 96;
    WizardFonts fonts_;
    LookColors colors_;
    // The off-screen bitmap the page pictures and the graphic buttons are drawn into.
    gdi::PaintStore paintStore_;
    ControlLook look_;
    std::vector<WindowSubclass> tickBoxes_; // each tick box reports its release
    std::unique_ptr<FieldPreviews> previews_;
    PageSurfaces pageSurfaces_{*this};
};

} // namespace quorvel
