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

std::optional<std::string> fromUtf16LeBytes(std::string_view bytes) {
    if (bytes.size() % 2 != 0) {
        return std::nullopt;
    }
    std::u16string units(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                         (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    }
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t unit = units[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            ++i; // a pair
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            return std::nullopt;
        }
    }
    // Well-formed: the conversion replaces nothing.
    return fromUtf16(units);
}

} // namespace quorvel::utf8
