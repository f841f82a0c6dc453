// Writes keys into an INI-format file the way the system's private-profile writer does:
// sections and keys are found without regard to letter case, a new section goes to the end of
// the file, a new key after the last key of its section, an existing key is replaced in place,
// and everything before the first section is kept byte for byte.
//
// The file is read on the first write and kept in memory; flush() writes it back in one piece,
// so writing many keys costs time in proportion to their number, not its square. The file is
// 8-bit text in the system's ANSI code page with CR LF line ends.
#pragma once

#include "platform/Platform.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quorvel {

class ProfileWriter {
public:
    ProfileWriter(Platform& platform, std::string filePath);
    ~ProfileWriter();
    ProfileWriter(const ProfileWriter&) = delete;
    ProfileWriter& operator=(const ProfileWriter&) = delete;

    // Sets the key in the section. Fails, changing nothing, when the ANSI code page cannot hold
    // the section, key or value, when any of them holds a line break, or when a name would read
    // back as something else (a section name with "]", a key with "=" or starting with "[" or
    // ";", or either with blanks around it).
    bool write(std::string_view section, std::string_view key, std::string_view value);
    // Writes the file when something changed since the last flush.
    bool flush();

    const std::string& filePath() const { return filePath_; }
    // The file's bytes as flush() writes them.
    std::string content() const;

private:
    struct Line {
        std::string text;       // without its line end
        std::string terminator; // "\r\n", "\n", "\r" or "" for an unterminated last line
    };
    struct Section {
        Line header;
        std::vector<Line> lines;
        std::unordered_map<std::string, std::size_t> keys; // folded key -> index in lines
        std::size_t keyLines = 0; // lines[0, keyLines) hold the last key line at keyLines - 1
    };

    void load();
    std::size_t findCloseBracket(std::string_view ansi) const;
    std::optional<std::string_view> sectionName(std::string_view line) const;
    bool representable(std::string_view section, std::string_view key) const;
    Line* lastLine();
    std::string fold(std::string_view ansi) const;
    Section& addSection(std::string_view name);

    Platform& platform_;
    std::string filePath_;
    bool loaded_ = false;
    bool dirty_ = false;
    std::vector<Line> preamble_;
    std::vector<std::unique_ptr<Section>> sections_;
    std::unordered_map<std::string, Section*> sectionIndex_; // folded name -> first such section
};

} // namespace quorvel
