// The pieces of INI text that the project file reader and the theme file reader share: UTF-8
// checks, ASCII case folding (model/AsciiCase.h) and the classification of one line.
#pragma once

#include "model/AsciiCase.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace quorvel {

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates, nothing beyond
// U+10FFFF).
bool isValidUtf8(std::string_view text);

// True when the text holds a control character other than the tab (C0 codes and DEL), which no
// line of an INI file that a person or Windows wrote holds.
bool hasControlCharacter(std::string_view text);

// The text without blanks (space, tab) at either end.
std::string_view trimBlanks(std::string_view text);

struct IniLine {
    enum class Kind {
        Blank,   // nothing but blanks
        Comment, // the first non-blank character is ';'
        Section, // "[name]"; name is what stands between the brackets, trimmed
        Entry,   // "key=value"; both trimmed, value without one pair of enclosing quotes
        Invalid, // a "[" without "]", or a line without "="
    };
    Kind kind = Kind::Blank;
    std::string_view name;
    std::string_view value;
};

// Classifies one line (without its line break).
IniLine parseIniLine(std::string_view line);

// Walks text line by line; a line ends at LF, and a CR right before the LF belongs to the break.
class LineCursor {
public:
    explicit LineCursor(std::string_view text) : text_(text) {}
    // The next line, or false at the end of the text. number() is its 1-based number.
    bool next(std::string_view& line);
    int number() const { return number_; }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
    int number_ = 0;
};

} // namespace quorvel
