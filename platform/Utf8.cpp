#include "platform/Utf8.h"

namespace quorvel::utf8 {

std::u16string toUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    appendUtf16(out, utf8);
    return out;
}

std::size_t utf16Length(std::string_view utf8) {
    std::size_t units = 0;
    decode(utf8, [&units](char32_t code) { units += code >= 0x10000 ? 2 : 1; });
    return units;
}

bool isWellFormed(std::string_view utf8) {
    bool wellFormed = true;
    decodeParts(utf8, [&wellFormed](char32_t, bool part) { wellFormed = wellFormed && part; });
    return wellFormed;
}

std::string fromUtf16(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    appendUtf8(out, utf16);
    return out;
}

} // namespace quorvel::utf8
