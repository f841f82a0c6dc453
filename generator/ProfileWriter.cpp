#include "generator/ProfileWriter.h"

#include <optional>

namespace quorvel {

namespace {

const char* const kLineEnd = "\r\n";

std::string_view trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// The key of a "key=value" line, or nothing when the line holds no "=".
std::optional<std::string_view> keyName(std::string_view line) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    return trim(line.substr(0, equals));
}

bool holdsLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

} // namespace

std::size_t ProfileWriter::findCloseBracket(std::string_view ansi) const {
    // "]" is a possible second byte of a two-byte character; such a byte closes nothing.
    for (std::size_t i = 0; i < ansi.size(); ++i) {
        const auto byte = static_cast<unsigned char>(ansi[i]);
        if (platform_.isAnsiLeadByte(byte) && i + 1 < ansi.size()) {
            ++i;
        } else if (byte == ']') {
            return i;
        }
    }
    return std::string_view::npos;
}

std::optional<std::string_view> ProfileWriter::sectionName(std::string_view line) const {
    const std::string_view text = trim(line);
    if (text.empty() || text.front() != '[') {
        return std::nullopt;
    }
    const std::size_t close = findCloseBracket(text);
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    return trim(text.substr(1, close - 1));
}

bool ProfileWriter::representable(std::string_view section, std::string_view key) const {
    // Names that would read back as something else: a section name with "]" or blanks around
    // it, a key with "=" or blanks around it, or a key that would start a section or comment.
    if (findCloseBracket(section) != std::string_view::npos || trim(section) != section) {
        return false;
    }
    if (key.find('=') != std::string_view::npos || trim(key) != key) {
        return false;
    }
    return key.empty() || (key.front() != '[' && key.front() != ';');
}

namespace {} // namespace

ProfileWriter::ProfileWriter(Platform& platform, std::string filePath)
    : platform_(platform), filePath_(std::move(filePath)) {}

ProfileWriter::~ProfileWriter() = default;

std::string ProfileWriter::fold(std::string_view ansi) const {
    // Letter case is folded for single-byte characters only: the trail byte of a two-byte
    // character may look like a letter but is not one.
    std::string folded(ansi);
    for (std::size_t i = 0; i < folded.size(); ++i) {
        const auto byte = static_cast<unsigned char>(folded[i]);
        if (platform_.isAnsiLeadByte(byte) && i + 1 < folded.size()) {
            ++i;
        } else if (byte >= 'A' && byte <= 'Z') {
            folded[i] = static_cast<char>(byte - 'A' + 'a');
        }
    }
    return folded;
}

void ProfileWriter::load() {
    loaded_ = true;
    const std::optional<std::string> content = platform_.readFile(filePath_);
    if (!content) {
        return;
    }
    const std::string& text = *content;
    Section* current = nullptr;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        Line line;
        if (end == std::string::npos) {
            line.text = text.substr(pos);
            pos = text.size();
        } else {
            line.text = text.substr(pos, end - pos);
            std::size_t next = end + 1;
            if (text[end] == '\r' && next < text.size() && text[next] == '\n') {
                ++next;
            }
            line.terminator = text.substr(end, next - end);
            pos = next;
        }
        if (const auto name = sectionName(line.text)) {
            current = &addSection(*name);
            current->header = std::move(line);
        } else if (!current) {
            preamble_.push_back(std::move(line));
        } else {
            if (const auto key = keyName(line.text)) {
                current->keys.emplace(fold(*key), current->lines.size());
                current->keyLines = current->lines.size() + 1;
            }
            current->lines.push_back(std::move(line));
        }
    }
}

ProfileWriter::Section& ProfileWriter::addSection(std::string_view name) {
    sections_.push_back(std::make_unique<Section>());
    Section* section = sections_.back().get();
    sectionIndex_.emplace(fold(name), section);
    return *section;
}

ProfileWriter::Line* ProfileWriter::lastLine() {
    for (auto it = sections_.rbegin(); it != sections_.rend(); ++it) {
        Section& section = **it;
        return section.lines.empty() ? &section.header : &section.lines.back();
    }
    return preamble_.empty() ? nullptr : &preamble_.back();
}

bool ProfileWriter::write(std::string_view section, std::string_view key, std::string_view value) {
    if (holdsLineBreak(section) || holdsLineBreak(key) || holdsLineBreak(value)) {
        return false;
    }
    const auto ansiSection = platform_.toAnsi(section);
    const auto ansiKey = platform_.toAnsi(key);
    const auto ansiValue = platform_.toAnsi(value);
    if (!ansiSection || !ansiKey || !ansiValue || !representable(*ansiSection, *ansiKey)) {
        return false;
    }
    if (!loaded_) {
        load();
    }
    dirty_ = true;
    Line keyLine{*ansiKey + "=" + *ansiValue, kLineEnd};

    auto found = sectionIndex_.find(fold(*ansiSection));
    if (found == sectionIndex_.end()) {
        // A new section starts at the end of the file, on a line of its own.
        if (Line* last = lastLine(); last && last->terminator.empty()) {
            last->terminator = kLineEnd;
        }
        Section& added = addSection(*ansiSection);
        added.header = {"[" + *ansiSection + "]", kLineEnd};
        added.keys.emplace(fold(*ansiKey), 0);
        added.lines.push_back(std::move(keyLine));
        added.keyLines = 1;
        return true;
    }

    Section& target = *found->second;
    const std::string foldedKey = fold(*ansiKey);
    if (auto existing = target.keys.find(foldedKey); existing != target.keys.end()) {
        Line& line = target.lines[existing->second];
        line.text = std::move(keyLine.text);
        return true;
    }
    // A new key goes right after the last key line of its section (or right after the header).
    // Only lines that are not keys can follow that place, so no key index moves.
    const std::size_t at = target.keyLines;
    if (at > 0 && target.lines[at - 1].terminator.empty()) {
        target.lines[at - 1].terminator = kLineEnd;
    } else if (at == 0 && target.header.terminator.empty()) {
        target.header.terminator = kLineEnd;
    }
    if (at == target.lines.size() && at > 0) {
        // Appending at the end of the section keeps the file's last line end as it was.
        keyLine.terminator = kLineEnd;
    }
    target.lines.insert(target.lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(keyLine));
    target.keys.emplace(foldedKey, at);
    target.keyLines = at + 1;
    return true;
}

std::string ProfileWriter::content() const {
    std::string out;
    const auto append = [&out](const Line& line) {
        out += line.text;
        out += line.terminator;
    };
    for (const Line& line : preamble_) {
        append(line);
    }
    for (const auto& section : sections_) {
        append(section->header);
        for (const Line& line : section->lines) {
            append(line);
        }
    }
    return out;
}

bool ProfileWriter::flush() {
    if (!dirty_) {
        return true;
    }
    const std::string bytes = content();
    const bool written = platform_.writeFile(
        filePath_, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    if (written) {
        dirty_ = false;
    }
    return written;
}

} // namespace quorvel
