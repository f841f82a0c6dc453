#include "platform/win32/WideText.h"

#include <windows.h>

#include <climits>
#include <stdexcept>

namespace quorvel {

namespace {

int checkedLength(std::size_t size) {
    if (size > static_cast<std::size_t>(INT_MAX)) {
        throw std::length_error("text too long for a Win32 conversion");
    }
    return static_cast<int>(size);
}

} // namespace

std::wstring toWide(std::string_view utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int inLength = checkedLength(utf8.size());
    const int outLength = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), inLength, nullptr, 0);
    if (outLength <= 0) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(outLength), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), inLength, wide.data(), outLength);
    return wide;
}

std::string toUtf8(std::wstring_view wide) {
    if (wide.empty()) {
        return {};
    }
    const int inLength = checkedLength(wide.size());
    const int outLength =
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), inLength, nullptr, 0, nullptr, nullptr);
    if (outLength <= 0) {
        return {};
    }
    std::string utf8(static_cast<std::size_t>(outLength), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), inLength, utf8.data(), outLength, nullptr,
                          nullptr);
    return utf8;
}

} // namespace quorvel
