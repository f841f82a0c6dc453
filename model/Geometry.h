// The program's one colour type with its one spelling in text, its one rectangle type and the one
// way it blends colours.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

// A colour of 8 bits per channel.
struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const Rgb&) const = default;
};

// A colour as the project file, the colour field and the palette's cell names spell it: six
// upper-case hexadecimal digits, red first ("0066FF" is red 0, green 102, blue 255).
inline std::string hexText(Rgb color) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (const std::uint8_t channel : {color.red, color.green, color.blue}) {
        text += kDigits[channel >> 4];
        text += kDigits[channel & 0xF];
    }
    return text;
}

// The colour of a text of exactly six hexadecimal digits in either case, red first; nothing for
// any other text (no blanks, signs or prefix).
constexpr std::optional<Rgb> rgbFromHexText(std::string_view text) {
    if (text.size() != 6) {
        return std::nullopt;
    }
    int digits[6] = {};
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            digits[i] = c - '0';
        } else if (c >= 'A' && c <= 'F') {
            digits[i] = c - 'A' + 10;
        } else if (c >= 'a' && c <= 'f') {
            digits[i] = c - 'a' + 10;
        } else {
            return std::nullopt;
        }
    }
    const auto byte = [&digits](int at) {
        return static_cast<std::uint8_t>(digits[at] * 16 + digits[at + 1]);
    };
    return Rgb{byte(0), byte(2), byte(4)};
}

// A rectangle in pixels: its top-left corner and its size. right() and bottom() lie just outside
// it, as with GDI rectangles.
struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    constexpr int right() const { return left + width; }
    constexpr int bottom() const { return top + height; }
    bool operator==(const Rect&) const = default;
};

// How a blend rounds a value that falls between two integers.
enum class Rounding {
    Nearest,    // halves away from `from`: the gradients of the support DLLs' pictures
    TowardZero, // the step towards `to` rounded down in size: the palette's button face
};

// The value that moves from `from` to `to` as step goes from 0 to steps; `from` when steps is not
// positive. The two roundings draw different pixels, and each picture's pixels are fixed: the
// support DLLs' bytes and the popup's screenshots must not change.
constexpr int blend(int from, int to, int step, int steps, Rounding rounding) {
    if (steps <= 0) {
        return from;
    }
    if (rounding == Rounding::TowardZero) {
        return from + (to - from) * step / steps;
    }
    return from + ((to - from) * 2 * step + (to >= from ? steps : -steps)) / (2 * steps);
}

constexpr Rgb blend(Rgb from, Rgb to, int step, int steps, Rounding rounding) {
    return {static_cast<std::uint8_t>(blend(from.red, to.red, step, steps, rounding)),
            static_cast<std::uint8_t>(blend(from.green, to.green, step, steps, rounding)),
            static_cast<std::uint8_t>(blend(from.blue, to.blue, step, steps, rounding))};
}

} // namespace quorvel
