// The one pair of text conversions between the program's UTF-8 and the UTF-16 of the Win32 wide
// functions. Every call into Win32 goes through these at the platform boundary; they are the
// conversions of platform/Utf8.h, so that what the program computes about a text's UTF-16 form
// (its length against the path limit, above all) holds for what the system gets.
#pragma once

#include <string>
#include <string_view>

namespace quorvel {

// UTF-8 to UTF-16. Each maximal subpart of an ill-formed sequence becomes U+FFFD; embedded zeros
// are kept.
std::wstring toWide(std::string_view utf8);

// UTF-16 to UTF-8. A lone surrogate becomes U+FFFD; embedded zeros are kept.
std::string toUtf8(std::wstring_view wide);

} // namespace quorvel
