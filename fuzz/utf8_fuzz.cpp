// Fuzzes the UTF-8 module: the input read as UTF-8 and, pair by pair of bytes, as UTF-16.
// - The UTF-16 length is the length of the conversion, and decoding any prefix never yields
//   more units than the whole.
// - Well-formed UTF-8 comes back unchanged through UTF-16; ill-formed UTF-8 comes back repaired
//   (well-formed, with U+FFFD in place of each bad part), and the repaired form is stable.
// - UTF-16 comes back unchanged through UTF-8 except that each lone surrogate is U+FFFD, and
//   the UTF-16 length of the encoder's output is the number of UTF-16 units it was given.
#include "platform/Utf8.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool isSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDFFF;
}

// The UTF-16 text with each unpaired surrogate replaced, written independently of the module.
std::u16string withoutLoneSurrogates(std::u16string_view text) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            out.push_back(unit);
            out.push_back(text[++i]);
        } else {
            out.push_back(isSurrogate(unit) ? char16_t{0xFFFD} : unit);
        }
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using namespace quorvel::utf8;
    const std::string_view input(reinterpret_cast<const char*>(bytes), size);

    const std::u16string wide = toUtf16(input);
    check(utf16Length(input) == wide.size());
    check(utf16Length(input.substr(0, size / 2)) <= wide.size());
    const std::string back = fromUtf16(wide);
    check(toUtf16(back) == wide);
    check(fromUtf16(toUtf16(back)) == back);
    // Exactly well-formed input comes back unchanged.
    check(isWellFormed(input) == (back == input));
    check(isWellFormed(back));

    std::u16string units(size / 2, u'\0');
    std::memcpy(units.data(), bytes, units.size() * 2);
    const std::string encoded = fromUtf16(units);
    check(utf16Length(encoded) == units.size());
    check(toUtf16(encoded) == withoutLoneSurrogates(units));
    return 0;
}
