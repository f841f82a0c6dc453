#include "model/IniText.h"

#include "platform/Utf8.h"

namespace quorvel {

bool isValidUtf8(std::string_view text) {
    return utf8::isWellFormed(text);
}

bool hasControlCharacter(std::string_view text) {
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && byte != '\t') || byte == 0x7F) {
            return true;
        }
    }
    return false;
}

std::string_view trimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

IniLine parseIniLine(std::string_view line) {
    const std::string_view text = trimBlanks(line);
    if (text.empty()) {
        return {};
    }
    if (text.front() == ';') {
        return {IniLine::Kind::Comment, {}, text.substr(1)};
    }
    if (text.front() == '[') {
        const std::size_t close = text.find(']');
        if (close == std::string_view::npos) {
            return {IniLine::Kind::Invalid, {}, {}};
        }
        return {IniLine::Kind::Section, trimBlanks(text.substr(1, close - 1)), {}};
    }
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        return {IniLine::Kind::Invalid, {}, {}};
    }
    std::string_view value = trimBlanks(text.substr(equals + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value = value.substr(1, value.size() - 2);
    }
    return {IniLine::Kind::Entry, trimBlanks(text.substr(0, equals)), value};
}

bool LineCursor::next(std::string_view& line) {
    if (pos_ >= text_.size()) {
        return false;
    }
    const std::size_t end = text_.find('\n', pos_);
    const std::size_t stop = end == std::string_view::npos ? text_.size() : end;
    line = text_.substr(pos_, stop - pos_);
    if (end != std::string_view::npos && !line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    pos_ = end == std::string_view::npos ? text_.size() : end + 1;
    ++number_;
    return true;
}

} // namespace quorvel
