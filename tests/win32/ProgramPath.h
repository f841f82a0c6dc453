// Where the Windows tests find the program exe of the same build.
#pragma once

#include "platform/win32/WideText.h"

#include <string>

namespace quorvel::test {

// The full path of quorvel.exe as a Windows path. A host path of a cross build ("/build/...")
// is reached through Wine's drive Z:, the host's root.
inline std::wstring programPath() {
    std::wstring path = toWide(QUORVEL_PROGRAM_PATH);
    if (!path.empty() && path.front() == L'/') {
        path = L"Z:" + path;
    }
    for (wchar_t& c : path) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    return path;
}

} // namespace quorvel::test
