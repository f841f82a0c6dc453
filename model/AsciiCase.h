// Letter case of ASCII text, the one folding of the program: INI section and key names, file
// extensions, device names and resource names compare and fold only the 26 ASCII letters, byte by
// byte. Every other byte stays as it is, so UTF-8 text keeps its other characters; ANSI text with
// double-byte characters is folded by the theme file's writer, which knows the lead bytes.
#pragma once

#include <string>
#include <string_view>

namespace quorvel {

constexpr char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
constexpr char upperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The text with its ASCII capitals in lower case, or its small ASCII letters in upper case.
std::string lowerAscii(std::string_view text);
std::string upperAscii(std::string_view text);

// Compares as Windows compares INI names of ASCII letters: "A" equals "a".
bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);
bool startsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix);
bool endsWithIgnoringAsciiCase(std::string_view text, std::string_view suffix);

} // namespace quorvel
