// The one pair of text conversions between the program's UTF-8 and the UTF-16 of the Win32 wide
// functions. Every call into Win32 goes through these at the platform boundary.
#pragma once

#include <string>
#include <string_view>

namespace quorvel {

// UTF-8 to UTF-16. A byte sequence that is not valid UTF-8 becomes U+FFFD; embedded zeros are
// kept.
std::wstring toWide(std::string_view utf8);

// UTF-16 to UTF-8. A lone surrogate becomes U+FFFD; embedded zeros are kept.
std::string toUtf8(std::wstring_view wide);

} // namespace quorvel
