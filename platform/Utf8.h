// The program's one UTF-8 <-> UTF-16 conversion. The Win32 boundary (platform/win32/WideText)
// converts with it, and whatever needs to know in advance what a text becomes there (the path
// limit, the UTF-16 texts of resource files) asks it, so that both always agree.
//
// Decoding follows the Unicode Standard's "U+FFFD substitution of maximal subparts" (the
// decoder of the WHATWG Encoding Standard): a well-formed sequence becomes its code point, and
// each maximal subpart of an ill-formed one becomes one U+FFFD. A maximal subpart is the longest
// start of a well-formed sequence found at that point, or else one byte: "\xE4\xB8" (cut short)
// is one U+FFFD, "\xED\xA0\x80" (a surrogate) and "\xC0\xAF" (overlong) one per byte,
// "\xF4\x90\x80\x80" (above U+10FFFF) four. Embedded zeros are kept.
//
// Encoding turns each UTF-16 surrogate pair into its code point and a lone surrogate into
// U+FFFD, so that its output is always well-formed UTF-8.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quorvel::utf8 {

inline constexpr char32_t kReplacement = 0xFFFD;

// Calls emit(code point, well-formed) for each character of utf8: the code point and true for a
// well-formed sequence, U+FFFD and false for each maximal subpart of an ill-formed one.
template <class Emit> void decodeParts(std::string_view utf8, Emit&& emit) {
    const std::size_t size = utf8.size();
    std::size_t i = 0;
    while (i < size) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            emit(static_cast<char32_t>(lead), true);
            ++i;
            continue;
        }
        int needed = 0;
        char32_t code = 0;
        unsigned lower = 0x80; // the range the next byte must lie in
        unsigned upper = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            needed = 1;
            code = lead & 0x1Fu;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            needed = 2;
            code = lead & 0x0Fu;
            lower = lead == 0xE0 ? 0xA0 : 0x80; // no overlong forms
            upper = lead == 0xED ? 0x9F : 0xBF; // no surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            needed = 3;
            code = lead & 0x07u;
            lower = lead == 0xF0 ? 0x90 : 0x80; // no overlong forms
            upper = lead == 0xF4 ? 0x8F : 0xBF; // nothing above U+10FFFF
        } else {
            emit(kReplacement, false); // never the start of a sequence
            ++i;
            continue;
        }
        std::size_t next = i + 1;
        bool complete = true;
        for (int k = 0; k < needed; ++k, ++next) {
            const unsigned byte = next < size ? static_cast<unsigned char>(utf8[next]) : 0u;
            if (next >= size || byte < lower || byte > upper) {
                complete = false;
                break;
            }
            code = (code << 6) | (byte & 0x3Fu);
            lower = 0x80;
            upper = 0xBF;
        }
        emit(complete ? code : kReplacement, complete);
        i = next; // an incomplete sequence ends before the byte that did not fit
    }
}

// Calls emit(code point) for each character of utf8, U+FFFD for each maximal subpart of an
// ill-formed sequence (see above).
template <class Emit> void decode(std::string_view utf8, Emit&& emit) {
    decodeParts(utf8, [&emit](char32_t code, bool) { emit(code); });
}

// True when utf8 is well-formed UTF-8: decoding it replaces nothing.
bool isWellFormed(std::string_view utf8);

// Appends the UTF-16 form of utf8 to out (char16_t, or wchar_t where it is 16 bits wide).
template <class Unit> void appendUtf16(std::basic_string<Unit>& out, std::string_view utf8) {
    static_assert(sizeof(Unit) == 2);
    decode(utf8, [&out](char32_t code) {
        if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(static_cast<Unit>(0xD800 + (code >> 10)));
            out.push_back(static_cast<Unit>(0xDC00 + (code & 0x3FF)));
        } else {
            out.push_back(static_cast<Unit>(code));
        }
    });
}

// The UTF-16 form of utf8, and its length in UTF-16 units.
std::u16string toUtf16(std::string_view utf8);
std::size_t utf16Length(std::string_view utf8);

// Appends the UTF-8 form of utf16 to out.
template <class Unit> void appendUtf8(std::string& out, std::basic_string_view<Unit> utf16) {
    static_assert(sizeof(Unit) == 2);
    const std::size_t size = utf16.size();
    for (std::size_t i = 0; i < size; ++i) {
        char32_t code = static_cast<char16_t>(utf16[i]);
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < size &&
            static_cast<char16_t>(utf16[i + 1]) >= 0xDC00 &&
            static_cast<char16_t>(utf16[i + 1]) <= 0xDFFF) {
            code =
                0x10000 + ((code - 0xD800) << 10) + (static_cast<char16_t>(utf16[i + 1]) - 0xDC00);
            ++i;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = kReplacement;
        }
        if (code < 0x80) {
            out.push_back(static_cast<char>(code));
        } else if (code < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (code >> 6)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else if (code < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (code >> 12)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (code >> 18)));
            out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }
}

// The UTF-8 form of utf16.
std::string fromUtf16(std::u16string_view utf16);

// Strict decoding of UTF-16 bytes in little-endian order (without a byte order mark), as a file
// that declares itself UTF-16 is read: the UTF-8 form, or nothing when the text is not UTF-16
// (an odd number of bytes, or a surrogate without its partner) instead of repairing it.
std::optional<std::string> fromUtf16LeBytes(std::string_view bytes);

} // namespace quorvel::utf8
