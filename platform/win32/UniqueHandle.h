// Owning wrappers for kernel handles: a file handle is closed with CloseHandle, a search handle of
// FindFirstFileExW with FindClose. Both functions report failure as INVALID_HANDLE_VALUE, which
// the wrappers take as "no handle", so a failed open owns nothing.
#pragma once

#include <windows.h>

#include <memory>

namespace quorvel {

namespace detail {

struct FileHandleCloser {
    void operator()(HANDLE handle) const noexcept { ::CloseHandle(handle); }
};

struct FindHandleCloser {
    void operator()(HANDLE handle) const noexcept { ::FindClose(handle); }
};

template <class Closer> class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle)
        : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}

    explicit operator bool() const { return handle_ != nullptr; }
    HANDLE get() const { return handle_.get(); }

private:
    std::unique_ptr<void, Closer> handle_;
};

} // namespace detail

using UniqueFileHandle = detail::UniqueHandle<detail::FileHandleCloser>;
using UniqueFindHandle = detail::UniqueHandle<detail::FindHandleCloser>;

} // namespace quorvel
