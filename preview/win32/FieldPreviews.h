// The previews of the path fields: a small window of its own beside a field that holds a file,
// shown while the mouse rests on the field or the field has had the focus for a moment. It never
// takes the focus, lets the mouse through to what lies below, and goes away when the mouse or
// the focus leaves the field. Files are loaded off the GUI thread (PreviewWorker).
#pragma once

#include "model/ThemeProject.h"
#include "pages/ControlId.h"
#include "preview/win32/PreviewWorker.h"
#include "widgets/win32/Gdi.h"
#include "widgets/win32/WindowBase.h"
#include "widgets/win32/WindowSubclass.h"

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

namespace quorvel {

// The window class of the popup (tests look the popup up by it).
inline constexpr wchar_t kPreviewPopupClass[] = L"QuorvelPreviewPopup";

class FieldPreviews : public WindowBase<FieldPreviews> {
public:
    FieldPreviews(HINSTANCE instance, const ThemeProject& project);
    ~FieldPreviews();
    FieldPreviews(const FieldPreviews&) = delete;
    FieldPreviews& operator=(const FieldPreviews&) = delete;

    // Watches a control of the table; only path fields get a preview, others are left alone.
    void watch(HWND control, ControlId id);
    void hide();

private:
    struct Field {
        ControlId id;
        WindowSubclass subclass; // empty once the field is destroyed
    };

    LRESULT fieldMessage(HWND field, UINT message, WPARAM wParam, LPARAM lParam);
    // The popup's messages.
    friend class WindowBase<FieldPreviews>;
    void onDetached(HWND window);
    LRESULT onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // A preview that fails to show is dropped; the popup stays.
    LRESULT onFailure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, const char*);
    bool makePopup(HWND owner);
    // Starts loading the preview of a field; the popup shows once it is loaded.
    void request(HWND field);
    void takeResults();
    void layout(HDC dc);
    void place();
    void paint(HDC dc);
    void nextStep();

    HINSTANCE instance_;
    const ThemeProject& project_;
    std::unordered_map<HWND, Field> fields_;
    HWND popup_ = nullptr;
    HWND tracked_ = nullptr;   // the field whose hover and leave are tracked
    HWND requested_ = nullptr; // the field whose preview is loading or shown
    std::unique_ptr<PreviewWorker> worker_;
    std::uint64_t serial_ = 0;

    struct Content;
    std::unique_ptr<Content> content_;
    int dpi_ = 96;
    gdi::Font font_;
};

} // namespace quorvel
