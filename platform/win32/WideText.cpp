#include "platform/win32/WideText.h"

#include "platform/Utf8.h"

namespace quorvel {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 wide text is UTF-16");

std::wstring toWide(std::string_view utf8) {
    std::wstring wide;
    wide.reserve(utf8.size());
    utf8::appendUtf16(wide, utf8);
    return wide;
}

std::string toUtf8(std::wstring_view wide) {
    std::string utf8;
    utf8.reserve(wide.size());
    utf8::appendUtf8(utf8, wide);
    return utf8;
}

} // namespace quorvel
