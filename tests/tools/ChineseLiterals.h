// Finds the string and character literals of a C++ source that hold Chinese text: a CJK
// character (or full-width punctuation) written as it is or as a \u / \U escape. Comments are
// skipped, and so are literals on lines the source marks as holding no message:
//   ... "宋体" ... // catalogue: not shown (a font's name)
//   // catalogue: off (the project file's keys)
//   ...
//   // catalogue: on
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel::catalogue {

struct ChineseLiteral {
    int line = 0;        // of the literal's first character, counting from 1
    std::string literal; // as written, prefix and quotes included
};

inline bool isChinese(char32_t c) {
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFFEF) ||
           (c >= 0x20000 && c <= 0x3FFFF);
}

// Whether the text of a literal (between its quotes) holds a Chinese character.
inline bool holdsChinese(std::string_view body) {
    for (std::size_t i = 0; i < body.size();) {
        const auto b = static_cast<unsigned char>(body[i]);
        if (b == '\\' && i + 1 < body.size()) {
            const char kind = body[i + 1];
            const std::size_t digits = kind == 'u' ? 4 : kind == 'U' ? 8 : 0;
            if (digits != 0 && i + 2 + digits <= body.size()) {
                const std::string hex(body.substr(i + 2, digits));
                if (hex.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos &&
                    isChinese(static_cast<char32_t>(std::stoul(hex, nullptr, 16)))) {
                    return true;
                }
            }
            i += 2;
            continue;
        }
        std::size_t length = 1;
        char32_t c = b;
        if (b >= 0xF0) {
            length = 4;
            c = b & 0x07;
        } else if (b >= 0xE0) {
            length = 3;
            c = b & 0x0F;
        } else if (b >= 0xC0) {
            length = 2;
            c = b & 0x1F;
        }
        for (std::size_t k = 1; k < length && i + k < body.size(); ++k) {
            c = (c << 6) | (static_cast<unsigned char>(body[i + k]) & 0x3F);
        }
        if (length > 1 && isChinese(c)) {
            return true;
        }
        i += length;
    }
    return false;
}

namespace detail {

inline bool isIdentifierChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// The identifier that ends just before `at`.
inline std::string_view identifierBefore(std::string_view source, std::size_t at) {
    std::size_t begin = at;
    while (begin > 0 && isIdentifierChar(source[begin - 1])) {
        --begin;
    }
    return source.substr(begin, at - begin);
}

inline bool isEncodingPrefix(std::string_view word) {
    return word.empty() || word == "L" || word == "u" || word == "U" || word == "u8";
}

} // namespace detail

inline std::vector<ChineseLiteral> chineseLiterals(std::string_view source) {
    using detail::identifierBefore;
    std::vector<ChineseLiteral> found;
    int line = 1;
    bool off = false;                   // inside a "catalogue: off" region
    int notShownLine = 0;               // the line of the last "catalogue: not shown" comment
    std::vector<ChineseLiteral> onLine; // literals of the current line, kept until its end
    const auto endLine = [&] {
        for (auto& literal : onLine) {
            if (!off && notShownLine != literal.line) {
                found.push_back(std::move(literal));
            }
        }
        onLine.clear();
    };
    const auto comment = [&](std::string_view text) {
        if (text.find("catalogue: off") != std::string_view::npos) {
            off = true;
        } else if (text.find("catalogue: on") != std::string_view::npos) {
            off = false;
        } else if (text.find("catalogue: not shown") != std::string_view::npos) {
            notShownLine = line;
        }
    };
    std::size_t i = 0;
    while (i < source.size()) {
        const char c = source[i];
        if (c == '\n') {
            endLine();
            ++line;
            ++i;
        } else if (source.substr(i, 2) == "//") {
            const std::size_t end = std::min(source.find('\n', i), source.size());
            comment(source.substr(i, end - i));
            i = end;
        } else if (source.substr(i, 2) == "/*") {
            const std::size_t close = source.find("*/", i + 2);
            const std::size_t end = close == std::string_view::npos ? source.size() : close + 2;
            for (std::size_t k = i; k < end; ++k) {
                line += source[k] == '\n' ? 1 : 0;
            }
            i = end;
        } else if (c == 'R' && i + 1 < source.size() && source[i + 1] == '"' &&
                   detail::isEncodingPrefix(identifierBefore(source, i))) {
            // A raw string: R"delimiter( ... )delimiter".
            const std::size_t open = source.find('(', i + 2);
            if (open == std::string_view::npos) {
                break;
            }
            const std::string close = ")" + std::string(source.substr(i + 2, open - i - 2)) + "\"";
            const std::size_t end = std::min(source.find(close, open), source.size());
            const std::size_t start = i - identifierBefore(source, i).size();
            if (holdsChinese(source.substr(open + 1, end - open - 1))) {
                onLine.push_back(
                    {line, std::string(source.substr(start, end + close.size() - start))});
            }
            for (std::size_t k = i; k < end; ++k) {
                line += source[k] == '\n' ? 1 : 0;
            }
            i = end + close.size();
        } else if (c == '"' ||
                   (c == '\'' && detail::isEncodingPrefix(identifierBefore(source, i)))) {
            // A quoted literal; a quote after a digit or a name is a digit separator.
            std::size_t k = i + 1;
            while (k < source.size() && source[k] != c && source[k] != '\n') {
                k += source[k] == '\\' ? 2 : 1;
            }
            const std::size_t start = i - identifierBefore(source, i).size();
            if (holdsChinese(source.substr(i + 1, k - i - 1))) {
                onLine.push_back({line, std::string(source.substr(start, k + 1 - start))});
            }
            i = k + 1;
        } else {
            ++i;
        }
    }
    endLine();
    return found;
}

} // namespace quorvel::catalogue
