#include "widgets/win32/WindowSubclass.h"

#include "platform/win32/SystemLibraries.h"
#include "widgets/win32/WindowBase.h"

#include <utility>

namespace quorvel {

WindowSubclass::WindowSubclass(HWND window, Handler handler)
    : binding_(std::make_unique<Binding>(Binding{window, std::move(handler)})) {
    const auto id = reinterpret_cast<UINT_PTR>(binding_.get());
    if (!window ||
        !system::SetWindowSubclass(window, dispatch, id, reinterpret_cast<DWORD_PTR>(id))) {
        binding_.reset();
    }
}

WindowSubclass::~WindowSubclass() {
    remove();
}

WindowSubclass& WindowSubclass::operator=(WindowSubclass&& other) noexcept {
    if (this != &other) {
        remove();
        binding_ = std::move(other.binding_);
    }
    return *this;
}

void WindowSubclass::remove() noexcept {
    if (binding_ && binding_->window) {
        system::RemoveWindowSubclass(binding_->window, dispatch,
                                     reinterpret_cast<UINT_PTR>(binding_.get()));
    }
    binding_.reset();
}

LRESULT WindowSubclass::callNext(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return system::DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK WindowSubclass::dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR id, DWORD_PTR data) {
    auto* binding = reinterpret_cast<Binding*>(data);
    if (message == WM_NCDESTROY) {
        system::RemoveWindowSubclass(window, dispatch, id);
        binding->window = nullptr;
        return callNext(window, message, wParam, lParam);
    }
    return guarded([&] { return binding->handler(window, message, wParam, lParam); },
                   [](const char*) { return LRESULT{0}; });
}

} // namespace quorvel
